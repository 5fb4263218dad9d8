// The stereo filter of the reversed signal (resonant low-pass, high-pass or
// feedback comb, chosen by its type) and the waveshaper that precedes it.
// Both channels run side by side in one SSE2 register, left in lane 0 and
// right in lane 1, from the waveshaper through both filters; each lane does
// the same float operations in the same order as the scalar formulas, so the
// result is the same to the bit.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

class TFilter {
public:
    static constexpr int32_t LOW_PASS = 0;
    static constexpr int32_t HIGH_PASS = 1;
    static constexpr int32_t COMB = 2;
    static constexpr int32_t COMB_LINE_SIZE = 8192;
    // Comb delay in 1/256 samples: about 2 samples up to one line length.
    static constexpr int32_t COMB_MIN_DELAY = 514;
    static constexpr int32_t COMB_MAX_DELAY = 2097150;

    void init(float rate) noexcept;  // control
    void setType(int32_t newType) noexcept;  // audio
    // Once per frame, with the normalised frequency and resonance: the
    // frequency glides towards its target (or jumps there on snap); a filter
    // the signal passes (inUse) redesigns its coefficients when their inputs
    // moved, the others catch up when taken into use. Returns at once when
    // the last call had the same arguments and changed nothing, since this
    // one would not either.
    void follow(float frequency, float res, bool inUse, bool snap) noexcept;  // audio
    // pair: left and right in lanes 0 and 1; the other lanes ride along.
    __m128 process(__m128 pair) noexcept;  // audio

    // Sub-steps per sample for the biquads.
    static constexpr int32_t oversampling = 4;

    int32_t type = LOW_PASS;
    int32_t lastType = -1;
    float sampleRate = 44100.0f;
    float denormalOffset = 1e-15f;
    float targetFreq = 0.0f;
    float smoothedFreq = 0.0f;
    float lastFreqHz = 0.0f;
    float freqHz = 0.0f;
    float resonance = 0.0f;
    float lastResonance = 0.0f;
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    // Biquad history, lanes left, right (the other two ride along unused):
    // the input of the previous frame, which, held for its four sub-steps,
    // is both x[n-1] and x[n-2] of the next sub-step; the outputs [0] y[n-1]
    // and [1] y[n-2].
    alignas(16) float xHistory[4] = {};
    alignas(16) float yHistory[2][4] = {};
    int32_t combDelay = 0;
    uint32_t combWritePos = 0;
    float combFeedback = 0.0f;
    float combLeft[COMB_LINE_SIZE] = {};
    float combRight[COMB_LINE_SIZE] = {};

    // Normalised control values: NaN counts as 0, the rest is held to 0 .. 1.
    static float unit(float value) noexcept { return std::isnan(value) ? 0.0f : std::min(std::max(value, 0.0f), 1.0f); }

private:
    void setFreq(float value) noexcept { targetFreq = unit(value); }
    void setRes(float value) noexcept { resonance = unit(value) * 0.95f; }
    // The glide alone; true from update when it redesigned.
    void glide(bool snap) noexcept { smoothedFreq = snap ? targetFreq : 0.01f * targetFreq + 0.99f * smoothedFreq; }
    bool update(bool snap) noexcept;
    void resetHistory() noexcept;
    void design() noexcept;
    void broadcastCoefficients() noexcept;
    void designComb() noexcept;
    void designLowPass() noexcept;
    void designHighPass() noexcept;
    __m128 processBiquad(__m128 pair) noexcept;
    void processComb(float& left, float& right) noexcept;

    // The glided frequency the last freqHz was computed for, so that the
    // exponential is skipped once the glide has settled.
    float freqHzInput = -1.0f;
    // The resonance the comb feedback was computed for.
    float combResonanceInput = -1.0f;
    // The arguments of the last follow, and whether it left everything as it was.
    float followFrequency = 0.0f;
    float followResonance = 0.0f;
    bool followInUse = false;
    bool settled = false;
    // b0, b1, b2, a1, a2, each in all four lanes, as the biquad multiplies them.
    alignas(16) float coefficients[5][4] = {};
};

inline void TFilter::follow(float frequency, float res, bool inUse, bool snap) noexcept {
    if (settled && !snap && frequency == followFrequency && res == followResonance && inUse == followInUse) return;
    followFrequency = frequency;
    followResonance = res;
    followInUse = inUse;
    const float before = smoothedFreq;
    setFreq(frequency);
    setRes(res);
    const bool redesigned = inUse ? update(snap) : (glide(snap), false);
    settled = !redesigned && smoothedFreq == before;
}

inline bool TFilter::update(bool snap) noexcept {
    glide(snap);
    const float s = smoothedFreq;
    if (s != freqHzInput) {
        freqHzInput = s;
        freqHz = 20.0f * std::exp2(10.0f * std::min(std::max(s, 0.0f), 1.0f));
    }
    if (std::fabs(lastFreqHz - freqHz) <= 0.0001f && std::fabs(lastResonance - resonance) <= 0.0001f &&
        lastType == type)
        return false;
    design();
    return true;
}

// The input pair is held for the four sub-steps and their outputs averaged.
// With the input held, b0 x[n], b1 x[n] and b2 x[n] are the same products in
// every sub-step, so each is formed once, and so is b2 times the previous
// input; the sums keep the order of
// b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2] + offset.
inline __m128 TFilter::processBiquad(__m128 pair) noexcept {
    const __m128 offset = _mm_set1_ps(denormalOffset);
    const __m128 x = _mm_add_ps(pair, offset);
    const __m128 previous = _mm_load_ps(xHistory);
    __m128 y1 = _mm_load_ps(yHistory[0]);
    __m128 y2 = _mm_load_ps(yHistory[1]);
    const __m128 c0 = _mm_load_ps(coefficients[0]), c1 = _mm_load_ps(coefficients[1]);
    const __m128 c2 = _mm_load_ps(coefficients[2]), d1 = _mm_load_ps(coefficients[3]);
    const __m128 d2 = _mm_load_ps(coefficients[4]);
    const __m128 b0x = _mm_mul_ps(c0, x);
    const __m128 b01x = _mm_add_ps(b0x, _mm_mul_ps(c1, x));
    const __m128 held = _mm_add_ps(b01x, _mm_mul_ps(c2, x));
    const __m128 b2Previous = _mm_mul_ps(c2, previous);
    const __m128 feedForward[4] = {_mm_add_ps(_mm_add_ps(b0x, _mm_mul_ps(c1, previous)), b2Previous),
                                   _mm_add_ps(b01x, b2Previous), held, held};
    __m128 sum = _mm_setzero_ps();
    for (const __m128 ff : feedForward) {
        const __m128 y = _mm_add_ps(_mm_sub_ps(_mm_sub_ps(ff, _mm_mul_ps(d1, y1)), _mm_mul_ps(d2, y2)), offset);
        y2 = y1;
        y1 = y;
        sum = _mm_add_ps(sum, y);
    }
    const __m128 out = _mm_mul_ps(sum, _mm_set1_ps(1.0f / float(oversampling)));
    // out - out is 0 exactly when out is finite.
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(out, out), _mm_setzero_ps());
    _mm_store_ps(xHistory, x);
    _mm_store_ps(yHistory[0], y1);
    _mm_store_ps(yHistory[1], y2);
    if ((_mm_movemask_ps(finite) & 3) != 3) {
        // A non-finite input would otherwise poison the recursion for good:
        // that channel starts again from silence.
        for (float* history : {xHistory, yHistory[0], yHistory[1]})
            _mm_store_ps(history, _mm_and_ps(finite, _mm_load_ps(history)));
    }
    return _mm_and_ps(finite, out);
}

inline __m128 TFilter::process(__m128 pair) noexcept {
    if (type == LOW_PASS || type == HIGH_PASS) return processBiquad(pair);
    if (type != COMB) return pair;
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, pair);
    processComb(lanes[0], lanes[1]);
    return _mm_load_ps(lanes);
}

// Soft odd-symmetric saturation x(1 + k) / (1 + k|x|) with k = 2^(5 * amount) - 1.
// The drive depends only on the amount, so it is kept until the amount changes.
class TDistortion {
public:
    float doDistortion(float sample, float amount) noexcept;  // audio
    // Every lane at once, each exactly as doDistortion would shape it.
    __m128 process(__m128 pair, float amount) noexcept;  // audio

private:
    void setAmount(float amount) noexcept {
        const float a = TFilter::unit(amount);
        if (a != lastAmount) {
            lastAmount = a;
            drive = std::exp2(5.0f * a) - 1.0f;
        }
    }
    __m128 shape(__m128 samples) const noexcept;

    float lastAmount = 0.0f;
    float drive = 0.0f;  // k for lastAmount
};

// f = k x + 1e-15; (x + f) / (f + 1) for f > 0, (f + x) / (1 - f) otherwise:
// both are (x + f) / (1 + |f|) to the bit. NaN counts as silence; x is held
// far beyond any level that can reach here, which keeps k x finite.
inline __m128 TDistortion::shape(__m128 samples) const noexcept {
    const __m128 isNumber = _mm_cmpord_ps(samples, samples);
    const __m128 x = _mm_and_ps(isNumber, _mm_min_ps(_mm_max_ps(samples, _mm_set1_ps(-1e30f)), _mm_set1_ps(1e30f)));
    const __m128 f = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(drive), x), _mm_set1_ps(1e-15f));
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), f);
    const __m128 shaped = _mm_div_ps(_mm_add_ps(x, f), _mm_add_ps(_mm_set1_ps(1.0f), magnitude));
    const __m128 held = _mm_min_ps(_mm_max_ps(shaped, _mm_set1_ps(-1.0f)), _mm_set1_ps(1.0f));
    return _mm_and_ps(isNumber, _mm_add_ps(held, _mm_set1_ps(1e-15f)));
}

inline __m128 TDistortion::process(__m128 pair, float amount) noexcept {
    setAmount(amount);
    return shape(pair);
}

inline float TDistortion::doDistortion(float sample, float amount) noexcept {
    setAmount(amount);
    return _mm_cvtss_f32(shape(_mm_set_ss(sample)));
}
