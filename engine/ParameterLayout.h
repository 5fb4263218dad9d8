// The parameter slots as the engine reads them: slot numbers, stepped
// readings, the tempo division values, the time constants and the level
// mappings. The effect's parameter table, its value texts and the factory
// bank build on these; nothing else defines them.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

inline constexpr std::int32_t kNumParameters = 500;

namespace Param {
enum Slot : std::int32_t {
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
inline constexpr std::int32_t kFirstUnusedSlot = 36;
}  // namespace Param

// Stepped readings: scale and count of each choice.
struct StepShape {
    float scale;
    std::int32_t count;
};
// The choices of "Reverse Trigger Mode", in the order its stepped reading
// counts them; the names, the radio buttons and the bank follow this order.
namespace TriggerMode {
inline constexpr std::int32_t Audio = 0;
inline constexpr std::int32_t Manual = 1;
inline constexpr std::int32_t Host = 2;
inline constexpr std::int32_t Count = 3;
}  // namespace TriggerMode

inline constexpr StepShape kReverseLengthSteps{21.99f, 22};
inline constexpr StepShape kTriggerModeSteps{2.99f, TriggerMode::Count};
inline constexpr StepShape kLfoModeSteps{1.99f, 2};
inline constexpr StepShape kLfoWaveSteps{5.0f, 6};
inline constexpr StepShape kLfoPhaseSteps{3.0f, 4};
inline constexpr StepShape kLfoSpeedSteps{30.99f, 31};

// any: the value that reads as trigger mode `mode`, as its radio button sends it.
constexpr float triggerModeValue(std::int32_t mode) noexcept {
    return (static_cast<float>(mode) + 0.1f) / kTriggerModeSteps.scale;
}

// Reverse divisions in bars, in the order of their names in the table.
inline constexpr float REVERSE_SYNCED_LENGTH_ARRAY[22] = {
    0.0625f, 0.09375f, 1.0f / 12.0f, 0.125f, 0.1875f, 1.0f / 6.0f, 0.25f, 0.375f,
    1.0f / 3.0f, 0.5f, 0.75f, 2.0f / 3.0f, 1.0f, 1.5f, 4.0f / 3.0f, 2.0f,
    3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f};

// LFO periods in units of two bars, longest first; entry 0 stops the synced LFO.
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

// any: "Reverse Length" or "Reverse Retrigger Hold Time" off sync as log2 of
// milliseconds: 100 ms at 0 up to 64 s at 1.
constexpr float reverseTimeLog(float value) noexcept {
    return value * REVERSE_MAX_TIME_LOG + REVERSE_MIN_TIME_LOG;
}

// Below this a level parameter means no level at all.
inline constexpr float kLevelOff = 0.0001f;

// A level parameter: value v stands for scale·v + offset decibels.
struct DecibelMapping {
    float scale;
    float offset;

    constexpr float decibels(float value) const noexcept { return scale * value + offset; }  // any
    constexpr double valueFor(double db) const noexcept { return (db - offset) / scale; }  // any
    // any: the linear gain 10^(dB / 20), or 0 below kLevelOff.
    float gain(float value) const noexcept {
        if (!(value >= kLevelOff)) return 0.0f;
        return static_cast<float>(std::pow(10.0, decibels(value) / 20.0f));
    }
};
inline constexpr DecibelMapping kDryVolumeDb{40.0f, -40.0f};  // "Dry Volume": -40 .. 0 dB
inline constexpr DecibelMapping kWetVolumeDb{50.0f, -40.0f};  // "Wet Volume": -40 .. +10 dB
inline constexpr DecibelMapping kThresholdDb{40.0f, -40.0f};  // "Reverse Trigger Threshold": -40 .. 0 dB

// Inline: the signal chain reads switches and choices this way every frame.
// any: float to integer, cut towards zero, saturating at the int32 range; NaN gives 0.
inline std::int32_t toIndex(double value) noexcept {
    if (std::isnan(value)) return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= highest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// any: the on/off reading of a value.
inline bool getOnOff(float value) noexcept {
    return value >= 0.5f;
}

// any: the choice a value reads as: trunc(value·scale + 0.1), kept within 0 .. count − 1.
inline std::int32_t getSteppedValue(float value, float scale, std::int32_t count) noexcept {
    if (count < 1) return 0;
    const std::int32_t step = toIndex(static_cast<double>(value * scale) + 0.1);
    if (step < 0) return 0;
    return step < count - 1 ? step : count - 1;
}

// any: a value clamped to [0, 1]; NaN gives 0.
float clampUnit(double value) noexcept;
