#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/plugin/PluginTestSupport.h"

namespace {

class PluginText : public ::testing::Test {
protected:
    IsolatedHome home;
    std::unique_ptr<TestPlugin> plugin = std::make_unique<TestPlugin>();
};

struct DisplayCase {
    std::vector<std::pair<int, float>> settings;
    int index;
    const char* text;
};

}  // namespace

TEST_F(PluginText, DefaultsShowTheirTexts) {
    const char* expected[36] = {
        "",    "Off", "0dB",   "0dB", "15.0ms", "15.0ms",  "Off",  "On", "1/1", "-30.4dB", "1/1",  "Off",
        "Off", "",    "Audio", "On",  "0%",     "20.5KHz", "20Hz", "0%", "0%",  "On",      "Free", "Sine",
        "270 Deg", "1/2", "On", "0%", "0%",     "0%",      "0%",   "LowPass Filter", "281%", "281%", "100%", "Off"};
    for (int i = 0; i < 36; ++i) EXPECT_EQ(plugin->display(i), expected[i]) << i;
    for (int i : {36, 200, 499, 500, -1}) EXPECT_EQ(plugin->display(i), "") << i;
}

TEST(PluginTextValues, ValuesShowInTheirUnits) {
    IsolatedHome home;
    const DisplayCase cases[] = {
        {{{2, 1.3f}}, 2, "0dB"},          {{{2, 0.0f}}, 2, "Off"},          {{{2, 0.5f}}, 2, "-20dB"},
        {{{3, 1.0f}}, 3, "10dB"},         {{{4, 1.0f}}, 4, "1023.0ms"},     {{{6, 0.005f}}, 6, "Off"},
        {{{6, 0.5f}}, 6, "31ms"},         {{{6, 1.0f}}, 6, "999ms"},        {{{7, 0}, {8, 0}}, 8, "100ms"},
        {{{7, 0}, {8, 0.6f}}, 8, "4.8s"}, {{{7, 0}, {8, 1}}, 8, "64.0s"},   {{{8, 1.0f}}, 8, "8/1"},
        {{{14, 1.0f}}, 14, "Host"},       {{{14, 0.5f}}, 14, "Manual"},     {{{17, 0.5f}}, 17, "640Hz"},
        {{{17, 0.7f}}, 17, "2.6KHz"},     {{{22, 0.7f}}, 22, "Triggered"},  {{{22, 0.3f}}, 22, "Free"},
        {{{24, 0.6f}}, 24, "90 Deg"},     {{{25, 0.0f}}, 25, "Off"},        {{{26, 0}, {25, 0}}, 25, "Off"},
        {{{26, 0}, {25, 0.3f}}, 25, "0.92Hz"}, {{{26, 0}, {25, 0.5f}}, 25, "9.72Hz"},
        {{{26, 0}, {25, 0.75f}}, 25, "185.0Hz"}, {{{26, 0}, {25, 1}}, 25, "3.5KHz"},
        {{{27, 0.0f}}, 27, "-100%"},      {{{31, 1.0f}}, 31, "Comb Filter"}, {{{12, 0.7f}}, 12, "On"},
    };
    for (const auto& c : cases) {
        TestPlugin plugin;
        for (auto [slot, value] : c.settings) plugin.setParameter(slot, value);
        EXPECT_EQ(plugin.display(c.index), c.text) << c.index;
    }
}

TEST_F(PluginText, NamesFollowTheFilterModeAndLabelsAreBlank) {
    EXPECT_EQ(plugin->name(17), "LowPass Filter Frequency");
    plugin->setParameter(31, 1.0f);
    EXPECT_EQ(plugin->name(17), "Comb Filter Frequency");
    EXPECT_EQ(plugin->name(19), "Comb Filter Feedback");
    EXPECT_EQ(plugin->name(29), "LFO > Comb Filter Frequency");
    for (int i : {0, 13, 200, -1, 500, 1 << 30}) EXPECT_EQ(plugin->name(i), "~~~") << i;
    char label[8] = "junk";
    plugin->getParameterLabel(-5, label);
    EXPECT_STREQ(label, " ");
}

TEST_F(PluginText, TextsStayWithinTheBuffersWeAssume) {
    plugin->getParameterName(2, nullptr);
    plugin->getParameterDisplay(2, nullptr);
    plugin->getParameterLabel(2, nullptr);
    for (float value : {0.0f, 0.3f, 0.77f, 1.0f}) {
        for (int i = 0; i < 40; ++i) {
            plugin->setParameter(i, value);
            char name[64], display[64], label[64];
            std::memset(name, 'Z', 64), std::memset(display, 'Z', 64), std::memset(label, 'Z', 64);
            plugin->getParameterName(i, name);
            plugin->getParameterDisplay(i, display);
            plugin->getParameterLabel(i, label);
            EXPECT_LE(std::strlen(name), 30u) << i;
            EXPECT_LE(std::strlen(display), 14u) << i;
            EXPECT_EQ(name[kParameterNameBytes], 'Z');
            EXPECT_EQ(display[kParameterDisplayBytes], 'Z');
            EXPECT_EQ(label[kParameterLabelBytes], 'Z');
        }
    }
}

TEST_F(PluginText, SetToValueReadsRepliesInTheParameterUnits) {
    ScriptedInput input;
    input.replies = {"-40", "abc", "", std::nullopt, "Off", "1", "-12", "50", "50 %"};
    plugin->setNumValue(3);
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    EXPECT_EQ(input.asked[0], "Wet Volume|-40 to 10 dB|0.0");
    plugin->setNumValue(3);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.8f);  // no digits: read as 0 dB
    plugin->setParameter(3, 0.3f);
    plugin->setNumValue(3);  // empty reply
    plugin->setNumValue(3);  // cancelled
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.3f);
    plugin->setNumValue(11);  // the unedited "Off"
    EXPECT_EQ(input.asked.back(), "Mute|0 for Off, 1 for On|Off");
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
    plugin->setNumValue(11);
    EXPECT_EQ(plugin->getParameter(11), 1.0f);
    plugin->setNumValue(9);
    EXPECT_FLOAT_EQ(plugin->getParameter(9), 0.7f);
    plugin->setNumValue(6);
    EXPECT_FLOAT_EQ(plugin->getParameter(6), 0.5f);
    plugin->setNumValue(28);
    EXPECT_FLOAT_EQ(plugin->getParameter(28), 0.75f);
    for (int none : {13, -1, 700}) plugin->setNumValue(none);
    EXPECT_EQ(input.asked.size(), 9u);
}

TEST_F(PluginText, FrequencyRepliesWithoutAValidFrequencyChangeNothing) {
    ScriptedInput input;
    input.replies = {"0", "-5 Hz", "nan", "1e999", "640 Hz", "30000", "1"};
    for (int i = 0; i < 4; ++i) plugin->setNumValue(17);
    EXPECT_EQ(plugin->getParameter(17), 1.0f);
    EXPECT_EQ(input.asked[0], "LowPass Filter Frequency|20hz to 20000 hz|20.5 kHz");
    plugin->setNumValue(17);
    EXPECT_NEAR(plugin->getParameter(17), 0.5f, 1e-6f);
    plugin->setNumValue(17);
    EXPECT_EQ(input.asked.back(), "LowPass Filter Frequency|20hz to 20000 hz|640 Hz");
    EXPECT_EQ(plugin->getParameter(17), 1.0f);
    plugin->setNumValue(17);
    EXPECT_EQ(plugin->getParameter(17), 0.0f);
}

TEST_F(PluginText, ChoicesAreNumberedFromOne) {
    ScriptedInput input;
    input.replies = {"3", "9", "2"};
    plugin->setNumValue(14);
    EXPECT_EQ(input.asked[0], "Reverse Trigger Mode|1 [Audio] to 3 [Host]|1");
    EXPECT_FLOAT_EQ(plugin->getParameter(14), 0.702341f);
    plugin->setParameter(14, 1.0f);
    plugin->setNumValue(14);
    EXPECT_EQ(input.asked[1], "Reverse Trigger Mode|1 [Audio] to 3 [Host]|3");
    EXPECT_EQ(plugin->getParameter(14), 1.0f);
    plugin->setNumValue(23);
    EXPECT_EQ(input.asked[2], "LFO Wave|1 [Sine] to 6 [S&H]|1");
    EXPECT_EQ(plugin->display(23), "Saw Up");
    plugin->getLimitedValue(23, 0.0f, 6, _LFO_WAVE_STRING);
    plugin->getLimitedValue(23, 5.0f, 6, nullptr);
    EXPECT_EQ(input.asked.size(), 3u);
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
