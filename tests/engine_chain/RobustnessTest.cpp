// Hostile input and long running: non-finite samples, absurd tempos and
// sample rates, a missing time info, counters at the end of their range,
// and resets asked for while a take plays.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr VstInt32 kIntMax = std::numeric_limits<VstInt32>::max();

class Robustness : public ::testing::Test {
protected:
    IsolatedHome home;
    void SetUp() override {
        hostTime = {};
        setTransport(false);
    }
};

bool allFinite(const Stereo& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) return false;
    return true;
}

// Everything busy: filters, distortion, LFO on every target, dry and wet.
void busySettings(APlugin& plugin) {
    cleanTake(plugin, kAudioMode);
    const std::pair<VstInt32, float> rows[] = {
        {Param::FilterActive, 1.0f}, {Param::Distort, 0.6f},          {Param::FilterQ, 0.9f},
        {Param::LfoActive, 1.0f},    {Param::LfoSpeed, 0.5f},         {Param::LfoToVolume, 0.9f},
        {Param::LfoToPan, 0.1f},     {Param::LfoToFilterFrequency, 1.0f}, {Param::DryVolume, 0.7f},
    };
    for (const auto& [index, value] : rows) plugin.setParameter(index, value);
}

}  // namespace

TEST_F(Robustness, NonFiniteInputCountsAsSilenceAndLeavesNoTrace) {
    for (float filterMode : {0.0f, 1.0f}) {
        ChainPlugin poisoned, clean;
        busySettings(poisoned);
        busySettings(clean);
        poisoned.setParameter(Param::FilterMode, filterMode);
        clean.setParameter(Param::FilterMode, filterMode);
        Stereo in = noise(4 * kTakeLength, 21);
        Stereo silenced = in;
        for (std::size_t i = 50; i < in.size(); i += 997) {
            const float bad[] = {kNaN, kInf, -kInf};
            in.left[i] = bad[i % 3];
            in.right[i + 1] = bad[(i + 1) % 3];
            silenced.left[i] = silenced.right[i + 1] = 0.0f;
        }
        const Stereo a = render(poisoned, in);
        const Stereo b = render(clean, silenced);
        ASSERT_TRUE(allFinite(a));
        EXPECT_EQ(a.left, b.left) << filterMode;
        EXPECT_EQ(a.right, b.right) << filterMode;
    }
}

TEST_F(Robustness, HugeInputNeverReachesTheHostAsNaN) {
    ChainPlugin plugin;
    busySettings(plugin);
    plugin.setParameter(Param::Distort, 1.0f);
    plugin.setParameter(Param::WetVolume, 1.0f);
    Stereo in(3 * kTakeLength, 3.0e38f);
    for (std::size_t i = 1; i < in.size(); i += 2) in.left[i] = in.right[i] = -3.0e38f;
    const Stereo out = render(plugin, in);
    ASSERT_TRUE(allFinite(out));
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_LE(std::fabs(out.left[i]), 0.999f);
}

TEST_F(Robustness, AbsurdTempiAndRatesStayInRange) {
    const float rates[] = {10.0f, 1000.0f, 44100.0f, 768000.0f, 1.0e9f};
    const double tempi[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 0.0, 0.5, 1.0e-300, 300.0, 1.0e300};
    for (float rate : rates) {
        for (double bpm : tempi) {
            for (float extreme : {0.0f, 1.0f}) {
                ChainPlugin plugin;
                plugin.setSampleRate(rate);
                setTransport(true, bpm);
                cleanTake(plugin, kHostMode);
                for (VstInt32 index : {Param::ReverseTempoSync, Param::ReverseLength, Param::ReverseRetriggerHoldTime,
                                       Param::ReverseOffset, Param::LfoTempoSync, Param::LfoSpeed, Param::ReverseZoom})
                    plugin.setParameter(index, extreme);
                const Stereo out = render(plugin, noise(256, 5));
                SCOPED_TRACE(testing::Message() << "rate " << rate << " tempo " << bpm << " settings " << extreme);
                EXPECT_GE(plugin.getSampleRate(), 1000.0f);
                EXPECT_LE(plugin.getSampleRate(), 768000.0f);
                EXPECT_TRUE(std::isfinite(plugin.tempo) && plugin.tempo >= 1.0f);
                EXPECT_GT(plugin.holdSamples, 0);
                EXPECT_LT(plugin.holdSamples, kIntMax);
                EXPECT_GE(plugin.offsetSamples, 0);
                EXPECT_LE(plugin.offsetSamples, 768000);
                for (const TReverse& voice : plugin.reverse) {
                    EXPECT_GE(voice.length.load(), TReverse::MIN_LENGTH);
                    EXPECT_LE(voice.length.load(), TReverse::MAX_LENGTH);
                }
                EXPECT_LE(plugin.getHoldTime(), 64000.0f);
                const float window = plugin.getReverseDisplayLengthMS();
                EXPECT_TRUE(window >= 500.0f && std::isfinite(window));
                EXPECT_TRUE(std::isfinite(plugin.getReverseDisplayLengthQB()));
                EXPECT_TRUE(std::isfinite(plugin.getDisplayValue(0.0f, 100.0f, true)));
                EXPECT_TRUE(allFinite(out));
            }
        }
    }
}

TEST_F(Robustness, TempoFromTheHost) {
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::ReverseTempoSync, 1.0f);
    plugin.setParameter(Param::ReverseLength, 0.55f);  // "1/1"

    setTransport(false, 90.0, false);  // no valid tempo: 120 BPM, a bar is 2 s
    render(plugin, Stereo(32));
    EXPECT_EQ(plugin.tempo, 120.0f);
    EXPECT_EQ(plugin.reverse[0].length.load(), 88201);

    setTransport(false, 0.5);
    render(plugin, Stereo(32));
    EXPECT_EQ(plugin.tempo, 1.0f);

    setTransport(false, 90.0);
    render(plugin, Stereo(32));
    hostTime.answers = false;  // a host without time info leaves everything as it was
    setTransport(true, 200.0);
    render(plugin, Stereo(32));
    EXPECT_EQ(plugin.tempo, 90.0f);
}

TEST_F(Robustness, ParameterMappingOnTheTick) {
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    render(plugin, Stereo(16));
    plugin.takeParametersChangedByAudio();

    // The hold follows a longer take within 16 frames, and the editor hears of it.
    plugin.setParameter(Param::ReverseLength, 0.5f);
    plugin.setParameter(Param::ReverseOffset, 0.0009f);
    render(plugin, Stereo(16));
    EXPECT_EQ(plugin.getParameter(Param::ReverseRetriggerHoldTime), 0.5f);
    EXPECT_EQ(plugin.takeParametersChangedByAudio(), std::uint64_t{1} << Param::ReverseRetriggerHoldTime);
    EXPECT_EQ(plugin.offsetSamples, 0);

    plugin.setParameter(Param::ReverseOffset, 0.001f);  // about 1 ms
    render(plugin, Stereo(16));
    EXPECT_EQ(plugin.offsetSamples, 44);
}

TEST_F(Robustness, CounterWrapsWithTheScheduleIntactAndWaitingCountersStop) {
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    render(plugin, Stereo(64));
    plugin.sampleCounter = 0xFFFFFFFFu - 99u;  // 100 frames before the wrap
    plugin.setParameter(Param::Bypass, 1.0f);
    plugin.setParameter(Param::ReverseLength, 0.3f);
    plugin.holding = true;
    plugin.samplesSinceTrigger = kIntMax - 3;
    plugin.holdSamples = kIntMax - 1;
    plugin.silenceCounter = kIntMax - 3;

    render(plugin, Stereo(84));  // the last 16-frame tick before the wrap is 16 frames away
    EXPECT_EQ(plugin.getParameter(Param::ReverseRetriggerHoldTime), 0.3f);
    EXPECT_FALSE(plugin.bypassOn);
    render(plugin, Stereo(16));
    EXPECT_EQ(plugin.sampleCounter, 0u);
    EXPECT_FALSE(plugin.bypassOn);
    render(plugin, Stereo(1));  // counter 0: the 4096-frame refresh
    EXPECT_TRUE(plugin.bypassOn);
    EXPECT_EQ(plugin.samplesSinceTrigger, kIntMax);
    EXPECT_EQ(plugin.silenceCounter, kIntMax);
    EXPECT_TRUE(plugin.holding);
}

TEST_F(Robustness, SampleRateChangeErasesTakesButARepeatDoesNot) {
    const Stereo in = noise(kTakeLength + 200, 13);
    ChainPlugin reference, repeated, changed;
    for (ChainPlugin* p : {&reference, &repeated, &changed}) {
        cleanTake(*p, kManualMode);
        render(*p, Stereo(16));
        p->setParameter(Param::ReverseTrigger, 1.0f);
        render(*p, in);
    }
    repeated.setSampleRate(44100.0f);
    changed.setSampleRate(48000.0f);
    const Stereo a = render(reference, Stereo(500));
    const Stereo b = render(repeated, Stereo(500));
    const Stereo c = render(changed, Stereo(500));
    EXPECT_NE(a.left[300], 0.0f);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(*std::max_element(c.left.begin(), c.left.end()), 0.0f);
}

TEST_F(Robustness, ResetsAskedForElsewhereLandBeforeTheNextFrame) {
    ChainPlugin plugin;
    cleanTake(plugin, kManualMode);
    render(plugin, Stereo(16));
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    render(plugin, noise(kTakeLength + 100, 17));  // the take is playing
    plugin.resetReverse(0);
    plugin.resetReverse(1);
    plugin.resetReverse(7);  // no such voice: ignored
    plugin.resetEverything();
    EXPECT_TRUE(plugin.reverse[0].getPlaying());  // nothing happens behind the audio thread's back
    const Stereo out = render(plugin, Stereo(64));
    EXPECT_FALSE(plugin.reverse[0].getOn());
    EXPECT_EQ(*std::max_element(out.left.begin(), out.left.end()), 0.0f);
    EXPECT_NEAR(plugin.getReversePosition(), 64 * 1000.0f / 44100.0f, 1e-4f);  // restarted at the left
}
