// The controller map as the parameter menu edits it and as the preferences
// keep it for every instance.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Preferences.h"
#include "tests/midi/MidiTestSupport.h"

namespace {

using namespace std::chrono_literals;

class MidiMap : public ::testing::Test {
protected:
    IsolatedHome home;
    ScriptedDialogs dialogs;

    static std::vector<VstInt32> storedMap() {
        std::vector<VstInt32> map;
        for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) map.push_back(getMidiCC(cc));
        return map;
    }
};

TEST_F(MidiMap, SetMidiCCAsksForANumberAndClampsIt) {
    MidiPlugin plugin;
    dialogs.texts = {"200", "-3", "", std::nullopt, "abc", "99999999999999999999", " 12 knobs"};
    for (int i = 0; i < 7; ++i) plugin.setMidiCCNum(Param::WetVolume);

    ASSERT_EQ(dialogs.asked.size(), 7u);
    EXPECT_EQ(dialogs.asked[0], "Midi CC (0 - 127)|Midi CC : Wet Volume|");
    std::vector<VstInt32> expected(128, 0);
    expected[127] = expected[0] = expected[12] = Param::WetVolume;  // "abc" reads as 0, huge clamps to 127
    EXPECT_EQ(controllerMap(plugin), expected);
    EXPECT_EQ(storedMap(), expected);

    // A controller has one parameter; a parameter may keep several controllers.
    dialogs.texts = {"12"};
    plugin.setMidiCCNum(Param::DryVolume);
    EXPECT_EQ(plugin.getControllerAssignment(12), Param::DryVolume);
    EXPECT_EQ(plugin.getControllerAssignment(127), Param::WetVolume);
}

TEST_F(MidiMap, UnlatchAndClearRemoveAssignmentsEverywhere) {
    for (VstInt32 cc : {3, 40, 90}) ASSERT_TRUE(setMidiCC(cc, Param::WetVolume));
    ASSERT_TRUE(setMidiCC(41, Param::DryVolume));
    MidiPlugin plugin;

    plugin.setMidiLatch(Param::WetVolume, false);
    std::vector<VstInt32> expected(128, 0);
    expected[41] = Param::DryVolume;
    EXPECT_EQ(controllerMap(plugin), expected);
    EXPECT_EQ(storedMap(), expected);

    plugin.resetMidi();
    EXPECT_EQ(controllerMap(plugin), std::vector<VstInt32>(128, 0));
    EXPECT_EQ(storedMap(), std::vector<VstInt32>(128, 0));
}

TEST_F(MidiMap, UnlatchLeavesAnArmedLatchArmed) {
    MidiPlugin plugin;
    plugin.setMidiLatch(Param::WetVolume, true);
    plugin.setMidiLatch(Param::DryVolume, false);  // also retargets the latch
    send(plugin, {midiEvent(0xB0, 20, 1)});
    plugin.frames(1);
    EXPECT_EQ(plugin.getControllerAssignment(20), Param::DryVolume);
}

TEST_F(MidiMap, InstancesShareTheMapOnlyThroughTheStore) {
    MidiPlugin first;
    MidiPlugin second;
    dialogs.texts = {"30"};
    first.setMidiCCNum(Param::LfoSpeed);
    EXPECT_EQ(second.getControllerAssignment(30), 0);
    second.setAllMidiControls();
    EXPECT_EQ(second.getControllerAssignment(30), Param::LfoSpeed);
    EXPECT_EQ(MidiPlugin().getControllerAssignment(30), Param::LfoSpeed);
}

TEST_F(MidiMap, StoredValuesThatNameNoParameterReadAsNone) {
    ASSERT_TRUE(saveIntToPrefs("1", -7));
    ASSERT_TRUE(saveIntToPrefs("2", 801));
    ASSERT_TRUE(saveStringToPrefs("3", "25"));
    ASSERT_TRUE(saveIntToPrefs("4", 800));
    MidiPlugin plugin;
    EXPECT_EQ(plugin.getControllerAssignment(1), 0);
    EXPECT_EQ(plugin.getControllerAssignment(2), 0);
    EXPECT_EQ(plugin.getControllerAssignment(3), 0);
    EXPECT_EQ(plugin.getControllerAssignment(4), 800);
    EXPECT_FALSE(setMidiCC(128, 1));
    EXPECT_FALSE(setMidiCC(5, 801));
    EXPECT_EQ(getMidiCC(-1), 0);
}

TEST_F(MidiMap, ALearnedControllerIsStoredWithinASecond) {
    MidiPlugin plugin;
    plugin.setMidiLatch(Param::LfoSpeed, true);
    send(plugin, {midiEvent(0xB0, 74, 10)});
    plugin.frames(1);
    ASSERT_EQ(plugin.getControllerAssignment(74), Param::LfoSpeed);

    const auto start = std::chrono::steady_clock::now();
    while (getMidiCC(74) != Param::LfoSpeed && std::chrono::steady_clock::now() - start < 1s)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(getMidiCC(74), Param::LfoSpeed);
}

TEST_F(MidiMap, ALearnNotYetStoredSurvivesReloadAndDestruction) {
    {
        MidiPlugin plugin;
        plugin.setMidiLatch(Param::LfoSpeed, true);
        send(plugin, {midiEvent(0xB0, 60, 10)});
        plugin.frames(1);
        plugin.setAllMidiControls();  // before the writer's first tick
        EXPECT_EQ(plugin.getControllerAssignment(60), Param::LfoSpeed);

        plugin.setMidiLatch(Param::WetVolume, true);
        send(plugin, {midiEvent(0xB0, 61, 10)});
        plugin.frames(1);
    }
    EXPECT_EQ(getMidiCC(60), Param::LfoSpeed);
    EXPECT_EQ(getMidiCC(61), Param::WetVolume);
}

TEST_F(MidiMap, LearningOnTheAudioThreadWhileTheMenuEditsTheMap) {
    MidiPlugin plugin;
    std::atomic<bool> done{false};
    std::thread audio([&] {
        EventBlock block({midiEvent(0xB0, 10, 1, 1)});
        while (!done.load()) {
            plugin.processEvents(block.block());
            plugin.frames(2);
        }
    });
    for (int round = 0; round < 50; ++round) {
        plugin.setMidiLatch(round % 2 ? Param::WetVolume : Param::DryVolume, true);
        plugin.setMidiLatch(Param::WetVolume, false);
        (void)plugin.getControllerAssignment(10);
        if (round % 10 == 0) plugin.resetMidi();
    }
    plugin.setMidiLatch(Param::LfoSpeed, true);
    const auto start = std::chrono::steady_clock::now();
    while (plugin.getControllerAssignment(10) != Param::LfoSpeed && std::chrono::steady_clock::now() - start < 2s)
        std::this_thread::sleep_for(1ms);
    done = true;
    audio.join();
    EXPECT_EQ(plugin.getControllerAssignment(10), Param::LfoSpeed);
}

}  // namespace
