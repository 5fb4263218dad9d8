#include "engine/uFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

namespace {

using Complex = std::complex<double>;
constexpr double pi = std::numbers::pi;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

void design(TFilter& filter, int32_t type, float rate, double hz, float res) {
    filter.init(rate);
    filter.setType(type);
    filter.follow(float(std::log2(hz / 20.0) / 10.0), res, true, true);
}

// The biquad's response at theta radians per oversampled step.
Complex biquad(const TFilter& f, double theta) {
    const Complex z = std::polar(1.0, -theta);
    return (double(f.b0) + double(f.b1) * z + double(f.b2) * z * z) / (1.0 + double(f.a1) * z + double(f.a2) * z * z);
}

// One frame through the filter, the pair as two floats.
void process(TFilter& filter, float& left, float& right) {
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, filter.process(_mm_setr_ps(left, right, 0.0f, 0.0f)));
    left = lanes[0];
    right = lanes[1];
}

double dB(double gain) {
    return 20.0 * std::log10(gain);
}

}  // namespace

TEST(Filter, BiquadGainAtTheCorner) {
    for (float res : {0.0f, 0.5f, 1.0f}) {
        // Low-pass: the bilinear image of 1 / (s^2 + r s + 1.001); at its corner
        // (tan(theta / 2) = 1 / c) the gain is 1 / |0.001 + j r|.
        TFilter f;
        design(f, TFilter::LOW_PASS, 44100.0f, 1000.0, res);
        const double w = 1000.0 / (4 * 44100.0), r = std::fabs(1.0 - 0.95 * res) * 2.828427;
        const double c = std::cos(pi * w) / (std::sin(pi * w) + 0.0015);
        EXPECT_NEAR(dB(std::abs(biquad(f, 2.0 * std::atan(1.0 / c)))), -dB(std::abs(Complex(0.001, r))), 0.01);
        // High-pass: the standard two-pole, gain Q at its corner.
        design(f, TFilter::HIGH_PASS, 48000.0f, 2000.0, res);
        EXPECT_NEAR(dB(std::abs(biquad(f, 2 * pi * 2000.0 / (4 * 48000.0)))), dB(0.98 * (1.0 - 0.95 * res)), 0.01);
    }
    TFilter f, g;  // the design frequency is floored at 40 Hz
    design(f, TFilter::HIGH_PASS, 44100.0f, 20.0, 0.5f);
    design(g, TFilter::HIGH_PASS, 44100.0f, 40.0, 0.5f);
    EXPECT_EQ(f.a1, g.a1);
}

TEST(Filter, FollowStillSeesEachInputOnceSettled) {
    // A filter that only glides designs nothing; taken into use it catches
    // up, and after settling a move of any one input still redesigns.
    TFilter f, fresh;
    f.init(44100.0f);
    for (int i = 0; i < 5000; ++i) f.follow(0.5f, 0.2f, false, false);
    EXPECT_EQ(f.b0, 0.0f);
    f.follow(0.5f, 0.2f, true, false);
    design(fresh, TFilter::LOW_PASS, 44100.0f, 20.0 * std::exp2(5.0), 0.2f);
    EXPECT_FLOAT_EQ(f.a1, fresh.a1);  // the glide settles a rounding short of 0.5
    f.follow(0.5f, 0.2f, true, false);
    f.follow(0.5f, 0.7f, true, false);
    design(fresh, TFilter::LOW_PASS, 44100.0f, 20.0 * std::exp2(5.0), 0.7f);
    EXPECT_FLOAT_EQ(f.a2, fresh.a2);
    f.setType(TFilter::HIGH_PASS);
    f.follow(0.5f, 0.7f, true, false);
    EXPECT_LT(f.b1, 0.0f);
}

TEST(Filter, CoefficientsMatchTheLibraryTrigonometryUpToTheCap) {
    // The designs use their own sine and cosine; up to the largest design
    // angle (0.2 of the oversampled rate, reached at 8 kHz) they must give the
    // library's coefficients to within a float's last bit.
    for (double hz : {300.0, 3000.0, 6400.0, 20480.0}) {
        TFilter lp, hp;
        design(lp, TFilter::LOW_PASS, 8000.0f, hz, 1.0f);
        design(hp, TFilter::HIGH_PASS, 8000.0f, hz, 1.0f);
        const double f = std::min(double(lp.freqHz), 6400.0) / (4 * 8000.0), q = 1.0 - double(lp.resonance);
        const double r = q * 2.828427, c = std::cos(pi * f) / (std::sin(pi * f) + 0.0015);
        const double g = 1.0 / (1.001 + r * c + c * c);
        const double alpha = std::sin(2 * pi * f) / (2 * 0.98 * q), h = 1.0 / (1.0 + alpha);
        const std::pair<float, double> pairs[] = {{lp.b0, g},
                                                  {lp.a1, 2 * (1 - c * c) * g},
                                                  {lp.a2, (1 - r * c + c * c) * g},
                                                  {hp.b1, -(1 + std::cos(2 * pi * f)) * h},
                                                  {hp.a1, -2 * std::cos(2 * pi * f) * h},
                                                  {hp.a2, (1 - alpha) * h}};
        for (auto [actual, expected] : pairs) EXPECT_NEAR(actual, expected, 1.2e-7 * std::fabs(expected)) << hz;
    }
}

TEST(Filter, OversampledSinesMatchTheFoldedResponse) {
    // Holding the input for four steps and averaging the four outputs folds the
    // biquad through a four-tap box on both sides and decimates by four.
    auto folded = [](const TFilter& f, double omega) {
        Complex sum = 0.0;
        for (int k = 0; k < 4; ++k) {
            const double theta = (omega - 2.0 * pi * k) / 4.0;
            const double box = std::abs(std::sin(2.0 * theta) / std::sin(theta / 2.0));
            sum += box * box * biquad(f, theta) / 16.0;
        }
        return sum;
    };
    for (auto [type, cornerHz, res, sineHz] :
         {std::tuple{TFilter::LOW_PASS, 1000.0, 1.0f, 1000.0}, std::tuple{TFilter::HIGH_PASS, 3000.0, 0.0f, 200.0}}) {
        TFilter f;
        design(f, type, 44100.0f, cornerHz, res);
        const double omega = 2 * pi * sineHz / 44100.0;
        const int settle = 20000, n = int(std::lround(80 * pi / omega));  // 40 periods
        Complex measured = 0.0;
        for (int i = 0; i < settle + n; ++i) {
            float l = float(std::cos(omega * i)), r = l;
            process(f, l, r);
            ASSERT_EQ(l, r);
            if (i >= settle) measured += double(l) * std::polar(2.0 / n, -omega * i);
        }
        const Complex expected = folded(f, omega);
        EXPECT_NEAR(dB(std::abs(measured)), dB(std::abs(expected)), 0.01) << type << " " << sineHz;
        EXPECT_NEAR(std::arg(measured / expected), 0.0, 0.002) << type << " " << sineHz;
    }
}

TEST(Filter, GuardsAgainstDenormalsAndNonFiniteInput) {
    for (int32_t type : {TFilter::LOW_PASS, TFilter::HIGH_PASS, TFilter::COMB}) {
        TFilter f;
        design(f, type, 44100.0f, 500.0, 1.0f);
        float l = notANumber, r = std::numeric_limits<float>::infinity();
        process(f, l, r);
        EXPECT_TRUE(l == 0.0f && r == 0.0f) << type;
        for (int i = 0; i < 5 * 44100; ++i) {
            l = r = i < 1000 ? float(std::sin(0.05 * i)) : 0.0f;
            process(f, l, r);
            ASSERT_TRUE(std::isfinite(l) && std::isfinite(r)) << type << " " << i;
        }
        for (float v : {f.yHistory[0][0], f.yHistory[1][1], f.combLeft[f.combWritePos / 256]})
            EXPECT_NE(std::fpclassify(v), FP_SUBNORMAL) << type;
    }
}

TEST(Filter, CombEchoesEveryWholeDelayAndFrequencyGlides) {
    TFilter f;
    design(f, TFilter::COMB, 44100.0f, 20.0, 1.0f);
    EXPECT_EQ(f.combDelay, 564480);  // 2205 samples: one period of 20 Hz
    const float fb = f.combFeedback;
    EXPECT_FLOAT_EQ(fb, float(std::pow(0.95, 0.25)));
    for (int i = 0; i <= 2 * 2205; ++i) {
        float l = i == 0 ? 1.0f : 0.0f, r = l;
        process(f, l, r);
        ASSERT_NEAR(l, i == 0 ? 1.0f : i == 2205 ? fb : i == 4410 ? fb * fb : 0.0f, 1e-6) << i;
    }
    f.follow(1.0f, 1.0f, true, true);  // a new frequency keeps the lines, a new type clears them
    EXPECT_EQ(f.combDelay, 551);  // 2.15 samples at 20,480 Hz
    EXPECT_FLOAT_EQ(f.combLeft[2206], fb);  // sample n sits in slot n + 1
    f.setType(TFilter::HIGH_PASS);
    f.setType(TFilter::COMB);
    for (float v : f.combLeft) ASSERT_EQ(v, 0.0f);

    int updates = 0;  // the glide: 0.99^n falls below 1 % after about 460 updates
    for (; f.smoothedFreq > 0.01f && updates < 10000; ++updates) f.follow(0.0f, 1.0f, true, false);
    EXPECT_NEAR(updates, 459, 2);

    f.combDelay = 256 * 100 + 1;  // between whole samples: rounds up
    for (int i = 0; i <= 101; ++i) {
        float l = i == 0 ? 1.0f : 0.0f, r = l;
        process(f, l, r);
        ASSERT_EQ(i > 0 && l > 0.5f, i == 101) << i;
    }
}

TEST(Distortion, SaturatesSymmetricallyWithUnityAtZero) {
    TDistortion d;
    EXPECT_EQ(d.doDistortion(3.0f, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(d.doDistortion(0.5f, 1.0f), 16.0f / 16.5f);
    EXPECT_FLOAT_EQ(d.doDistortion(-0.5f, 1.0f), -16.0f / 16.5f);
    const float k = std::exp2(5.0f * 0.3f) - 1.0f;  // after an amount change
    for (float x : {-0.9f, 0.01f, 0.7f}) EXPECT_NEAR(d.doDistortion(x, 0.3f), x * (1 + k) / (1 + k * std::fabs(x)), 1e-6);
    EXPECT_EQ(d.doDistortion(notANumber, 0.5f), 0.0f);
    EXPECT_FLOAT_EQ(d.doDistortion(-std::numeric_limits<float>::infinity(), 1.0f), -1.0f);
    EXPECT_NEAR(d.doDistortion(0.5f, notANumber), 0.5f, 1e-7);
}
