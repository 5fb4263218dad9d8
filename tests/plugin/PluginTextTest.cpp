// The parameter table and the texts and typed values built on it.
#include <bit>

#include "resources/FrontPanelLayout.h"
#include "tests/plugin/PluginTestSupport.h"

namespace {

class PluginText : public HomeTest {
protected:
    std::unique_ptr<TestPlugin> plugin = std::make_unique<TestPlugin>();
};

}  // namespace

TEST(ParameterTable, ConstantsKeepTheirExactFloats) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MIN_TIME_LOG), 0x40D49A78u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVERSE_MAX_TIME_LOG), 0x4115269Eu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(REVESE_OFFSET_MAX_TIME_LOG), 0x411F73DAu);
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[2], 0.0833333358f);
    EXPECT_EQ(REVERSE_SYNCED_LENGTH_ARRAY[14], 1.3333333731f);
    EXPECT_STREQ(_LFO_TEMPO_SYNCED_PERIOD_STRING[17], "1/1");
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[17], 0.5f);
    EXPECT_EQ(LFO_SYNCED_PERIOD_ARRAY[30], 1.0f / 48.0f);
}

TEST(ParameterTable, SteppedReadingsAndConversionsStayInRange) {
    const std::tuple<float, float, int, int> readings[] = {
        {1.0f, 3.0f, 4, 3},     {0.999f, 3.0f, 4, 3}, {0.6f, 3.0f, 4, 1},  // trunc(1.9)
        {1.0f, 21.99f, 22, 21}, {0.55f, 21.99f, 22, 12}, {0.665f, 30.99f, 31, 20}, {1.0f, 2.99f, 3, 2},
        {0.5f, 2.99f, 3, 1},    {-5.0f, 3.0f, 4, 0},  {kNaN, 3.0f, 4, 0},  {kInf, 3.0f, 4, 3}, {0.5f, 3.0f, 0, 0}};
    for (auto [value, scale, count, step] : readings)
        EXPECT_EQ(getSteppedValue(value, scale, count), step) << value << " " << scale;
    for (int step = 0; step < 31; ++step)  // written as step/scale, read back as that step
        EXPECT_EQ(getSteppedValue((step + 0.1f) / 30.99f, 30.99f, 31), step);

    for (auto [value, index] : {std::pair{std::nan(""), 0}, {-2.9, -2}, {1e300, INT_MAX}, {-1e300, INT_MIN}})
        EXPECT_EQ(toIndex(value), index) << value;
    for (auto [value, clamped] : {std::pair{std::nan(""), 0.0f}, {1.3, 1.0f}, {0.25, 0.25f}})
        EXPECT_EQ(clampUnit(value), clamped) << value;
    EXPECT_FALSE(std::signbit(clampUnit(-0.0)));
}

TEST(ParameterTable, PanelControlsShowParameters) {
    for (const auto& knob : tidewalker::layout::KNOBS) EXPECT_NE(parameterRow(knob[0]).name, nullptr) << knob[0];
    for (const auto& button : tidewalker::layout::ON_OFFS) {
        if (button[0] == 510) continue;  // the editor's offset lock
        const ParameterKind kind = parameterRow(button[0]).kind;
        EXPECT_TRUE(kind == ParameterKind::Switch || kind == ParameterKind::OnOff) << button[0];
    }
}

TEST_F(PluginText, DefaultsShowTheirTexts) {
    const char* expected[36] = {
        "",    "Off", "0dB",   "0dB", "15.0ms", "15.0ms",  "Off",  "On", "1/1", "-30.4dB", "1/1",  "Off",
        "Off", "",    "Audio", "On",  "0%",     "20.5KHz", "20Hz", "0%", "0%",  "On",      "Free", "Sine",
        "270 Deg", "1/2", "On", "0%", "0%",     "0%",      "0%",   "LowPass Filter", "281%", "281%", "100%", "Off"};
    for (int i = 0; i < 36; ++i) EXPECT_EQ(plugin->display(i), expected[i]) << i;
    for (int i : {36, 200, 499, 500, -1}) EXPECT_EQ(plugin->display(i), "") << i;
}

TEST_F(PluginText, ValuesShowInTheirUnits) {
    // unsynced: the tempo-sync switch set off first, for times and speeds in their own units.
    const struct { int index; float value; const char* text; int unsynced = -1; } cases[] = {
        {2, 0.0f, "Off"},          {2, 0.5f, "-20dB"},       {3, 1.0f, "10dB"},         {4, 1.0f, "1023.0ms"},
        {6, 0.005f, "Off"},        {6, 0.5f, "31ms"},        {6, 1.0f, "999ms"},        {8, 0.0f, "100ms", 7},
        {8, 0.6f, "4.8s", 7},      {8, 1.0f, "64.0s", 7},    {8, 1.0f, "8/1"},          {14, 1.0f, "Host"},
        {14, 0.5f, "Manual"},      {17, 0.5f, "640Hz"},      {17, 0.7f, "2.6KHz"},      {22, 0.7f, "Triggered"},
        {22, 0.3f, "Free"},        {24, 0.6f, "90 Deg"},     {25, 0.0f, "Off"},         {25, 0.0f, "Off", 26},
        {25, 0.3f, "0.92Hz", 26},  {25, 0.5f, "9.72Hz", 26}, {25, 0.75f, "185.0Hz", 26}, {25, 1.0f, "3.5KHz", 26},
        {27, 0.0f, "-100%"},       {31, 1.0f, "Comb Filter"}, {12, 0.7f, "On"},         {2, 1.3f, "0dB"}};
    for (const auto& c : cases) {
        TestPlugin plugin;
        if (c.unsynced >= 0) plugin.setParameter(c.unsynced, 0.0f);
        plugin.setParameter(c.index, c.value);
        EXPECT_EQ(plugin.display(c.index), c.text) << c.index << " " << c.value;
    }
}

TEST_F(PluginText, NamesFollowTheFilterModeAndTextsStayWithinTheBuffersWeAssume) {
    EXPECT_EQ(plugin->name(17), "LowPass Filter Frequency");
    plugin->setParameter(31, 1.0f);
    EXPECT_EQ(plugin->name(17) + "|" + plugin->name(19), "Comb Filter Frequency|Comb Filter Feedback");
    EXPECT_EQ(plugin->name(29), "LFO > Comb Filter Frequency");
    for (int i : {0, 13, 200, -1, 500, 1 << 30}) EXPECT_EQ(plugin->name(i), "~~~") << i;

    plugin->getParameterName(2, nullptr);
    plugin->getParameterDisplay(2, nullptr);
    plugin->getParameterLabel(2, nullptr);
    for (float value : {0.0f, 0.3f, 0.77f, 1.0f}) {
        for (int i = -5; i < 40; ++i) {
            plugin->setParameter(i, value);
            char name[64], display[64], label[64];
            for (char* text : {name, display, label}) std::memset(text, 'Z', 64);
            plugin->getParameterName(i, name);
            plugin->getParameterDisplay(i, display);
            plugin->getParameterLabel(i, label);
            EXPECT_STREQ(label, " ");
            EXPECT_LE(std::strlen(name), 30u) << i;
            EXPECT_LE(std::strlen(display), 14u) << i;
            EXPECT_EQ(name[kParameterNameBytes], 'Z');
            EXPECT_EQ(display[kParameterDisplayBytes], 'Z');
            EXPECT_EQ(label[kParameterLabelBytes], 'Z');
        }
    }
}

TEST_F(PluginText, TypedValuesAreReadInTheParameterUnits) {
    // Set the slot to start, reply, check the stored value and, where given, what was asked.
    struct Case { int index; float start; std::optional<std::string> reply; float stored; const char* asked{}; };
    const Case cases[] = {
        {3, 0.8f, "-40", 0.0f, "Wet Volume|-40 to 10 dB|0.0"},
        {3, 0.0f, "abc", 0.8f} /* no digits: 0 dB */, {3, 0.3f, "", 0.3f},   {3, 0.3f, std::nullopt, 0.3f},
        {11, 0.0f, "Off", 0.0f, "Mute|0 for Off, 1 for On|Off"},
        {11, 0.0f, "1", 1.0f},   {9, 0.24f, "-12", 0.7f},   {6, 0.0f, "50", 0.5f},   {28, 0.5f, "50 %", 0.75f},
        // A reply that gives no valid frequency changes nothing (no logarithm of zero).
        {17, 1.0f, "0", 1.0f, "LowPass Filter Frequency|20hz to 20000 hz|20.5 kHz"},
        {17, 1.0f, "-5 Hz", 1.0f}, {17, 1.0f, "nan", 1.0f}, {17, 1.0f, "1e999", 1.0f}, {17, 1.0f, "640 Hz", 0.5f},
        {17, 0.5f, "30000", 1.0f, "LowPass Filter Frequency|20hz to 20000 hz|640 Hz"},
        {17, 1.0f, "1", 0.0f},
        // Choices are numbered from one.
        {14, 0.0f, "3", 0.702341f, "Reverse Trigger Mode|1 [Audio] to 3 [Host]|1"},
        {14, 1.0f, "9", 1.0f, "Reverse Trigger Mode|1 [Audio] to 3 [Host]|3"},
        {23, 0.0f, "2", 1.1f / kLfoWaveSteps.scale, "LFO Wave|1 [Sine] to 6 [S&H]|1"},
    };
    ScriptedDialogs dialogs;
    for (const auto& c : cases) {
        plugin->setParameter(c.index, c.start);
        dialogs.texts = {c.reply};
        plugin->setNumValue(c.index);
        EXPECT_NEAR(plugin->getParameter(c.index), c.stored, 1e-6f) << c.index << " " << c.reply.value_or("-");
        if (c.asked) { EXPECT_EQ(dialogs.asked.back(), c.asked); }
    }
    EXPECT_EQ(plugin->display(23), "Saw Up");
    for (int none : {13, -1, 700}) plugin->setNumValue(none);
    plugin->getLimitedValue(23, 0.0f, 6, _LFO_WAVE_STRING);
    plugin->getLimitedValue(23, 5.0f, 6, nullptr);
    EXPECT_EQ(dialogs.asked.size(), std::size(cases));
}

TEST_F(PluginText, StepCommandsStayInsideTheirRange) {
    const std::tuple<int, int, const char*> steps[] = {
        {23, -1, "Sine"}, {23, 1, "Saw Up"}, {24, 1, "270 Deg"}, {22, 1, "Triggered"},
        {11, 1, "On"},    {11, -1, "Off"},   {2, 1, "0dB"},      {34, -1, "100%"}};
    for (auto [index, delta, text] : steps) {
        plugin->changeDelta(index, delta);
        EXPECT_EQ(plugin->display(index), text) << index << " " << delta;
    }
    plugin->changeDelta(3, 1);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.81f);
    plugin->changeDelta(700, 1);
}

TEST_F(PluginText, DisplayForAValueLeavesTheLiveValueAlone) {
    plugin->setParameter(Param::LfoTempoSync, 1.0f);
    for (VstInt32 index = 0; index < 36; ++index) {
        const float live = plugin->getParameter(index);
        for (float probe : {0.0f, 0.37f, 0.8f, 1.0f, 7.0f, kNaN}) {
            char shown[kParameterDisplayBytes] = "junk";
            plugin->getParameterDisplayForValue(index, probe, shown);
            EXPECT_EQ(plugin->getParameter(index), live) << index;
            plugin->setParameter(index, probe);
            EXPECT_EQ(shown, plugin->display(index)) << index << " at " << probe;
            plugin->setParameter(index, live);
        }
    }
}

TEST_F(PluginText, ProgramRecordsRoundTripClampedAndOnlyInsideTheTable) {
    ProgramRecord record{};
    std::strcpy(record.name, "Stored");
    for (VstInt32 i = 0; i < kNumParameters; ++i) record.values[i] = i == 3 ? kNaN : i == 4 ? 2.0f : 0.25f;
    const float live = plugin->getParameter(5);
    ASSERT_TRUE(plugin->setProgramRecord(0, record));
    EXPECT_EQ(plugin->getParameter(5), live);  // not applied until setProgram
    ProgramRecord back{};
    ASSERT_TRUE(plugin->getProgramRecord(0, back));
    EXPECT_STREQ(back.name, "Stored");
    EXPECT_EQ(back.values[3], 0.0f);
    EXPECT_EQ(back.values[4], 1.0f);
    EXPECT_EQ(back.values[5], 0.25f);
    EXPECT_FALSE(plugin->getProgramRecord(1, back));
    EXPECT_FALSE(plugin->setProgramRecord(-1, record));
}
