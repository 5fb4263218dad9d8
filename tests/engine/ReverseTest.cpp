#include "engine/uReverse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "tests/support/RealtimeProbe.h"

namespace {

// A voice set up for a short, easy to follow take: 1000 Hz, 100 samples.
std::unique_ptr<TReverse> shortVoice() {
    auto voice = std::make_unique<TReverse>();
    voice->init(1000.0f);
    voice->setLength(0.0f, 0.0f);
    voice->setAttackDecay(0.0f, 0.0f);
    return voice;
}

struct Frame {
    float left;
    float right;
};

// Arms the voice, records input (n + 1, -(n + 1)) and returns every output.
std::vector<Frame> runTake(TReverse& voice, int frames, int offset = 0) {
    voice.clear();
    voice.setUsed(true);
    std::vector<Frame> out;
    for (int n = 0; n < frames; ++n) {
        Frame f{};
        voice.process(float(n + 1), -float(n + 1), f.left, f.right, offset);
        out.push_back(f);
    }
    return out;
}

long residentKiB() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    long size = 0, resident = 0;
    if (statm == nullptr || std::fscanf(statm, "%ld %ld", &size, &resident) != 2) resident = -1;
    if (statm != nullptr) std::fclose(statm);
    return resident * 4;
}

}  // namespace

TEST(ReverseLength, UnsyncedScaleAndClamps) {
    TReverse voice;
    voice.init(44100.0f);
    voice.setLength(0.0f, 0.0f);
    // log2 100 stored as a float lands a hair under 100 ms: 4409.9995 samples.
    EXPECT_EQ(voice.length, 4409);
    voice.setLength(1.0f, 0.0f);
    EXPECT_EQ(voice.length, TReverse::MAX_LENGTH);  // 64 s would be 2,822,400

    voice.init(1000.0f);
    voice.setLength(0.0f, 0.0f);
    EXPECT_EQ(voice.length, 100);
    voice.setLength(-5.0f, 0.0f);
    EXPECT_EQ(voice.length, 100);
    voice.setLength(std::numeric_limits<float>::quiet_NaN(), 0.0f);
    EXPECT_EQ(voice.length, 100);

    voice.init(500.0f);  // below the floor
    EXPECT_EQ(voice.sampleRate, 1000.0f);
    voice.init(std::numeric_limits<float>::infinity());
    EXPECT_EQ(voice.sampleRate, 1000.0f);
    voice.init(1e30f);
    voice.setLength(0.0f, 0.0f);
    EXPECT_EQ(voice.length, TReverse::MAX_LENGTH);
}

TEST(ReverseLength, SyncedFollowsTempoAndSwitchesBack) {
    TReverse voice;
    voice.init(44100.0f);
    voice.setTempoSynced(true);
    voice.setLength(0.55f, 1.0f);  // one whole note at 120 BPM
    EXPECT_EQ(voice.length, 88201);

    // Same arguments again, but the tempo moved: the length must follow.
    voice.setTempo(60.0f);
    voice.setLength(0.55f, 1.0f);
    EXPECT_EQ(voice.length, 176401);

    voice.setTempo(1.0f);
    voice.setLength(0.55f, 8.0f);
    EXPECT_EQ(voice.length, TReverse::MAX_LENGTH);
    voice.setTempo(0.0f);  // treated as 1 BPM
    EXPECT_FLOAT_EQ(voice.samplesPerBar, 44100.0f * 240.0f);
    voice.setTempo(1e38f);
    voice.setLength(0.55f, 0.0625f);
    EXPECT_EQ(voice.length, 100);

    voice.setTempo(120.0f);
    voice.setTempoSynced(false);
    voice.setLength(0.55f, 8.0f);
    EXPECT_EQ(voice.length, int(float(std::pow(2.0, double(0.55f * TReverse::REVERSE_MAX_TIME_LOG +
                                                         TReverse::REVERSE_MIN_TIME_LOG))) /
                                1000.0f * 44100.0f));
}

TEST(ReverseEnvelope, RampTimesAndCap) {
    TReverse voice;
    voice.init(44100.0f);
    voice.setLength(1.0f, 0.0f);
    EXPECT_EQ(voice.getEnvelopeMult(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(voice.getEnvelopeMult(0.5f), 1.0f / (31.0f / 1000.0f * 44100.0f));
    EXPECT_FLOAT_EQ(voice.getEnvelopeMult(1.0f), 1.0f / (1023.0f / 1000.0f * 44100.0f));

    voice.init(1000.0f);
    voice.setTempoSynced(true);
    voice.setTempo(240.0f);  // 1000 samples per bar
    voice.setLength(0.0f, 0.999f);  // 1000 samples
    ASSERT_EQ(voice.length, 1000);
    voice.setAttackDecay(1.0f, 0.0f);
    EXPECT_FLOAT_EQ(voice.attackMult, 1.0f / 900.0f);
    EXPECT_EQ(voice.decayMult, 1.0f);

    // Shortening the take tightens the cap even though the envelope values stay.
    voice.setLength(0.0f, 0.0f);
    voice.setAttackDecay(1.0f, 0.0f);
    EXPECT_FLOAT_EQ(voice.attackMult, 1.0f / 90.0f);
}

TEST(ReversePlayback, PlaysTheTakeBackwardsSampleForSample) {
    auto voice = shortVoice();
    const int pass = voice->length - 1;  // 99 samples per pass
    const auto out = runTake(*voice, 2 * pass + 10);

    for (int n = 0; n < pass; ++n) {
        ASSERT_EQ(out[n].left, 0.0f) << n;
        ASSERT_EQ(out[n].right, 0.0f) << n;
    }
    // The last sample recorded comes first, the trigger moment last.
    for (int p = 0; p < pass; ++p) {
        ASSERT_EQ(out[pass + p].left, float(pass - p)) << p;
        ASSERT_EQ(out[pass + p].right, -float(pass - p)) << p;
    }
    for (int n = 2 * pass; n < int(out.size()); ++n) ASSERT_EQ(out[n].left, 0.0f) << n;
    EXPECT_TRUE(voice->getFinished());
    EXPECT_FALSE(voice->getOn());
}

TEST(ReversePlayback, StatesAndTimesAlongATake) {
    auto voice = shortVoice();
    EXPECT_FALSE(voice->getOn());
    EXPECT_FLOAT_EQ(voice->getPosition(), 100.0f);  // not started: the whole length

    runTake(*voice, 98);
    EXPECT_TRUE(voice->getOn());
    EXPECT_TRUE(voice->getRecording());
    EXPECT_FALSE(voice->getPlaying());

    float l, r;
    voice->process(0.0f, 0.0f, l, r, 0);  // 99th sample ends the recording pass
    EXPECT_TRUE(voice->getPlaying());
    EXPECT_FALSE(voice->getRecording());
    EXPECT_FLOAT_EQ(voice->getPosition(), 100.0f);
    voice->process(0.0f, 0.0f, l, r, 0);
    EXPECT_FLOAT_EQ(voice->getPosition(), 99.0f);
    EXPECT_FLOAT_EQ(voice->getLength(), 100.0f);

    voice->clear();
    EXPECT_FALSE(voice->getOn());
    EXPECT_EQ(voice->phase, 0);
    EXPECT_EQ(voice->position, 0);
}

TEST(ReversePlayback, UnusedVoiceIsSilentAndStill) {
    auto voice = shortVoice();
    for (int n = 0; n < 500; ++n) {
        float l = 1.0f, r = 1.0f;
        voice->process(0.7f, 0.7f, l, r, 0);
        ASSERT_EQ(l, 0.0f);
        ASSERT_EQ(r, 0.0f);
    }
    EXPECT_EQ(voice->position, 0);
    EXPECT_EQ(voice->phase, 0);
}

TEST(ReversePlayback, OffsetEndsTheTakeEarly) {
    auto voice = shortVoice();
    const int pass = voice->length - 1;
    const int k = 10;
    const auto out = runTake(*voice, 2 * pass, k);
    for (int p = 0; p < pass; ++p) {
        const float expected = p < pass - k ? float(pass - k - p) : 0.0f;
        ASSERT_EQ(out[pass + p].left, expected) << p;
    }
    // Offsets far outside the buffer read nothing rather than wrapping.
    for (int offset : {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        for (const Frame& f : runTake(*voice, 2 * pass, offset)) ASSERT_EQ(f.left, 0.0f);
    }
}

TEST(ReversePlayback, AttackIsSquaredDecayLinear) {
    auto voice = std::make_unique<TReverse>();
    voice->init(1000.0f);
    voice->setTempoSynced(true);
    voice->setTempo(240.0f);
    voice->setLength(0.0f, 0.999f);  // 1000 samples
    voice->setAttackDecay(0.5f, 0.5f);  // 31 ms = 31 samples each
    const float am = voice->attackMult;
    const float dm = voice->decayMult;
    ASSERT_FLOAT_EQ(am, 1.0f / 31.0f);

    voice->clear();
    voice->setUsed(true);
    float l, r;
    for (int n = 0; n < 999; ++n) voice->process(1.0f, 1.0f, l, r, 0);
    std::vector<float> gains;
    for (int n = 0; n < 999; ++n) {
        voice->process(0.0f, 0.0f, l, r, 0);
        gains.push_back(l);
    }
    EXPECT_FLOAT_EQ(gains[0], am * am);  // (0 + 1) * attackMult, squared
    EXPECT_FLOAT_EQ(gains[9], (10 * am) * (10 * am));
    EXPECT_EQ(gains[500], 1.0f);
    EXPECT_FLOAT_EQ(gains[998], dm);  // d never reaches zero
    EXPECT_FLOAT_EQ(gains[990], 9 * dm);
}

TEST(ReversePlayback, LengthBelowPositionWaitsAndSaturates) {
    auto voice = shortVoice();
    voice->setLength(0.5f, 0.0f);  // about 2.5 s
    runTake(*voice, 2000);
    voice->setLength(0.0f, 0.0f);  // 100, below the position
    float l, r;
    for (int n = 0; n < 1000; ++n) voice->process(1.0f, 1.0f, l, r, 0);
    EXPECT_TRUE(voice->getRecording());
    EXPECT_FALSE(voice->getFinished());

    // A playback pass that has waited for ever stays put at the top, silent.
    voice->phase = 1;
    voice->position = std::numeric_limits<int32_t>::max() - 1;
    for (int n = 0; n < 4; ++n) {
        voice->process(1.0f, 1.0f, l, r, 0);
        ASSERT_EQ(voice->position, std::numeric_limits<int32_t>::max());
        ASSERT_EQ(l, 0.0f);
    }
}

TEST(ReverseMemory, ZeroAndInitEraseEverythingWritten) {
    TReverse voice;
    voice.init(44100.0f);
    voice.setLength(0.2f, 0.0f);
    runTake(voice, voice.length);  // records length - 1 samples
    const int written = voice.length - 1;
    ASSERT_EQ(voice.bufferLeft[written - 1], float(written));

    voice.zero();
    EXPECT_FALSE(voice.getOn());
    for (int i = 0; i < TReverse::BUFFER_SIZE; ++i) {
        ASSERT_EQ(voice.bufferLeft[i], 0.0f) << i;
        ASSERT_EQ(voice.bufferRight[i], 0.0f) << i;
    }

    // A take longer than the previous one, then a rate change.
    voice.setLength(0.4f, 0.0f);
    runTake(voice, voice.length);
    voice.init(48000.0f);
    for (int i = 0; i < TReverse::BUFFER_SIZE; ++i) ASSERT_EQ(voice.bufferLeft[i], 0.0f) << i;

    // A position forced to the end of the buffer still only writes inside it.
    voice.setUsed(true);
    voice.position = std::numeric_limits<int32_t>::max();
    float l, r;
    voice.process(3.0f, 4.0f, l, r, 0);
    EXPECT_EQ(voice.bufferLeft[TReverse::BUFFER_SIZE - 1], 3.0f);
    voice.zero();
    EXPECT_EQ(voice.bufferLeft[TReverse::BUFFER_SIZE - 1], 0.0f);
}

TEST(ReverseMemory, UnusedBuffersCostNoMemory) {
    const long before = residentKiB();
    ASSERT_GT(before, 0);
    // Construct and destroy repeatedly, as a host does with instances: the
    // sample memory must never be cleared by hand.
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<TReverse>> voices;
        for (int v = 0; v < 4; ++v) {
            voices.push_back(std::make_unique<TReverse>());
            voices.back()->init(44100.0f);
            voices.back()->zero();
        }
        EXPECT_LT(residentKiB() - before, 2048) << "round " << round;  // 64 MiB reserved
    }
}

TEST(ReverseRealtime, ProcessingAndSettersAllocateNothing) {
    auto voice = shortVoice();
    tidewalker::testing::RealtimeProbe probe;
    voice->setUsed(true);
    float l, r;
    for (int n = 0; n < 1000; ++n) {
        voice->setTempo(100.0f + float(n % 7));
        voice->setLength(float(n % 5) * 0.01f, 0.25f);
        voice->setAttackDecay(0.1f, 0.2f);
        voice->process(0.1f, 0.2f, l, r, 3);
    }
    voice->zero();
    EXPECT_EQ(probe.counts().allocations, 0u);
    EXPECT_EQ(probe.counts().locks, 0u);
}
