#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "tests/programs/ProgramsTestSupport.h"

namespace {

class Programs : public ::testing::Test {
protected:
    IsolatedHome home;
    std::unique_ptr<ProgramsPlugin> plugin = std::make_unique<ProgramsPlugin>();

    static float tableValue(VstInt32 preset, VstInt32 slot) {
        const float v = FACTORY_PRESETS[preset][slot];
        if (slot == Param::ReverseTrigger) return 0.0f;
        return parameterIsSwitch(slot) ? (v >= 0.5f ? 1.0f : 0.0f) : v;
    }
    void writeCodedName(const std::string& name) {
        for (int i = 0; i < PRESET_NAME_LENGTH; ++i)
            plugin->programs[0].values[PRESET_NAME_SLOT + i] =
                i < static_cast<int>(name.size()) ? encodePresetChar(static_cast<unsigned char>(name[i])) : 0.0f;
    }
};

std::vector<std::string> expectedFactoryNames() {
    std::vector<std::string> names{"Default"};
    for (int i = 1; i <= 24; ++i) names.push_back("Drums & Perc " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const char* name : {"Drums & Perc Metal 01", "Drums & Perc Metal 02", "Drums & Perc Nasty", "Vocal 1bar clean",
                             "Vocal a Duck", "Vocal HP Move", "Vocal Kaput", "Vocal PanTuber"})
        names.push_back(name);
    for (int i = 1; i <= 10; ++i)
        names.push_back((i == 8 ? "Vocal weird " : "Vocal Weird ") + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const char* name : {"Voice a Duck", "Voice a Robot", "Voice Mad"}) names.push_back(name);
    return names;
}

}  // namespace

TEST_F(Programs, FactoryNamesAreTheBanksCodedNames) {
    const auto names = expectedFactoryNames();
    ASSERT_EQ(names.size(), std::size_t{FACTORY_PRESET_COUNT});
    for (int n = 0; n < FACTORY_PRESET_COUNT; ++n) {
        EXPECT_EQ(plugin->getPresetName(n), names[n]) << n;
        // A host's program-name buffer holds 23 characters.
        EXPECT_LT(names[n].size(), std::size_t{kVstMaxProgNameLen}) << n;
    }
    for (VstInt32 outside : {-1, 46, INT_MIN, INT_MAX}) EXPECT_STREQ(plugin->getPresetName(outside), "None");
    EXPECT_EQ(plugin->programName(), "Default");
}

TEST_F(Programs, FactoryPresetLoadsTheTableExactly) {
    plugin->setParameter(Param::WetVolume, 0.1f);
    plugin->programChanged = false;
    plugin->setFactoryProgram(28);
    EXPECT_EQ(plugin->programName(), "Vocal 1bar clean");
    EXPECT_EQ(plugin->factoryIndex, 28);
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_TRUE(plugin->programChanged);
    for (VstInt32 i = 0; i < kNumParameters; ++i) {
        ASSERT_EQ(plugin->getParameter(i), tableValue(28, i)) << i;
        ASSERT_EQ(plugin->programs[0].values[i], tableValue(28, i)) << i;
        ASSERT_EQ(plugin->origValues[i], tableValue(28, i)) << i;
    }
}

TEST_F(Programs, PresetNumbersOutsideTheBankAreIgnoredAndStepsStopAtTheEnds) {
    plugin->setFactoryProgram(5);
    for (VstInt32 bad : {-1, 46, INT_MAX, INT_MIN}) plugin->setFactoryProgram(bad);
    EXPECT_EQ(plugin->factoryIndex, 5);
    EXPECT_EQ(plugin->getParameter(Param::WetVolume), tableValue(5, Param::WetVolume));

    plugin->setFactoryProgram(0);
    plugin->changeFactoryProgramDelta(-1);
    EXPECT_EQ(plugin->factoryIndex, 0);
    plugin->changeFactoryProgramDelta(3);
    EXPECT_EQ(plugin->programName(), "Drums & Perc 03");
    plugin->setFactoryProgram(45);
    plugin->changeFactoryProgramDelta(1);
    EXPECT_EQ(plugin->factoryIndex, 45);
    plugin->changeFactoryProgramDelta(INT_MIN);
    EXPECT_EQ(plugin->factoryIndex, 0);
    plugin->changeFactoryProgramDelta(INT_MAX);
    EXPECT_EQ(plugin->factoryIndex, 45);
    EXPECT_EQ(plugin->programName(), "Voice Mad");
}

TEST_F(Programs, RevertToOriginalThenToEditedBringsTheEditBack) {
    plugin->setFactoryProgram(12);
    const float preset = tableValue(12, Param::WetVolume);
    const float moved = preset > 0.5f ? preset - 0.3f : preset + 0.3f;
    plugin->setParameter(Param::WetVolume, moved);
    EXPECT_TRUE(plugin->getEditChanged());

    plugin->origProgram();
    EXPECT_EQ(plugin->getParameter(Param::WetVolume), preset);
    EXPECT_EQ(plugin->programs[0].values[Param::WetVolume], preset);
    EXPECT_FALSE(plugin->getEditChanged());

    plugin->editProgram();
    EXPECT_EQ(plugin->getParameter(Param::WetVolume), moved);
    EXPECT_EQ(plugin->programs[0].values[Param::WetVolume], moved);
    EXPECT_TRUE(plugin->getEditChanged());
}

TEST_F(Programs, DefaultPresetKeepsTheNameCodesSoThePresetIsStillKnown) {
    ProgramsPlugin fresh;
    plugin->setFactoryProgram(5);
    plugin->defaultProgram();
    EXPECT_TRUE(plugin->getEditChanged());
    EXPECT_EQ(plugin->factoryIndex, 5);
    for (VstInt32 i = 0; i < PRESET_NAME_SLOT; ++i) ASSERT_EQ(plugin->getParameter(i), fresh.getParameter(i)) << i;
    for (VstInt32 i = PRESET_NAME_SLOT; i < kNumParameters; ++i)
        ASSERT_EQ(plugin->programs[0].values[i], FACTORY_PRESETS[5][i]) << i;

    plugin->setProgram(0);
    EXPECT_EQ(plugin->programName(), "Drums & Perc 05");
    EXPECT_FALSE(plugin->getEditChanged());
}

TEST_F(Programs, LockedOffsetSurvivesEveryPreset) {
    plugin->setLockOffset(true);
    plugin->lockedOffsetValue = 0.3f;
    for (VstInt32 preset : {1, 27, 28, 45}) {
        plugin->setFactoryProgram(preset);
        EXPECT_EQ(plugin->getParameter(Param::ReverseOffset), 0.3f) << preset;
        EXPECT_EQ(plugin->programs[0].values[Param::ReverseOffset], 0.3f) << preset;
    }
    plugin->setLockOffset(false);
    plugin->setFactoryProgram(28);
    EXPECT_EQ(plugin->getParameter(Param::ReverseOffset), tableValue(28, Param::ReverseOffset));
}

TEST_F(Programs, ApplyingTheRecordFindsItsPresetByExactName) {
    const std::pair<std::string, int> cases[] = {
        {"Voice Mad", 45}, {"voice mad", 0}, {"Vocal weird 08", 40}, {"Vocal Weird 08", 0}, {"My own", 0}, {"", 0}};
    for (const auto& [name, index] : cases) {
        plugin->setFactoryProgram(3);
        writeCodedName(name);
        plugin->setProgram(0);
        EXPECT_EQ(plugin->factoryIndex, index) << name;
    }
    EXPECT_EQ(plugin->programName(), "Default");
}

TEST_F(Programs, OnlyProgramZeroExistsAndNothingAppliesWhileTheEditorIsBuilt) {
    plugin->setFactoryProgram(7);
    plugin->setParameter(Param::WetVolume, 0.05f);
    plugin->setProgram(1);
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_EQ(plugin->getParameter(Param::WetVolume), 0.05f);

    plugin->setParameter(Param::WetVolume, 0.9f);
    writeCodedName("Voice a Robot");
    plugin->programChanged = false;
    plugin->setEditorBusy(true);
    plugin->setProgram(0);
    EXPECT_TRUE(plugin->getEditChanged());
    EXPECT_EQ(plugin->factoryIndex, 7);
    EXPECT_FALSE(plugin->programChanged);
    plugin->setEditorBusy(false);
    plugin->setProgram(0);
    EXPECT_EQ(plugin->programName(), "Voice a Robot");
    EXPECT_FALSE(plugin->getEditChanged());
}

TEST_F(Programs, ARecordWithRawValuesGoesLiveAsSetParameterWouldStoreIt) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    plugin->programs[0].values[Param::Mute] = 0.7f;
    plugin->programs[0].values[Param::WetVolume] = nan;
    plugin->programs[0].values[Param::DryVolume] = -5.0f;
    plugin->programs[0].values[Param::ReverseTrigger] = 1.0f;
    plugin->setProgram(0);
    EXPECT_FALSE(plugin->getEditChanged());  // a snapped switch is not an edit
    for (VstInt32 slot : {Param::Mute, Param::WetVolume, Param::DryVolume, Param::ReverseTrigger}) {
        const float expected = slot == Param::Mute ? 1.0f : 0.0f;
        EXPECT_EQ(plugin->getParameter(slot), expected) << slot;
        EXPECT_EQ(plugin->origValues[slot], expected) << slot;
        EXPECT_EQ(plugin->programs[0].values[slot], expected) << slot;
    }
}

TEST_F(Programs, ProgramNameFollowsThePresetAndCannotBeRenamed) {
    plugin->setFactoryProgram(30);
    char name[] = "Renamed";
    plugin->setProgramName(name);
    char text[kVstMaxProgNameLen] = "untouched";
    EXPECT_TRUE(plugin->getProgramNameIndexed(0, 0, text));
    EXPECT_STREQ(text, "Vocal HP Move");
    EXPECT_TRUE(plugin->getProgramNameIndexed(7, 0, text));  // the category plays no part
    std::strcpy(text, "untouched");
    EXPECT_FALSE(plugin->getProgramNameIndexed(0, 1, text));
    EXPECT_FALSE(plugin->getProgramNameIndexed(0, -1, text));
    EXPECT_STREQ(text, "untouched");
}

TEST_F(Programs, ApplyingAProgramCutsARunningManualTake) {
    plugin->setParameter(Param::ReverseTriggerMode, 0.5f);  // "Manual"
    plugin->setParameter(Param::ReverseTrigger, 1.0f);
    std::vector<float> left(64, 0.5f), right(64, 0.5f), outLeft(64), outRight(64);
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    plugin->processReplacing(in, out, 64);
    ASSERT_TRUE(plugin->getReverseManualTrigger());

    plugin->setProgram(0);
    plugin->processReplacing(in, out, 64);
    EXPECT_FALSE(plugin->getReverseManualTrigger());
    EXPECT_EQ(plugin->getReverseTriggerMode(), 1);  // the program kept the mode, not the press
}
