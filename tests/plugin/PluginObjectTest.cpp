#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/Preferences.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

class PluginObject : public ::testing::Test {
protected:
    IsolatedHome home;
    std::unique_ptr<TestPlugin> plugin = std::make_unique<TestPlugin>();
};

// An editor whose window state the test sets.
class FakeEditor : public AEffEditor {
public:
    bool open(void* parent) override { systemWindow = parent; return true; }
};

}  // namespace

TEST_F(PluginObject, NewInstanceHoldsTheDefaults) {
    const AEffect* effect = plugin->getAeffect();
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 500);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing);
    EXPECT_EQ(effect->uniqueID, ('k' << 24) | ('t' << 16) | ('V' << 8) | 'S');
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_EQ(plugin->factoryIndex, 0);
    EXPECT_EQ(plugin->sampleRate, 44100.0f);

    const std::pair<int, float> defaults[] = {
        {2, 1.0f},  {3, 0.8f},  {4, 0.4004f}, {5, 0.3998f}, {7, 1.0f},   {8, 0.55f}, {9, 0.24f},
        {10, 0.55f}, {15, 1.0f}, {17, 1.0f},  {21, 1.0f},   {24, 1.0f},  {25, 0.665f}, {26, 1.0f},
        {27, 0.5f}, {28, 0.5f}, {29, 0.5f},   {30, 0.5f},   {32, 0.25f}, {33, 0.25f}};
    float expected[kNumParameters] = {};
    for (auto [index, value] : defaults) expected[index] = value;
    for (int i = 0; i < kNumParameters; ++i) {
        EXPECT_EQ(plugin->getParameter(i), expected[i]) << i;
        EXPECT_EQ(plugin->programs[0].values[i], expected[i]) << i;
    }
    EXPECT_TRUE(plugin->isSwitch[31]);
    EXPECT_FALSE(plugin->isSwitch[12]);  // "Dry Mute" reads on/off but is not snapped

    for (const auto& event : plugin->midiQueue) {
        EXPECT_EQ(event->type, kVstMidiType);
        EXPECT_EQ(event->deltaFrames, -99);
        EXPECT_EQ(event->reserved1, 99);
        EXPECT_EQ(event->midiData[0], 0);
    }
}

TEST_F(PluginObject, SetParameterClampsSnapsAndIgnoresBadIndices) {
    plugin->setParameter(11, 0.49f);
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
    plugin->setParameter(11, 0.5f);
    EXPECT_EQ(plugin->getParameter(11), 1.0f);
    plugin->setParameter(12, 0.7f);
    EXPECT_FLOAT_EQ(plugin->getParameter(12), 0.7f);
    plugin->setParameter(2, 1.3f);
    EXPECT_EQ(plugin->getParameter(2), 1.0f);
    plugin->setParameter(2, -0.5f);
    EXPECT_EQ(plugin->getParameter(2), 0.0f);
    plugin->setParameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    plugin->setParameter(4, std::numeric_limits<float>::infinity());
    EXPECT_EQ(plugin->getParameter(4), 1.0f);
    EXPECT_EQ(plugin->programs[0].values[4], 1.0f);
    EXPECT_EQ(plugin->editedValues[4], 1.0f);

    for (VstInt32 bad : {-1, 500, 501, INT_MAX, INT_MIN}) {
        plugin->setParameter(bad, 0.3f);
        EXPECT_EQ(plugin->getParameter(bad), 0.0f) << bad;
    }
    EXPECT_EQ(plugin->getParameter(499), 0.0f);
}

TEST_F(PluginObject, EditedFlagFollowsEffectiveChangesOfVisibleSlots) {
    plugin->setParameter(3, 0.800005f);
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_EQ(plugin->lastValues[3], 0.8f);

    plugin->setParameter(200, 0.3f);
    EXPECT_FLOAT_EQ(plugin->getParameter(200), 0.3f);
    EXPECT_FLOAT_EQ(plugin->programs[0].values[200], 0.3f);
    EXPECT_FALSE(plugin->getEditChanged());

    plugin->setParameter(3, 0.81f);
    EXPECT_TRUE(plugin->getEditChanged());
    EXPECT_FLOAT_EQ(plugin->lastValues[3], 0.81f);
}

TEST_F(PluginObject, MovingBackToTheLoadedValueDoesNotMarkEdited) {
    plugin->setParameter(2, 1.0f);  // already the loaded value
    EXPECT_FALSE(plugin->getEditChanged());
}

TEST_F(PluginObject, SuspendAndResumeChangeNothing) {
    plugin->setParameter(8, 0.3f);
    const float before = plugin->getParameter(8);
    plugin->dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
    plugin->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(plugin->getParameter(8), before);
    EXPECT_EQ(plugin->sampleRate, 44100.0f);
}

TEST_F(PluginObject, SampleRateIsStoredAndBadRatesAreKeptOut) {
    plugin->setSampleRate(48000.0f);
    EXPECT_EQ(plugin->getSampleRate(), 48000.0f);
    plugin->setSampleRate(std::numeric_limits<float>::quiet_NaN());
    plugin->setSampleRate(std::numeric_limits<float>::infinity());
    EXPECT_EQ(plugin->getSampleRate(), 48000.0f);
    plugin->setSampleRate(10.0f);
    EXPECT_EQ(plugin->getSampleRate(), 1000.0f);
}

TEST_F(PluginObject, ProcessingPassesAudioThroughAndToleratesMissingBuffers) {
    float left[4] = {0.1f, 0.2f, 0.3f, 0.4f}, right[4] = {-1, -2, -3, -4};
    float outLeft[4] = {}, outRight[4] = {9, 9, 9, 9};
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    plugin->processReplacing(inputs, outputs, 4);
    EXPECT_EQ(std::memcmp(outLeft, left, sizeof left), 0);
    EXPECT_EQ(std::memcmp(outRight, right, sizeof right), 0);

    float* noInputs[2] = {nullptr, nullptr};
    plugin->processReplacing(noInputs, outputs, 4);
    EXPECT_EQ(outRight[3], 0.0f);
    plugin->processReplacing(nullptr, nullptr, 4);
    plugin->processReplacing(inputs, outputs, -7);
    float* oneOutput[2] = {outLeft, nullptr};
    plugin->processReplacing(inputs, oneOutput, 4);
    EXPECT_EQ(outLeft[3], 0.4f);
}

TEST_F(PluginObject, EditorCountsAsOpenOnlyWhenBuiltAndShowing) {
    EXPECT_FALSE(plugin->isEditorOpen());
    plugin->editorResume();  // no editor: nothing happens

    auto* editor = new FakeEditor;
    plugin->setEditor(editor);
    int window = 0;
    editor->open(&window);
    plugin->setEditorBusy(true);
    plugin->setEditorOpen(true);
    EXPECT_FALSE(plugin->isEditorOpen());
    plugin->setEditorBusy(false);
    EXPECT_TRUE(plugin->isEditorOpen());
    editor->close();
    EXPECT_FALSE(plugin->isEditorOpen());
}

TEST_F(PluginObject, LockOffsetIsKept) {
    EXPECT_FALSE(plugin->getLockOffset());
    plugin->setLockOffset(true);
    EXPECT_TRUE(plugin->getLockOffset());
}

TEST(PluginPaths, FirstInstanceStoresTheEcsFolderAndLaterOnesReadIt) {
    IsolatedHome home;
    char stored[256];
    loadStringFromPrefs("ECSDir", stored, sizeof stored);
    EXPECT_STREQ(stored, "");

    TestPlugin first;
    const std::string expected = home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/";
    EXPECT_EQ(std::string(first.ecsDirectory), expected);
    loadStringFromPrefs("ECSDir", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), expected);
    EXPECT_NE(std::string(first.getHelpFileStr()).find("/share/doc/tidewalker/"), std::string::npos);

    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/music/ecs/"));
    TestPlugin second;
    EXPECT_STREQ(second.ecsDirectory, "/music/ecs/");
}

TEST(PluginPaths, AnOverlongStoredFolderFallsBackToTheDefault) {
    IsolatedHome home;
    ASSERT_TRUE(saveStringToPrefs("ECSDir", std::string(200, 'x').c_str()));
    TestPlugin plugin;
    EXPECT_EQ(std::string(plugin.ecsDirectory), home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/");
    char stored[256];
    loadStringFromPrefs("ECSDir", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), std::string(200, 'x'));
}
