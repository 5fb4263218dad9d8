// Controller messages from the host's event blocks to the parameters, at the
// frame their delta names; blocks a host should not send; and the controller
// map as the menu edits it and the preferences keep it for every instance.
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Preferences.h"
#include "tests/plugin/PluginTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

using namespace std::chrono_literals;
using Midi = HomeTest;

std::vector<VstInt32> mapWith(std::vector<std::pair<int, VstInt32>> entries) {
    std::vector<VstInt32> map(kNumMidiControllers, 0);
    for (auto [cc, index] : entries) map[cc] = index;
    return map;
}

TEST_F(Midi, MappedControllersDriveTheirParametersOnEveryChannel) {
    for (auto [cc, index] : {std::pair{7, Param::WetVolume}, {11, Param::Mute}, {121, Param::DryVolume}})
        ASSERT_TRUE(setMidiCC(cc, index));
    TestPlugin plugin;
    const float dry = plugin.getParameter(Param::DryVolume);
    const struct { VstMidiEvent event; VstInt32 index; float expected; } steps[] = {
        {midiEvent(0xB0, 7, 127), Param::WetVolume, 0.9921875f}, {midiEvent(0xB0, 7, 0), Param::WetVolume, 0.0f},
        {midiEvent(0xBF, 7, 64), Param::WetVolume, 0.5f},        {midiEvent(0xB0, 0x87, 0xA0), Param::WetVolume, 0.25f},
        {midiEvent(0xB0, 11, 64), Param::Mute, 1.0f},            {midiEvent(0xB0, 11, 63), Param::Mute, 0.0f},
        {midiEvent(0xB0, 121, 127), Param::DryVolume, dry},  // mode messages never drive, even when mapped
        {midiEvent(0x90, 7, 100), Param::WetVolume, 0.25f},
    };
    for (const auto& step : steps) {
        send(plugin, {step.event});
        plugin.frames(1);
        EXPECT_EQ(plugin.getParameter(step.index), step.expected) << std::hex << +step.event.midiData[0];
    }
    EXPECT_EQ(plugin.pendingMidiCount, 0);
}

TEST_F(Midi, LatchLearnsTheNextControllerOnceButNeverAModeMessageAndNothingAllocatesOrLocks) {
    ASSERT_TRUE(setMidiCC(7, Param::WetVolume));
    TestPlugin plugin;
    const float lfo = plugin.getParameter(Param::LfoSpeed);
    plugin.setMidiLatch(Param::LfoSpeed, true);
    send(plugin, {midiEvent(0xB0, 0x7B, 0), midiEvent(0xB0, 120, 9), midiEvent(0xB0, 121, 9, 1)});
    plugin.frames(2);
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), lfo);
    EXPECT_EQ(plugin.map(), mapWith({{7, Param::WetVolume}}));

    EventBlock block({midiEvent(0xB0, 7, 100, 3), midiEvent(0xB0, 5, 0x40, 1), midiEvent(0xB0, 6, 0x10, 2),
                      midiEvent(0x90, 60, 100)});
    {
        tidewalker::testing::RealtimeProbe probe;
        plugin.processEvents(block.block());
        plugin.frames(8);
        EXPECT_EQ(probe.counts().allocations + probe.counts().locks, 0u);
    }
    EXPECT_EQ(plugin.map(), mapWith({{7, Param::WetVolume}, {5, Param::LfoSpeed}}));
    EXPECT_EQ(plugin.getParameter(Param::LfoSpeed), 0.5f);
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 100 / 128.0f);
}

TEST_F(Midi, MalformedAndOverfullBlocksAreReadOnlyAsFarAsTheyCanBeTrusted) {
    ASSERT_TRUE(setMidiCC(9, Param::WetVolume));
    TestPlugin plugin;
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

// Through Tidewalker.so's record: events in through the dispatcher, applied
// while processReplacing runs, across blocks.
TEST_F(Midi, MappedControllersLandOnTheirFrameAcrossBlocksThroughTheAbi) {
    ASSERT_TRUE(setMidiCC(7, Param::WetVolume));
    ASSERT_TRUE(setMidiCC(1, Param::DryVolume));
    LoadedPlugin loaded;
    AEffect* effect = loaded.create();
    ASSERT_NE(effect, nullptr) << dlerror();
    call(effect, effMainsChanged, 0, 1);
    std::vector<float> buffer(64 * 4);
    float* in[2] = {&buffer[0], &buffer[64]};
    float* out[2] = {&buffer[128], &buffer[192]};
    auto process = [&](VstInt32 frames) { effect->processReplacing(effect, in, out, frames); };
    auto value = [&](VstInt32 index) { return effect->getParameter(effect, index); };

    effect->setParameter(effect, Param::WetVolume, 0.5f);
    EventBlock block({midiEvent(0xB0, 7, 127, 10), midiEvent(0xB2, 1, 64, 100)});
    EXPECT_EQ(call(effect, effProcessEvents, 0, 0, block.block()), 1);
    process(9);  // frames 0..8
    EXPECT_EQ(value(Param::WetVolume), 0.5f);
    process(1);  // frame 9
    EXPECT_EQ(value(Param::WetVolume), 0.9921875f);
    process(54);  // rest of the first block of 64
    process(35);  // frames 0..34 of the next one
    EXPECT_NE(value(Param::DryVolume), 0.5f);
    process(1);  // frame 35
    EXPECT_EQ(value(Param::DryVolume), 0.5f);

    // A negative delta is applied before the next frame, not never.
    EventBlock late({midiEvent(0xB0, 7, 0, -20)});
    call(effect, effProcessEvents, 0, 0, late.block());
    process(1);
    EXPECT_EQ(value(Param::WetVolume), 0.0f);
    call(effect, effClose);
}

// Program changes and bank selects choose factory presets while audio runs,
// as the "MidiPreset" and "MidiBank" preferences allow; the host is told at
// its next idle call.
std::atomic<int> displayUpdates{0};
VstIntPtr countingHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterUpdateDisplay) ++displayUpdates;
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST_F(Midi, ProgramChangesAndBankSelectsLoadFactoryPresetsAtTheirFrameThroughTheAbi) {
    ASSERT_TRUE(setMidiCC(0, Param::WetVolume));
    LoadedPlugin loaded;
    std::vector<float> buffer(64 * 4);
    float* in[2] = {&buffer[0], &buffer[64]};
    float* out[2] = {&buffer[128], &buffer[192]};
    const auto programName = [](AEffect* effect) {
        char name[kVstMaxProgNameLen] = {};
        call(effect, effGetProgramName, 0, 0, name);
        return std::string(name);
    };
    // Sends one block of events and runs `frames` frames; true when nothing allocated or locked.
    const auto play = [&](AEffect* effect, std::vector<VstMidiEvent> events, VstInt32 frames) {
        EventBlock block(std::move(events));
        tidewalker::testing::RealtimeProbe probe;
        call(effect, effProcessEvents, 0, 0, block.block());
        effect->processReplacing(effect, in, out, frames);
        return probe.counts().allocations + probe.counts().locks == 0;
    };

    AEffect* effect = loaded.entry ? loaded.entry(countingHost) : nullptr;
    ASSERT_NE(effect, nullptr) << dlerror();
    call(effect, effMainsChanged, 0, 1);
    EXPECT_TRUE(play(effect, {midiEvent(0xC5, 5, 0, 10)}, 9));
    EXPECT_EQ(programName(effect), "Default");
    EXPECT_TRUE(play(effect, {}, 1));
    EXPECT_EQ(programName(effect), "Drums & Perc 05");
    for (VstInt32 i = 1; i < kNumEditorSlots; ++i)
        EXPECT_EQ(effect->getParameter(effect, i), FACTORY_PRESETS[5][i]) << i;
    EXPECT_EQ(displayUpdates, 0);
    call(effect, effEditIdle);
    call(effect, effEditIdle);
    EXPECT_EQ(displayUpdates, 1);

    // Bank "Factory Vocals" on controller 0; programs count within it and stop at its end.
    EXPECT_TRUE(play(effect, {midiEvent(0xB0, 0, 2), midiEvent(0xC0, 1, 0, 1)}, 2));
    EXPECT_EQ(programName(effect), "Vocal a Duck");
    EXPECT_TRUE(play(effect, {midiEvent(0xB0, 32, 9), midiEvent(0xC0, 15, 0), midiEvent(0xC0, 127, 0)}, 2));
    EXPECT_EQ(programName(effect), "Vocal a Duck");
    EXPECT_TRUE(play(effect, {midiEvent(0xB0, 32, 3), midiEvent(0xC0, 2, 0, 1), midiEvent(0xB0, 0, 3, 2)}, 3));
    EXPECT_EQ(programName(effect), "Voice Mad");
    EXPECT_EQ(effect->getParameter(effect, Param::WetVolume), FACTORY_PRESETS[45][Param::WetVolume]);  // not driven by 0
    call(effect, effClose);

    // Both switches off: programs change nothing and controller 0 is an ordinary controller again.
    ASSERT_TRUE(saveStringToPrefs("MidiPreset", "N") && saveStringToPrefs("MidiBank", "N"));
    effect = loaded.entry(countingHost);
    call(effect, effMainsChanged, 0, 1);
    EXPECT_TRUE(play(effect, {midiEvent(0xB0, 0, 1), midiEvent(0xC0, 5, 0), midiEvent(0xB0, 0, 0, 1)}, 4));
    EXPECT_EQ(programName(effect), "Default");
    EXPECT_EQ(effect->getParameter(effect, Param::WetVolume), 0.0f);
    call(effect, effClose);
}

TEST_F(Midi, MenuCommandsEditTheMapAndTheStoreAlike) {
    for (VstInt32 cc : {3, 40, 90}) ASSERT_TRUE(setMidiCC(cc, Param::WetVolume));
    ASSERT_TRUE(saveIntToPrefs("42", 801));  // names no parameter: read as none
    ScriptedDialogs dialogs;
    TestPlugin plugin;
    auto expectMap = [&](const std::vector<VstInt32>& expected) {
        EXPECT_EQ(plugin.map(), expected);
        EXPECT_EQ(TestPlugin().map(), expected);  // as a new instance reads the store
    };
    // "Set MIDI CC" clamps the typed number; a controller drives one parameter.
    dialogs.texts = {"200", "-3", "", std::nullopt, "99999999999999999999", " 12 knobs"};
    for (int i = 0; i < 6; ++i) plugin.setMidiCCNum(Param::DryVolume);
    dialogs.texts = {"12"};
    plugin.setMidiCCNum(Param::LfoSpeed);
    EXPECT_EQ(dialogs.asked[0], "Midi CC (0 - 127)|Midi CC : Dry Volume|");
    const VstInt32 wet = Param::WetVolume, dry = Param::DryVolume, lfo = Param::LfoSpeed;
    expectMap(mapWith({{127, dry}, {0, dry}, {12, lfo}, {3, wet}, {40, wet}, {90, wet}}));
    plugin.setMidiLatch(wet, false);  // unlatching drops every controller of the parameter
    expectMap(mapWith({{127, dry}, {0, dry}, {12, lfo}}));
    plugin.resetMidi();
    expectMap(mapWith({}));
}

TEST_F(Midi, ALearnedControllerReachesTheStoreWithinASecondAndOtherInstancesOnReload) {
    TestPlugin other;
    {
        TestPlugin plugin;
        auto learn = [&](VstInt32 index, int cc) {
            plugin.setMidiLatch(index, true);
            send(plugin, {midiEvent(0xB0, cc, 10)});
            plugin.frames(1);
        };
        learn(Param::LfoSpeed, 74);
        const auto start = std::chrono::steady_clock::now();
        while (getMidiCC(74) != Param::LfoSpeed && std::chrono::steady_clock::now() - start < 1s)
            std::this_thread::sleep_for(5ms);
        EXPECT_EQ(getMidiCC(74), Param::LfoSpeed);

        // Learned just before a reload or the end of the instance: not lost either.
        learn(Param::WetVolume, 60);
        plugin.setAllMidiControls();
        EXPECT_EQ(plugin.getControllerAssignment(60), Param::WetVolume);
        learn(Param::DryVolume, 61);
    }
    EXPECT_EQ(other.getControllerAssignment(74), 0);
    other.setAllMidiControls();
    EXPECT_EQ(other.getControllerAssignment(74), Param::LfoSpeed);
    EXPECT_EQ(other.getControllerAssignment(61), Param::DryVolume);
}

TEST_F(Midi, LearningOnTheAudioThreadWhileTheMenuEditsTheMap) {
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
