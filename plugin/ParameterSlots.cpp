#include "plugin/ParameterSlots.h"

#include <cmath>
#include <cstring>

#include "engine/SharedValue.h"
#include "plugin/uPluginPresetsBanks.h"

namespace {

// Smaller moves are rounding on the way through a host, not an edit.
constexpr float kChangeThreshold = 0.00001f;

bool moved(float a, float b) noexcept {
    return std::fabs(a - b) > kChangeThreshold;
}

// Copies a name field, stopping at its terminator or one byte short of its
// end, and zero-fills the rest.
void copyName(char (&destination)[32], const char (&source)[32]) noexcept {
    std::memset(destination, 0, sizeof(destination));
    std::memcpy(destination, source, strnlen(source, sizeof(source) - 1));
}

}  // namespace

void ParameterSlots::setDefaultSettings() noexcept {
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        defaultValues[i] = parameterRow(i).defaultValue;
        isSwitch[i] = parameterIsSwitch(i);
    }
}

float ParameterSlots::load(VstInt32 index) const noexcept {
    if (index < 0 || index >= kNumParameters) return 0.0f;
    return loadRelaxed(currentValues[index]);
}

float ParameterSlots::storedForm(VstInt32 index, float value) const noexcept {
    const float v = clampUnit(value);
    if (index >= 0 && index < kNumParameters && isSwitch[index]) return getOnOff(v) ? 1.0f : 0.0f;
    return v;
}

bool ParameterSlots::store(VstInt32 index, float value) noexcept {
    if (index < 0 || index >= kNumParameters) return false;
    const float v = storedForm(index, value);
    storeRelaxed(currentValues[index], v);
    storeRelaxed(programs[0].values[index], v);
    storeRelaxed(editedValues[index], v);

    if (index < kNumEditorSlots && moved(v, loadRelaxed(lastValues[index]))) {
        storeRelaxed(lastValues[index], v);
        if (moved(v, loadRelaxed(origValues[index]))) setEdited(true);
    }
    return true;
}

void ParameterSlots::takeValues(const float* values, VstInt32 count) noexcept {
    for (VstInt32 i = 0; i < count && i < kNumParameters; ++i) {
        storeRelaxed(currentValues[i], values[i]);
        storeRelaxed(programs[0].values[i], values[i]);
    }
}

void ParameterSlots::takeRow(const float (&row)[kNumParameters], VstInt32 count) noexcept {
    for (VstInt32 i = 0; i < count; ++i) {
        const float v = loadRelaxed(row[i]);
        storeRelaxed(currentValues[i], v);
        storeRelaxed(programs[0].values[i], v);
    }
}

void ParameterSlots::applyRecord(const float* keptOffset) noexcept {
    ProgramRecord& record = programs[0];
    // Whatever wrote the record, what goes live (and what a revert brings
    // back) is what store() would have kept.
    for (VstInt32 i = 0; i < kNumParameters; ++i)
        storeRelaxed(currentValues[i], storedForm(i, loadRelaxed(record.values[i])));
    // A program never arrives with the trigger pressed. Released before the
    // copies below, so neither the edited flag nor a revert sees it pressed.
    storeRelaxed(currentValues[Param::ReverseTrigger], 0.0f);
    storeRelaxed(record.values[Param::ReverseTrigger], 0.0f);
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        const float v = loadRelaxed(currentValues[i]);
        storeRelaxed(editedValues[i], v);
        storeRelaxed(lastValues[i], v);
        storeRelaxed(origValues[i], v);
    }
    if (keptOffset) {
        storeRelaxed(currentValues[Param::ReverseOffset], *keptOffset);
        storeRelaxed(record.values[Param::ReverseOffset], *keptOffset);
    }
}

void ParameterSlots::revertToOriginal() noexcept {
    takeRow(origValues, kNumParameters);
    setEdited(false);
}

void ParameterSlots::revertToEdited() noexcept {
    takeRow(editedValues, kNumParameters);
    setEdited(true);
}

void ParameterSlots::revertToDefault() noexcept {
    takeRow(defaultValues, PRESET_NAME_SLOT);
    setEdited(true);
}

void ParameterSlots::copyRecordTo(ProgramRecord& chunk) const noexcept {
    const ProgramRecord& record = programs[0];
    for (VstInt32 i = 0; i < kNumParameters; ++i) chunk.values[i] = loadRelaxed(record.values[i]);
    // The bytes after the terminator mean nothing; zeros keep saved files stable.
    copyName(chunk.name, record.name);
}

void ParameterSlots::takeRecordFrom(const ProgramRecord& chunk) noexcept {
    ProgramRecord& record = programs[0];
    for (VstInt32 i = 0; i < kNumParameters; ++i) storeRelaxed(record.values[i], storedForm(i, chunk.values[i]));
    copyName(record.name, chunk.name);
}
