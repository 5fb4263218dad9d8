// The stereo filter of the reversed signal (resonant low-pass, high-pass or
// feedback comb, chosen by its type) and the waveshaper that precedes it.
#pragma once

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
    void setFreq(float value) noexcept;  // audio
    void setRes(float value) noexcept;  // audio
    void update(bool snap) noexcept;  // audio
    void process(float& left, float& right) noexcept;  // audio

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
    // Biquad history per channel: the last two inputs and outputs, newest first.
    float xLeft[2] = {};
    float yLeft[2] = {};
    float xRight[2] = {};
    float yRight[2] = {};
    int32_t combDelay = 0;
    uint32_t combWritePos = 0;
    float combFeedback = 0.0f;
    float combLeft[COMB_LINE_SIZE] = {};
    float combRight[COMB_LINE_SIZE] = {};

private:
    void resetHistory() noexcept;
    void designComb() noexcept;
    void designLowPass() noexcept;
    void designHighPass() noexcept;
    float biquadChannel(float input, float* x, float* y) noexcept;

    // The glided frequency the last freqHz was computed for, so that the
    // exponential is skipped once the glide has settled.
    float freqHzInput = -1.0f;
};

// Soft odd-symmetric saturation x(1 + k) / (1 + k|x|) with k = 2^(5 * amount) - 1.
// The drive depends only on the amount, so it is kept until the amount changes.
class TDistortion {
public:
    float doDistortion(float sample, float amount) noexcept;  // audio

private:
    float lastAmount = 0.0f;
    float drive = 0.0f;  // k for lastAmount
};
