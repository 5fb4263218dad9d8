// The processing frame of the chain: start values, sample rate, host tempo
// and transport, the mapping of parameter values onto the engine, and the
// resets.
#include "engine/uSignalChain.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/SharedValue.h"

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

constexpr float kStartTempo = 120.0f;
constexpr float kDefaultTempo = 120.0f;
constexpr double kMinTempo = 1.0;
// Far beyond any real tempo; keeps the conversion to float and every length finite.
constexpr double kMaxTempo = 1.0e6;

constexpr float kMovedValue = 0.001f;
constexpr float kOffsetOff = 0.001f;

constexpr std::uint32_t kResetVoice0 = 1u << 0;
constexpr std::uint32_t kResetVoice1 = 1u << 1;
constexpr std::uint32_t kResetAll = 1u << 2;
constexpr std::uint32_t kNewSeed = 1u << 3;
constexpr std::uint32_t kReleaseLatch = 1u << 4;

// 2^x evaluated in double, rounded to float before anything multiplies it.
float pow2(float exponent) noexcept {
    return static_cast<float>(std::exp2(static_cast<double>(exponent)));
}

// Sample counts the engine compares against counters that stop at the top of
// the int range: kept one below it so that a hold always expires.
std::int32_t sampleCount(float samples) noexcept {
    return std::min(toIndex(samples), std::numeric_limits<std::int32_t>::max() - 1);
}

}  // namespace

void TSignalChain::init() noexcept {
    storeRelaxed(bypassOn, false);
    storeRelaxed(muteOn, false);
    storeRelaxed(dryMuteOn, false);
    inputLeft = inputRight = outputLeft = outputRight = 0.0f;
    for (float& follower : vuFollowers) storeRelaxed(follower, 0.0f);
    hostTime = {};
    sampleCounter = 0;
    prevTransportPlaying = transportPlaying = 0;
    holding = displayRunning = false;
    storeRelaxed(manualLatch, false);
    triggerRequest = false;
    lastTriggerMode = -1;
    storeRelaxed(reverseToUse, std::int32_t{0});
    storeRelaxed(holdSamples, std::int32_t{0});
    samplesSinceTrigger = offsetSamples = hostSyncCounter = quietCounter = 0;
    storeRelaxed(silenceCounter, std::int32_t{0});
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
    displayWindow.stale = true;
    pendingResets.store(0, relaxed);
    storeRelaxed(tempo, kStartTempo);
}

void TSignalChain::setSampleRate(float r) noexcept {
    storeRelaxed(sampleRate, r);
    displayStep = 1000.0f / r;
    storeRelaxed(samplesPerBar, 240.0f * r / tempo);
    for (TReverse& voice : reverse) voice.init(r);
    displayWindow.stale = true;  // the window is worked out afresh at the new rate
    lowPassFilter.init(r);
    highPassFilter.init(r);
    combFilter.init(r);
    lowPassFilter.setType(TFilter::LOW_PASS);
    highPassFilter.setType(TFilter::HIGH_PASS);
    combFilter.setType(TFilter::COMB);
    lfo.init(r);
}

void TSignalChain::commitTakeMemory(float lengthValue, bool synced) noexcept {
    const float bars = REVERSE_SYNCED_LENGTH_ARRAY[::getSteppedValue(lengthValue, kReverseLengthSteps.scale,
                                                                     kReverseLengthSteps.count)];
    const std::int32_t length =
        TReverse::lengthFor(lengthValue, bars, synced, loadRelaxed(sampleRate), loadRelaxed(samplesPerBar));
    for (TReverse& voice : reverse) voice.commit(length);
}

void TSignalChain::setHostTime(const HostTime& time, bool muteReverseOnStop) noexcept {
    hostTime = time;
    muteReverse = muteReverseOnStop;
}

void TSignalChain::setHost() noexcept {
    if (!hostTime.known) return;
    float bpm = kDefaultTempo;
    if (hostTime.tempoValid) {
        const double reported = hostTime.tempo;
        if (std::isfinite(reported)) bpm = static_cast<float>(std::clamp(reported, kMinTempo, kMaxTempo));
    }
    storeRelaxed(tempo, bpm);
    storeRelaxed(samplesPerBar, sampleRate * 240.0f / bpm);
    for (TReverse& voice : reverse) voice.setTempo(bpm);
    noteDisplayWindowInputs();

    prevTransportPlaying = transportPlaying;
    transportPlaying = hostTime.playing ? 1 : 0;
    const bool changed = prevTransportPlaying != transportPlaying;

    if (!transportPlaying) {
        storeRelaxed(hostPlaying, false);
        // The voices are cleared only as far as they were written, so this
        // costs the length of the takes, not the whole buffers.
        if (changed && muteReverse)
            for (TReverse& voice : reverse) voice.zero();
        return;
    }
    storeRelaxed(hostPlaying, true);
    if (!changed) return;

    resetReverseNow(0);
    resetReverseNow(1);
    storeRelaxed(reverseToUse, std::int32_t{1});
    lfo.reset();
    if (triggerMode() == TriggerMode::Host) {
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

void TSignalChain::setOften() noexcept {
    const auto zoomCurve = [](float zoom) { return pow2(6.0f * zoom - 1.0f); };
    storeRelaxed(verticalInZoom, inZoomMemo(value(Param::ReverseVerticalInZoom), zoomCurve));
    storeRelaxed(verticalOutZoom, outZoomMemo(value(Param::ReverseVerticalOutZoom), zoomCurve));

    const float oldHold = prevHoldValue;
    const float oldLength = prevLengthValue;

    // The hold can never be shorter than the take.
    const float length = value(Param::ReverseLength);
    if (length > value(Param::ReverseRetriggerHoldTime))
        owner.setParameterFromEngine(Param::ReverseRetriggerHoldTime, length);

    threshold = thresholdMemo(value(Param::ReverseTriggerThreshold), [](float x) { return kThresholdDb.gain(x); });

    const float hold = value(Param::ReverseRetriggerHoldTime);
    prevHoldValue = hold;
    prevLengthValue = length;
    const std::int32_t lengthStep = ::getSteppedValue(length, kReverseLengthSteps.scale, kReverseLengthSteps.count);
    for (TReverse& voice : reverse) voice.setLength(length, REVERSE_SYNCED_LENGTH_ARRAY[lengthStep]);

    if ((std::fabs(hold - oldHold) > kMovedValue || std::fabs(length - oldLength) > kMovedValue) &&
        triggerMode() == TriggerMode::Manual) {
        resetReverseNow(0);
        resetReverseNow(1);
        resetEverythingNow();
        storeRelaxed(manualLatch, false);
        triggerRequest = false;
    }

    const float offset = value(Param::ReverseOffset);
    offsetSamples = offset >= kOffsetOff ? sampleCount(pow2(REVESE_OFFSET_MAX_TIME_LOG * offset) / 1000.0f * sampleRate)
                                         : 0;

    float holdLength;
    if (onOff(Param::ReverseTempoSync)) {
        const std::int32_t step = ::getSteppedValue(hold, kReverseLengthSteps.scale, kReverseLengthSteps.count);
        holdLength = REVERSE_SYNCED_LENGTH_ARRAY[step] * samplesPerBar + 1.0f;
    } else {
        holdLength = pow2(reverseTimeLog(hold)) / 1000.0f * sampleRate;
    }
    storeRelaxed(holdSamples, sampleCount(holdLength));
    noteDisplayWindowInputs();  // the take lengths have been set above

    for (TReverse& voice : reverse)
        voice.setAttackDecay(value(Param::ReverseAttack), value(Param::ReverseDecay));

    const float speed = value(Param::LfoSpeed);
    lfo.setOn(onOff(Param::LfoActive));
    lfo.setTemoSynced(onOff(Param::LfoTempoSync));
    lfo.setSpeed(speed, tempo,
                 LFO_SYNCED_PERIOD_ARRAY[::getSteppedValue(speed, kLfoSpeedSteps.scale, kLfoSpeedSteps.count)]);
    lfo.setWave(stepped(Param::LfoWave, kLfoWaveSteps), LFO_PHASE_VAL[stepped(Param::LfoPhase, kLfoPhaseSteps)]);
}

void TSignalChain::resetReverse(std::int32_t voice) noexcept {
    if (voice == 0) pendingResets.fetch_or(kResetVoice0, relaxed);
    if (voice == 1) pendingResets.fetch_or(kResetVoice1, relaxed);
}

void TSignalChain::resetEverything() noexcept {
    pendingResets.fetch_or(kResetAll, relaxed);
}

void TSignalChain::releaseManualLatch() noexcept {
    pendingResets.fetch_or(kReleaseLatch, relaxed);
}

void TSignalChain::setRandomSeed(std::uint32_t seed) noexcept {
    pendingSeed.store(seed, relaxed);
    pendingResets.fetch_or(kNewSeed, std::memory_order_release);
}

void TSignalChain::applyPendingResetsNow() noexcept {
    const std::uint32_t asked = pendingResets.exchange(0, std::memory_order_acquire);
    if (asked & kNewSeed) lfo.setSeed(pendingSeed.load(relaxed));
    if (asked & kResetVoice0) resetReverseNow(0);
    if (asked & kResetVoice1) resetReverseNow(1);
    if (asked & kResetAll) resetEverythingNow();
    if (asked & kReleaseLatch) storeRelaxed(manualLatch, false);
}

void TSignalChain::resetReverseNow(std::int32_t voice) noexcept {
    holding = false;
    storeRelaxed(holdSamples, std::int32_t{0});
    noteDisplayWindowInputs();
    samplesSinceTrigger = 0;
    hostSyncCounter = 0;
    hostSyncDisplay = hostSyncStarted = false;
    reverse[voice].clear();
    displayRunning = false;
    storeRelaxed(displayPosition, 0.0f);
    quietCounter = 0;
}

void TSignalChain::resetEverythingNow() noexcept {
    // A transport that is playing now counts as just started.
    prevTransportPlaying = transportPlaying = 0;
    setHost();
    storeRelaxed(silenceCounter, std::int32_t{0});
    storeRelaxed(displayPosition, 0.0f);
    clearDisplay();
    resetReverseNow(0);
    resetReverseNow(1);
    storeRelaxed(reverseToUse, std::int32_t{1});
    lfo.reset();
    filterSnap = true;
    refreshCachedSwitches();
    setOften();
}
