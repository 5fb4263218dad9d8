// Display and meter data: the levels the audio thread records for the
// reverse display and the meters, and the queries the editor polls.
#include "engine/uSignalChain.h"

#include <algorithm>
#include <cmath>

#include "engine/SharedValue.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

constexpr float kMinWindowMS = 500.0f;
constexpr float kMaxWindowMS = 63999.0f;
constexpr float kMaxHoldMS = 64000.0f;
constexpr float kBarsToQuantize = 1.01f;
constexpr float kBarsToQuantizeFinely = 1.0001f;
constexpr float kSoundLevel = 0.0001f;
constexpr float kQuietLevel = 0.00001f;
constexpr std::int32_t kQuietFramesToStop = 50001;
constexpr float kVuCoefficient = 0.1f;

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

void TSignalChain::clearDisplay() noexcept {
    // Only the slots written since the last clear can hold anything.
    for (std::int32_t i = 0; i < displayWritten; ++i) {
        storeRelaxed(displayIn[i], 0.0f);
        storeRelaxed(displayOut[i], 0.0f);
    }
    displayWritten = 0;
}

float TSignalChain::displayLengthMS(float zoomFactor, bool synced) const noexcept {
    const float rate = loadRelaxed(sampleRate);
    const float hold = static_cast<float>(loadRelaxed(holdSamples)) * 1000.0f / rate;
    const float base = std::max(std::min(kMaxHoldMS, hold), 2.0f * getReverseLength());
    const float window = std::clamp(zoomFactor * base, kMinWindowMS, kMaxWindowMS);
    if (!synced) return window;
    return toWholeBars(window, loadRelaxed(tempo), kBarsToQuantize);
}

void TSignalChain::refreshDisplayWindow() noexcept {
    const float zoom = value(Param::ReverseZoom);
    const bool synced = onOff(Param::ReverseTempoSync);
    const std::int32_t first = reverse[0].length.load(relaxed);
    const std::int32_t second = reverse[1].length.load(relaxed);
    const float ms = displayLengthMS(std::exp2(4.0f * zoom), synced);
    displayWindow = {zoom, synced, first != second, {first, second}, holdSamples, tempo, ms};
}

void TSignalChain::noteDisplayWindowInputs() noexcept {
    DisplayWindow& w = displayWindow;
    const std::int32_t first = reverse[0].length.load(relaxed);
    const std::int32_t second = reverse[1].length.load(relaxed);
    if (first != w.takeLengths[0] || second != w.takeLengths[1] || holdSamples != w.holdSamples || tempo != w.tempo)
        w.stale = true;
}

float TSignalChain::getReverseDisplayLengthMS() const noexcept {
    return displayLengthMS(std::exp2(4.0f * value(Param::ReverseZoom)), onOff(Param::ReverseTempoSync));
}

float TSignalChain::getReverseDisplayLengthQuantized() const noexcept {
    const float window = getReverseDisplayLengthMS();
    if (!onOff(Param::ReverseTempoSync)) return window;
    return toWholeBars(window, loadRelaxed(tempo), kBarsToQuantizeFinely);
}

float TSignalChain::getReverseDisplayLengthQB() const noexcept {
    return getReverseDisplayLengthQuantized() / 1000.0f * loadRelaxed(tempo) / 60.0f;
}

float TSignalChain::getDisplayValue(float x, float width, bool input) const noexcept {
    if (!(width > 0.0f) || !std::isfinite(x)) return 0.0f;
    const float length = getReverseDisplayLengthMS();
    const float last = std::trunc(length) - 1.0f;
    // Bounds are clamped as floats before they become indices; slots past
    // the arrays (a window quantised beyond 64 s) count as empty.
    const auto bound = [&](float column) {
        const float slot = std::min(std::trunc(column * length / width), last);
        return static_cast<std::int32_t>(std::clamp(slot, 0.0f, static_cast<float>(kDisplaySlots)));
    };
    const std::int32_t start = bound(x);
    const std::int32_t end = std::min(bound(x + 1.0f), kDisplaySlots);
    const float* slots = input ? displayIn : displayOut;
    float peak = 0.0f;
    for (std::int32_t i = start; i < end; ++i) peak = std::max(peak, loadRelaxed(slots[i]));
    if (!(peak > 0.0f)) return 0.0f;
    return peak * loadRelaxed(input ? verticalInZoom : verticalOutZoom);
}

float TSignalChain::getReversePosition() const noexcept {
    return loadRelaxed(displayPosition);
}

float TSignalChain::getRecordPosition() const noexcept {
    return loadRelaxed(displayPosition);
}

float TSignalChain::getReverseLength() const noexcept {
    // The voice the output follows: the older take while both play.
    const bool firstPlaying = reverse[0].getPlaying();
    const bool secondPlaying = reverse[1].getPlaying();
    std::int32_t selected = secondPlaying ? 1 : 0;
    if (firstPlaying && secondPlaying) selected = 1 - std::clamp(loadRelaxed(reverseToUse), 0, 1);
    return reverse[selected].getLength();
}

float TSignalChain::getHoldTime() const noexcept {
    return std::min(kMaxHoldMS, static_cast<float>(loadRelaxed(holdSamples)) * 1000.0f / loadRelaxed(sampleRate));
}

bool TSignalChain::getSilent() const noexcept {
    switch (triggerMode()) {
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

bool TSignalChain::getReverseManualTrigger() const noexcept {
    return loadRelaxed(manualLatch);
}

float TSignalChain::getLFOPos() const noexcept {
    return lfo.getPos();
}

float TSignalChain::getVu() noexcept {
    return std::atomic_ref<float>(vuPeak).exchange(0.0f, relaxed);
}

void TSignalChain::updateReverseDisplay(float inLevel, float outLevel, bool hostMode) noexcept {
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
        const auto slot = static_cast<std::int32_t>(position);
        storeRelaxed(displayIn[slot], inLevel);
        storeRelaxed(displayOut[slot], outLevel);
        displayWritten = std::max(displayWritten, slot + 1);
    }

    if (!hostMode) {
        position += displayStep;
    } else {
        if (hostSyncDisplay || !hostPlaying) position += displayStep;
        // The window is one hold period, in step with the host-driven retrigger.
        if (position > std::min(kMaxHoldMS, static_cast<float>(holdSamples) * 1000.0f / sampleRate)) position = 0.0f;
    }
    storeRelaxed(displayPosition, position);
}

void TSignalChain::updateVu() noexcept {
    const float samples[4] = {inputLeft, inputRight, outputLeft, outputRight};
    for (int i = 0; i < 4; ++i)
        storeRelaxed(vuFollowers[i], (1.0f - kVuCoefficient) * vuFollowers[i] + kVuCoefficient * std::fabs(samples[i]));
}

float TSignalChain::getLockedOffset() const noexcept {
    return loadRelaxed(lockedOffsetValue);
}
