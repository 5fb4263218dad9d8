#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

#include "plugin/uPluginPresetsBanks.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

class Programs : public ::testing::Test {
protected:
    IsolatedHome home;
    TestPlugin plugin{"", ""};
};

// A table value as a program applies it: switches snapped, the trigger released.
float applied(VstInt32 preset, VstInt32 slot) {
    const float v = FACTORY_PRESETS[preset][slot];
    if (slot == Param::ReverseTrigger) return 0.0f;
    return parameterIsSwitch(slot) ? (v >= 0.5f ? 1.0f : 0.0f) : v;
}

}  // namespace

TEST_F(Programs, FactoryPresetsLoadExactlyAndStepWithinTheBank) {
    EXPECT_EQ(plugin.programName(), "Default");
    EXPECT_STREQ(plugin.getPresetName(40), "Vocal weird 08");
    EXPECT_STREQ(plugin.getPresetName(46), "None");
    EXPECT_STREQ(plugin.getPresetName(-1), "None");

    plugin.setParameter(Param::WetVolume, 0.1f);
    plugin.setFactoryProgram(28);
    EXPECT_EQ(plugin.programName(), "Vocal 1bar clean");
    EXPECT_FALSE(plugin.getEditChanged());
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        ASSERT_EQ(plugin.getParameter(i), applied(28, i)) << i;
        ASSERT_EQ(plugin.origValues[i], applied(28, i)) << i;
    }
    for (VstInt32 ignored : {-1, 46, INT_MIN}) plugin.setFactoryProgram(ignored);
    EXPECT_EQ(plugin.factoryIndex, 28);

    const std::pair<VstInt32, VstInt32> steps[] = {{-28, 0}, {-1, 0}, {3, 3}, {INT_MAX, 45}, {1, 45}, {INT_MIN, 0}};
    for (auto [delta, landing] : steps) {
        plugin.changeFactoryProgramDelta(delta);
        EXPECT_EQ(plugin.factoryIndex, landing) << delta;
    }
}

TEST_F(Programs, RevertCommandsAndTheDefaultPreset) {
    plugin.setFactoryProgram(5);
    const float preset = applied(5, Param::WetVolume), moved = preset > 0.5f ? 0.1f : 0.9f;
    plugin.setParameter(Param::WetVolume, moved);
    EXPECT_TRUE(plugin.getEditChanged());
    plugin.origProgram();
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), preset);
    EXPECT_FALSE(plugin.getEditChanged());
    plugin.editProgram();
    EXPECT_EQ(plugin.programs[0].values[Param::WetVolume], moved);
    EXPECT_TRUE(plugin.getEditChanged());

    // "Default Preset" keeps the name codes, so the program still knows its preset.
    plugin.defaultProgram();
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.8f);
    EXPECT_EQ(plugin.programs[0].values[PRESET_NAME_SLOT], FACTORY_PRESETS[5][PRESET_NAME_SLOT]);
    plugin.setProgram(0);
    EXPECT_EQ(plugin.programName(), "Drums & Perc 05");
}

TEST_F(Programs, OffsetLockBusyEditorAndOtherProgramNumbers) {
    plugin.setLockOffset(true);
    plugin.lockedOffsetValue = 0.3f;
    plugin.setFactoryProgram(45);
    EXPECT_EQ(plugin.getParameter(Param::ReverseOffset), 0.3f);
    plugin.setLockOffset(false);

    plugin.setParameter(Param::WetVolume, 0.05f);
    plugin.programs[0].values[PRESET_NAME_SLOT] = 0.0f;  // no name: would read as "Default"
    plugin.setEditorBusy(true);
    plugin.setProgram(0);
    EXPECT_TRUE(plugin.getEditChanged());
    EXPECT_EQ(plugin.programName(), "Voice Mad");
    plugin.setEditorBusy(false);
    plugin.setProgram(1);
    EXPECT_FALSE(plugin.getEditChanged());
    EXPECT_EQ(plugin.getParameter(Param::WetVolume), 0.05f);

    char text[kVstMaxProgNameLen] = "untouched";
    EXPECT_FALSE(plugin.getProgramNameIndexed(0, 1, text));
    EXPECT_STREQ(text, "untouched");
    EXPECT_TRUE(plugin.getProgramNameIndexed(7, 0, text));
    EXPECT_STREQ(text, "Voice Mad");
}

TEST_F(Programs, ARawRecordGoesLiveAsSetParameterStoresAndCutsAManualTake) {
    plugin.setParameter(Param::ReverseTriggerMode, 0.5f);  // "Manual"
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    std::vector<float> in(64, 0.5f), out(64);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    plugin.processReplacing(ins, outs, 64);
    ASSERT_TRUE(plugin.getReverseManualTrigger());

    float* record = plugin.programs[0].values;
    record[Param::Mute] = 0.7f;
    record[Param::WetVolume] = std::numeric_limits<float>::quiet_NaN();
    record[Param::DryVolume] = -5.0f;
    record[Param::ReverseTrigger] = 1.0f;
    plugin.setProgram(0);
    EXPECT_FALSE(plugin.getEditChanged());  // a snapped switch is no edit
    for (auto [slot, value] : {std::pair{Param::Mute, 1.0f}, {Param::WetVolume, 0.0f}, {Param::DryVolume, 0.0f},
                               {Param::ReverseTrigger, 0.0f}}) {
        EXPECT_EQ(plugin.getParameter(slot), value) << slot;
        EXPECT_EQ(plugin.origValues[slot], value) << slot;
    }
    plugin.processReplacing(ins, outs, 64);
    EXPECT_FALSE(plugin.getReverseManualTrigger());
}
