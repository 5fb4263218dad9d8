#include "plugin/APlugin.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr float kShownAsOff = 0.00001f;
constexpr VstInt32 kMaxDecimals = 9;

// 2^x in double, rounded to float before anything multiplies it.
float pow2f(float exponent) noexcept {
    return static_cast<float>(std::exp2(static_cast<double>(exponent)));
}

// Fixed-point text through to_chars, so a host's numeric locale cannot turn
// "0.5" into "0,5".
ShortText formatText(double value, VstInt32 decimals, const char* unit) noexcept {
    ShortText out;
    char* const end = out.text + sizeof(out.text) - 1;
    const auto [next, error] = std::to_chars(out.text, end, value, std::chars_format::fixed, decimals);
    if (error != std::errc{}) return ShortText{};
    char* p = next;
    for (const char* u = unit; *u && p < end; ++u) *p++ = *u;
    *p = '\0';
    return out;
}

ShortText intText(float value, const char* unit) noexcept {
    return formatText(toIndex(value), 0, unit);
}

ShortText fixedText(float value, VstInt32 decimals, const char* unit) noexcept {
    return formatText(value, decimals, unit);
}

ShortText literal(const char* text) noexcept {
    ShortText out;
    copyText(out.text, sizeof(out.text), text);
    return out;
}

ShortText frequencyText(float value, bool forceHz) noexcept {
    const float hz = 20.0f * pow2f(10.0f * value);
    if (forceHz || hz < 1000.0f) return fixedText(hz, 0, "Hz");
    return fixedText(hz / 1000.0f, 1, "KHz");
}

ShortText lfoSpeedText(float value, VstInt32 divisor, VstInt32 exponent, bool allowOff) noexcept {
    if (allowOff && value < kShownAsOff) return literal("Off");
    if (divisor <= 0) return ShortText{};
    const float hz = pow2f(static_cast<float>(exponent) * value) * (55.0f / static_cast<float>(divisor));
    if (hz < 1000.0f) return fixedText(hz, hz <= 99.99f ? 2 : 1, "Hz");
    return fixedText(hz / 1000.0f, 1, "KHz");
}

// Milliseconds up to 999, then seconds with one decimal.
ShortText timeText(float milliseconds) noexcept {
    if (milliseconds < 1000.0f) return fixedText(milliseconds, 0, "ms");
    return fixedText(milliseconds / 1000.0f, 1, "s");
}

}  // namespace

float APlugin::loadValue(VstInt32 index) const noexcept {
    return slots.load(index);
}

void APlugin::setParameter(VstInt32 index, float value) noexcept {
    // A longer take's memory is made resident before the audio thread can see it.
    if (index == Param::ReverseLength || index == Param::ReverseTempoSync)
        commitTakeMemory(index, slots.storedForm(index, value));
    // The one place a change is marked for the editor, whoever made it.
    if (slots.store(index, value)) editorMailbox.markChanged(index);
}

float APlugin::getParameter(VstInt32 index) noexcept {
    return loadValue(index);
}

bool APlugin::getOnOff(VstInt32 index) const noexcept {
    return ::getOnOff(loadValue(index));
}

VstInt32 APlugin::getSteppedValue(VstInt32 index, float scale, VstInt32 count) const noexcept {
    return ::getSteppedValue(loadValue(index), scale, count);
}

VstInt32 APlugin::getReverseTriggerMode() const noexcept {
    return getSteppedValue(Param::ReverseTriggerMode, kTriggerModeSteps.scale, kTriggerModeSteps.count);
}

VstInt32 APlugin::getFilterMode() noexcept {
    return ::getOnOff(getParameter(Param::FilterMode)) ? 1 : 0;
}

VstInt32 APlugin::getLFOMode() noexcept {
    return ::getOnOff(getParameter(Param::LfoMode)) ? 1 : 0;
}

VstInt32 APlugin::getLFOWave() const noexcept {
    return getSteppedValue(Param::LfoWave, kLfoWaveSteps.scale, kLfoWaveSteps.count);
}

VstInt32 APlugin::getLFOPhase() const noexcept {
    return getSteppedValue(Param::LfoPhase, kLfoPhaseSteps.scale, kLfoPhaseSteps.count);
}

VstInt32 APlugin::getLFOSyncedSpeed() const noexcept {
    return getSteppedValue(Param::LfoSpeed, kLfoSpeedSteps.scale, kLfoSpeedSteps.count);
}

void APlugin::getParameterName(VstInt32 index, char* text) noexcept {
    copyText(text, kParameterNameBytes, parameterName(index, getFilterMode()));
}

void APlugin::getParameterLabel(VstInt32, char* text) noexcept {
    copyText(text, kParameterLabelBytes, " ");
}

void APlugin::getParameterDisplay(VstInt32 index, char* text) noexcept {
    getParameterDisplayForValue(index, getParameter(index), text);
}

void APlugin::getParameterDisplayForValue(VstInt32 index, float value, char* text) const noexcept {
    if (!text) return;
    const ParameterRow& row = parameterRow(index);
    const float v = slots.storedForm(index, value);
    ShortText shown;
    switch (row.display) {
    case DisplayKind::Empty:
        break;
    case DisplayKind::OnOff:
        shown = literal(::getOnOff(v) ? "On" : "Off");
        break;
    case DisplayKind::Decibels:
        shown = v > kShownAsOff ? intText(row.displayScale * v + row.displayOffset, "dB") : literal("Off");
        break;
    case DisplayKind::EnvelopeTime:
        shown = fixedText(pow2f(10.0f * v) - 1.0f, 1, "ms");
        break;
    case DisplayKind::ReverseTime:
        shown = getReverseLenStr(index, v, getOnOff(Param::ReverseTempoSync));
        break;
    case DisplayKind::FixedDecibels:
        shown = fixedText(row.displayScale * v + row.displayOffset, 1, "dB");
        break;
    case DisplayKind::Choice: {
        const VstInt32 choice = row.kind == ParameterKind::Stepped
                                    ? ::getSteppedValue(v, row.steps.scale, row.steps.count)
                                    : (::getOnOff(v) ? 1 : 0);
        shown = literal(row.choiceNames[choice]);
        break;
    }
    case DisplayKind::Percent:
        shown = intText(row.displayScale * v + row.displayOffset, "%");
        break;
    case DisplayKind::ExpPercent:
        shown = intText(pow2f(row.displayScale * v) * 100.0f + row.displayOffset, "%");
        break;
    case DisplayKind::FilterFrequency:
        shown = frequencyText(v, false);
        break;
    case DisplayKind::LfoSpeed:
        shown = getOnOff(Param::LfoTempoSync)
                    ? literal(_LFO_TEMPO_SYNCED_PERIOD_STRING[::getSteppedValue(v, kLfoSpeedSteps.scale,
                                                                                kLfoSpeedSteps.count)])
                    : lfoSpeedText(v, 2048, 17, true);
        break;
    }
    copyText(text, kParameterDisplayBytes, shown.c_str());
}

ShortText APlugin::getFloatString(float value, VstInt32 decimals) noexcept {
    return fixedText(value, std::clamp(decimals, 0, kMaxDecimals), "");
}

ShortText APlugin::getFilterFrequencyText(VstInt32 index, bool forceHz) const noexcept {
    return frequencyText(loadValue(index), forceHz);
}

ShortText APlugin::getReverseLenStr(VstInt32 index, float value, bool synced) const noexcept {
    const float v = clampUnit(value);
    if (index == Param::ReverseOffset) {
        if (v < 0.01f) return literal("Off");
        return timeText(std::floor(pow2f(v * REVESE_OFFSET_MAX_TIME_LOG)));
    }
    if (synced)
        return literal(_REVERSE_SYNCED_LENGTH_STRING[::getSteppedValue(v, kReverseLengthSteps.scale,
                                                                       kReverseLengthSteps.count)]);
    return timeText(std::floor(pow2f(reverseTimeLog(v))) + 1.0f);
}

ShortText APlugin::getLfoSpeedText(VstInt32 index, VstInt32 divisor, VstInt32 exponent,
                                   bool allowOff) const noexcept {
    return lfoSpeedText(loadValue(index), divisor, exponent, allowOff);
}
