// A minimal effect module for the host tests: gain on slot 0, a trigger button
// on slot 1, an unnamed slot 2, and a log of everything the host did.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "tests/tools/FakeEffectLog.h"

namespace {

FakeLog fakeLog;

// The tests load one effect at a time.
struct FakeEffect {
    AEffect record{};
    audioMasterCallback host = nullptr;
    float values[3] = {1.0f, 0.0f, 0.0f};
} fake;

VstIntPtr dispatcher(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    constexpr VstInt32 kLogged[] = {effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged, effProcessEvents,
                                    effClose};
    constexpr const char* kNames[3] = {"Gain", "Reverse Trigger", "~~~"};
    if (std::ranges::find(kLogged, opcode) != std::end(kLogged)) fakeLog.lifecycle.emplace_back(opcode, value);
    if (opcode == effSetSampleRate) fakeLog.sampleRate = opt;
    if (opcode == effProcessEvents) {
        const auto* events = static_cast<const VstEvents*>(ptr);
        for (int i = 0; i < events->numEvents; ++i) {
            const auto& e = *reinterpret_cast<const VstMidiEvent*>(events->events[i]);
            // Malformed events are left out, so the tests miss them.
            if (e.type != kVstMidiType || e.byteSize != sizeof e) continue;
            const auto byte = [&](int n) { return static_cast<int>(static_cast<unsigned char>(e.midiData[n])); };
            fakeLog.pendingEvents.emplace_back(e.deltaFrames, byte(0), byte(1), byte(2));
        }
    }
    if (opcode == effGetParamName && index >= 0 && index < 3) std::strcpy(static_cast<char*>(ptr), kNames[index]);
    if (opcode == effGetEffectName) std::strcpy(static_cast<char*>(ptr), "Fake");
    return 0;
}

void setParameter(AEffect*, VstInt32 index, float value) { if (index >= 0 && index < 3) fake.values[index] = value; }

float getParameter(AEffect*, VstInt32 index) { return index >= 0 && index < 3 ? fake.values[index] : 0.0f; }

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    FakeBlock& block = fakeLog.blocks.emplace_back();
    block.frames = frames;
    if (const VstIntPtr time = fake.host(effect, audioMasterGetTime, 0, 1539, nullptr, 0)) {
        block.time = *reinterpret_cast<const VstTimeInfo*>(time);
    }
    block.events.swap(fakeLog.pendingEvents);
    block.triggered = fake.values[1] >= 0.5f;
    fake.values[1] = 0.0f;  // the button springs back, as the real one does
    block.firstInput = {inputs[0][0], inputs[1][0]};
    for (int i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i] * fake.values[0];
        outputs[1][i] = inputs[1][i] * fake.values[0];
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) FakeLog* fakeEffectLog() { return &fakeLog; }

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    fakeLog = FakeLog{};
    fake = FakeEffect{};
    fake.host = host;
    AEffect* r = &fake.record;
    r->magic = kEffectMagic;
    r->dispatcher = dispatcher;
    r->setParameter = setParameter;
    r->getParameter = getParameter;
    r->processReplacing = processReplacing;
    r->numParams = 3;
    r->numInputs = r->numOutputs = 2;
    r->flags = effFlagsCanReplacing;
    r->uniqueID = fourCharCode("fAkE");
    // Like the real effect, ask who the host is while being built; the version
    // before there is a record to ask with.
    char vendor[kVstMaxVendorStrLen] = {}, product[kVstMaxProductStrLen] = {};
    host(r, audioMasterGetVendorString, 0, 0, vendor, 0);
    host(r, audioMasterGetProductString, 0, 0, product, 0);
    const auto ask = [&](AEffect* asker, VstInt32 opcode, const char* text = nullptr) {
        return std::to_string(host(asker, opcode, 0, 0, const_cast<char*>(text), 0));
    };
    fakeLog.hostAnswers = ask(nullptr, audioMasterVersion) + "|" + vendor + "|" + product + "|" +
                          ask(r, audioMasterCanDo, "sendVstTimeInfo") + "|" + ask(r, audioMasterCanDo, "sizeWindow") +
                          "|" + ask(r, audioMasterGetSampleRate);
    return r;
}
