// Controller messages from the host's event blocks to the parameters, and
// what becomes of blocks a host should not send.
#include <gtest/gtest.h>

#include "tests/midi/MidiTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

class MidiQueue : public ::testing::Test {
protected:
    IsolatedHome home;
};

TEST_F(MidiQueue, MappedControllersDriveTheirParametersOnEveryChannel) {
    for (auto [cc, index] : {std::pair{7, Param::WetVolume}, {11, Param::Mute}, {121, Param::DryVolume}})
        ASSERT_TRUE(setMidiCC(cc, index));
    MidiPlugin plugin;
    const float dry = plugin.getParameter(Param::DryVolume);
    const struct {
        VstMidiEvent event;
        VstInt32 index;
        float expected;
    } steps[] = {
        {midiEvent(0xB0, 7, 127), Param::WetVolume, 0.9921875f}, {midiEvent(0xB0, 7, 0), Param::WetVolume, 0.0f},
        {midiEvent(0xBF, 7, 64), Param::WetVolume, 0.5f},        {midiEvent(0xB0, 0x87, 0xA0), Param::WetVolume, 0.25f},
        {midiEvent(0xB0, 11, 64), Param::Mute, 1.0f},            {midiEvent(0xB0, 11, 63), Param::Mute, 0.0f},
        {midiEvent(0xB0, 121, 127), Param::DryVolume, dry},  // mode messages never drive, even when mapped
        {midiEvent(0xC0, 7, 0), Param::WetVolume, 0.25f},     {midiEvent(0x90, 7, 100), Param::WetVolume, 0.25f},
    };
    for (const auto& step : steps) {
        send(plugin, {step.event});
        plugin.frames(1);
        EXPECT_EQ(plugin.getParameter(step.index), step.expected) << std::hex << +step.event.midiData[0];
    }
    EXPECT_EQ(plugin.pendingMidiCount, 0);
}

TEST_F(MidiQueue, LatchLearnsTheNextControllerOnceButNeverAModeMessage) {
    MidiPlugin plugin;
    const float lfo = plugin.getParameter(Param::LfoSpeed);
    plugin.setMidiLatch(Param::LfoSpeed, true);
    send(plugin, {midiEvent(0xB0, 0x7B, 0), midiEvent(0xB0, 120, 9), midiEvent(0xB0, 121, 9, 1)});
    plugin.frames(2);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), lfo);
    EXPECT_EQ(plugin.map(), std::vector<VstInt32>(128, 0));

    send(plugin, {midiEvent(0xB0, 5, 0x40), midiEvent(0xB0, 6, 0x10, 1)});
    plugin.frames(2);
    EXPECT_EQ(plugin.getControllerAssignment(5), Param::LfoSpeed);
    EXPECT_EQ(plugin.getControllerAssignment(6), 0);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), 0.5f);
}

TEST_F(MidiQueue, MalformedAndOverfullBlocksAreReadOnlyAsFarAsTheyCanBeTrusted) {
    ASSERT_TRUE(setMidiCC(9, Param::WetVolume));
    MidiPlugin plugin;
    EXPECT_EQ(plugin.processEvents(nullptr), 1);
    EventBlock negative({midiEvent(0xB0, 9, 1)});
    negative.block()->numEvents = -4;
    EXPECT_EQ(plugin.processEvents(negative.block()), 1);
    EXPECT_EQ(plugin.pendingMidiCount, 0);

    // Claims far more events than it has pointers for: the null ends it. Non-MIDI events are skipped.
    EventBlock overstated({midiEvent(0xB0, 9, 1), midiEvent(0xB0, 9, 2), midiEvent(0xB0, 9, 3)});
    overstated.events[1].type = kVstSysExType;
    overstated.block()->numEvents = 1 << 30;
    EXPECT_EQ(plugin.processEvents(overstated.block()), 1);
    EXPECT_EQ(plugin.pendingMidiCount, 2);
    plugin.frames(1);

    // Negative deltas count as 0, so they cannot hold records for good.
    send(plugin, std::vector<VstMidiEvent>(300, midiEvent(0xB0, 9, 1, -1)));
    EXPECT_EQ(plugin.pendingMidiCount, APlugin::kMidiQueueSize);
    plugin.frames(1);
    EXPECT_EQ(plugin.pendingMidiCount, 0);
    send(plugin, {midiEvent(0xB0, 9, 64)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.5f);
}

TEST_F(MidiQueue, QueueingApplyingAndLearningNeitherAllocateNorLock) {
    ASSERT_TRUE(setMidiCC(7, Param::WetVolume));
    MidiPlugin plugin;
    plugin.setMidiLatch(Param::LfoSpeed, true);
    EventBlock block({midiEvent(0xB0, 7, 100, 3), midiEvent(0xB0, 5, 64, 1), midiEvent(0xC0, 1, 0)});
    {
        tidewalker::testing::RealtimeProbe probe;
        plugin.processEvents(block.block());
        plugin.frames(8);
        EXPECT_EQ(probe.counts().allocations, 0u);
        EXPECT_EQ(probe.counts().locks, 0u);
    }
    EXPECT_EQ(plugin.getControllerAssignment(5), Param::LfoSpeed);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 100 / 128.0f);
}

}  // namespace
