// What the editor polls: the display window, column values, the picture's
// restart after silence, the silent state, and the mailbox through which the
// audio thread hands over meters and refresh requests.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

class Display : public ::testing::Test {
protected:
    IsolatedHome home;
    ChainPlugin plugin;
    void SetUp() override {
        hostTime = {};
        setTransport(false);
        plugin.setParameter(Param::ReverseZoom, 0.0f);
        plugin.setParameter(Param::ReverseTempoSync, 0.0f);
    }
    // A take and a hold of the given lengths, as if the engine had set them.
    void takeAndHold(std::int32_t takeSamples, VstInt32 holdSamples) {
        plugin.reverse[0].length.store(takeSamples);
        plugin.holdSamples = holdSamples;
    }
};

}  // namespace

TEST_F(Display, WindowFollowsTakeHoldAndZoom) {
    takeAndHold(88200, 176400);  // 2 s take, 4 s hold
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 4000.0f);
    EXPECT_EQ(plugin.getHoldTime(), 4000.0f);
    plugin.setParameter(Param::ReverseZoom, 1.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 63999.0f);

    plugin.setParameter(Param::ReverseZoom, 0.0f);
    takeAndHold(88200, 44100);  // a hold shorter than two takes: the takes decide
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 4000.0f);
    takeAndHold(441, 4410);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 500.0f);
    takeAndHold(441, std::numeric_limits<VstInt32>::max() - 1);
    EXPECT_EQ(plugin.getHoldTime(), 64000.0f);
}

TEST_F(Display, SyncedWindowsBecomeWholeBars) {
    plugin.setParameter(Param::ReverseTempoSync, 1.0f);
    takeAndHold(441, 88641);  // 2010 ms: 1.005 bars at 120 BPM
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 2010.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthQuantized(), 4000.0f);
    EXPECT_EQ(plugin.getReverseDisplayLengthQB(), 8.0f);

    plugin.tempo = 100.0f;
    plugin.setParameter(Param::ReverseZoom, 1.0f);
    takeAndHold(441, 176400);
    EXPECT_EQ(plugin.getReverseDisplayLengthMS(), 64800.0f);  // quantised past the arrays
}

TEST_F(Display, ColumnsReadTheirSlotsAndNeverPastTheArrays) {
    takeAndHold(441, 4410);  // 500 ms window
    plugin.displayOut[3] = 0.1f;
    plugin.displayIn[0] = 0.7f;
    EXPECT_EQ(plugin.getDisplayValue(3.0f, 500.0f, false), 0.1f);
    EXPECT_EQ(plugin.getDisplayValue(3.0f, 500.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(0.0f, 250.0f, true), 0.7f);     // slots 0 and 1
    EXPECT_EQ(plugin.getDisplayValue(0.0f, 10000.0f, true), 0.0f);   // empty range
    EXPECT_EQ(plugin.getDisplayValue(-5.0f, 500.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(std::nanf(""), 500.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(0.0f, 0.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(0.0f, -1.0f, true), 0.0f);

    plugin.setParameter(Param::ReverseTempoSync, 1.0f);
    plugin.setParameter(Param::ReverseZoom, 1.0f);
    plugin.tempo = 100.0f;
    takeAndHold(441, 176400);  // 64,800 ms window over 64,000 slots
    plugin.displayIn[63999] = 0.25f;
    EXPECT_EQ(plugin.getDisplayValue(98.0f, 100.0f, true), 0.25f);
    EXPECT_EQ(plugin.getDisplayValue(99.0f, 100.0f, true), 0.0f);
    EXPECT_EQ(plugin.getDisplayValue(1.0e9f, 100.0f, true), 0.0f);
}

TEST_F(Display, PictureRestartsOnlyAfterLongSilence) {
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::ReverseTriggerThreshold, 1.0f);  // no takes: only the picture moves
    plugin.setParameter(Param::ReverseZoom, 1.0f);              // a window longer than the silence
    render(plugin, Stereo(441, 0.5f));
    const Stereo quiet(50000);
    render(plugin, quiet);
    render(plugin, Stereo(1, 0.5f));  // 50,000 quiet frames are not enough
    EXPECT_EQ(plugin.displayIn[5], 0.5f);
    EXPECT_GT(plugin.getRecordPosition(), 1000.0f);

    render(plugin, quiet);
    render(plugin, Stereo(1));  // the 50,001st
    render(plugin, Stereo(1, 0.5f));
    EXPECT_EQ(plugin.displayIn[5], 0.0f);
    EXPECT_EQ(plugin.displayIn[0], 0.5f);
    EXPECT_FLOAT_EQ(plugin.getReversePosition(), 1000.0f / 44100.0f);
}

TEST_F(Display, SilentAfterTwiceTheWindowOfSilenceInAudioMode) {
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::ReverseTriggerThreshold, 1.0f);
    render(plugin, Stereo(100, 0.001f));
    EXPECT_FALSE(plugin.getSilent());
    render(plugin, Stereo(44099));  // the window is 500 ms: 44,100 frames make it silent
    EXPECT_FALSE(plugin.getSilent());
    render(plugin, Stereo(1));
    EXPECT_TRUE(plugin.getSilent());

    plugin.setParameter(Param::ReverseTriggerMode, kHostMode);
    setTransport(true);
    render(plugin, Stereo(16));
    EXPECT_FALSE(plugin.getSilent());
    setTransport(false);
    render(plugin, Stereo(16));
    EXPECT_TRUE(plugin.getSilent());
}

TEST_F(Display, ReverseLengthFollowsTheHeardVoice) {
    plugin.reverse[0].length.store(4410);
    plugin.reverse[1].length.store(8820);
    EXPECT_EQ(plugin.getReverseLength(), 100.0f);  // nothing plays: the first voice
    for (TReverse& voice : plugin.reverse) {
        voice.used.store(true);
        voice.started.store(true);
    }
    plugin.reverseToUse = 1;  // both play: the older one, armed first
    EXPECT_EQ(plugin.getReverseLength(), 100.0f);
    plugin.reverseToUse = 0;
    EXPECT_EQ(plugin.getReverseLength(), 200.0f);
}

TEST_F(Display, MetersAndRefreshReachAnOpenEditorThroughTheMailbox) {
    cleanTake(plugin, kAudioMode);
    plugin.setParameter(Param::Bypass, 1.0f);
    float levels[4] = {};
    render(plugin, Stereo(4096, 0.5f));
    EXPECT_FALSE(plugin.takeVuLevels(levels));  // closed: nothing handed over
    EXPECT_GT(plugin.vuFollowers[0], 0.0f);

    plugin.setEditorOpen(true);
    plugin.programChanged = true;
    Stereo in(2048, 0.5f);
    in.fill(0, in.size(), 0.5f, 0.25f);
    render(plugin, in);  // counter 4096: refresh and meters; then 6144 only meters
    EXPECT_TRUE(plugin.takeResumeRequest());
    EXPECT_FALSE(plugin.takeResumeRequest());
    ASSERT_TRUE(plugin.takeVuLevels(levels));
    EXPECT_FALSE(plugin.takeVuLevels(levels));
    render(plugin, Stereo(1, 0.5f));  // counter 6144
    ASSERT_TRUE(plugin.takeVuLevels(levels));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(levels[i], 4.0f * plugin.vuFollowers[i]) << i;
    EXPECT_GT(levels[0], levels[1]);

    plugin.setEditorBusy(true);  // being rebuilt: the engine keeps its hands off
    plugin.programChanged = true;
    render(plugin, Stereo(4096));
    EXPECT_FALSE(plugin.takeResumeRequest());
    EXPECT_FALSE(plugin.programChanged);
    EXPECT_FALSE(plugin.takeVuLevels(levels));
    EXPECT_EQ(plugin.getVu(), 0.0f);
}
