#include "plugin/ParameterTable.h"

#include <array>

namespace {

constexpr const char* kSwitchPrompt = "0 for Off, 1 for On";
constexpr const char* kPercentPrompt = "0 to 100%";
constexpr const char* kBipolarPrompt = "-100 to 100%";

using K = ParameterKind;
using D = DisplayKind;
using E = EntryKind;

// A switch (or, with kind OnOff, a button read as on/off but not snapped).
constexpr ParameterRow onOffRow(const char* name, float defaultValue, K kind = K::Switch) {
    return {.name = name, .defaultValue = defaultValue, .kind = kind, .display = D::OnOff,
            .entry = E::Switch, .prompt = kSwitchPrompt};
}

// A continuous value typed in as a percentage of its range.
constexpr ParameterRow rangeRow(const char* name, float defaultValue, D display, float displayScale = 0.0f,
                                float displayOffset = 0.0f) {
    return {.name = name, .defaultValue = defaultValue, .kind = K::Continuous, .display = display,
            .displayScale = displayScale, .displayOffset = displayOffset, .entry = E::Linear,
            .prompt = kPercentPrompt, .entryScale = 100.0f, .entryOffset = 0.0f};
}

// A level shown and typed in decibels.
constexpr ParameterRow levelRow(const char* name, float defaultValue, D display, DecibelMapping db,
                                const char* prompt) {
    return {.name = name, .defaultValue = defaultValue, .kind = K::Continuous, .display = display,
            .displayScale = db.scale, .displayOffset = db.offset, .entry = E::Linear, .prompt = prompt,
            .entryScale = db.scale, .entryOffset = db.offset};
}

constexpr ParameterRow bipolarRow(const char* name, const char* const* namesByFilterMode = nullptr) {
    return {.name = name, .namesByFilterMode = namesByFilterMode, .defaultValue = 0.5f, .kind = K::Bipolar,
            .display = D::Percent, .displayScale = 200.0f, .displayOffset = -100.0f, .entry = E::Linear,
            .prompt = kBipolarPrompt, .entryScale = 200.0f, .entryOffset = -100.0f};
}

constexpr ParameterRow frequencyRow(const char* name, float defaultValue,
                                    const char* const* namesByFilterMode = nullptr) {
    return {.name = name, .namesByFilterMode = namesByFilterMode, .defaultValue = defaultValue,
            .kind = K::Continuous, .display = D::FilterFrequency, .entry = E::Frequency,
            .prompt = "20hz to 20000 hz"};
}

constexpr ParameterRow choiceRow(const char* name, float defaultValue, K kind, StepShape steps,
                                 const char* const* choiceNames, bool stepsByChoice) {
    return {.name = name, .defaultValue = defaultValue, .kind = kind, .steps = steps,
            .choiceNames = choiceNames, .display = D::Choice, .entry = E::Choice,
            .stepsByChoice = stepsByChoice};
}

constexpr ParameterRow withSteps(ParameterRow row, StepShape steps) {
    row.steps = steps;
    return row;
}

constexpr ParameterRow withFilterModeNames(ParameterRow row, const char* const* names) {
    row.namesByFilterMode = names;
    return row;
}

constexpr std::array<ParameterRow, Param::kFirstUnusedSlot> kRows = {{
    /* 0 */ {},
    /* 1 */ onOffRow("Bypass", 0.0f),
    /* 2 */ levelRow("Dry Volume", 1.0f, D::Decibels, kDryVolumeDb, "-40 to 0 dB"),
    /* 3 */ levelRow("Wet Volume", 0.8f, D::Decibels, kWetVolumeDb, "-40 to 10 dB"),
    /* 4 */ rangeRow("Reverse Decay", 0.4004f, D::EnvelopeTime),
    /* 5 */ rangeRow("Reverse Attack", 0.3998f, D::EnvelopeTime),
    /* 6 */ rangeRow("Reverse Offset", 0.0f, D::ReverseTime),
    /* 7 */ onOffRow("Reverse Tempo Sync", 1.0f),
    /* 8 */ withSteps(rangeRow("Reverse Length", 0.55f, D::ReverseTime), kReverseLengthSteps),
    /* 9 */ levelRow("Reverse Trigger Threshold", 0.24f, D::FixedDecibels, kThresholdDb, "-40 to 0 db"),
    /* 10 */ withSteps(rangeRow("Reverse Retrigger Hold Time", 0.55f, D::ReverseTime), kReverseLengthSteps),
    /* 11 */ onOffRow("Mute", 0.0f),
    /* 12 */ onOffRow("Dry Mute", 0.0f, K::OnOff),
    /* 13 */ {},
    /* 14 */ choiceRow("Reverse Trigger Mode", 0.0f, K::Stepped, kTriggerModeSteps, _REVERSE_TRIGGER_MODE_STRING,
                       false),
    /* 15 */ onOffRow("Filter Active", 1.0f),
    /* 16 */ rangeRow("Distort", 0.0f, D::Percent, 100.0f),
    /* 17 */ frequencyRow("LowPass Filter Frequency", 1.0f, _FILTER_FREQ_STRING),
    /* 18 */ frequencyRow("HighPass Filter Frequency", 0.0f),
    /* 19 */ withFilterModeNames(rangeRow("LowPass Filter Q", 0.0f, D::Percent, 100.0f), _FILTER_Q_STRING),
    /* 20 */ rangeRow("HighPass Filter Q", 0.0f, D::Percent, 100.0f),
    /* 21 */ onOffRow("LFO Active", 1.0f),
    /* 22 */ choiceRow("LFO Mode", 0.0f, K::OnOff, kLfoModeSteps, _LFO_MODE_STRING, true),
    /* 23 */ choiceRow("LFO Wave", 0.0f, K::Stepped, kLfoWaveSteps, _LFO_WAVE_STRING, true),
    /* 24 */ choiceRow("LFO Phase", 1.0f, K::Stepped, kLfoPhaseSteps, _LFO_PHASE_STRING, true),
    /* 25 */ withSteps(rangeRow("LFO Speed", 0.665f, D::LfoSpeed), kLfoSpeedSteps),
    /* 26 */ onOffRow("LFO Tempo Sync", 1.0f),
    /* 27 */ bipolarRow("LFO > Volume"),
    /* 28 */ bipolarRow("LFO > Pan"),
    /* 29 */ bipolarRow("LFO > LowPass Filter Frequency", _LFO_TO_FILTER_FREQ_STRING),
    /* 30 */ bipolarRow("LFO > HighPass Frequency"),
    /* 31 */ {.name = "LowPass / Comb Filter", .kind = K::Switch, .choiceNames = _FILTER_MODE_STRING,
              .display = D::Choice, .entry = E::Switch, .prompt = kSwitchPrompt},
    /* 32 */ rangeRow("Reverse Vertical In Zoom", 0.25f, D::ExpPercent, 6.0f, -1.0f),
    /* 33 */ rangeRow("Reverse Vertical Out Zoom", 0.25f, D::ExpPercent, 6.0f, -1.0f),
    /* 34 */ rangeRow("Reverse Zoom", 0.0f, D::ExpPercent, 4.0f, 0.0f),
    /* 35 */ onOffRow("Reverse Trigger", 0.0f),
}};

constexpr ParameterRow kEmptyRow{};
constexpr const char* kNoParameterName = "~~~";

}  // namespace

const ParameterRow& parameterRow(VstInt32 index) noexcept {
    if (index < 0 || index >= Param::kFirstUnusedSlot) return kEmptyRow;
    return kRows[static_cast<std::size_t>(index)];
}

const char* parameterName(VstInt32 index, VstInt32 filterMode) noexcept {
    const ParameterRow& row = parameterRow(index);
    if (!row.name) return kNoParameterName;
    if (row.namesByFilterMode) return row.namesByFilterMode[filterMode != 0 ? 1 : 0];
    return row.name;
}

bool parameterIsSwitch(VstInt32 index) noexcept {
    return parameterRow(index).kind == ParameterKind::Switch;
}
