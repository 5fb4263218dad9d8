// The processing frame: block entry points, sample rate, host tempo and
// transport, the mapping of parameter values onto the engine, and the resets.
#include "plugin/APlugin.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/uPluginEngine.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Tempo valid, position in quarter notes valid, transport playing, transport changed.
constexpr VstInt32 kTimeInfoRequest = 1539;
constexpr float kMinSampleRate = 1000.0f;
constexpr float kMaxSampleRate = 768000.0f;
constexpr float kDefaultTempo = 120.0f;
constexpr double kMinTempo = 1.0;
// Far beyond any real tempo; keeps the conversion to float and every length finite.
constexpr double kMaxTempo = 1.0e6;

constexpr float kMovedValue = 0.001f;
constexpr float kOffsetOff = 0.001f;

constexpr std::uint32_t kResetVoice0 = 1u << 0;
constexpr std::uint32_t kResetVoice1 = 1u << 1;
constexpr std::uint32_t kResetAll = 1u << 2;

// 2^x evaluated in double, rounded to float before anything multiplies it.
float pow2(float exponent) noexcept {
    return static_cast<float>(std::exp2(static_cast<double>(exponent)));
}

float finiteOrSilence(float sample) noexcept {
    return std::isfinite(sample) ? sample : 0.0f;
}

// Sample counts the engine compares against counters that stop at the top of
// the int range: kept one below it so that a hold always expires.
VstInt32 sampleCount(float samples) noexcept {
    return std::min(toIndex(samples), std::numeric_limits<VstInt32>::max() - 1);
}

}  // namespace

void APlugin::initEngineState() noexcept {
    sampleCounter = 0;
    prevTransportPlaying = transportPlaying = 0;
    holding = displayRunning = false;
    storeRelaxed(manualLatch, false);
    triggerRequest = false;
    lastTriggerMode = -1;
    storeRelaxed(reverseToUse, VstInt32{0});
    storeRelaxed(holdSamples, VstInt32{0});
    samplesSinceTrigger = offsetSamples = hostSyncCounter = quietCounter = 0;
    storeRelaxed(silenceCounter, VstInt32{0});
    prevHoldValue = prevLengthValue = 0.0f;
    hostSyncDisplay = hostSyncStarted = false;
    storeRelaxed(hostPlaying, false);
    threshold = 0.0f;
    storeRelaxed(verticalInZoom, 1.0f);
    storeRelaxed(verticalOutZoom, 1.0f);
    storeRelaxed(displayPosition, 0.0f);
    displayWritten = kDisplaySlots;  // clear everything once
    clearDisplay();
    filterSnap = false;
    lfoTriggered = -1;
    dryGainValue = wetGainValue = -1.0f;
    displayWindow.zoomValue = -1.0f;
    pendingResets.store(0, relaxed);
    resumeRequested.store(false, relaxed);
    vuForEditorReady.store(false, relaxed);
    parametersChangedByAudio.store(0, relaxed);
}

void APlugin::suspend() {}

void APlugin::resume() {
    refreshPreferences();
}

void APlugin::refreshPreferences() {
    preferences.refreshIfDue();
}

void APlugin::setSampleRate(float rate) {
    if (!std::isfinite(rate)) return;
    const float r = std::clamp(rate, kMinSampleRate, kMaxSampleRate);
    if (std::fabs(lastSampleRate - r) < 0.01f) return;  // a repeated rate keeps the takes
    storeRelaxed(sampleRate, r);
    lastSampleRate = r;
    storeRelaxed(samplesPerBar, 240.0f * r / tempo);
    for (TReverse& voice : reverse) voice.init(r);
    displayWindow.zoomValue = -1.0f;  // the window is worked out afresh at the new rate
    lowPassFilter.init(r);
    highPassFilter.init(r);
    combFilter.init(r);
    lowPassFilter.setType(TFilter::LOW_PASS);
    highPassFilter.setType(TFilter::HIGH_PASS);
    combFilter.setType(TFilter::COMB);
    lfo.init(r);
}

void APlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    timeInfo = getTimeInfo(kTimeInfoRequest);
    if (sampleFrames <= 0) return;
    const float* inLeft = inputs ? inputs[0] : nullptr;
    const float* inRight = inputs ? inputs[1] : nullptr;
    float* outLeft = outputs ? outputs[0] : nullptr;
    float* outRight = outputs ? outputs[1] : nullptr;

    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        applyPendingResets();
        if (pendingMidiCount > 0) processMidi(i);
        // A missing channel is silence; so is a sample that is not a number,
        // which would otherwise live on in the voices and filters.
        const float left = inLeft ? finiteOrSilence(inLeft[i]) : 0.0f;
        const float right = inRight ? finiteOrSilence(inRight[i]) : 0.0f;
        inputLeft = outputLeft = left;
        inputRight = outputRight = right;
        processSound();
        if (outLeft) outLeft[i] = outputLeft;
        if (outRight) outRight[i] = outputRight;
    }
}

void APlugin::__processDeprecated(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    processReplacing(inputs, outputs, sampleFrames);
}

void APlugin::setHost() noexcept {
    if (!timeInfo) return;
    float bpm = kDefaultTempo;
    if (timeInfo->flags & kVstTempoValid) {
        const double reported = timeInfo->tempo;
        if (std::isfinite(reported)) bpm = static_cast<float>(std::clamp(reported, kMinTempo, kMaxTempo));
    }
    storeRelaxed(tempo, bpm);
    storeRelaxed(samplesPerBar, sampleRate * 240.0f / bpm);
    for (TReverse& voice : reverse) voice.setTempo(bpm);

    prevTransportPlaying = transportPlaying;
    transportPlaying = (timeInfo->flags & kVstTransportPlaying) ? 1 : 0;
    const bool changed = prevTransportPlaying != transportPlaying;

    if (!transportPlaying) {
        storeRelaxed(hostPlaying, false);
        // The voices are cleared only as far as they were written, so this
        // costs the length of the takes, not the whole buffers.
        if (changed && preferences.muteReverse())
            for (TReverse& voice : reverse) voice.zero();
        return;
    }
    storeRelaxed(hostPlaying, true);
    if (!changed) return;

    resetReverseNow(0);
    resetReverseNow(1);
    storeRelaxed(reverseToUse, VstInt32{1});
    lfo.reset();
    if (getReverseTriggerMode() == TriggerMode::Host) {
        hostSyncCounter = quietCounter = 0;
        holding = false;
        displayRunning = true;
        hostSyncDisplay = hostSyncStarted = true;
        triggerRequest = true;
        storeRelaxed(displayPosition, 0.0f);
        clearDisplay();
        if (lfoTriggered == 1) lfo.reset();
    }
}

void APlugin::setOften() noexcept {
    storeRelaxed(verticalInZoom, pow2(6.0f * loadValue(Param::ReverseVerticalInZoom) - 1.0f));
    storeRelaxed(verticalOutZoom, pow2(6.0f * loadValue(Param::ReverseVerticalOutZoom) - 1.0f));

    const float oldHold = prevHoldValue;
    const float oldLength = prevLengthValue;

    // The hold can never be shorter than the take.
    const float length = loadValue(Param::ReverseLength);
    if (length > loadValue(Param::ReverseRetriggerHoldTime))
        setParameterFromEngine(Param::ReverseRetriggerHoldTime, length);

    const float thresholdValue = loadValue(Param::ReverseTriggerThreshold);
    threshold = thresholdValue >= 0.0001f ? static_cast<float>(std::pow(10.0, (40.0f * thresholdValue - 40.0f) / 20.0f))
                                          : 0.0f;

    const float hold = loadValue(Param::ReverseRetriggerHoldTime);
    prevHoldValue = hold;
    prevLengthValue = length;
    const VstInt32 lengthStep = ::getSteppedValue(length, kReverseLengthSteps.scale, kReverseLengthSteps.count);
    for (TReverse& voice : reverse) voice.setLength(length, REVERSE_SYNCED_LENGTH_ARRAY[lengthStep]);

    if ((std::fabs(hold - oldHold) > kMovedValue || std::fabs(length - oldLength) > kMovedValue) &&
        getReverseTriggerMode() == TriggerMode::Manual) {
        resetReverseNow(0);
        resetReverseNow(1);
        resetEverythingNow();
        storeRelaxed(manualLatch, false);
        triggerRequest = false;
    }

    const float offset = loadValue(Param::ReverseOffset);
    offsetSamples = offset >= kOffsetOff ? sampleCount(pow2(REVESE_OFFSET_MAX_TIME_LOG * offset) / 1000.0f * sampleRate)
                                         : 0;

    float holdLength;
    if (getOnOff(Param::ReverseTempoSync)) {
        const VstInt32 step = ::getSteppedValue(hold, kReverseLengthSteps.scale, kReverseLengthSteps.count);
        holdLength = REVERSE_SYNCED_LENGTH_ARRAY[step] * samplesPerBar + 1.0f;
    } else {
        holdLength = pow2(hold * REVERSE_MAX_TIME_LOG + REVERSE_MIN_TIME_LOG) / 1000.0f * sampleRate;
    }
    storeRelaxed(holdSamples, sampleCount(holdLength));

    for (TReverse& voice : reverse)
        voice.setAttackDecay(loadValue(Param::ReverseAttack), loadValue(Param::ReverseDecay));

    const float speed = loadValue(Param::LfoSpeed);
    lfo.setOn(getOnOff(Param::LfoActive));
    lfo.setTemoSynced(getOnOff(Param::LfoTempoSync));
    lfo.setSpeed(speed, tempo,
                 LFO_SYNCED_PERIOD_ARRAY[::getSteppedValue(speed, kLfoSpeedSteps.scale, kLfoSpeedSteps.count)]);
    lfo.setWave(getLFOWave(), LFO_PHASE_VAL[getLFOPhase()]);
}

void APlugin::resetReverse(VstInt32 voice) noexcept {
    if (voice == 0) pendingResets.fetch_or(kResetVoice0, relaxed);
    if (voice == 1) pendingResets.fetch_or(kResetVoice1, relaxed);
}

void APlugin::resetEverything() noexcept {
    pendingResets.fetch_or(kResetAll, relaxed);
}

void APlugin::applyPendingResets() noexcept {
    if (pendingResets.load(relaxed) == 0) return;
    const std::uint32_t asked = pendingResets.exchange(0, relaxed);
    if (asked & kResetVoice0) resetReverseNow(0);
    if (asked & kResetVoice1) resetReverseNow(1);
    if (asked & kResetAll) resetEverythingNow();
}

void APlugin::resetReverseNow(VstInt32 voice) noexcept {
    holding = false;
    storeRelaxed(holdSamples, VstInt32{0});
    samplesSinceTrigger = 0;
    hostSyncCounter = 0;
    hostSyncDisplay = hostSyncStarted = false;
    reverse[voice].clear();
    displayRunning = false;
    storeRelaxed(displayPosition, 0.0f);
    quietCounter = 0;
}

void APlugin::resetEverythingNow() noexcept {
    // A transport that is playing now counts as just started.
    prevTransportPlaying = transportPlaying = 0;
    setHost();
    storeRelaxed(silenceCounter, VstInt32{0});
    storeRelaxed(displayPosition, 0.0f);
    clearDisplay();
    resetReverseNow(0);
    resetReverseNow(1);
    storeRelaxed(reverseToUse, VstInt32{1});
    lfo.reset();
    filterSnap = true;
    refreshCachedSwitches();
    setOften();
}
