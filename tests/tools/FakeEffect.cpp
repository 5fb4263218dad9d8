// A minimal effect module for the host tests: gain on slot 0, a trigger button
// on slot 1, and a log of everything the host did.
#include <cstring>

#include "tests/tools/FakeEffectLog.h"

namespace {

FakeLog fakeLog;

struct FakeEffect {
    AEffect record{};
    audioMasterCallback host = nullptr;
    float values[3] = {1.0f, 0.0f, 0.0f};
};

constexpr const char* kNames[3] = {"Gain", "Reverse Trigger", "~~~"};

FakeEffect* self(AEffect* effect) { return static_cast<FakeEffect*>(effect->object); }

VstIntPtr dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    FakeEffect* fake = self(effect);
    switch (opcode) {
        case effOpen:
        case effSetBlockSize:
        case effMainsChanged:
        case effClose:
        case effSetSampleRate:
            fakeLog.lifecycle.emplace_back(opcode, value);
            if (opcode == effSetSampleRate) {
                fakeLog.sampleRate = opt;
            }
            if (opcode == effSetBlockSize) {
                fakeLog.blockSize = value;
            }
            if (opcode == effClose) {
                delete fake;
                return 1;
            }
            return 0;
        case effProcessEvents: {
            fakeLog.lifecycle.emplace_back(opcode, 0);
            const auto* events = static_cast<const VstEvents*>(ptr);
            for (int i = 0; i < events->numEvents; ++i) {
                fakeLog.pendingEvents.push_back(*reinterpret_cast<const VstMidiEvent*>(events->events[i]));
            }
            return 1;
        }
        case effGetParamName:
            if (index >= 0 && index < 3) {
                std::strcpy(static_cast<char*>(ptr), kNames[index]);
            }
            return 0;
        case effGetParamDisplay:
            std::strcpy(static_cast<char*>(ptr), "0.5");
            return 0;
        case effGetParamLabel:
            std::strcpy(static_cast<char*>(ptr), "dB");
            return 0;
        case effGetEffectName:
            std::strcpy(static_cast<char*>(ptr), "Fake");
            return 1;
        default:
            return 0;
    }
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 0 && index < 3) {
        self(effect)->values[index] = value;
    }
}

float getParameter(AEffect* effect, VstInt32 index) {
    return index >= 0 && index < 3 ? self(effect)->values[index] : 0.0f;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    FakeEffect* fake = self(effect);
    FakeBlock block;
    block.frames = frames;
    const auto* time = reinterpret_cast<const VstTimeInfo*>(fake->host(effect, audioMasterGetTime, 0, 1539, nullptr, 0));
    block.hadTime = time != nullptr;
    if (time != nullptr) {
        block.time = *time;
    }
    block.events.swap(fakeLog.pendingEvents);
    block.triggered = fake->values[1] >= 0.5f;
    fake->values[1] = 0.0f;  // the button springs back, as the real one does
    if (frames > 0) {
        block.firstInputLeft = inputs[0][0];
        block.firstInputRight = inputs[1][0];
    }
    for (int i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i] * fake->values[0];
        outputs[1][i] = inputs[1][i] * fake->values[0];
    }
    fakeLog.blocks.push_back(std::move(block));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) FakeLog* fakeEffectLog() { return &fakeLog; }

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    fakeLog = FakeLog{};
    fakeLog.hostVersion = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0);
    auto* fake = new FakeEffect;
    fake->host = host;
    AEffect& r = fake->record;
    r.magic = kEffectMagic;
    r.dispatcher = dispatcher;
    r.setParameter = setParameter;
    r.getParameter = getParameter;
    r.processReplacing = processReplacing;
    r.numPrograms = 1;
    r.numParams = 3;
    r.numInputs = 2;
    r.numOutputs = 2;
    r.flags = effFlagsCanReplacing;
    r.object = fake;
    r.uniqueID = fourCharCode("fAkE");
    // Like the real effect, ask who the host is while being built.
    char text[256] = {};
    host(&r, audioMasterGetVendorString, 0, 0, text, 0);
    fakeLog.hostVendor = text;
    host(&r, audioMasterGetProductString, 0, 0, text, 0);
    fakeLog.hostProduct = text;
    fakeLog.canDoTimeInfo = host(&r, audioMasterCanDo, 0, 0, const_cast<char*>("sendVstTimeInfo"), 0);
    fakeLog.canDoUnknown = host(&r, audioMasterCanDo, 0, 0, const_cast<char*>("sizeWindow"), 0);
    fakeLog.reportedSampleRate = host(&r, audioMasterGetSampleRate, 0, 0, nullptr, 0);
    return &r;
}
