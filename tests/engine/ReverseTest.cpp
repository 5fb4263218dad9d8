#include "engine/uReverse.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int32_t maxInt = std::numeric_limits<int32_t>::max();

// At 1000 Hz and 240 BPM a synced bar is 1000 samples: lengths are easy to read.
std::unique_ptr<TReverse> voiceOf(float bars, float attack = 0.0f, float decay = 0.0f) {
    auto voice = std::make_unique<TReverse>();
    voice->init(1000.0f);
    voice->setTempoSynced(true);
    voice->setTempo(240.0f);
    voice->setLength(0.0f, bars);
    voice->setAttackDecay(attack, decay);
    return voice;
}

// Arms the voice, feeds (n + 1, -(n + 1)) and returns the left outputs.
std::vector<float> runTake(TReverse& voice, int frames, int32_t offset = 0) {
    voice.clear();
    voice.setUsed(true);
    std::vector<float> out(frames);
    for (int n = 0; n < frames; ++n) {
        float right;
        voice.process(float(n + 1), -float(n + 1), out[n], right, offset);
    }
    return out;
}

}  // namespace

TEST(Reverse, LengthsAndRampsAreClamped) {
    TReverse voice;
    voice.init(44100.0f);
    voice.setLength(0.0f, 0.0f);
    EXPECT_EQ(voice.length, 4409);  // log2 100 as a float is a hair under 100 ms
    voice.setLength(1.0f, 0.0f);
    EXPECT_EQ(voice.length, TReverse::MAX_LENGTH);  // not 2,822,400
    voice.setTempoSynced(true);
    voice.setLength(1.0f, 1.0f);
    EXPECT_EQ(voice.length, 88201);
    voice.setTempo(1e38f);  // same arguments at a new tempo must be redone
    voice.setLength(1.0f, 1.0f);
    EXPECT_EQ(voice.length, 100);
    voice.init(std::numeric_limits<float>::quiet_NaN());  // counts as 1000 Hz
    voice.setLength(std::numeric_limits<float>::quiet_NaN(), 0.0f);
    EXPECT_EQ(voice.length, 100);

    auto capped = voiceOf(0.999f, 1.0f, 0.5f);  // 1000 samples
    EXPECT_FLOAT_EQ(capped->attackMult, 1.0f / 900.0f);
    EXPECT_FLOAT_EQ(capped->decayMult, 1.0f / 31.0f);
    capped->setLength(0.0f, 0.1f);  // a shorter take tightens the cap
    capped->setAttackDecay(1.0f, 0.5f);
    EXPECT_FLOAT_EQ(capped->attackMult, 1.0f / (0.9f * 101.0f));
}

TEST(Reverse, PlaysTheTakeBackwardsSampleForSample) {
    auto voice = voiceOf(0.1f);  // 101 samples: two passes of 100
    const int pass = voice->length - 1;
    const auto out = runTake(*voice, 2 * pass + 5);
    for (int n = 0; n < 2 * pass + 5; ++n) {
        const bool playing = n >= pass && n < 2 * pass;
        ASSERT_EQ(out[n], playing ? float(2 * pass - n) : 0.0f) << n;
    }
    EXPECT_TRUE(voice->getFinished() && !voice->getOn());

    // An offset ends the reversed take early; huge ones read nothing at all.
    const auto early = runTake(*voice, 2 * pass, 10);
    for (int p = 0; p < pass; ++p) ASSERT_EQ(early[pass + p], p < pass - 10 ? float(pass - 10 - p) : 0.0f);
    for (int32_t offset : {maxInt, -maxInt})
        for (float v : runTake(*voice, 2 * pass, offset)) ASSERT_EQ(v, 0.0f);

    // With ramps: the attack is squared, the decay linear and never zero.
    voice = voiceOf(0.999f, 0.5f, 0.5f);
    const auto shaped = runTake(*voice, 2 * 999);
    const float am = voice->attackMult, dm = voice->decayMult;
    EXPECT_FLOAT_EQ(shaped[999 + 9] / 990.0f, 100 * am * am);
    EXPECT_EQ(shaped[999 + 500], 499.0f);
    EXPECT_FLOAT_EQ(shaped[999 + 998], dm);
}

TEST(Reverse, StuckVoiceWaitsWithoutOverflow) {
    auto voice = voiceOf(2.0f);
    runTake(*voice, 1500);
    voice->setLength(0.0f, 0.1f);  // below the position: this pass never ends
    float l, r;
    for (int n = 0; n < 1000; ++n) voice->process(1.0f, 1.0f, l, r, 0);
    EXPECT_TRUE(voice->getRecording());
    voice->phase = 1;
    voice->position = maxInt - 1;
    for (int n = 0; n < 3; ++n) voice->process(1.0f, 1.0f, l, r, 0);
    EXPECT_EQ(voice->position, maxInt);
    EXPECT_EQ(l, 0.0f);
}

// Only written parts are cleared, so every write must be tracked: one at the
// top of the buffer too, where recording clamps a runaway position.
TEST(Reverse, ErasingClearsEverythingWritten) {
    auto voice = voiceOf(30.0f);
    runTake(*voice, 20000);
    voice->position = maxInt;
    float l, r;
    voice->process(1.0f, 1.0f, l, r, 0);
    voice->zero();
    for (int i = 0; i < TReverse::BUFFER_SIZE; ++i) ASSERT_EQ(voice->bufferLeft[i] + voice->bufferRight[i], 0.0f);
    runTake(*voice, 30000);
    voice->init(48000.0f);
    for (int i = 0; i < TReverse::BUFFER_SIZE; ++i) ASSERT_EQ(voice->bufferLeft[i] + voice->bufferRight[i], 0.0f);
}
