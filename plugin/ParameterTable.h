// The parameter table: every slot's name, default, kind and texts, and the
// names of the tempo divisions. Everything that reads a parameter's meaning
// looks it up here; the slot numbers and the values the engine reads come
// from engine/ParameterLayout.h.
#pragma once

#include <cstdint>

#include "effect/VstAbi.h"
#include "engine/ParameterLayout.h"

inline constexpr VstInt32 kNumPrograms = 1;
// Slots below this reach the editor and count towards the edited flag.
inline constexpr VstInt32 kNumEditorSlots = 37;

// Text tables.
inline constexpr const char* _REVERSE_TRIGGER_MODE_STRING[TriggerMode::Count] = {"Audio", "Manual", "Host"};
inline constexpr const char* _FILTER_MODE_STRING[2] = {"LowPass Filter", "Comb Filter"};
inline constexpr const char* _FILTER_FREQ_STRING[2] = {"LowPass Filter Frequency", "Comb Filter Frequency"};
inline constexpr const char* _FILTER_Q_STRING[2] = {"LowPass Filter Q", "Comb Filter Feedback"};
inline constexpr const char* _LFO_TO_FILTER_FREQ_STRING[2] = {"LFO > LowPass Filter Frequency",
                                                              "LFO > Comb Filter Frequency"};
inline constexpr const char* _LFO_MODE_STRING[2] = {"Free", "Triggered"};
inline constexpr const char* _LFO_WAVE_STRING[6] = {"Sine", "Saw Up", "Saw Dn", "Triangle", "Square", "S&H"};
inline constexpr const char* _LFO_PHASE_STRING[4] = {"0 Deg", "90 Deg", "180 Deg", "270 Deg"};

// Reverse divisions in bars. Not sorted by length: within a group the
// triplet comes before the plain value, except at the start.
inline constexpr const char* _REVERSE_SYNCED_LENGTH_STRING[22] = {
    "1/16", "1/16*", "1/8T", "1/8", "1/8*", "1/4T", "1/4",  "1/4*", "1/2T", "1/2", "1/2*",
    "1/1T", "1/1",   "1/1*", "2/1T", "2/1", "3/1",  "4/1",  "5/1",  "6/1",  "7/1", "8/1"};

// LFO periods in units of two bars, longest first; entry 0 stops the synced LFO.
inline constexpr const char* _LFO_TEMPO_SYNCED_PERIOD_STRING[31] = {
    "Off",  "32/1*", "32/1", "32/1T", "16/1*", "16/1", "16/1T", "8/1*", "8/1",  "8/1T", "4/1*",
    "4/1",  "4/1T",  "2/1*", "2/1",   "2/1T",  "1/1*", "1/1",   "1/1T", "1/2*", "1/2",  "1/2T",
    "1/4*", "1/4",   "1/4T", "1/8*",  "1/8",   "1/8T", "1/16*", "1/16", "1/16T"};

// The front panel places its knobs and switches by the KNOBS and ON_OFFS
// rows of resources/FrontPanelLayout.h, tagged with the slots above.

// Factory preset slots of the preset menu's four sub-menus.
inline constexpr VstInt32 PRESET_START[4] = {0, 32, 64, 96};
inline constexpr VstInt32 PRESET_END[4] = {32, 64, 96, 128};

// How a slot is read.
enum class ParameterKind : std::uint8_t { None, Switch, OnOff, Stepped, Continuous, Bipolar };

// How a slot's value is shown.
enum class DisplayKind : std::uint8_t {
    Empty,
    OnOff,           // "On" / "Off"
    Decibels,        // int of scale·v + offset, "dB"; "Off" at 0
    EnvelopeTime,    // 2^(10·v) − 1 with one decimal, "ms"
    ReverseTime,     // offset, length or hold time, or a reverse division
    FixedDecibels,   // scale·v + offset with one decimal, "dB"
    Choice,          // an entry of the row's choice names
    Percent,         // int of scale·v + offset, "%"
    ExpPercent,      // int of 2^(scale·v)·100 + offset, "%"
    FilterFrequency, // 20·2^(10·v) in Hz or KHz
    LfoSpeed,        // LFO rate, or an LFO division when synced
};

// How "Set to Value" asks for a slot's value.
enum class EntryKind : std::uint8_t {
    None,
    Switch,     // "On"/"Off"; a number below 0.5 is off
    Linear,     // shown as scale·v + offset, read back through the inverse
    Frequency,  // hertz, read back through the logarithm
    Choice,     // a numbered choice of the row's choice names
};

struct ParameterRow {
    const char* name = nullptr;                       // nullptr: slot carries no parameter
    const char* const* namesByFilterMode = nullptr;   // set where the name follows the filter mode
    float defaultValue = 0.0f;
    ParameterKind kind = ParameterKind::None;
    StepShape steps{};                                // stepped reading and its choice menu
    const char* const* choiceNames = nullptr;
    DisplayKind display = DisplayKind::Empty;
    float displayScale = 0.0f;
    float displayOffset = 0.0f;
    EntryKind entry = EntryKind::None;
    const char* prompt = nullptr;
    float entryScale = 0.0f;
    float entryOffset = 0.0f;
    bool stepsByChoice = false;                       // "Increase"/"Decrease" move one choice
};

// any: the row of a slot; slots without a parameter (also out-of-range ones) get an empty row.
const ParameterRow& parameterRow(VstInt32 index) noexcept;

// any: the parameter's name for the given filter mode (0 or 1), "~~~" for slots without one.
const char* parameterName(VstInt32 index, VstInt32 filterMode) noexcept;

// any: true for the switch slots, whose every write snaps to 0 or 1.
bool parameterIsSwitch(VstInt32 index) noexcept;
