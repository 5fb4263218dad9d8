// The parameter menu's "Set to Value", choice and step commands.
#include "plugin/APlugin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/TextHelpers.h"

namespace {

// ln 2 · 10: turns ln(hz / 20) into the 0..1 frequency value.
constexpr double kFrequencyLogScale = 6.931472;
constexpr float kStepFraction = 0.01f;

// The number at the start of text, 0 when there is none or it is out of
// range: atof's reading, but independent of the host's numeric locale.
double leadingNumber(const char* text) noexcept {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    if (*text == '+') {
        ++text;
        if (*text == '-') return 0.0;
    }
    const char* end = text;
    while (*end) ++end;
    double value = 0.0;
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc{} ? value : 0.0;
}

}  // namespace

void APlugin::setEnteredValue(VstInt32 index, double value) noexcept {
    setParameter(index, clampUnit(value));
}

void APlugin::setNumValue(VstInt32 index) {
    const ParameterRow& row = parameterRow(index);
    if (row.entry == EntryKind::None) return;
    if (row.entry == EntryKind::Choice) {
        getLimitedValue(index, row.steps.scale, row.steps.count, row.choiceNames);
        return;
    }

    char title[kParameterNameBytes];
    getParameterName(index, title);
    const float f = loadValue(index);
    char reply[kInputBoxBytes] = {};
    switch (row.entry) {
    case EntryKind::Switch:
        copyText(reply, sizeof(reply), ::getOnOff(f) ? "On" : "Off");
        break;
    case EntryKind::Linear:
        std::snprintf(reply, sizeof(reply), "%.1f", static_cast<double>(row.entryScale * f + row.entryOffset));
        break;
    case EntryKind::Frequency: {
        const float hz = 20.0f * static_cast<float>(std::exp2(static_cast<double>(10.0f * f)));
        if (hz < 1000.0f)
            std::snprintf(reply, sizeof(reply), "%.0f Hz", static_cast<double>(hz));
        else
            std::snprintf(reply, sizeof(reply), "%.1f kHz", static_cast<double>(hz / 1000.0f));
        break;
    }
    case EntryKind::None:
    case EntryKind::Choice:
        return;
    }

    inputBox(row.prompt, title, reply, sizeof(reply));
    if (reply[0] == '\0') return;

    switch (row.entry) {
    case EntryKind::Switch:
        stripAllButNum(reply);
        if (reply[0] == '\0') return;
        setEnteredValue(index, leadingNumber(reply) < 0.5 ? 0.0 : 1.0);
        break;
    case EntryKind::Linear:
        stripAllButNum(reply);
        setEnteredValue(index, (leadingNumber(reply) - row.entryOffset) / row.entryScale);
        break;
    case EntryKind::Frequency: {
        // Zero, negative or unreadable hertz have no logarithm: no change.
        const double hz = leadingNumber(reply);
        if (!(hz > 0.0)) return;
        setEnteredValue(index, std::log(hz / 20.0) / kFrequencyLogScale);
        break;
    }
    case EntryKind::None:
    case EntryKind::Choice:
        break;
    }
}

void APlugin::getLimitedValue(VstInt32 index, float scale, VstInt32 count, const char* const* names) {
    if (index < 0 || index >= kNumParameters || count < 1 || !names || !(scale > 0.0f)) return;

    char title[kParameterNameBytes];
    getParameterName(index, title);
    char prompt[kInputBoxBytes];
    std::snprintf(prompt, sizeof(prompt), "1 [%s] to %d [%s]", names[0], count, names[count - 1]);
    char reply[kInputBoxBytes];
    std::snprintf(reply, sizeof(reply), "%d", getSteppedValue(index, scale, count) + 1);

    inputBox(prompt, title, reply, sizeof(reply));
    if (reply[0] == '\0') return;
    stripAllButNum(reply);
    const double choice = leadingNumber(reply);
    setEnteredValue(index, static_cast<float>(choice - 1.0 + 0.1) / scale);
}

void APlugin::changeDelta(VstInt32 index, VstInt32 delta) noexcept {
    if (index < 0 || index >= kNumParameters) return;
    const ParameterRow& row = parameterRow(index);
    if (row.stepsByChoice) {
        VstInt32 step = getSteppedValue(index, row.steps.scale, row.steps.count) + (delta >= 0 ? 1 : -1);
        step = std::clamp(step, 0, row.steps.count - 1);
        setParameter(index, (static_cast<float>(step) + 0.1f) / row.steps.scale);
    } else if (slots.isSwitch[index]) {
        setParameter(index, delta >= 0 ? 1.0f : 0.0f);
    } else {
        setParameter(index, clampUnit(getParameter(index) + static_cast<float>(delta) * kStepFraction));
    }
}
