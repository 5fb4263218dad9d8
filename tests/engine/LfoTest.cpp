#include "engine/uLfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

// An LFO standing still at the start of its cycle, for reading wave values.
void holdStill(TLfo& lfo, int32_t wave, float offset) {
    lfo.init(44100.0f);
    lfo.setSpeed(0.0f, 120.0f, 0.0f);
    lfo.setWave(wave, offset);
    lfo.update(1.0f);
}

float stillValue(int32_t wave, float offset) {
    TLfo lfo;
    holdStill(lfo, wave, offset);
    return lfo.getValue();
}

// Samples from one phase wrap to the next.
int wrapPeriod(TLfo& lfo) {
    auto step = [&] {
        const float before = lfo.getPos();
        lfo.update(1.0f);
        return lfo.getPos() < before;
    };
    while (!step()) {
    }
    int n = 1;
    while (!step()) ++n;
    return n;
}

}  // namespace

TEST(LfoSpeed, FreeRunningRates) {
    TLfo lfo;
    lfo.init(44100.0f);
    lfo.setSpeed(1.0f, 120.0f, 0.0f);
    EXPECT_FLOAT_EQ(lfo.increment, 1760.0f / 44100.0f);
    lfo.setSpeed(5.0f, 120.0f, 0.0f);  // held to 1
    EXPECT_FLOAT_EQ(lfo.increment, 1760.0f / 44100.0f);
    lfo.setSpeed(0.5f, 120.0f, 0.0f);
    EXPECT_FLOAT_EQ(lfo.increment, std::exp2(8.5f) * 55.0f / 4096.0f / 44100.0f);
    lfo.setSpeed(0.00009f, 120.0f, 0.0f);
    EXPECT_EQ(lfo.increment, 0.0f);
    lfo.setSpeed(std::numeric_limits<float>::quiet_NaN(), 120.0f, 0.0f);
    EXPECT_EQ(lfo.increment, 0.0f);

    // Same speed after a rate change: the increment must be redone.
    lfo.setSpeed(1.0f, 120.0f, 0.0f);
    lfo.init(1000.0f);
    lfo.setSpeed(1.0f, 120.0f, 0.0f);
    EXPECT_FLOAT_EQ(lfo.increment, 1.76f);
}

TEST(LfoSpeed, SyncedPeriods) {
    TLfo lfo;
    lfo.init(44100.0f);
    lfo.setTemoSynced(true);
    lfo.setSpeed(0.45f, 120.0f, 1.0f);  // "2/1": 4 s plus one sample
    EXPECT_FLOAT_EQ(1.0f / lfo.increment, 176401.0f);

    lfo.setSpeed(0.45f, 60.0f, 1.0f);
    EXPECT_FLOAT_EQ(1.0f / lfo.increment, 352801.0f);
    lfo.setSpeed(0.45f, 0.0f, 1.0f);  // tempo held to 1 BPM
    EXPECT_FLOAT_EQ(1.0f / lfo.increment, 480.0f * 44100.0f + 1.0f);

    // A short period counted out sample by sample.
    lfo.init(1000.0f);
    lfo.setTemoSynced(true);
    lfo.setSpeed(0.9f, 240.0f, 0.25f);  // 0.25 * 480 * 1000 / 240 + 1 = 501
    EXPECT_EQ(wrapPeriod(lfo), 501);

    // "Off" (period 0): one sample, so the phase never moves but S&H redraws.
    lfo.setSpeed(0.01f, 120.0f, 0.0f);
    EXPECT_EQ(lfo.increment, 1.0f);
    lfo.setWave(5, 0.0f);
    lfo.reset();
    std::set<float> draws;
    for (int i = 0; i < 50; ++i) {
        lfo.update(1.0f);
        EXPECT_EQ(lfo.getPos(), 0.0f);
        draws.insert(lfo.getValue());
    }
    EXPECT_GT(draws.size(), 40u);

    // Back to free running with the same arguments gives the free rate.
    lfo.setTemoSynced(false);
    lfo.setSpeed(0.01f, 120.0f, 0.0f);
    EXPECT_LT(lfo.increment, 0.001f);
}

TEST(LfoWaves, ValuesAtKnownPhases) {
    EXPECT_NEAR(stillValue(0, 0.0f), 0.0f, 1e-6);
    EXPECT_NEAR(stillValue(0, 0.25f), 1.0f, 1e-6);
    EXPECT_NEAR(stillValue(0, 0.75f), -1.0f, 1e-6);
    EXPECT_EQ(stillValue(1, 0.0f), -1.0f);
    EXPECT_EQ(stillValue(1, 0.75f), 0.5f);
    EXPECT_EQ(stillValue(2, 0.25f), 0.5f);
    EXPECT_EQ(stillValue(3, 0.0f), -1.0f);
    EXPECT_EQ(stillValue(3, 0.25f), 0.0f);
    EXPECT_EQ(stillValue(3, 0.5f), 1.0f);
    EXPECT_EQ(stillValue(4, 0.0f), -1.0f);
    EXPECT_EQ(stillValue(4, 0.5f), 1.0f);
    EXPECT_EQ(stillValue(5, 0.5f), 0.0f);  // nothing drawn yet
    EXPECT_EQ(stillValue(6, 0.5f), 0.0f);
    EXPECT_EQ(stillValue(-1, 0.5f), 0.0f);
    EXPECT_EQ(stillValue(1, std::numeric_limits<float>::infinity()), -1.0f);
}

TEST(LfoWaves, SawFollowsThePhaseWithOffsetWrapping) {
    TLfo lfo;
    lfo.init(1000.0f);
    lfo.setTemoSynced(true);
    lfo.setSpeed(0.9f, 240.0f, 0.199f);  // period 399 samples
    lfo.setWave(1, 0.5f);
    for (int i = 0; i < 1000; ++i) {
        lfo.update(1.0f);
        float frac = lfo.getPos() + 0.5f;
        frac -= std::floor(frac);
        ASSERT_FLOAT_EQ(lfo.getValue(), 2.0f * frac - 1.0f) << i;
        ASSERT_GE(lfo.getPos(), 0.0f);
        ASSERT_LT(lfo.getPos(), 1.0f);
    }
}

TEST(LfoWaves, SwitchedOffIsZeroWhileThePhaseRuns) {
    TLfo lfo;
    lfo.init(44100.0f);
    lfo.setSpeed(1.0f, 120.0f, 0.0f);
    lfo.setWave(4, 0.0f);
    lfo.setOn(false);
    for (int i = 0; i < 100; ++i) {
        lfo.update(1.0f);
        ASSERT_EQ(lfo.getValue(), 0.0f);
    }
    EXPECT_NEAR(lfo.getPos(), 100.0f * 1760.0f / 44100.0f - 3.0f, 1e-4);
    lfo.update(std::numeric_limits<float>::quiet_NaN());  // no step
    lfo.update(-3.0f);
    EXPECT_NEAR(lfo.getPos(), 100.0f * 1760.0f / 44100.0f - 3.0f, 1e-4);
}

TEST(LfoSampleAndHold, DrawsFifteenBitValuesAtEachWrap) {
    TLfo lfo;
    lfo.init(1000.0f);
    lfo.setTemoSynced(true);
    lfo.setSpeed(0.9f, 240.0f, 0.018f);  // period 37 samples
    lfo.setWave(5, 0.0f);
    float low = 1.0f, high = -1.0f;
    int changes = 0, wraps = 0;
    float previous = 0.0f;
    for (int i = 0; i < 100000; ++i) {
        const float before = lfo.getPos();
        lfo.update(1.0f);
        const float v = lfo.getValue();
        const bool wrapped = lfo.getPos() < before;
        wraps += wrapped;
        if (v != previous) {
            ASSERT_TRUE(wrapped) << i;  // held between cycle starts
            ++changes;
        }
        previous = v;
        ASSERT_GE(v, -1.0f);
        ASSERT_LE(v, 1.0f);
        const float r = (v + 1.0f) * 32767.0f / 2.0f;  // back to the integer drawn
        if (wraps > 0) {
            ASSERT_NEAR(r, std::round(r), 2e-3) << v;
        }
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_GT(changes, wraps * 9 / 10);
    EXPECT_LT(low, -0.99f);
    EXPECT_GT(high, 0.99f);

    // After a reset it outputs 0 until the next wrap; the sequence is per seed.
    lfo.reset();
    lfo.update(1.0f);
    EXPECT_EQ(lfo.getValue(), 0.0f);
    TLfo a, b;
    for (TLfo* l : {&a, &b}) {
        holdStill(*l, 5, 0.0f);
        l->seedRandom(7);
        l->setTemoSynced(true);
        l->setSpeed(0.5f, 120.0f, 0.0f);
    }
    for (int i = 0; i < 10; ++i) {
        a.update(1.0f);
        b.update(1.0f);
        ASSERT_EQ(a.getValue(), b.getValue());
    }
}
