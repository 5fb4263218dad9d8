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

    std::string displayWith(std::vector<std::pair<int, float>> settings, int index) {
        for (auto [slot, value] : settings) plugin->setParameter(slot, value);
        return plugin->display(index);
    }
};

}  // namespace

TEST_F(PluginText, DefaultsShowTheirTexts) {
    const char* expected[36] = {
        "",    "Off",  "0dB",   "0dB", "15.0ms", "15.0ms", "Off", "On", "1/1", "-30.4dB", "1/1",  "Off",
        "Off", "",     "Audio", "On",  "0%",     "20.5KHz", "20Hz", "0%", "0%", "On",     "Free", "Sine",
        "270 Deg", "1/2", "On", "0%",  "0%",     "0%",     "0%",  "LowPass Filter", "281%", "281%", "100%", "Off"};
    for (int i = 0; i < 36; ++i) EXPECT_EQ(plugin->display(i), expected[i]) << i;
    for (int i : {36, 200, 499, 500, -1}) EXPECT_EQ(plugin->display(i), "") << i;
}

TEST_F(PluginText, ValuesShowInTheirUnits) {
    EXPECT_EQ(displayWith({{2, 1.3f}}, 2), "0dB");
    EXPECT_EQ(displayWith({{2, 0.0f}}, 2), "Off");
    EXPECT_EQ(displayWith({{2, 0.5f}}, 2), "-20dB");
    EXPECT_EQ(displayWith({{3, 1.0f}}, 3), "10dB");
    EXPECT_EQ(displayWith({{4, 1.0f}}, 4), "1023.0ms");
    EXPECT_EQ(displayWith({{4, 0.0f}}, 4), "0.0ms");
    EXPECT_EQ(displayWith({{6, 0.005f}}, 6), "Off");
    EXPECT_EQ(displayWith({{6, 0.5f}}, 6), "31ms");
    EXPECT_EQ(displayWith({{6, 1.0f}}, 6), "999ms");
    EXPECT_EQ(displayWith({{7, 0.0f}, {8, 0.0f}}, 8), "100ms");
    EXPECT_EQ(displayWith({{8, 0.6f}}, 8), "4.8s");
    EXPECT_EQ(displayWith({{8, 1.0f}}, 8), "64.0s");
    EXPECT_EQ(displayWith({{7, 1.0f}}, 8), "8/1");
    EXPECT_EQ(displayWith({{14, 1.0f}}, 14), "Host");
    EXPECT_EQ(displayWith({{14, 0.5f}}, 14), "Manual");
    EXPECT_EQ(displayWith({{17, 0.5f}}, 17), "640Hz");
    EXPECT_EQ(displayWith({{17, 0.7f}}, 17), "2.6KHz");
    EXPECT_EQ(displayWith({{22, 0.7f}}, 22), "Triggered");
    EXPECT_EQ(displayWith({{22, 0.3f}}, 22), "Free");
    EXPECT_EQ(displayWith({{24, 0.6f}}, 24), "90 Deg");
    EXPECT_EQ(displayWith({{25, 0.0f}}, 25), "Off");  // synced: division 0
    EXPECT_EQ(displayWith({{26, 0.0f}, {25, 0.0f}}, 25), "Off");
    EXPECT_EQ(displayWith({{25, 0.3f}}, 25), "0.92Hz");
    EXPECT_EQ(displayWith({{25, 0.5f}}, 25), "9.72Hz");
    EXPECT_EQ(displayWith({{25, 0.75f}}, 25), "185.0Hz");
    EXPECT_EQ(displayWith({{25, 1.0f}}, 25), "3.5KHz");
    EXPECT_EQ(displayWith({{27, 0.0f}}, 27), "-100%");
    EXPECT_EQ(displayWith({{31, 1.0f}}, 31), "Comb Filter");
    EXPECT_EQ(displayWith({{12, 0.7f}}, 12), "On");
}

TEST_F(PluginText, NamesFollowTheFilterModeAndLabelsAreBlank) {
    EXPECT_EQ(plugin->name(17), "LowPass Filter Frequency");
    plugin->setParameter(31, 1.0f);
    EXPECT_EQ(plugin->name(17), "Comb Filter Frequency");
    EXPECT_EQ(plugin->name(19), "Comb Filter Feedback");
    EXPECT_EQ(plugin->name(29), "LFO > Comb Filter Frequency");
    EXPECT_EQ(plugin->name(14), "Reverse Trigger Mode");
    for (int i : {0, 13, 200, -1, 500, 1 << 30}) EXPECT_EQ(plugin->name(i), "~~~") << i;
    for (int i : {0, 2, 499, -5, 9999}) {
        char label[8] = "junk";
        plugin->getParameterLabel(i, label);
        EXPECT_STREQ(label, " ");
    }
}

TEST_F(PluginText, TextsStayWithinTheBuffersWeAssume) {
    plugin->getParameterName(2, nullptr);
    plugin->getParameterDisplay(2, nullptr);
    plugin->getParameterLabel(2, nullptr);
    for (float mode : {0.0f, 1.0f}) {
        plugin->setParameter(31, mode);
        for (float value : {0.0f, 0.3f, 0.77f, 1.0f}) {
            for (int i = 0; i < 40; ++i) {
                if (i != 31) plugin->setParameter(i, value);
                char name[64], display[64], label[64];
                std::memset(name, 'Z', sizeof name);
                std::memset(display, 'Z', sizeof display);
                std::memset(label, 'Z', sizeof label);
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
}

TEST_F(PluginText, FormattersOnTheirOwn) {
    EXPECT_STREQ(APlugin::getFloatString(2.25f, 1).c_str(), "2.2");  // to nearest, ties to even
    EXPECT_STREQ(APlugin::getFloatString(-1.5f, 0).c_str(), "-2");
    EXPECT_STREQ(APlugin::getFloatString(3.14159f, -4).c_str(), "3");
    plugin->setParameter(18, 0.7f);
    EXPECT_STREQ(plugin->getFilterFrequencyText(18, true).c_str(), "2560Hz");
    EXPECT_STREQ(plugin->getFilterFrequencyText(600, false).c_str(), "20Hz");
    EXPECT_STREQ(plugin->getLfoSpeedText(25, 0, 17, false).c_str(), "");
}

TEST_F(PluginText, SetToValueReadsRepliesInTheParameterUnits) {
    ScriptedInput input;
    input.replies = {std::string("-40"), std::string("abc"), std::string(""), std::nullopt};
    plugin->setNumValue(3);
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    EXPECT_EQ(input.asked[0], "Wet Volume|-40 to 10 dB|0.0");
    plugin->setNumValue(3);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.8f);  // no digits read as 0 dB
    plugin->setParameter(3, 0.3f);
    plugin->setNumValue(3);
    plugin->setNumValue(3);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.3f);

    input.replies = {std::string("Off"), std::string("1"), std::string("-12"), std::string("50"),
                     std::string("50 %")};
    plugin->setNumValue(11);
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
    EXPECT_EQ(input.asked.back(), "Mute|0 for Off, 1 for On|Off");
    plugin->setNumValue(11);
    EXPECT_EQ(plugin->getParameter(11), 1.0f);
    plugin->setNumValue(9);
    EXPECT_FLOAT_EQ(plugin->getParameter(9), 0.7f);
    plugin->setNumValue(6);
    EXPECT_FLOAT_EQ(plugin->getParameter(6), 0.5f);
    plugin->setNumValue(28);
    EXPECT_FLOAT_EQ(plugin->getParameter(28), 0.75f);

    const std::size_t asked = input.asked.size();
    plugin->setNumValue(13);
    plugin->setNumValue(-1);
    plugin->setNumValue(700);
    EXPECT_EQ(input.asked.size(), asked);
}

TEST_F(PluginText, FrequencyRepliesWithoutAValidFrequencyChangeNothing) {
    ScriptedInput input;
    input.replies = {std::string("0"), std::string("-5 Hz"), std::string("nan"), std::string("1e999"),
                     std::string("640 Hz"), std::string("30000"), std::string("1")};
    for (int i = 0; i < 4; ++i) plugin->setNumValue(17);
    EXPECT_EQ(plugin->getParameter(17), 1.0f);
    EXPECT_EQ(input.asked[0], "LowPass Filter Frequency|20hz to 20000 hz|20.5 kHz");
    plugin->setNumValue(17);
    EXPECT_NEAR(plugin->getParameter(17), 0.5f, 1e-6f);
    EXPECT_EQ(input.asked.back(), "LowPass Filter Frequency|20hz to 20000 hz|20.5 kHz");
    plugin->setNumValue(17);
    EXPECT_EQ(plugin->getParameter(17), 1.0f);
    plugin->setNumValue(17);
    EXPECT_EQ(plugin->getParameter(17), 0.0f);  // below 20 Hz clamps to the bottom
    EXPECT_EQ(input.asked.back(), "LowPass Filter Frequency|20hz to 20000 hz|20.5 kHz");
}

TEST_F(PluginText, ChoicesAreNumberedFromOne) {
    ScriptedInput input;
    input.replies = {std::string("3"), std::string("9"), std::string("2")};
    plugin->setNumValue(14);
    EXPECT_EQ(input.asked[0], "Reverse Trigger Mode|1 [Audio] to 3 [Host]|1");
    EXPECT_FLOAT_EQ(plugin->getParameter(14), 0.702341f);
    EXPECT_EQ(plugin->display(14), "Host");
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
    plugin->changeDelta(23, -1);
    EXPECT_EQ(plugin->display(23), "Sine");
    plugin->changeDelta(23, 1);
    EXPECT_EQ(plugin->display(23), "Saw Up");
    plugin->changeDelta(24, 1);
    EXPECT_EQ(plugin->display(24), "270 Deg");
    plugin->changeDelta(22, 1);
    EXPECT_EQ(plugin->display(22), "Triggered");
    plugin->changeDelta(11, 1);
    EXPECT_EQ(plugin->getParameter(11), 1.0f);
    plugin->changeDelta(11, -1);
    EXPECT_EQ(plugin->getParameter(11), 0.0f);
    plugin->changeDelta(3, 1);
    EXPECT_FLOAT_EQ(plugin->getParameter(3), 0.81f);
    plugin->changeDelta(2, 1);
    EXPECT_EQ(plugin->getParameter(2), 1.0f);
    plugin->changeDelta(34, -1);
    EXPECT_EQ(plugin->getParameter(34), 0.0f);
    plugin->changeDelta(700, 1);
    EXPECT_EQ(plugin->getParameter(700), 0.0f);
}
