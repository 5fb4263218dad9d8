#include "plugin/APlugin.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr const char* kEffectName = "Tidewalker";
constexpr const char* kVendorName = "Ola Marsk";
constexpr const char* kProductName = "Tidewalker";

// Answered 1 by canDo; everything else is 0, never −1.
constexpr const char* kCapabilities[] = {
    "receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "plugAsChannelInsert",
    "1in1out",          "1in2out",             "2in2out",
};

constexpr VstInt32 kNumChannels = 2;
// The one below what initVariables sets, so its setSampleRate is never skipped.
constexpr float kUnsetSampleRate = 44199.0f;

// Different for every instance, also for two made in the same clock tick:
// the clock and a running count, mixed so that nearby inputs spread apart.
std::uint32_t instanceSeed() noexcept {
    static std::atomic<std::uint64_t> instances{0};
    std::uint64_t x = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) +
                      instances.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return static_cast<std::uint32_t>(x ^ (x >> 31));
}

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new APlugin(audioMaster);
}

APlugin::APlugin(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParameters) {
    isSynth(false);
    editorBusy = false;
    editorOpen = false;
    std::srand(static_cast<unsigned>(std::clock()));
    chain.lfo.setSeed(instanceSeed());

    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
    pendingMidiCount = 0;
    canProcessReplacing(true);
    hostIsVendorProp = hostIsMaschine = hostIsKore = hostIsLumenhall = false;
    identifyHost();
    setUniqueID(kUniqueId);

    for (auto& slot : midiQueue) {
        slot = std::make_unique<VstMidiEvent>();
        slot->type = kVstMidiType;
        slot->deltaFrames = kFreeMidiSlot;
        slot->reserved1 = 99;
    }

    sampleRate = kUnsetSampleRate;
    setDefaultSettings();
    initVariables();
    getDirectoryPaths();

    slots.setEdited(false);
    slots.takeValues(slots.defaultValues, kNumParameters);
    setProgram(0);
    factoryIndex = 0;
}

APlugin::~APlugin() = default;

bool APlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
    if (!properties || index < 0 || index >= kNumChannels) return false;
    std::snprintf(properties->label, sizeof(properties->label), "%s %d", kEffectName, index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool APlugin::getEffectName(char* name) {
    if (!name) return false;
    copyText(name, kEffectNameBytes, kEffectName);
    return true;
}

bool APlugin::getVendorString(char* text) {
    if (!text) return false;
    copyText(text, kVendorBytes, kVendorName);
    return true;
}

bool APlugin::getProductString(char* text) {
    if (!text) return false;
    copyText(text, kProductBytes, kProductName);
    return true;
}

VstInt32 APlugin::getVendorVersion() {
    return kVendorVersion;
}

VstInt32 APlugin::canDo(char* text) {
    if (!text) return 0;
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0) return 1;
    return 0;
}

bool APlugin::isEditorOpen() const noexcept {
    return editor && editorOpen.load(std::memory_order_relaxed) && !editorBusy.load(std::memory_order_relaxed) &&
           editor->isOpen();
}

void APlugin::setEditorBusy(bool busy) noexcept {
    editorBusy.store(busy, std::memory_order_relaxed);
}

void APlugin::setEditorOpen(bool open) noexcept {
    editorOpen.store(open, std::memory_order_relaxed);
}

bool APlugin::getEditChanged() const noexcept {
    return slots.getEdited();
}

void APlugin::setLockOffset(bool on) noexcept {
    lockOffset.store(on, std::memory_order_relaxed);
}

bool APlugin::getLockOffset() const noexcept {
    return lockOffset.load(std::memory_order_relaxed);
}
