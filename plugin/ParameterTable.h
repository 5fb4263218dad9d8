// The parameter table: every slot's name, default, kind and texts, and the
// tempo division tables. Everything that reads a parameter's meaning looks
// it up here.
#pragma once

#include <bit>
#include <cstdint>

#include "effect/VstAbi.h"

inline constexpr VstInt32 kNumParameters = 500;
inline constexpr VstInt32 kNumPrograms = 1;
// Slots below this reach the editor and count towards the edited flag.
inline constexpr VstInt32 kNumEditorSlots = 37;

namespace Param {
enum Slot : VstInt32 {
    Bypass = 1,
    DryVolume = 2,
    WetVolume = 3,
    ReverseDecay = 4,
    ReverseAttack = 5,
    ReverseOffset = 6,
    ReverseTempoSync = 7,
    ReverseLength = 8,
    ReverseTriggerThreshold = 9,
    ReverseRetriggerHoldTime = 10,
    Mute = 11,
    DryMute = 12,
    ReverseTriggerMode = 14,
    FilterActive = 15,
    Distort = 16,
    FilterFrequency = 17,  // low-pass or comb, by the filter mode
    HighPassFilterFrequency = 18,
    FilterQ = 19,  // low-pass Q or comb feedback, by the filter mode
    HighPassFilterQ = 20,
    LfoActive = 21,
    LfoMode = 22,
    LfoWave = 23,
    LfoPhase = 24,
    LfoSpeed = 25,
    LfoTempoSync = 26,
    LfoToVolume = 27,
    LfoToPan = 28,
    LfoToFilterFrequency = 29,
    LfoToHighPassFrequency = 30,
    FilterMode = 31,
    ReverseVerticalInZoom = 32,
    ReverseVerticalOutZoom = 33,
    ReverseZoom = 34,
    ReverseTrigger = 35,
};
// Slots past the last parameter; one row per slot below this in the table.
inline constexpr VstInt32 kFirstUnusedSlot = 36;
}  // namespace Param

// Stepped readings: scale and count of each choice.
struct StepShape {
    float scale;
    VstInt32 count;
};
inline constexpr StepShape kReverseLengthSteps{21.99f, 22};
inline constexpr StepShape kTriggerModeSteps{2.99f, 3};
inline constexpr StepShape kLfoModeSteps{1.99f, 2};
inline constexpr StepShape kLfoWaveSteps{5.0f, 6};
inline constexpr StepShape kLfoPhaseSteps{3.0f, 4};
inline constexpr StepShape kLfoSpeedSteps{30.99f, 31};

// Text tables.
inline constexpr const char* _REVERSE_TRIGGER_MODE_STRING[3] = {"Audio", "Manual", "Host"};
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
inline constexpr float REVERSE_SYNCED_LENGTH_ARRAY[22] = {
    0.0625f, 0.09375f, 1.0f / 12.0f, 0.125f, 0.1875f, 1.0f / 6.0f, 0.25f, 0.375f,
    1.0f / 3.0f, 0.5f, 0.75f, 2.0f / 3.0f, 1.0f, 1.5f, 4.0f / 3.0f, 2.0f,
    3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f};

// LFO periods in units of two bars, longest first; entry 0 stops the synced LFO.
inline constexpr const char* _LFO_TEMPO_SYNCED_PERIOD_STRING[31] = {
    "Off",  "32/1*", "32/1", "32/1T", "16/1*", "16/1", "16/1T", "8/1*", "8/1",  "8/1T", "4/1*",
    "4/1",  "4/1T",  "2/1*", "2/1",   "2/1T",  "1/1*", "1/1",   "1/1T", "1/2*", "1/2",  "1/2T",
    "1/4*", "1/4",   "1/4T", "1/8*",  "1/8",   "1/8T", "1/16*", "1/16", "1/16T"};
inline constexpr float LFO_SYNCED_PERIOD_ARRAY[31] = {
    0.0f,         24.0f,       16.0f,        32.0f / 3.0f, 12.0f,        8.0f,    16.0f / 3.0f, 6.0f,
    4.0f,         8.0f / 3.0f, 3.0f,         2.0f,         4.0f / 3.0f,  1.5f,    1.0f,         2.0f / 3.0f,
    0.75f,        0.5f,        1.0f / 3.0f,  0.375f,       0.25f,        1.0f / 6.0f, 0.1875f,  0.125f,
    1.0f / 12.0f, 0.09375f,    0.0625f,      1.0f / 24.0f, 0.046875f,    0.03125f, 1.0f / 48.0f};

// Start phase, as a fraction of a cycle, of "0 Deg" .. "270 Deg".
inline constexpr float LFO_PHASE_VAL[4] = {0.0f, 0.25f, 0.5f, 0.75f};

// log2 100, log2 640 and log2 1000, pinned to their exact float bits.
inline constexpr float REVERSE_MIN_TIME_LOG = std::bit_cast<float>(std::uint32_t{0x40D49A78});
inline constexpr float REVERSE_MAX_TIME_LOG = std::bit_cast<float>(std::uint32_t{0x4115269E});
inline constexpr float REVESE_OFFSET_MAX_TIME_LOG = std::bit_cast<float>(std::uint32_t{0x411F73DA});

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

// any: float to integer, cut towards zero, saturating at the int32 range; NaN gives 0.
VstInt32 toIndex(double value) noexcept;

// any: the on/off reading of a value.
bool getOnOff(float value) noexcept;

// any: the choice a value reads as: trunc(value·scale + 0.1), kept within 0 .. count − 1.
VstInt32 getSteppedValue(float value, float scale, VstInt32 count) noexcept;

// any: a value clamped to [0, 1]; NaN gives 0.
float clampUnit(double value) noexcept;
