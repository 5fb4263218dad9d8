// Display and meter data: the levels the audio thread records for the
// reverse display and the meters, the queries the editor polls, and the
// mailbox through which the engine leaves word for the editor.
#include "plugin/APlugin.h"

#include <algorithm>
#include <cmath>

#include "engine/uPluginEngine.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

constexpr float kMinWindowMS = 500.0f;
constexpr float kMaxWindowMS = 63999.0f;
constexpr float kMaxHoldMS = 64000.0f;
constexpr float kBarsToQuantize = 1.01f;
constexpr float kBarsToQuantizeFinely = 1.0001f;
constexpr float kSoundLevel = 0.0001f;
constexpr float kQuietLevel = 0.00001f;
constexpr VstInt32 kQuietFramesToStop = 50001;
constexpr float kVuCoefficient = 0.1f;
constexpr float kVuToEditor = 4.0f;

// A synced window longer than the threshold (in bars) is raised to the next whole bar.
float toWholeBars(float ms, float tempo, float thresholdBars) noexcept {
    float bars = ms / 1000.0f * tempo / 240.0f;
    const float whole = std::trunc(bars);
    if (bars > thresholdBars && bars - whole > 0.001f) {
        bars = whole + 1.0f;
        return bars * 1000.0f * 240.0f / tempo;
    }
    return ms;
}

}  // namespace

void APlugin::clearDisplay() noexcept {
    // Only the slots written since the last clear can hold anything.
    for (VstInt32 i = 0; i < displayWritten; ++i) {
        storeRelaxed(displayIn[i], 0.0f);
        storeRelaxed(displayOut[i], 0.0f);
    }
    displayWritten = 0;
}

float APlugin::displayLengthMS(float zoomFactor, bool synced) const noexcept {
    const float rate = loadRelaxed(sampleRate);
    const float hold = static_cast<float>(loadRelaxed(holdSamples)) * 1000.0f / rate;
    const float base = std::max(std::min(kMaxHoldMS, hold), 2.0f * getReverseLength());
    const float window = std::clamp(zoomFactor * base, kMinWindowMS, kMaxWindowMS);
    if (!synced) return window;
    return toWholeBars(window, loadRelaxed(tempo), kBarsToQuantize);
}

float APlugin::currentDisplayLengthMS() noexcept {
    // Worked out per frame by the formula, but only redone when an input
    // moved; while the two takes differ in length, the heard voice decides.
    DisplayWindow& w = displayWindow;
    const float zoom = loadValue(Param::ReverseZoom);
    const bool synced = getOnOff(Param::ReverseTempoSync);
    const std::int32_t first = reverse[0].length.load(relaxed);
    const std::int32_t second = reverse[1].length.load(relaxed);
    if (zoom != w.zoomValue || synced != w.synced || first != w.takeLengths[0] || second != w.takeLengths[1] ||
        holdSamples != w.holdSamples || tempo != w.tempo || first != second) {
        w = {zoom, synced, {first, second}, holdSamples, tempo, displayLengthMS(std::exp2(4.0f * zoom), synced)};
    }
    return w.ms;
}

float APlugin::getReverseDisplayLengthMS() const noexcept {
    return displayLengthMS(std::exp2(4.0f * loadValue(Param::ReverseZoom)), getOnOff(Param::ReverseTempoSync));
}

float APlugin::getReverseDisplayLengthQuantized() const noexcept {
    const float window = getReverseDisplayLengthMS();
    if (!getOnOff(Param::ReverseTempoSync)) return window;
    return toWholeBars(window, loadRelaxed(tempo), kBarsToQuantizeFinely);
}

float APlugin::getReverseDisplayLengthQB() const noexcept {
    return getReverseDisplayLengthQuantized() / 1000.0f * loadRelaxed(tempo) / 60.0f;
}

float APlugin::getDisplayValue(float x, float width, bool input) const noexcept {
    if (!(width > 0.0f) || !std::isfinite(x)) return 0.0f;
    const float length = getReverseDisplayLengthMS();
    const float last = std::trunc(length) - 1.0f;
    // Bounds are clamped as floats before they become indices; slots past
    // the arrays (a window quantised beyond 64 s) count as empty.
    const auto bound = [&](float column) {
        const float slot = std::min(std::trunc(column * length / width), last);
        return static_cast<VstInt32>(std::clamp(slot, 0.0f, static_cast<float>(kDisplaySlots)));
    };
    const VstInt32 start = bound(x);
    const VstInt32 end = std::min(bound(x + 1.0f), kDisplaySlots);
    const float* slots = input ? displayIn : displayOut;
    float peak = 0.0f;
    for (VstInt32 i = start; i < end; ++i) peak = std::max(peak, loadRelaxed(slots[i]));
    if (!(peak > 0.0f)) return 0.0f;
    return peak * loadRelaxed(input ? verticalInZoom : verticalOutZoom);
}

float APlugin::getReversePosition() const noexcept {
    return loadRelaxed(displayPosition);
}

float APlugin::getRecordPosition() const noexcept {
    return loadRelaxed(displayPosition);
}

float APlugin::getReverseLength() const noexcept {
    // The voice the output follows: the older take while both play.
    const bool firstPlaying = reverse[0].getPlaying();
    const bool secondPlaying = reverse[1].getPlaying();
    VstInt32 selected = secondPlaying ? 1 : 0;
    if (firstPlaying && secondPlaying) selected = 1 - std::clamp(loadRelaxed(reverseToUse), 0, 1);
    return reverse[selected].getLength();
}

float APlugin::getHoldTime() const noexcept {
    return std::min(kMaxHoldMS, static_cast<float>(loadRelaxed(holdSamples)) * 1000.0f / loadRelaxed(sampleRate));
}

bool APlugin::getSilent() const noexcept {
    switch (getReverseTriggerMode()) {
    case TriggerMode::Manual:
        return !loadRelaxed(manualLatch);
    case TriggerMode::Host:
        return !loadRelaxed(hostPlaying);
    default: {
        const float frames = 2.0f * getReverseDisplayLengthMS() * loadRelaxed(sampleRate) / 1000.0f;
        return static_cast<double>(loadRelaxed(silenceCounter)) >= std::trunc(static_cast<double>(frames));
    }
    }
}

bool APlugin::getReverseManualTrigger() const noexcept {
    return loadRelaxed(manualLatch);
}

float APlugin::getLFOPos() const noexcept {
    return lfo.getPos();
}

float APlugin::getVu() noexcept {
    return std::atomic_ref<float>(vuPeak).exchange(0.0f, relaxed);
}

void APlugin::updateReverseDisplay(float inLevel, float outLevel) noexcept {
    const bool hostMode = getReverseTriggerMode() == TriggerMode::Host;
    if (!hostMode) {
        if (inLevel > kSoundLevel && !displayRunning) {
            // Sound after silence starts the picture afresh at the left.
            storeRelaxed(displayPosition, 0.0f);
            displayRunning = true;
            quietCounter = 0;
            clearDisplay();
        }
        if (displayRunning) {
            if (inLevel < kQuietLevel)
                countUp(quietCounter);
            else
                quietCounter = 0;
        }
    }
    if (quietCounter >= kQuietFramesToStop) displayRunning = false;

    float position = displayPosition;
    if (position > currentDisplayLengthMS()) {
        position = 0.0f;
        clearDisplay();
    }
    if (position > -1.0f && position < static_cast<float>(kDisplaySlots)) {
        const auto slot = static_cast<VstInt32>(position);
        storeRelaxed(displayIn[slot], inLevel);
        storeRelaxed(displayOut[slot], outLevel);
        displayWritten = std::max(displayWritten, slot + 1);
    }

    const float step = 1000.0f / sampleRate;
    if (!hostMode) {
        position += step;
    } else {
        if (hostSyncDisplay || !hostPlaying) position += step;
        // The window is one hold period, in step with the host-driven retrigger.
        if (position > std::min(kMaxHoldMS, static_cast<float>(holdSamples) * 1000.0f / sampleRate)) position = 0.0f;
    }
    storeRelaxed(displayPosition, position);
}

void APlugin::updateVu() noexcept {
    const float samples[4] = {inputLeft, inputRight, outputLeft, outputRight};
    for (int i = 0; i < 4; ++i)
        storeRelaxed(vuFollowers[i], (1.0f - kVuCoefficient) * vuFollowers[i] + kVuCoefficient * std::fabs(samples[i]));
    if ((sampleCounter & 2047u) != 0 || !editorShowing()) return;
    for (int i = 0; i < 4; ++i) vuForEditor[i].store(vuFollowers[i] * kVuToEditor, relaxed);
    vuForEditorReady.store(true, std::memory_order_release);
}

bool APlugin::editorShowing() const noexcept {
    // Only the link's own flags: the audio thread never touches the editor object.
    return editorOpen.load(relaxed) && !editorBusy.load(relaxed);
}

void APlugin::editorResume() noexcept {
    if (editorShowing()) resumeRequested.store(true, relaxed);
}

bool APlugin::takeResumeRequest() noexcept {
    return resumeRequested.exchange(false, relaxed);
}

bool APlugin::takeVuLevels(float (&levels)[4]) noexcept {
    if (!vuForEditorReady.exchange(false, std::memory_order_acquire)) return false;
    for (int i = 0; i < 4; ++i) levels[i] = vuForEditor[i].load(relaxed);
    return true;
}

std::uint64_t APlugin::takeParametersChangedByAudio() noexcept {
    return parametersChangedByAudio.exchange(0, relaxed);
}
