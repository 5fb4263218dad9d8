#include "engine/uLfo.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr float lowestFreeRate = 0.013427734375f;  // 55 / 4096 Hz at speed 0

}  // namespace

void TLfo::init(float rate) noexcept {
    sampleRate = (std::isfinite(rate) && rate >= 1000.0f) ? rate : 1000.0f;
    on = true;
    tempoSynced = false;
    wave = 0;
    increment = 0.0f;
    phaseOffset = 0.0f;
    phase = 0.0f;
    cyclePhase.store(0.0f, relaxed);
    randomValue = 0.0f;
    incrementStale = true;
}

void TLfo::reset() noexcept {
    phase = 0.0f;
    cyclePhase.store(0.0f, relaxed);
    randomValue = 0.0f;
}

void TLfo::setOn(bool enabled) noexcept {
    on = enabled;
}

void TLfo::setTemoSynced(bool enabled) noexcept {
    if (enabled != tempoSynced) incrementStale = true;
    tempoSynced = enabled;
}

void TLfo::setWave(int32_t newWave, float offset) noexcept {
    wave = newWave;
    phaseOffset = std::isfinite(offset) ? offset : 0.0f;
}

void TLfo::setSpeed(float speed, float tempo, float syncedPeriod) noexcept {
    if (!incrementStale && speed == speedInput && tempo == tempoInput && syncedPeriod == periodInput)
        return;
    speedInput = speed;
    tempoInput = tempo;
    periodInput = syncedPeriod;
    incrementStale = false;
    updateIncrement();
}

void TLfo::updateIncrement() noexcept {
    if (!(speedInput >= 0.0001f)) {
        increment = 0.0f;
        return;
    }
    if (tempoSynced) {
        const float tempo = tempoInput >= 1.0f ? tempoInput : 1.0f;
        const float twoBars = periodInput >= 0.0f ? periodInput : 0.0f;
        const float period = twoBars * 480.0f * sampleRate / tempo + 1.0f;
        increment = 1.0f / period;
    } else {
        const float s = std::min(1.0f, speedInput);
        increment = std::exp2(17.0f * s) * lowestFreeRate / sampleRate;
    }
}

void TLfo::setSeed(uint32_t seed) noexcept {
    randomState = seed;
}

float TLfo::getPos() const noexcept {
    return cyclePhase.load(relaxed);
}
