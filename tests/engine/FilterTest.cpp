#include "engine/uFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "tests/support/RealtimeProbe.h"

namespace {

using Complex = std::complex<double>;
constexpr double pi = std::numbers::pi;

// Normalised frequency value for a frequency in Hz (20 Hz * 2^(10 v)).
float freqValue(double hz) {
    return float(std::log2(hz / 20.0) / 10.0);
}

TFilter& makeFilter(TFilter& filter, int32_t type, float rate, float freq, float res) {
    filter.init(rate);
    filter.setType(type);
    filter.setFreq(freq);
    filter.setRes(res);
    filter.update(true);
    return filter;
}

// Response of the filter's biquad at theta radians per oversampled step.
Complex biquadResponse(const TFilter& f, double theta) {
    const Complex z1 = std::polar(1.0, -theta);
    return (double(f.b0) + double(f.b1) * z1 + double(f.b2) * z1 * z1) /
           (1.0 + double(f.a1) * z1 + double(f.a2) * z1 * z1);
}

// What the whole oversampled process should do to a sine of omega radians per
// sample: the input is held for four steps and the four outputs averaged, so
// the response is the biquad's folded through a four-tap box on both sides.
Complex expectedResponse(const TFilter& f, double omega) {
    Complex sum = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double theta = (omega - 2.0 * pi * k) / 4.0;
        Complex box = 0.0;
        for (int j = 0; j < 4; ++j) box += std::polar(1.0, -theta * j);
        sum += std::norm(box) * biquadResponse(f, theta);
    }
    return sum / 16.0;
}

// Drives a sine through the filter and returns its complex steady-state gain.
Complex measuredResponse(TFilter& f, double omega, int periods) {
    const int n = int(std::lround(2.0 * pi * periods / omega));
    for (int i = 0; i < 20000; ++i) {  // settle
        float l = float(std::cos(omega * i)), r = l;
        f.process(l, r);
    }
    Complex acc = 0.0;
    for (int i = 20000; i < 20000 + n; ++i) {
        float l = float(std::cos(omega * i)), r = l;
        f.process(l, r);
        acc += double(l) * std::polar(1.0, -omega * i);
    }
    return 2.0 * acc / double(n);
}

double dB(double gain) {
    return 20.0 * std::log10(gain);
}

}  // namespace

TEST(FilterDesign, LowPassCoefficientsFollowTheBilinearTwoPole) {
    TFilter f;
    makeFilter(f, TFilter::LOW_PASS, 44100.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(f.freqHz, 20480.0f);
    const double design = 20480.0 / (4 * 44100.0);  // below the 0.2 cap
    const double r = 2.828427;
    const double c = std::cos(pi * design) / (std::sin(pi * design) + 0.0015);
    const double g = 1.0 / (1.001 + r * c + c * c);
    EXPECT_FLOAT_EQ(f.b0, float(g));
    EXPECT_FLOAT_EQ(f.b1, float(2 * g));
    EXPECT_FLOAT_EQ(f.a1, float(2 * (1 - c * c) * g));
    EXPECT_FLOAT_EQ(f.a2, float((1 - r * c + c * c) * g));

    // At 8 kHz the design frequency is capped at 0.2 of the fourfold rate.
    TFilter capped, atCap;
    makeFilter(capped, TFilter::LOW_PASS, 8000.0f, 1.0f, 0.0f);
    makeFilter(atCap, TFilter::LOW_PASS, 8000.0f, freqValue(6400.0), 0.0f);
    EXPECT_FLOAT_EQ(capped.a1, atCap.a1);
    EXPECT_FLOAT_EQ(capped.a2, atCap.a2);

    // Everything from 20 Hz to 40 Hz is designed at 40 Hz.
    TFilter lowest, forty;
    makeFilter(lowest, TFilter::LOW_PASS, 44100.0f, 0.0f, 0.5f);
    makeFilter(forty, TFilter::LOW_PASS, 44100.0f, 0.1f, 0.5f);
    EXPECT_EQ(lowest.a1, forty.a1);
    EXPECT_EQ(lowest.b0, forty.b0);
}

TEST(FilterDesign, GainAtTheDesignFrequency) {
    // The low-pass is the bilinear image of 1 / (s^2 + r s + 1.001) with
    // s = c (1 - z^-1) / (1 + z^-1): at its corner, tan(theta / 2) = 1 / c,
    // the gain is 1 / |0.001 + j r|, about 1 / r.
    for (float res : {0.0f, 0.5f, 1.0f}) {
        TFilter f;
        makeFilter(f, TFilter::LOW_PASS, 44100.0f, freqValue(1000.0), res);
        const double r = std::fabs(1.0 - 0.95 * res) * 2.828427;
        const double design = 1000.0 / (4 * 44100.0);
        const double c = std::cos(pi * design) / (std::sin(pi * design) + 0.0015);
        const double theta = 2.0 * std::atan(1.0 / c);
        EXPECT_NEAR(dB(std::abs(biquadResponse(f, theta))), dB(1.0 / std::abs(Complex(0.001, r))), 0.01)
            << res;
    }
    // The high-pass is the standard two-pole: gain Q at its corner.
    for (float res : {0.0f, 0.5f, 1.0f}) {
        TFilter f;
        makeFilter(f, TFilter::HIGH_PASS, 48000.0f, freqValue(2000.0), res);
        const double q = 0.98 * (1.0 - 0.95 * res);
        const double theta = 2 * pi * 2000.0 / (4 * 48000.0);
        EXPECT_NEAR(dB(std::abs(biquadResponse(f, theta))), dB(q), 0.01) << res;
    }
}

TEST(FilterProcess, OversampledSinesMatchTheAnalyticResponse) {
    struct Case {
        int32_t type;
        double cornerHz, res, sineHz;
    };
    for (const Case& c : {Case{TFilter::LOW_PASS, 1000, 0.0, 1000}, Case{TFilter::LOW_PASS, 1000, 1.0, 1000},
                          Case{TFilter::LOW_PASS, 5000, 0.3, 12000}, Case{TFilter::HIGH_PASS, 500, 0.0, 500},
                          Case{TFilter::HIGH_PASS, 3000, 0.0, 200}}) {
        TFilter f;
        makeFilter(f, c.type, 44100.0f, freqValue(c.cornerHz), float(c.res));
        const double omega = 2 * pi * c.sineHz / 44100.0;
        const Complex expected = expectedResponse(f, omega);
        const Complex measured = measuredResponse(f, omega, 40);
        EXPECT_NEAR(dB(std::abs(measured)), dB(std::abs(expected)), 0.01) << c.type << " " << c.sineHz;
        EXPECT_NEAR(std::arg(measured / expected), 0.0, 0.002) << c.type << " " << c.sineHz;
    }
}

TEST(FilterProcess, StepsSettleToTheirDcGain) {
    TFilter lp, hp;
    makeFilter(lp, TFilter::LOW_PASS, 44100.0f, 0.5f, 0.2f);
    makeFilter(hp, TFilter::HIGH_PASS, 44100.0f, 0.5f, 0.2f);
    float l = 0, r = 0, hl = 0, hr = 0;
    for (int i = 0; i < 44100; ++i) {
        l = r = hl = hr = 0.5f;
        lp.process(l, r);
        hp.process(hl, hr);
    }
    // b sum 4g over 1 + a1 + a2 = 4.001g; float coefficients blur the last digits.
    EXPECT_NEAR(l / 0.5, 4.0 / 4.001, 3e-4);
    EXPECT_NEAR(r, l, 1e-7);
    EXPECT_NEAR(hl, 0.0, 1e-5);
}

TEST(FilterProcess, SilenceNeverDecaysIntoDenormals) {
    for (int32_t type : {TFilter::LOW_PASS, TFilter::HIGH_PASS}) {
        TFilter f;
        makeFilter(f, type, 44100.0f, 0.3f, 0.9f);
        float l = 1.0f, r = -1.0f;
        f.process(l, r);
        for (int i = 0; i < 10 * 44100; ++i) {
            l = r = 0.0f;
            f.process(l, r);
        }
        for (int s = 0; s < 3; ++s) {
            EXPECT_NE(std::fpclassify(f.yLeft[s]), FP_SUBNORMAL);
            EXPECT_NE(std::fpclassify(f.yRight[s]), FP_SUBNORMAL);
        }
    }
}

TEST(FilterProcess, NonFiniteInputResetsInsteadOfPoisoning) {
    for (int32_t type : {TFilter::LOW_PASS, TFilter::HIGH_PASS, TFilter::COMB}) {
        TFilter f;
        makeFilter(f, type, 44100.0f, 0.5f, 1.0f);
        float l = std::numeric_limits<float>::quiet_NaN();
        float r = std::numeric_limits<float>::infinity();
        f.process(l, r);
        EXPECT_EQ(l, 0.0f) << type;
        EXPECT_EQ(r, 0.0f) << type;
        for (int i = 0; i < 20000; ++i) {
            l = r = float(std::sin(0.05 * i));
            f.process(l, r);
            ASSERT_TRUE(std::isfinite(l) && std::isfinite(r)) << type << " " << i;
        }
    }
}

TEST(FilterComb, DelayAndFeedback) {
    TFilter f;
    makeFilter(f, TFilter::COMB, 44100.0f, 0.0f, 1.0f);
    EXPECT_EQ(f.combDelay, 564480);  // 2205 samples, one period of 20 Hz
    EXPECT_FLOAT_EQ(f.combFeedback, float(std::pow(0.95, 0.25)));
    f.setFreq(1.0f);
    f.update(true);
    EXPECT_EQ(f.combDelay, 551);  // 2.15 samples at 20,480 Hz
    makeFilter(f, TFilter::COMB, 32000.0f, 1.0f, 0.0f);
    EXPECT_EQ(f.combDelay, TFilter::COMB_MIN_DELAY);

    makeFilter(f, TFilter::COMB, 1e9f, 0.0f, 0.0f);  // would be ~1.3e10
    EXPECT_EQ(f.combDelay, TFilter::COMB_MAX_DELAY);
}

TEST(FilterComb, ImpulseEchoesEveryWholeDelay) {
    TFilter f;
    makeFilter(f, TFilter::COMB, 44100.0f, 0.0f, 1.0f);
    const float fb = f.combFeedback;
    std::vector<float> out;
    for (int i = 0; i < 3 * 2205 + 1; ++i) {
        float l = i == 0 ? 1.0f : 0.0f, r = -l;
        f.process(l, r);
        out.push_back(l);
    }
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_NEAR(out[1], 0.0f, 1e-12);
    EXPECT_NEAR(out[2204], 0.0f, 1e-12);
    EXPECT_FLOAT_EQ(out[2205], fb);
    EXPECT_FLOAT_EQ(out[4410], fb * fb);
    EXPECT_FLOAT_EQ(out[6615], fb * fb * fb);

    // A delay between whole samples rounds up to the next one.
    for (int32_t delay : {256 * 100, 256 * 100 + 1}) {
        makeFilter(f, TFilter::COMB, 44100.0f, 0.0f, 1.0f);
        f.combDelay = delay;
        int echo = -1;
        for (int i = 0; i < 200 && echo < 0; ++i) {
            float l = i == 0 ? 1.0f : 0.0f, r = l;
            f.process(l, r);
            if (i > 0 && l > 0.5f) echo = i;
        }
        EXPECT_EQ(echo, (delay + 255) / 256);
    }
}

TEST(FilterComb, TypeChangeClearsTheLinesFrequencyChangeDoesNot) {
    TFilter f;
    makeFilter(f, TFilter::COMB, 44100.0f, 0.3f, 0.5f);
    for (int i = 0; i < 100; ++i) {
        float l = 0.5f, r = 0.5f;
        f.process(l, r);
    }
    f.setFreq(0.8f);
    f.update(true);
    float held = 0.0f;
    for (float v : f.combLeft) held += std::fabs(v);
    EXPECT_GT(held, 1.0f);

    f.setType(TFilter::LOW_PASS);
    f.setType(TFilter::COMB);
    for (float v : f.combLeft) ASSERT_EQ(v, 0.0f);
    for (float v : f.combRight) ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(f.lastType, TFilter::COMB);  // and the next update redesigns
    EXPECT_NE(f.combDelay, 0);
}

TEST(FilterGlide, OnePolePerUpdate) {
    TFilter f;
    makeFilter(f, TFilter::LOW_PASS, 44100.0f, 0.0f, 0.0f);
    f.setFreq(1.0f);
    int updates = 0;
    while (f.smoothedFreq < 0.99f && updates < 10000) {
        f.update(false);
        ++updates;
    }
    EXPECT_NEAR(updates, 459, 2);  // 0.99^n falls below 1 % after about 460 frames
    f.update(true);
    EXPECT_EQ(f.smoothedFreq, 1.0f);

    f.setFreq(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(f.targetFreq, 0.0f);
    f.setRes(7.0f);
    EXPECT_FLOAT_EQ(f.resonance, 0.95f);
}

TEST(FilterRealtime, UpdateAndProcessAllocateNothing) {
    TFilter f;
    makeFilter(f, TFilter::LOW_PASS, 44100.0f, 0.2f, 0.2f);
    TDistortion shaper;
    tidewalker::testing::RealtimeProbe probe;
    for (int i = 0; i < 2000; ++i) {
        f.setType(i < 1000 ? TFilter::HIGH_PASS : TFilter::COMB);
        f.setFreq(float(i % 100) * 0.01f);
        f.update(false);
        float l = shaper.doDistortion(0.3f, float(i % 10) * 0.1f), r = l;
        f.process(l, r);
    }
    EXPECT_EQ(probe.counts().allocations, 0u);
    EXPECT_EQ(probe.counts().locks, 0u);
}

TEST(Distortion, SaturatesSymmetricallyWithUnityAtZero) {
    TDistortion d;
    EXPECT_NEAR(d.doDistortion(0.5f, 0.0f), 0.5f, 1e-7);
    EXPECT_NEAR(d.doDistortion(-0.25f, 0.0f), -0.25f, 1e-7);
    EXPECT_EQ(d.doDistortion(3.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(d.doDistortion(0.5f, 1.0f), 16.0f / 16.5f);
    EXPECT_FLOAT_EQ(d.doDistortion(-0.5f, 1.0f), -16.0f / 16.5f);
    // x(1 + k) / (1 + k|x|) for the cached drive after an amount change.
    const float k = std::exp2(5.0f * 0.3f) - 1.0f;
    for (float x : {-0.9f, -0.1f, 0.01f, 0.7f}) {
        EXPECT_NEAR(d.doDistortion(x, 0.3f), x * (1 + k) / (1 + k * std::fabs(x)), 1e-6) << x;
        EXPECT_NEAR(d.doDistortion(-x, 0.3f), -d.doDistortion(x, 0.3f), 1e-6) << x;
    }
    EXPECT_EQ(d.doDistortion(std::numeric_limits<float>::quiet_NaN(), 0.5f), 0.0f);
    EXPECT_FLOAT_EQ(d.doDistortion(std::numeric_limits<float>::infinity(), 0.5f), 1.0f);
    EXPECT_FLOAT_EQ(d.doDistortion(-std::numeric_limits<float>::infinity(), 1.0f), -1.0f);
    EXPECT_NEAR(d.doDistortion(0.5f, std::numeric_limits<float>::quiet_NaN()), 0.5f, 1e-7);
}
