// The controller map as the parameter menu edits it and as the preferences
// keep it for every instance.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Preferences.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

using namespace std::chrono_literals;

std::vector<VstInt32> storedMap() {
    std::vector<VstInt32> map;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) map.push_back(getMidiCC(cc));
    return map;
}

class MidiMap : public ::testing::Test {
protected:
    IsolatedHome home;
    ScriptedDialogs dialogs;
};

TEST_F(MidiMap, SetMidiCCClampsTheTypedNumberAndStoresIt) {
    TestPlugin plugin;
    dialogs.texts = {"200", "-3", "", std::nullopt, "99999999999999999999", " 12 knobs"};
    for (int i = 0; i < 6; ++i) plugin.setMidiCCNum(Param::WetVolume);
    dialogs.texts = {"12"};
    plugin.setMidiCCNum(Param::DryVolume);  // a controller has one parameter

    EXPECT_EQ(dialogs.asked[0], "Midi CC (0 - 127)|Midi CC : Wet Volume|");
    std::vector<VstInt32> expected(128, 0);
    expected[127] = expected[0] = Param::WetVolume;
    expected[12] = Param::DryVolume;
    EXPECT_EQ(plugin.map(), expected);
    EXPECT_EQ(storedMap(), expected);
}

TEST_F(MidiMap, UnlatchAndClearRemoveAssignmentsFromTheMapAndTheStore) {
    for (VstInt32 cc : {3, 40, 90}) ASSERT_TRUE(setMidiCC(cc, Param::WetVolume));
    ASSERT_TRUE(setMidiCC(41, Param::DryVolume));
    ASSERT_TRUE(saveIntToPrefs("42", 801));  // names no parameter: read as none
    TestPlugin plugin;
    plugin.setMidiLatch(Param::WetVolume, false);
    std::vector<VstInt32> expected(128, 0);
    expected[41] = Param::DryVolume;
    EXPECT_EQ(plugin.map(), expected);
    EXPECT_EQ(storedMap(), expected);

    plugin.resetMidi();
    EXPECT_EQ(plugin.map(), std::vector<VstInt32>(128, 0));
    EXPECT_EQ(storedMap(), std::vector<VstInt32>(128, 0));
}

TEST_F(MidiMap, ALearnedControllerReachesTheStoreWithinASecondAndOtherInstancesOnReload) {
    TestPlugin other;
    {
        TestPlugin plugin;
        plugin.setMidiLatch(Param::LfoSpeed, true);
        send(plugin, {midiEvent(0xB0, 74, 10)});
        plugin.frames(1);
        const auto start = std::chrono::steady_clock::now();
        while (getMidiCC(74) != Param::LfoSpeed && std::chrono::steady_clock::now() - start < 1s)
            std::this_thread::sleep_for(5ms);
        EXPECT_EQ(getMidiCC(74), Param::LfoSpeed);

        // Learned just before a reload or the end of the instance: not lost either.
        plugin.setMidiLatch(Param::WetVolume, true);
        send(plugin, {midiEvent(0xB0, 60, 10)});
        plugin.frames(1);
        plugin.setAllMidiControls();
        EXPECT_EQ(plugin.getControllerAssignment(60), Param::WetVolume);
        plugin.setMidiLatch(Param::DryVolume, true);
        send(plugin, {midiEvent(0xB0, 61, 10)});
        plugin.frames(1);
    }
    EXPECT_EQ(other.getControllerAssignment(74), 0);
    other.setAllMidiControls();
    EXPECT_EQ(other.getControllerAssignment(74), Param::LfoSpeed);
    EXPECT_EQ(other.getControllerAssignment(61), Param::DryVolume);
}

TEST_F(MidiMap, LearningOnTheAudioThreadWhileTheMenuEditsTheMap) {
    TestPlugin plugin;
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
