// The effect object without a host: values, audio, sample rate, editor flags and folders.
#include "platform/Preferences.h"
#include "tests/plugin/PluginTestSupport.h"
#include "tests/support/RealtimeProbe.h"

namespace {

class PluginObject : public HomeTest {
protected:
    std::unique_ptr<TestPlugin> plugin = std::make_unique<TestPlugin>();
};

}  // namespace

TEST_F(PluginObject, NewInstanceHoldsTheDefaults) {
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_EQ(plugin->factoryIndex, 0);
    EXPECT_EQ(plugin->getSampleRate(), 44100.0f);
    for (int i = 0; i < kNumParameters; ++i) {  // the "Default" preset's values, without its coded name
        const float expected = i < Param::kFirstUnusedSlot ? FACTORY_PRESETS[0][i] : 0.0f;
        ASSERT_EQ(plugin->getParameter(i), expected) << i;
        ASSERT_EQ(plugin->slots.programs[0].values[i], expected) << i;
    }
    EXPECT_TRUE(plugin->slots.isSwitch[31]);
    EXPECT_FALSE(plugin->slots.isSwitch[12]);  // "Dry Mute" reads on/off but is not snapped
    for (const auto& event : plugin->midiQueue) {
        EXPECT_EQ(event->type, kVstMidiType);
        EXPECT_EQ(event->deltaFrames, APlugin::kFreeMidiSlot);
        EXPECT_EQ(event->reserved1, 99);
    }
}

TEST_F(PluginObject, SetParameterClampsSnapsAndIgnoresBadIndices) {
    const std::tuple<int, float, float> cases[] = {
        {11, 0.49f, 0.0f}, {11, 0.5f, 1.0f}, {12, 0.7f, 0.7f}, {2, 1.3f, 1.0f},
        {2, -0.5f, 0.0f},  {3, kNaN, 0.0f},  {4, kInf, 1.0f},  {5, -kInf, 0.0f}};
    for (auto [index, value, stored] : cases) {
        plugin->setParameter(index, value);
        EXPECT_EQ(plugin->getParameter(index), stored) << index << " " << value;
        EXPECT_EQ(plugin->slots.programs[0].values[index], stored);
        EXPECT_EQ(plugin->slots.editedValues[index], stored);
    }
    for (VstInt32 bad : {-1, 500, INT_MAX, INT_MIN}) {
        plugin->setParameter(bad, 0.3f);
        EXPECT_EQ(plugin->getParameter(bad), 0.0f) << bad;
    }
}

TEST_F(PluginObject, EditedFlagFollowsEffectiveChangesOfVisibleSlots) {
    plugin->setParameter(2, 1.0f);
    plugin->setParameter(3, 0.800005f);
    plugin->setParameter(200, 0.3f);  // stored silently
    EXPECT_FLOAT_EQ(plugin->slots.programs[0].values[200], 0.3f);
    EXPECT_FALSE(plugin->getEditChanged());
    EXPECT_EQ(plugin->slots.lastValues[3], 0.8f);
    plugin->setParameter(3, 0.81f);
    EXPECT_TRUE(plugin->getEditChanged());
    EXPECT_FLOAT_EQ(plugin->slots.lastValues[3], 0.81f);
}

TEST_F(PluginObject, BypassedAudioPassesThroughWithoutAllocatingOrLocking) {
    plugin->setParameter(Param::Bypass, 1.0f);
    float left[4] = {0.1f, 0.2f, 0.3f, 0.4f}, right[4] = {-1, -2, -3, -4}, outLeft[4] = {}, outRight[4] = {};
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    float* noInputs[2] = {nullptr, nullptr};
    float* oneOutput[2] = {outLeft, nullptr};
    tidewalker::testing::RealtimeCounts counts;
    {
        tidewalker::testing::RealtimeProbe probe;
        plugin->processReplacing(inputs, outputs, 4);
        plugin->setParameter(3, 0.5f);
        plugin->setParameter(11, 0.7f);
        plugin->processReplacing(nullptr, nullptr, 4);
        plugin->processReplacing(inputs, outputs, -7);
        plugin->processReplacing(inputs, oneOutput, 4);
        counts = probe.counts();
    }
    EXPECT_EQ(counts.allocations + counts.locks, 0u);
    EXPECT_EQ(std::memcmp(outLeft, left, sizeof left), 0);
    EXPECT_EQ(std::memcmp(outRight, right, sizeof right), 0);
    plugin->processReplacing(noInputs, outputs, 4);
    EXPECT_EQ(outRight[3], 0.0f);
}

TEST_F(PluginObject, SampleRateKeepsOutNonsenseWhicheverOpcodeSetsIt) {
    for (VstInt32 opcode : {effSetSampleRate, effSetBlockSizeAndSampleRate}) {
        for (float rate : {48000.0f, kNaN, kInf}) plugin->dispatcher(opcode, 0, 256, nullptr, rate);
        EXPECT_EQ(plugin->getSampleRate(), 48000.0f) << opcode;
        plugin->dispatcher(opcode, 0, 512, nullptr, 10.0f);
        EXPECT_EQ(plugin->getSampleRate(), 1000.0f) << opcode;
        plugin->dispatcher(opcode, 0, 512, nullptr, 44100.0f);
    }
    EXPECT_EQ(plugin->getBlockSize(), 512);
}

TEST_F(PluginObject, EditorCountsAsOpenOnlyOnceBuilt) {
    EXPECT_FALSE(plugin->isEditorOpen());
    plugin->editorResume();
    AEffEditor* own = plugin->getEditor();
    auto editor = std::make_unique<AEffEditor>();
    plugin->setEditor(editor.get());
    int window = 0;
    editor->open(&window);
    plugin->setEditorBusy(true);
    plugin->setEditorOpen(true);
    EXPECT_FALSE(plugin->isEditorOpen());
    plugin->setEditorBusy(false);
    EXPECT_TRUE(plugin->isEditorOpen());
    editor->close();
    EXPECT_FALSE(plugin->isEditorOpen());
    plugin->setEditor(own);
}

TEST(PluginPaths, FirstInstanceStoresTheEcsFolderAndLaterOnesReadIt) {
    IsolatedHome home;
    const std::string fallback = home.root.str() + "/data/Ola Marsk/Tidewalker/ECS/";
    char stored[256];
    {
        TestPlugin first;
        EXPECT_EQ(first.ecsDirectory, fallback);
        loadStringFromPrefs("ECSDir", stored, sizeof stored);
        EXPECT_EQ(stored, fallback);
        EXPECT_NE(std::string(first.getHelpFileStr()).find("/share/doc/tidewalker/"), std::string::npos);
    }
    ASSERT_TRUE(saveStringToPrefs("ECSDir", "/music/ecs/"));
    EXPECT_STREQ(TestPlugin().ecsDirectory, "/music/ecs/");

    // A folder too long to use is not used, but neither is it overwritten.
    ASSERT_TRUE(saveStringToPrefs("ECSDir", std::string(200, 'x').c_str()));
    EXPECT_EQ(TestPlugin().ecsDirectory, fallback);
    loadStringFromPrefs("ECSDir", stored, sizeof stored);
    EXPECT_EQ(stored, std::string(200, 'x'));
}
