#include "engine/uFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Damping of the low-pass at no resonance (2 * sqrt 2) and the high-pass Q.
constexpr double lowPassDamping = 2.828427;
constexpr double highPassQ = 0.98;
constexpr float maxResonance = 0.95f;

// Normalised control values: NaN counts as 0, the rest is held to 0 .. 1.
float unit(float value) noexcept {
    return std::isnan(value) ? 0.0f : std::min(std::max(value, 0.0f), 1.0f);
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
    b0 = b1 = b2 = a1 = a2 = 0.0f;
    combDelay = 0;
    combWritePos = 0;
    combFeedback = 0.0f;
    resetHistory();
}

void TFilter::resetHistory() noexcept {
    std::fill_n(xLeft, 2, 0.0f);
    std::fill_n(yLeft, 2, 0.0f);
    std::fill_n(xRight, 2, 0.0f);
    std::fill_n(yRight, 2, 0.0f);
    std::fill_n(combLeft, COMB_LINE_SIZE, 0.0f);
    std::fill_n(combRight, COMB_LINE_SIZE, 0.0f);
}

void TFilter::setType(int32_t newType) noexcept {
    // The old history means nothing to a different filter; the comb settings
    // stay, and the next update redesigns because lastType differs.
    if (newType != type) resetHistory();
    type = newType;
}

void TFilter::setFreq(float value) noexcept {
    targetFreq = unit(value);
}

void TFilter::setRes(float value) noexcept {
    resonance = unit(value) * maxResonance;
}

void TFilter::update(bool snap) noexcept {
    const float s = snap ? targetFreq : 0.01f * targetFreq + 0.99f * smoothedFreq;
    smoothedFreq = s;
    if (s != freqHzInput) {
        freqHzInput = s;
        freqHz = 20.0f * std::exp2(10.0f * std::min(std::max(s, 0.0f), 1.0f));
    }
    if (std::fabs(lastFreqHz - freqHz) <= 0.0001f && std::fabs(lastResonance - resonance) <= 0.0001f &&
        lastType == type)
        return;
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

void TFilter::designComb() noexcept {
    // One period of freqHz, clamped in float before the conversion.
    const float delay = sampleRate * 256.0f / freqHz;
    if (delay >= float(COMB_MAX_DELAY))
        combDelay = COMB_MAX_DELAY;
    else if (delay > float(COMB_MIN_DELAY))
        combDelay = int32_t(delay);
    else
        combDelay = COMB_MIN_DELAY;
    combFeedback = float(std::sqrt(std::sqrt(double(resonance)))) + denormalOffset;
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
    const double angle = std::numbers::pi * f;
    const double c = std::cos(angle) / (std::sin(angle) + 0.0015);
    const double g = 1.0 / (1.001 + r * c + c * c);
    b0 = float(g) + denormalOffset;
    b1 = float(2.0 * g) + denormalOffset;
    b2 = float(g) + denormalOffset;
    a1 = float(2.0 * (1.0 - c * c) * g) + denormalOffset;
    a2 = float((1.0 - r * c + c * c) * g) + denormalOffset;
}

void TFilter::designHighPass() noexcept {
    const double f = biquadFrequency(freqHz, sampleRate, oversampling);
    const double omega = 2.0 * std::numbers::pi * f;
    const double cosOmega = std::cos(omega);
    const double alpha = std::sin(omega) / (2.0 * highPassQ * (1.0 - double(resonance)));
    const double g = 1.0 / (1.0 + alpha);
    b0 = float(0.5 * (1.0 + cosOmega) * g);
    b1 = float(-(1.0 + cosOmega) * g);
    b2 = b0;
    a1 = float(-2.0 * cosOmega * g);
    a2 = float((1.0 - alpha) * g);
}

// One channel: the input is held for the sub-steps and their outputs averaged.
// The history stays in registers meanwhile; the arithmetic is the plain
// difference equation, term for term.
inline float TFilter::biquadChannel(float input, float* x, float* y) noexcept {
    const float xn = input + denormalOffset;
    float x1 = x[0], x2 = x[1], y1 = y[0], y2 = y[1];
    float sum = 0.0f;
    for (int32_t step = 0; step < oversampling; ++step) {
        const float yn = b0 * xn + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + denormalOffset;
        x2 = x1;
        x1 = xn;
        y2 = y1;
        y1 = yn;
        sum += yn;
    }
    const float out = sum / float(oversampling);
    if (!std::isfinite(out)) {
        // A non-finite input would otherwise poison the recursion for good.
        x[0] = x[1] = y[0] = y[1] = 0.0f;
        return 0.0f;
    }
    x[0] = x1;
    x[1] = x2;
    y[0] = y1;
    y[1] = y2;
    return out;
}

void TFilter::process(float& left, float& right) noexcept {
    if (type == LOW_PASS || type == HIGH_PASS) {
        left = biquadChannel(left, xLeft, yLeft);
        right = biquadChannel(right, xRight, yRight);
    } else if (type == COMB) {
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
}

float TDistortion::doDistortion(float sample, float amount) noexcept {
    const float a = unit(amount);
    if (a != lastAmount) {
        lastAmount = a;
        drive = std::exp2(5.0f * a) - 1.0f;
    }
    if (std::isnan(sample)) return 0.0f;
    // Far beyond any level that can reach here, and keeps k * x finite.
    const float x = std::min(std::max(sample, -1e30f), 1e30f);
    const float f = drive * x + 1e-15f;
    const float shaped = f > 0.0f ? (x + f) / (f + 1.0f) : (f + x) / (1.0f - f);
    return std::min(std::max(shaped, -1.0f), 1.0f) + 1e-15f;
}
