#include "engine/uFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Damping of the low-pass at no resonance (2 * sqrt 2) and the high-pass Q.
constexpr double lowPassDamping = 2.828427;
constexpr double highPassQ = 0.98;

// Sine and cosine for the design angles, which never leave 0 .. 0.4 pi
// (the design frequency is at most 0.2 of the oversampled rate): Taylor
// series to x^15 and x^16. Below 1.26 the truncation error is under 2e-13,
// a million times finer than the float coefficients they feed, so the
// coefficients are those of the library's sin and cos save for a rare last
// bit; at a tenth of the library's cost, which matters while an LFO moves
// the filters every frame.
struct SinCos {
    double sin, cos;
};

SinCos sinCos(double x) noexcept {
    const double x2 = x * x;
    double s = 1.0 / 1307674368000.0;  // 1/15!
    double c = 1.0 / 20922789888000.0;  // 1/16!
    constexpr double sinTerms[] = {1.0 / 6227020800.0, 1.0 / 39916800.0, 1.0 / 362880.0, 1.0 / 5040.0,
                                   1.0 / 120.0, 1.0 / 6.0, 1.0};
    constexpr double cosTerms[] = {1.0 / 87178291200.0, 1.0 / 479001600.0, 1.0 / 3628800.0, 1.0 / 40320.0,
                                   1.0 / 720.0, 1.0 / 24.0, 1.0 / 2.0, 1.0};
    // Horner in x^2 with the signs alternating: 1 - x^2 (1/3! - x^2 (1/5! - ...)).
    for (double term : sinTerms) s = term - x2 * s;
    for (double term : cosTerms) c = term - x2 * c;
    return {x * s, c};
}

}  // namespace

void TFilter::init(float rate) noexcept {
    sampleRate = (std::isfinite(rate) && rate >= 1000.0f) ? rate : 1000.0f;
    denormalOffset = 1e-15f;
    type = LOW_PASS;
    lastType = -1;
    targetFreq = smoothedFreq = lastFreqHz = freqHz = 0.0f;
    resonance = lastResonance = 0.0f;
    freqHzInput = -1.0f;
    combResonanceInput = -1.0f;
    settled = false;
    b0 = b1 = b2 = a1 = a2 = 0.0f;
    broadcastCoefficients();
    combDelay = 0;
    combWritePos = 0;
    combFeedback = 0.0f;
    resetHistory();
}

void TFilter::resetHistory() noexcept {
    std::fill_n(xHistory, 4, 0.0f);
    std::fill_n(&yHistory[0][0], 8, 0.0f);
    std::fill_n(combLeft, COMB_LINE_SIZE, 0.0f);
    std::fill_n(combRight, COMB_LINE_SIZE, 0.0f);
}

void TFilter::setType(int32_t newType) noexcept {
    // The old history means nothing to a different filter; the comb settings
    // stay, and the next update redesigns because lastType differs.
    if (newType != type) resetHistory();
    type = newType;
    settled = false;
}

void TFilter::design() noexcept {
    lastType = type;
    lastFreqHz = freqHz;
    lastResonance = resonance;
    switch (type) {
        case LOW_PASS: designLowPass(); break;
        case HIGH_PASS: designHighPass(); break;
        case COMB: designComb(); break;
        default: break;
    }
}

void TFilter::broadcastCoefficients() noexcept {
    const float values[5] = {b0, b1, b2, a1, a2};
    for (int i = 0; i < 5; ++i) _mm_store_ps(coefficients[i], _mm_set1_ps(values[i]));
}

void TFilter::designComb() noexcept {
    // One period of freqHz, clamped in float before the conversion.
    const float delay = sampleRate * 256.0f / freqHz;
    if (delay >= float(COMB_MAX_DELAY))
        combDelay = COMB_MAX_DELAY;
    else if (delay > float(COMB_MIN_DELAY))
        combDelay = int32_t(delay);
    else
        combDelay = COMB_MIN_DELAY;
    if (resonance != combResonanceInput) {
        combResonanceInput = resonance;
        combFeedback = float(std::sqrt(std::sqrt(double(resonance)))) + denormalOffset;
    }
}

namespace {

// Design frequency of the biquads as a fraction of the oversampled rate:
// capped at 0.2 of that rate and never below 40 Hz.
double biquadFrequency(float freqHz, float sampleRate, int32_t oversampling) {
    const double fs = sampleRate;
    const double fc = std::min(fs * 0.2 * oversampling, double(freqHz));
    return std::max(fc / (oversampling * fs), 10.0 / fs);
}

}  // namespace

void TFilter::designLowPass() noexcept {
    const double f = biquadFrequency(freqHz, sampleRate, oversampling);
    const double r = std::fabs(1.0 - double(resonance)) * lowPassDamping;
    const SinCos angle = sinCos(std::numbers::pi * f);
    const double c = angle.cos / (angle.sin + 0.0015);
    const double g = 1.0 / (1.001 + r * c + c * c);
    b0 = float(g) + denormalOffset;
    b1 = float(2.0 * g) + denormalOffset;
    b2 = float(g) + denormalOffset;
    a1 = float(2.0 * (1.0 - c * c) * g) + denormalOffset;
    a2 = float((1.0 - r * c + c * c) * g) + denormalOffset;
    broadcastCoefficients();
}

void TFilter::designHighPass() noexcept {
    const double f = biquadFrequency(freqHz, sampleRate, oversampling);
    const SinCos omega = sinCos(2.0 * std::numbers::pi * f);
    const double cosOmega = omega.cos;
    const double alpha = omega.sin / (2.0 * highPassQ * (1.0 - double(resonance)));
    const double g = 1.0 / (1.0 + alpha);
    b0 = float(0.5 * (1.0 + cosOmega) * g);
    b1 = float(-(1.0 + cosOmega) * g);
    b2 = b0;
    a1 = float(-2.0 * cosOmega * g);
    a2 = float((1.0 - alpha) * g);
    broadcastCoefficients();
}

void TFilter::processComb(float& left, float& right) noexcept {
    const uint32_t p = combWritePos + 256u;
    combWritePos = p & 0x1FFFFFu;
    const uint32_t write = (p / 256u) % uint32_t(COMB_LINE_SIZE);
    const uint32_t read = ((p - uint32_t(combDelay)) / 256u) % uint32_t(COMB_LINE_SIZE);
    float yL = combLeft[read] * combFeedback + left + denormalOffset;
    float yR = combRight[read] * combFeedback + right + denormalOffset;
    // Never let a non-finite value into the lines: it would ring for ever.
    if (!std::isfinite(yL)) yL = 0.0f;
    if (!std::isfinite(yR)) yR = 0.0f;
    combLeft[write] = yL;
    combRight[write] = yR;
    left = yL;
    right = yR;
}
