#include <algorithm>
#include <cstdint>
#include <cstring>

#include "plugin/APlugin.h"

namespace {

constexpr const char* kNoPresetName = "None";
// The VST limit for a program name; every factory name fits with room to spare.
constexpr std::size_t kProgramNameBytes = kVstMaxProgNameLen;
constexpr VstInt32 kLastFactoryPreset = FACTORY_PRESET_COUNT - 1;

// Copies a name field that may lack its terminator; at most capacity − 1 characters.
void copyNameField(char* destination, std::size_t capacity, const char* field, std::size_t fieldBytes) {
    std::size_t length = strnlen(field, fieldBytes);
    length = std::min(length, capacity - 1);
    std::memcpy(destination, field, length);
    destination[length] = '\0';
}

}  // namespace

void APlugin::setProgram(VstInt32 index) {
    if (editorBusy.load(std::memory_order_relaxed)) return;
    slots.setEdited(false);
    settingProgram.store(true, std::memory_order_relaxed);
    if (index > 0) {
        settingProgram.store(false, std::memory_order_relaxed);
        return;
    }
    const ProgramRecord& record = slots.programs[0];

    // A saved program remembers its factory preset only through the name codes.
    char codedName[PRESET_NAME_LENGTH + 1];
    decodePresetText(&record.values[PRESET_NAME_SLOT], PRESET_NAME_LENGTH, codedName);
    VstInt32 found = 0;
    for (VstInt32 n = 0; n < FACTORY_PRESET_COUNT; ++n) {
        if (std::strcmp(factoryNames[n], codedName) == 0) {
            found = n;
            break;
        }
    }
    storeRelaxed(factoryIndex, found);

    const float keptOffset = chain.getLockedOffset();
    slots.applyRecord(lockOffset.load(std::memory_order_relaxed) ? &keptOffset : nullptr);
    // Also leaves the record's switches snapped.
    for (VstInt32 i = 0; i < kNumParameters; ++i) setParameter(i, loadRelaxed(record.values[i]));

    copyNameField(currentProgramName, sizeof(currentProgramName), record.name, sizeof(record.name));
    copyNameField(origProgramName, sizeof(origProgramName), record.name, sizeof(record.name));

    // The audio thread carries the resets out before its next frame; its
    // parameter mapping then takes the new length and hold as the baseline.
    // A manual take cut short leaves no latch behind, in any trigger mode.
    resetReverse(0);
    resetReverse(1);
    resetEverything();
    chain.releaseManualLatch();
    programChanged.store(true, std::memory_order_relaxed);
    settingProgram.store(false, std::memory_order_relaxed);
}

void APlugin::setFactoryProgram(VstInt32 n) {
    if (n < 0 || n > kLastFactoryPreset) return;
    storeRelaxed(factoryIndex, n);
    slots.takeValues(FACTORY_PRESETS[static_cast<std::size_t>(n)].data(), kNumParameters);
    setProgram(0);
}

void APlugin::changeFactoryProgramDelta(VstInt32 delta) {
    const std::int64_t wanted = std::int64_t{loadRelaxed(factoryIndex)} + delta;
    setFactoryProgram(static_cast<VstInt32>(std::clamp<std::int64_t>(wanted, 0, kLastFactoryPreset)));
}

void APlugin::origProgram() {
    slots.revertToOriginal();
    editorResume();
}

void APlugin::editProgram() {
    slots.revertToEdited();
    editorResume();
}

void APlugin::defaultProgram() {
    slots.revertToDefault();
    editorResume();
}

const char* APlugin::getPresetName(VstInt32 n) const noexcept {
    if (n < 0 || n > kLastFactoryPreset) return kNoPresetName;
    return factoryNames[n];
}

void APlugin::getProgramName(char* name) {
    copyText(name, kProgramNameBytes, getPresetName(loadRelaxed(factoryIndex)));
}

bool APlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index != 0) return false;
    getProgramName(text);
    return true;
}

void APlugin::setProgramName(char*) {
    // The name follows the factory preset; hosts may ask, but nothing changes it.
}

bool APlugin::getProgramRecord(VstInt32 index, ProgramRecord& record) const noexcept {
    if (index < 0 || index >= kNumPrograms) return false;
    slots.copyRecordTo(record);
    return true;
}

bool APlugin::setProgramRecord(VstInt32 index, const ProgramRecord& record) noexcept {
    if (index < 0 || index >= kNumPrograms) return false;
    slots.takeRecordFrom(record);
    return true;
}

VstIntPtr APlugin::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if ((opcode == effEditIdle || opcode == effIdle) && hostUpdateRequested.exchange(false, std::memory_order_relaxed))
        updateDisplay();
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}
