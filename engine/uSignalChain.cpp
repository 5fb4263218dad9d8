// The signal chain: one stereo frame through the trigger logic, the two
// reverse voices, distortion and filters, LFO-driven volume and pan, and the
// dry/wet mix.
#include "engine/uSignalChain.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

#include "engine/SharedValue.h"

namespace {

constexpr float kClip = 0.999f;
constexpr float kSilence = 0.0001f;

// Clipped short of full scale, lane by lane; a result that is not a number
// never reaches the host (x - x is 0 exactly when x is finite).
__m128 clipOutput(__m128 samples) noexcept {
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(samples, samples), _mm_setzero_ps());
    return _mm_and_ps(finite, _mm_min_ps(_mm_max_ps(samples, _mm_set1_ps(-kClip)), _mm_set1_ps(kClip)));
}

}  // namespace

TSignalChain::TSignalChain(const float* slotValues, Owner& slotOwner) : values(slotValues), owner(slotOwner) {}

void TSignalChain::refreshCachedSwitches() noexcept {
    storeRelaxed(lockedOffsetValue, value(Param::ReverseOffset));
    storeRelaxed(bypassOn, onOff(Param::Bypass));
    storeRelaxed(muteOn, onOff(Param::Mute));
    storeRelaxed(dryMuteOn, onOff(Param::DryMute));
    const bool synced = onOff(Param::ReverseTempoSync);
    for (TReverse& voice : reverse) voice.setTempoSynced(synced);
}

void TSignalChain::resetTriggeredLfo() noexcept {
    if (lfoTriggered == 1) lfo.reset();
}

void TSignalChain::processSound() noexcept {
    const std::uint32_t counter = sampleCounter;

    if ((counter & 4095u) == 0) refreshCachedSwitches();

    const std::int32_t lfoMode = onOff(Param::LfoMode) ? 1 : 0;
    if (lfoMode != lfoTriggered) lfo.reset();
    lfoTriggered = lfoMode;

    const std::int32_t mode = triggerMode();
    if (mode != lastTriggerMode) {
        resetEverythingNow();
        if (mode == TriggerMode::Host && hostPlaying) {
            hostSyncDisplay = true;
            hostSyncStarted = false;
        }
    }
    lastTriggerMode = mode;

    if ((counter & 15u) == 0) {
        setHost();
        setOften();
    }

    // The LFO's value counts only where a depth is not 0; with all of them
    // at 0, a value of 0 gives every result to the bit.
    const float filterDepth = 2.0f * value(Param::LfoToFilterFrequency) - 1.0f;
    const float highPassDepth = 2.0f * value(Param::LfoToHighPassFrequency) - 1.0f;
    const float volumeDepth = 2.0f * value(Param::LfoToVolume) - 1.0f;
    const float panDepth = 2.0f * value(Param::LfoToPan) - 1.0f;
    lfo.update(1.0f);
    const bool modulated = filterDepth != 0.0f || highPassDepth != 0.0f || volumeDepth != 0.0f || panDepth != 0.0f;
    const float v = modulated ? lfo.getValue() : 0.0f;

    // Every frame, whatever the switches say, the filters glide towards
    // their targets; only those the signal passes in this frame redesign
    // (when the glided value moved), the others catch up when taken into use.
    const bool filtersOn = onOff(Param::FilterActive);
    const bool lowPassOn = value(Param::FilterMode) < 0.5f;
    const float filterFreq = value(Param::FilterFrequency);
    const float filterQ = value(Param::FilterQ);
    lowPassFilter.follow(std::clamp(filterFreq + filterDepth * v, 0.0f, 1.0f), filterQ, filtersOn && lowPassOn,
                         filterSnap);
    combFilter.follow(std::clamp(filterFreq + 0.5f * filterDepth * v, 0.0f, 1.0f), filterQ, filtersOn && !lowPassOn,
                      filterSnap);
    highPassFilter.follow(std::clamp(value(Param::HighPassFilterFrequency) + highPassDepth * v, 0.0f, 1.0f),
                          value(Param::HighPassFilterQ), filtersOn, filterSnap);
    filterSnap = false;

    if (holding) countUp(samplesSinceTrigger);

    const float level = (std::fabs(inputLeft) + std::fabs(inputRight)) * 0.5f;
    triggerLogic(mode, level);

    if (hostSyncCounter > 0 &&
        static_cast<double>(hostSyncCounter) >
            std::trunc(static_cast<double>(currentDisplayLengthMS() / 1000.0f * sampleRate))) {
        storeRelaxed(displayPosition, 0.0f);
        hostSyncCounter = 0;
        clearDisplay();
    }

    // Which voices play back in this frame is read before they advance: a
    // voice finishes in the frame that plays its last sample, and that
    // sample must still be chosen.
    const bool firstPlays = reverse[0].getPlaying();
    const bool secondPlays = reverse[1].getPlaying();
    float voiceOut[2][2];
    reverse[0].process(inputLeft, inputRight, voiceOut[0][0], voiceOut[0][1], offsetSamples);
    reverse[1].process(inputLeft, inputRight, voiceOut[1][0], voiceOut[1][1], offsetSamples);

    // The older take keeps the output until it ends; voices are never summed.
    std::int32_t selected = secondPlays ? 1 : 0;
    if (firstPlays && secondPlays) selected = 1 - reverseToUse;
    // The pair stays in one register from here to the mix.
    __m128 wet = _mm_setr_ps(voiceOut[selected][0], voiceOut[selected][1], 0.0f, 0.0f);

    const float dryValue = value(Param::DryVolume);
    if (dryValue != dryGainValue) {
        dryGainValue = dryValue;
        dryGain = kDryVolumeDb.gain(dryValue);
    }
    const float wetValue = value(Param::WetVolume);
    if (wetValue != wetGainValue) {
        wetGainValue = wetValue;
        wetGain = kWetVolumeDb.gain(wetValue);
    }

    if (filtersOn) {
        wet = distortion.process(wet, value(Param::Distort));
        wet = (lowPassOn ? lowPassFilter : combFilter).process(wet);
        wet = highPassFilter.process(wet);
    }

    float gainLeft = 0.0f;
    float gainRight = 0.0f;
    if (!muteOn) {
        const float pan = 0.5f + 0.5f * panDepth * v;
        const float depth = std::fabs(volumeDepth);
        const float g = wetGain * ((0.5f + 0.5f * volumeDepth * v) * depth + (1.0f - depth));
        gainLeft = std::clamp(2.0f - 2.0f * pan, 0.0f, 1.0f) * g;
        gainRight = std::clamp(2.0f * pan, 0.0f, 1.0f) * g;
    }

    const float dry = dryMuteOn ? 0.0f : dryGain;
    const __m128 mixed = _mm_add_ps(_mm_mul_ps(_mm_setr_ps(gainLeft, gainRight, 0.0f, 0.0f), wet),
                                    _mm_mul_ps(_mm_setr_ps(inputLeft, inputRight, 0.0f, 0.0f), _mm_set1_ps(dry)));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, clipOutput(mixed));
    outputLeft = lanes[0];
    outputRight = lanes[1];

    _mm_store_ps(lanes, wet);
    updateReverseDisplay(level, (std::fabs(lanes[0]) + std::fabs(lanes[1])) * 0.5f, mode == TriggerMode::Host);
    if ((counter & 63u) == 0) updateVu();

    // Bypass still runs everything above, so voices, LFO and display keep moving.
    if (bypassOn) {
        outputLeft = inputLeft;
        outputRight = inputRight;
    }

    sampleCounter = counter + 1;  // wraps round; the schedule above stays exact
    countUp(silenceCounter);
    if (std::fabs(inputLeft) + std::fabs(inputRight) > kSilence ||
        std::fabs(outputLeft) + std::fabs(outputRight) > kSilence)
        storeRelaxed(silenceCounter, std::int32_t{0});
}

void TSignalChain::triggerLogic(std::int32_t mode, float level) noexcept {
    if (mode == TriggerMode::Audio) {
        if (!holding) {
            if (level > threshold) {
                resetTriggeredLfo();
                triggerRequest = true;
            }
        } else if (samplesSinceTrigger > holdSamples && level > threshold) {
            holding = false;
            resetTriggeredLfo();
        }
    }

    // The button is momentary: it falls back to 0 in every mode, and only
    // "Manual" mode takes a press, once the previous manual take is over.
    if (value(Param::ReverseTrigger) > 0.5f) {
        if (mode == TriggerMode::Manual && !manualLatch) {
            storeRelaxed(manualLatch, true);
            resetEverythingNow();
            triggerRequest = true;
        }
        owner.setParameterFromEngine(Param::ReverseTrigger, 0.0f);
    }

    if (mode == TriggerMode::Manual && manualLatch) {
        if (!holding) {
            resetTriggeredLfo();
        } else if (samplesSinceTrigger > holdSamples) {
            holding = false;
            resetTriggeredLfo();
        }
    }

    if (mode == TriggerMode::Host) {
        if (hostSyncDisplay || hostSyncStarted) countUp(hostSyncCounter);
        if (holding && samplesSinceTrigger > holdSamples) {
            holding = false;
            triggerRequest = true;
            resetTriggeredLfo();
        }
    }

    startTakeIfRequested(mode);

    if (mode == TriggerMode::Manual && manualLatch && !reverse[0].getOn() && !reverse[1].getOn())
        storeRelaxed(manualLatch, false);
}

void TSignalChain::startTakeIfRequested(std::int32_t mode) noexcept {
    if (holding || !triggerRequest) return;
    holding = true;
    triggerRequest = false;
    const std::int32_t voice = 1 - reverseToUse;
    storeRelaxed(reverseToUse, voice);
    reverse[voice].clear();
    reverse[voice].setUsed(true);
    samplesSinceTrigger = 0;
    quietCounter = 0;
    if (mode == TriggerMode::Host && voice == 0) storeRelaxed(displayPosition, 0.0f);
}
