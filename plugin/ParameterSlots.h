// The 500 parameter slots and the program record, kept in step. Besides the
// live values the store keeps the copies that the edited flag compares with
// and that the preset menu's three reverts return to. Read the rows freely
// (through loadRelaxed where another thread may write); change them only
// through the operations, which keep the rows and the record consistent.
#pragma once

#include <atomic>

#include "plugin/ParameterTable.h"

// One program as the host stores it: the 500 slot values and a name.
struct ProgramRecord {
    float values[kNumParameters];
    char name[32];
};
static_assert(sizeof(ProgramRecord) == 2032, "the chunk is this record byte for byte");

class ParameterSlots {
public:
    // The rows, one value per slot.
    float currentValues[kNumParameters]{};  // live, normalised 0..1
    float editedValues[kNumParameters]{};   // as last set by anyone: "Revert to Edited Preset"
    float origValues[kNumParameters]{};     // as the program was applied: "Revert to Original Preset"
    float lastValues[kNumParameters]{};     // last effective value of the editor's slots
    float defaultValues[kNumParameters]{};  // "Default Preset"
    bool isSwitch[kNumParameters]{};        // every write snaps to 0 or 1
    ProgramRecord programs[kNumPrograms]{};

    // control: defaults and switch flags from the parameter table.
    void setDefaultSettings() noexcept;

    float load(VstInt32 index) const noexcept;  // any; 0 outside the slots
    // any: a value as store() keeps it: clamped to 0..1, switches snapped.
    float storedForm(VstInt32 index, float value) const noexcept;
    // any: one value as the host, editor, MIDI or engine sets it: its stored
    // form goes live, into the record and into the edited copy; on the
    // editor's slots an effective change marks the program edited. False,
    // and nothing changes, outside the slots.
    bool store(VstInt32 index, float value) noexcept;

    // control: the first count slots of values (a preset, the defaults) go
    // live and into the record.
    void takeValues(const float* values, VstInt32 count) noexcept;
    // control: makes the record the program every copy refers to: its stored
    // form goes live and becomes the edited, last and original values; the
    // trigger is released, and a kept offset replaces the record's.
    void applyRecord(const float* keptOffset) noexcept;
    // control: the three reverts of the preset menu. The default leaves the
    // slots from the preset's coded name on alone, so it keeps its identity.
    void revertToOriginal() noexcept;
    void revertToEdited() noexcept;
    void revertToDefault() noexcept;

    // control: the record as a chunk (name zero-padded), and a chunk taken
    // into the record in stored form; a name without terminator is cut.
    void copyRecordTo(ProgramRecord& chunk) const noexcept;
    void takeRecordFrom(const ProgramRecord& chunk) noexcept;

    bool getEdited() const noexcept { return edited.load(std::memory_order_relaxed); }  // any
    void setEdited(bool on) noexcept { edited.store(on, std::memory_order_relaxed); }  // any

private:
    // The same for one of the store's own rows, which other threads may write.
    void takeRow(const float (&row)[kNumParameters], VstInt32 count) noexcept;

    std::atomic<bool> edited{false};
};
