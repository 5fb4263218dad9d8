// The parameter slots as the engine reads them: slot numbers, stepped
// readings, the tempo division values and the time constants. The effect's
// parameter table adds names, texts and defaults on top of these.
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
inline constexpr StepShape kReverseLengthSteps{21.99f, 22};
inline constexpr StepShape kTriggerModeSteps{2.99f, 3};
inline constexpr StepShape kLfoModeSteps{1.99f, 2};
inline constexpr StepShape kLfoWaveSteps{5.0f, 6};
inline constexpr StepShape kLfoPhaseSteps{3.0f, 4};
inline constexpr StepShape kLfoSpeedSteps{30.99f, 31};

// The choices of "Reverse Trigger Mode", in table order.
namespace TriggerMode {
inline constexpr std::int32_t Audio = 0;
inline constexpr std::int32_t Manual = 1;
inline constexpr std::int32_t Host = 2;
}  // namespace TriggerMode

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
