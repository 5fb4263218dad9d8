// Edge cases of the mix, the display data and hostile hosts: gains and
// switches mid-take, display windows and columns, non-finite input, absurd
// tempi and rates, counter wrap, resets asked for from other threads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plugin/VendorRequests.h"
#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

constexpr VstInt32 kIntMax = std::numeric_limits<VstInt32>::max();

class Edges : public ::testing::Test {
protected:
    IsolatedHome home;
    ChainPlugin plugin;
    void SetUp() override {
        setTransport(false);
        hostAnswers = true;
    }
    void takeAndHold(std::int32_t takeSamples, VstInt32 hold) {
        plugin.chain.reverse[0].length.store(takeSamples);
        plugin.chain.holdSamples = hold;
    }
};

}  // namespace

TEST_F(Edges, GainsSwitchesAndPanInTheMiddleOfATake) {
    struct Case {
        std::vector<std::pair<VstInt32, float>> settings;
        float recorded, playing, left, right;  // levels during the take and its playback; expected output
    };
    const float plus10dB = static_cast<float>(std::sqrt(10.0));
    for (const auto& [settings, recorded, playing, left, right] : {
             Case{{}, 0.3f, 0.2f, 0.3f, 0.3f},  // dry off leaves no residue
             Case{{{Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.5f, 0.5f},
             Case{{{Param::DryVolume, 0.5f}}, 0.3f, 0.2f, 0.32f, 0.32f},  // -20 dB
             Case{{{Param::WetVolume, 1.0f}}, 0.05f, 0.0f, 0.05f * plus10dB, 0.05f * plus10dB},
             Case{{{Param::WetVolume, 1.0f}}, 0.5f, 0.0f, 0.999f, 0.999f},
             Case{{{Param::WetVolume, 1.0f}}, -0.5f, 0.0f, -0.999f, -0.999f},
             Case{{{Param::Mute, 1.0f}, {Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.2f, 0.2f},
             Case{{{Param::DryMute, 1.0f}, {Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.3f, 0.3f},
             Case{{{Param::Bypass, 1.0f}}, 0.3f, 1.5f, 1.5f, 1.5f},
             Case{{{Param::Distort, 1.0f}}, 0.3f, 0.0f, 0.3f, 0.3f},  // no filter section, no drive
             // The LFO held at +1 (a square started half-way, standing still) pans fully right.
             Case{{{Param::LfoActive, 1.0f}, {Param::LfoWave, 0.8f}, {Param::LfoPhase, 2.0f / 3.0f},
                   {Param::LfoSpeed, 0.0f}, {Param::LfoToPan, 1.0f}},
                  0.3f, 0.0f, 0.0f, 0.3f}}) {
        ChainPlugin p;
        cleanTake(p, kAudioMode);
        for (const auto& [index, value] : settings) p.setParameter(index, value);
        Stereo in(100 + 2 * kTakeLength, playing);
        for (auto* channel : {&in.left, &in.right}) {
            std::fill_n(channel->begin(), 100, 0.0f);
            std::fill_n(channel->begin() + 100, kTakeLength - 1, recorded);
        }
        const Stereo out = render(p, in);
        EXPECT_FLOAT_EQ(out.left[kTakeLength + 1100], left) << settings.size() << " settings, " << recorded;
        EXPECT_FLOAT_EQ(out.right[kTakeLength + 1100], right) << settings.size() << " settings, " << recorded;
    }
}

TEST_F(Edges, DisplayWindowAndColumns) {
    plugin.setParameter(Param::ReverseZoom, 0.0f);
    plugin.setParameter(Param::ReverseTempoSync, 0.0f);
    takeAndHold(88200, 176400);  // 2 s take, 4 s hold
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 4000.0f);
    plugin.setParameter(Param::ReverseZoom, 1.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 63999.0f);
    plugin.setParameter(Param::ReverseZoom, 0.0f);
    takeAndHold(441, 4410);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 500.0f);
    plugin.chain.displayIn[0] = 0.7f;
    EXPECT_EQ(plugin.getDisplayValue(0.0f, 250.0f, true), 0.7f);
    for (auto [from, to] : {std::pair{std::nanf(""), 500.0f}, {-5.0f, 500.0f}, {0.0f, 10000.0f}, {0.0f, 0.0f}})
        EXPECT_EQ(plugin.getDisplayValue(from, to, true), 0.0f) << from << " to " << to;  // bad or empty ranges

    plugin.setParameter(Param::ReverseTempoSync, 1.0f);
    takeAndHold(441, 88641);  // 2010 ms, 1.005 bars at 120 BPM
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 2010.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthQuantized(), 4000.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthQB(), 8.0f);
    plugin.chain.tempo = 100.0f;
    plugin.setParameter(Param::ReverseZoom, 1.0f);
    takeAndHold(441, 176400);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 64800.0f);  // whole bars past the 64,000 slots
    plugin.chain.displayIn[63999] = 0.25f;
    EXPECT_EQ(plugin.getDisplayValue(98.0f, 100.0f, true), 0.25f);
    EXPECT_EQ(plugin.getDisplayValue(99.0f, 100.0f, true), 0.0f);
}

TEST_F(Edges, DisplayWrapClearsOnlyWhatItsPassWrote) {
    // At the lowest rate the 500 ms window wraps every 500 frames; each wrap
    // must clear what the pass wrote, not the 64,000 slots, and leave nothing behind.
    plugin.setSampleRate(1000.0f);
    cleanTake(plugin, kAudioMode);
    render(plugin, noise(1700, 9));
    const float position = plugin.getReversePosition();
    ASSERT_EQ(plugin.getReverseDisplayLengthMS(), 500.0f);
    ASSERT_TRUE(position > 100.0f && position < 500.0f) << position;  // the fourth pass
    const auto pen = static_cast<std::int32_t>(position);
    EXPECT_LE(plugin.chain.displayWritten, pen + 1);  // what the next wrap will clear
    for (std::int32_t slot = pen; slot < TSignalChain::kDisplaySlots; ++slot)
        ASSERT_TRUE(plugin.chain.displayIn[slot] == 0.0f && plugin.chain.displayOut[slot] == 0.0f) << slot;
    EXPECT_GT(plugin.getDisplayValue(0.0f, 100.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(99.0f, 100.0f, true), 0.0f);
}

TEST_F(Edges, SilenceAndTheEditorMailbox) {
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::ReverseTriggerThreshold, 1.0f);  // no takes
    render(plugin, Stereo(100, 0.001f));
    render(plugin, Stereo(44099));  // twice the 500 ms window is 44,100 frames
    EXPECT_FALSE(plugin.getSilent());
    render(plugin, Stereo(1901));  // up to frame 46,100 ...
    EXPECT_TRUE(plugin.getSilent());
    EditorMailbox& mailbox = plugin.getEditorMailbox();
    float levels[4];
    EXPECT_FALSE(mailbox.takeVuLevels(levels));  // ... without an editor, nothing handed over

    plugin.setEditorOpen(true);
    plugin.programChanged = true;
    render(plugin, Stereo(3053, 0.5f));  // ends on frame 49,152, a 4096 tick
    EXPECT_TRUE(mailbox.takeResumeRequest());
    EXPECT_FALSE(mailbox.takeResumeRequest());
    ASSERT_TRUE(mailbox.takeVuLevels(levels));
    EXPECT_FALSE(mailbox.takeVuLevels(levels));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(levels[i], 4.0f * plugin.chain.vuFollowers[i]) << i;
    EXPECT_GT(levels[0], 0.0f);
}

TEST_F(Edges, NonFiniteInputCountsAsSilenceAndLeavesNoTrace) {
    ChainPlugin clean;
    for (APlugin* p : {static_cast<APlugin*>(&plugin), static_cast<APlugin*>(&clean)}) {
        cleanTake(*p, kAudioMode);
        for (VstInt32 on : {Param::FilterActive, Param::LfoActive, Param::LfoToFilterFrequency, Param::DryVolume})
            p->setParameter(on, 1.0f);
        p->setParameter(Param::Distort, 0.6f);
        p->setParameter(Param::FilterQ, 0.9f);
    }
    Stereo in = noise(4 * kTakeLength, 21), silenced = in;
    const float bad[] = {std::nanf(""), INFINITY, -INFINITY};
    for (std::size_t i = 50; i < in.size(); i += 997) {
        in.left[i] = bad[i % 3];
        in.right[i + 1] = bad[(i + 1) % 3];
        silenced.left[i] = silenced.right[i + 1] = 0.0f;
    }
    const Stereo a = render(plugin, in), b = render(clean, silenced);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    EXPECT_LE(peak(a.left), 0.999f);  // finite, since NaN would not compare
}

TEST_F(Edges, AbsurdTempiAndRatesStayInRange) {
    for (float rate : {10.0f, 768000.0f, 1.0e9f}) {
        for (double bpm : {std::nan(""), HUGE_VAL, 0.0, 0.5, 1.0e300}) {
            for (float extreme : {0.0f, 1.0f}) {
                ChainPlugin p;
                p.setSampleRate(rate);
                setTransport(true, bpm);
                cleanTake(p, kHostMode);
                for (VstInt32 index : {Param::ReverseTempoSync, Param::ReverseLength, Param::ReverseRetriggerHoldTime,
                                       Param::ReverseOffset, Param::LfoTempoSync, Param::LfoSpeed, Param::ReverseZoom})
                    p.setParameter(index, extreme);
                const Stereo out = render(p, noise(64, 5));
                SCOPED_TRACE(testing::Message() << rate << " Hz, " << bpm << " BPM, settings at " << extreme);
                EXPECT_TRUE(p.getSampleRate() >= 1000.0f && p.getSampleRate() <= 768000.0f);
                EXPECT_TRUE(p.chain.tempo >= 1.0f && p.chain.tempo <= 1.0e6f);
                EXPECT_TRUE(p.chain.holdSamples > 0 && p.chain.holdSamples < kIntMax);
                EXPECT_TRUE(p.chain.offsetSamples >= 0 && p.chain.offsetSamples <= 768000);
                EXPECT_TRUE(p.getReverseDisplayLengthMS() >= 500.0f && std::isfinite(p.getReverseDisplayLengthQB()));
                EXPECT_LE(peak(out.left), 0.999f);
            }
        }
    }
    setTransport(false, 90.0, false);  // no valid tempo: 120 BPM, and "1/1" lasts 2 s
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::ReverseTempoSync, 1.0f);
    plugin.setParameter(Param::ReverseLength, 0.55f);
    render(plugin, Stereo(32));
    EXPECT_EQ(plugin.chain.reverse[0].length.load(), 88201);
    hostAnswers = false;  // no time info at all: the tempo stays
    setTransport(false, 200.0);
    render(plugin, Stereo(32));
    EXPECT_EQ(plugin.chain.tempo, 120.0f);
}

TEST_F(Edges, CounterWrapsWithTheScheduleIntactAndWaitingCountersStop) {
    cleanTake(plugin, kAudioMode);
    render(plugin, Stereo(64));
    plugin.chain.sampleCounter = 0xFFFFFFFFu - 99u;
    plugin.setParameter(Param::Bypass, 1.0f);
    plugin.chain.holding = true;
    plugin.chain.holdSamples = kIntMax - 1;
    plugin.chain.samplesSinceTrigger = plugin.chain.silenceCounter = kIntMax - 3;
    render(plugin, Stereo(100));
    EXPECT_EQ(plugin.chain.sampleCounter, 0u);
    EXPECT_FALSE(plugin.chain.bypassOn);
    render(plugin, Stereo(1));  // counter 0: the 4096-frame refresh
    EXPECT_TRUE(plugin.chain.bypassOn);
    EXPECT_EQ(plugin.chain.samplesSinceTrigger, kIntMax);
    EXPECT_EQ(plugin.chain.silenceCounter, kIntMax);
}

TEST_F(Edges, ResetsAskedForElsewhereLandBeforeTheNextFrame) {
    cleanTake(plugin, kManualMode);
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    render(plugin, noise(kTakeLength + 100, 17));  // the take plays
    plugin.resetReverse(0);
    plugin.resetReverse(7);  // no such voice
    plugin.resetEverything();
    EXPECT_TRUE(plugin.chain.reverse[0].getPlaying());
    EXPECT_EQ(peak(render(plugin, Stereo(64)).left), 0.0f);
}

TEST_F(Edges, EachInstanceDrawsItsOwnRandomStepsUnlessTheSeedIsFixed) {
    const auto renderWithSeed = [](const VstIntPtr* seed) {
        ChainPlugin p;
        if (seed) {
            EXPECT_EQ(p.dispatcher(effVendorSpecific, kRandomSeedRequest, *seed, nullptr, 0.0f), 1);
        }
        cleanTake(p, kAudioMode);
        for (VstInt32 on : {Param::LfoActive, Param::LfoWave, Param::LfoSpeed, Param::LfoToVolume})  // fast S&H
            p.setParameter(on, 1.0f);
        return render(p, noise(4 * kTakeLength, 3)).left;
    };
    EXPECT_NE(renderWithSeed(nullptr), renderWithSeed(nullptr));
    const VstIntPtr seed = 9;
    EXPECT_EQ(renderWithSeed(&seed), renderWithSeed(&seed));
}
