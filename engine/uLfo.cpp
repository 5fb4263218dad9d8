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
    cyclePhase.store(0.0f, relaxed);
    value = 0.0f;
    randomValue = 0.0f;
    incrementStale = true;
}

void TLfo::reset() noexcept {
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

int32_t TLfo::nextRandom15() noexcept {
    randomState = randomState * 1103515245u + 12345u;
    return int32_t((randomState >> 16) & 0x7FFFu);
}

void TLfo::update(float samples) noexcept {
    const float steps = (std::isfinite(samples) && samples > 0.0f) ? samples : 0.0f;
    float phase = cyclePhase.load(relaxed) + steps * increment;
    if (phase >= 1.0f) {
        phase = std::isfinite(phase) ? phase - std::floor(phase) : 0.0f;
        randomValue = float(nextRandom15()) * 2.0f / 32767.0f - 1.0f;
    }
    cyclePhase.store(phase, relaxed);

    const float shifted = phase + phaseOffset;
    const float frac = shifted - std::floor(shifted);
    if (!on) {
        value = 0.0f;
        return;
    }
    switch (wave) {
        case 0: value = std::sin(frac * 6.28318f); break;
        case 1: value = 2.0f * frac - 1.0f; break;
        case 2: value = 1.0f - 2.0f * frac; break;
        case 3: value = 1.0f - 2.0f * std::fabs(1.0f - 2.0f * frac); break;
        case 4: value = frac < 0.5f ? -1.0f : 1.0f; break;
        case 5: value = randomValue; break;
        default: value = 0.0f; break;
    }
}

float TLfo::getValue() const noexcept {
    return value;
}

float TLfo::getPos() const noexcept {
    return cyclePhase.load(relaxed);
}
