#include "engine/uLfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// At 1000 Hz and 240 BPM a synced period of p two-bar units is 2000 p + 1 samples.
void syncedAt1000(TLfo& lfo, float period, int32_t wave, float offset = 0.0f) {
    lfo.init(1000.0f);
    lfo.setTemoSynced(true);
    lfo.setSpeed(0.5f, 240.0f, period);
    lfo.setWave(wave, offset);
}

}  // namespace

TEST(Lfo, FreeAndSyncedRates) {
    TLfo lfo;
    lfo.init(44100.0f);
    lfo.setSpeed(1.0f, 120.0f, 1.0f);
    EXPECT_FLOAT_EQ(lfo.increment, 1760.0f / 44100.0f);
    lfo.setSpeed(0.00009f, 120.0f, 1.0f);
    EXPECT_EQ(lfo.increment, 0.0f);
    lfo.setSpeed(1.0f, 120.0f, 1.0f);
    lfo.setTemoSynced(true);  // same arguments, now synced: "2/1" is 4 s plus a sample
    lfo.setSpeed(1.0f, 120.0f, 1.0f);
    EXPECT_FLOAT_EQ(1.0f / lfo.increment, 176401.0f);
    lfo.setSpeed(1.0f, 0.0f, 1.0f);  // tempo held to 1 BPM
    EXPECT_FLOAT_EQ(1.0f / lfo.increment, 480.0f * 44100.0f + 1.0f);
}

TEST(Lfo, WaveValuesAndOffsets) {
    struct Case {
        int32_t wave;
        float offset, value;
    };
    for (auto [wave, offset, value] : {Case{0, 0.25f, 1.0f}, Case{0, 0.75f, -1.0f}, Case{1, 0.75f, 0.5f},
                                       Case{2, 0.25f, 0.5f}, Case{3, 0.0f, -1.0f}, Case{3, 0.25f, 0.0f},
                                       Case{3, 0.5f, 1.0f}, Case{4, 0.0f, -1.0f}, Case{4, 0.5f, 1.0f},
                                       Case{5, 0.5f, 0.0f}, Case{6, 0.5f, 0.0f}}) {
        TLfo lfo;
        syncedAt1000(lfo, 0.25f, wave, offset);
        lfo.setSpeed(0.0f, 240.0f, 0.25f);  // standing still
        lfo.update(1.0f);
        EXPECT_NEAR(lfo.getValue(), value, 1e-6) << wave << " " << offset;
    }
    TLfo lfo;
    syncedAt1000(lfo, 0.2f, 1, 0.5f);
    lfo.setOn(false);
    const float before = lfo.getPos();
    lfo.update(1.0f);
    EXPECT_EQ(lfo.getValue(), 0.0f);
    EXPECT_NE(lfo.getPos(), before);  // off, but still running
}

TEST(Lfo, SampleAndHoldDrawsFifteenBitsAtEachCycleStart) {
    TLfo lfo;
    syncedAt1000(lfo, 0.018f, 5);  // 37 samples
    std::set<float> seen;
    float previous = 0.0f;
    for (int i = 0; i < 100000; ++i) {
        const float before = lfo.getPos();
        lfo.update(1.0f);
        const float v = lfo.getValue(), drawn = (v + 1.0f) * 32767.0f / 2.0f;
        ASSERT_TRUE(v == previous || lfo.getPos() < before) << "changed mid-cycle at " << i;
        ASSERT_TRUE(v == 0.0f || std::fabs(drawn - std::round(drawn)) < 2e-3) << v;  // 0: not drawn yet
        seen.insert(previous = v);
    }
    EXPECT_GT(seen.size(), 2500u);  // 2700 cycles
    EXPECT_TRUE(*seen.begin() < -0.99f && *seen.rbegin() > 0.99f && *seen.rbegin() <= 1.0f);
    lfo.reset();  // 0 until the next wrap
    lfo.update(1.0f);
    EXPECT_EQ(lfo.getValue(), 0.0f);
}
