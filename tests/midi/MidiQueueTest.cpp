// Controller messages from the host's event blocks to the parameters, frame
// by frame, and what happens to blocks a host should not send.
#include <gtest/gtest.h>

#include "tests/midi/MidiTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

class MidiQueue : public ::testing::Test {
protected:
    IsolatedHome home;
};

TEST_F(MidiQueue, ControllersFromThePreferencesDriveTheirParametersOnAnyChannel) {
    ASSERT_TRUE(setMidiCC(7, Param::WetVolume));
    ASSERT_TRUE(setMidiCC(11, Param::Mute));
    ASSERT_TRUE(setMidiCC(121, Param::WetVolume));  // mode messages never drive, even when mapped
    MidiPlugin plugin;

    send(plugin, {midiEvent(0xB0, 7, 127)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.9921875f);
    send(plugin, {midiEvent(0xB0, 7, 0)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.0f);
    send(plugin, {midiEvent(0xBF, 7, 64)});  // channel 16, same map
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.5f);
    send(plugin, {midiEvent(0xB0, 121, 127)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.5f);

    // A switch snaps at 64.
    send(plugin, {midiEvent(0xB0, 11, 64)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::Mute), 1.0f);
    send(plugin, {midiEvent(0xB0, 11, 63)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::Mute), 0.0f);

    // Data bytes are read as 7 bits.
    send(plugin, {midiEvent(0xB0, 7 | 0x80, 0x80 | 32)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.25f);
}

TEST_F(MidiQueue, EachEventIsAppliedJustBeforeTheFrameItsDeltaNames) {
    ASSERT_TRUE(setMidiCC(1, Param::DryVolume));
    ASSERT_TRUE(setMidiCC(2, Param::WetVolume));
    ASSERT_TRUE(setMidiCC(3, Param::LfoSpeed));
    ASSERT_TRUE(setMidiCC(4, Param::Mute));
    MidiPlugin plugin;
    send(plugin, {midiEvent(0xB0, 1, 10, 0), midiEvent(0xB0, 2, 20, 10), midiEvent(0xB0, 3, 30, 100),
                  midiEvent(0xB0, 4, 127, -5)});

    float dryAt[128], wetAt[128], lfoAt[128], muteAt[128];
    for (int frame = 0; frame < 128; ++frame) {  // two blocks of 64
        plugin.frames(1);
        dryAt[frame] = plugin.getParameter(Param::DryVolume);
        wetAt[frame] = plugin.getParameter(Param::WetVolume);
        lfoAt[frame] = plugin.getParameter(Param::LfoSpeed);
        muteAt[frame] = plugin.getParameter(Param::Mute);
    }
    EXPECT_EQ(dryAt[0], 10 / 128.0f);
    EXPECT_EQ(muteAt[0], 1.0f);  // a negative delta counts as 0
    EXPECT_NE(wetAt[8], 20 / 128.0f);
    EXPECT_EQ(wetAt[9], 20 / 128.0f);
    EXPECT_NE(lfoAt[64 + 34], 30 / 128.0f);
    EXPECT_EQ(lfoAt[64 + 35], 30 / 128.0f);  // frame 35 of the second block
    EXPECT_EQ(plugin.pendingMidiCount, 0);
}

TEST_F(MidiQueue, LatchLearnsTheNextControllerButNeverAModeMessage) {
    MidiPlugin plugin;
    const float lfoBefore = plugin.getParameter(Param::LfoSpeed);
    plugin.setMidiLatch(Param::LfoSpeed, true);

    send(plugin, {midiEvent(0xB0, 0x7B, 0), midiEvent(0xB0, 120, 9), midiEvent(0xB0, 121, 9)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), lfoBefore);
    EXPECT_EQ(controllerMap(plugin), std::vector<VstInt32>(128, 0));

    send(plugin, {midiEvent(0xB0, 5, 0x40)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getControllerAssignment(5), Param::LfoSpeed);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), 0.5f);

    // Learned once: the next controller is not taken.
    send(plugin, {midiEvent(0xB0, 6, 0x10)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getControllerAssignment(6), 0);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), 0.5f);
}

TEST_F(MidiQueue, OtherMessagesAreConsumedWithoutEffect) {
    ASSERT_TRUE(setMidiCC(5, Param::WetVolume));
    MidiPlugin plugin;
    const float wet = plugin.getParameter(Param::WetVolume);
    send(plugin, {midiEvent(0xC0, 5, 0), midiEvent(0x90, 5, 100), midiEvent(0xE0, 5, 100, 3)});
    EXPECT_EQ(plugin.pendingMidiCount, 3);
    plugin.frames(3);
    EXPECT_EQ(plugin.pendingMidiCount, 0);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), wet);
    for (const auto& record : plugin.midiQueue) EXPECT_EQ(record->deltaFrames, APlugin::kFreeMidiSlot);
}

TEST_F(MidiQueue, QueuedRecordsAreTheHostsBytesMarkedAsFilled) {
    MidiPlugin plugin;
    VstMidiEvent event = midiEvent(0xB3, 9, 8, 40);
    event.noteLength = 7;
    event.detune = -3;
    send(plugin, {event});
    const VstMidiEvent& record = *plugin.midiQueue[0];
    EXPECT_EQ(record.deltaFrames, 40);
    EXPECT_EQ(record.noteLength, 7);
    EXPECT_EQ(record.detune, -3);
    EXPECT_EQ(record.midiData[0], static_cast<char>(0xB3));
    EXPECT_EQ(record.reserved1, 99);
}

TEST_F(MidiQueue, MalformedBlocksAreReadOnlyAsFarAsTheyCanBeTrusted) {
    MidiPlugin plugin;
    EXPECT_EQ(plugin.processEvents(nullptr), 1);

    EventBlock negative({midiEvent(0xB0, 1, 1)});
    negative.block()->numEvents = -4;
    EXPECT_EQ(plugin.processEvents(negative.block()), 1);
    EXPECT_EQ(plugin.pendingMidiCount, 0);

    // Claims far more events than it has: the null after the real ones ends it.
    EventBlock overstated({midiEvent(0xB0, 1, 1), midiEvent(0xB0, 2, 2), midiEvent(0xB0, 3, 3)});
    overstated.pointers()[2] = nullptr;
    overstated.block()->numEvents = 1 << 30;
    EXPECT_EQ(plugin.processEvents(overstated.block()), 1);
    EXPECT_EQ(plugin.pendingMidiCount, 2);

    // Non-MIDI events are skipped, the MIDI ones around them kept.
    EventBlock mixed({midiEvent(0xB0, 1, 1), midiEvent(0xB0, 2, 2), midiEvent(0xB0, 3, 3)});
    mixed.storage[1].type = kVstSysExType;
    EXPECT_EQ(plugin.processEvents(mixed.block()), 1);
    EXPECT_EQ(plugin.pendingMidiCount, 4);
}

TEST_F(MidiQueue, AFullQueueDropsTheRestAndRecoversOnceDrained) {
    ASSERT_TRUE(setMidiCC(9, Param::WetVolume));
    MidiPlugin plugin;
    // Negative deltas must not occupy records for good.
    send(plugin, std::vector<VstMidiEvent>(300, midiEvent(0xB0, 9, 1, -1)));
    EXPECT_EQ(plugin.pendingMidiCount, APlugin::kMidiQueueSize);
    send(plugin, {midiEvent(0xB0, 9, 2)});
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
