#include <gtest/gtest.h>

#include "tools/render/Options.h"

namespace render {
namespace {

ParseResult parse(std::vector<std::string> arguments) { return parseOptions(arguments); }

TEST(RenderOptions, DefaultsDescribeAPlainRenderOfTheDemo) {
    const ParseResult result = parse({});
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.options.inputPath, "");
    EXPECT_EQ(result.options.blockSize, 512);
    EXPECT_DOUBLE_EQ(result.options.tempo, 120.0);
    EXPECT_DOUBLE_EQ(result.options.tailSeconds, 2.0);
    EXPECT_DOUBLE_EQ(result.options.playAtSeconds, 0.0);
    EXPECT_FALSE(result.options.stopAtSeconds.has_value());
}

TEST(RenderOptions, ReadsEveryOptionInBothSpellings) {
    const ParseResult result =
        parse({"in.flac", "-o", "out.wav", "--plugin=/x/T.so", "--block", "64", "--tempo=96.5", "--play-at", "1.5",
               "--stop-at", "4", "--tail=0", "--set", "Wet Volume=0.8", "--set=LFO > Volume=1", "--set", "3=0",
               "--trigger", "2", "--trigger=2.5", "--cc", "0.5:16:7:127"});
    ASSERT_EQ(result.error, "");
    const Options& o = result.options;
    EXPECT_EQ(o.inputPath, "in.flac");
    EXPECT_EQ(o.outputPath, "out.wav");
    EXPECT_EQ(o.pluginPath, "/x/T.so");
    EXPECT_EQ(o.blockSize, 64);
    EXPECT_DOUBLE_EQ(o.tempo, 96.5);
    EXPECT_DOUBLE_EQ(o.playAtSeconds, 1.5);
    EXPECT_DOUBLE_EQ(*o.stopAtSeconds, 4.0);
    EXPECT_DOUBLE_EQ(o.tailSeconds, 0.0);
    ASSERT_EQ(o.settings.size(), 3u);
    EXPECT_EQ(o.settings[0].parameter, "Wet Volume");
    EXPECT_FLOAT_EQ(o.settings[0].value, 0.8f);
    EXPECT_EQ(o.settings[1].parameter, "LFO > Volume");
    EXPECT_EQ(o.settings[2].parameter, "3");
    EXPECT_EQ(o.triggerSeconds, (std::vector<double>{2.0, 2.5}));
    ASSERT_EQ(o.controllers.size(), 1u);
    EXPECT_EQ(o.controllers[0].channel, 16);
    EXPECT_EQ(o.controllers[0].controller, 7);
    EXPECT_EQ(o.controllers[0].value, 127);
}

TEST(RenderOptions, ListingTakesNamesInsteadOfAnInput) {
    const ParseResult result = parse({"--list-params", "Wet Volume", "--all", "14"});
    ASSERT_EQ(result.error, "");
    EXPECT_TRUE(result.options.listParameters);
    EXPECT_TRUE(result.options.listAll);
    EXPECT_EQ(result.options.listOnly, (std::vector<std::string>{"Wet Volume", "14"}));
    EXPECT_EQ(result.options.inputPath, "");
    // After "--" a file name may start with a dash.
    EXPECT_EQ(parse({"--", "-odd.wav"}).options.inputPath, "-odd.wav");
}

TEST(RenderOptions, RejectsBadValuesWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--block", "0"},        {"--block", "16385"},     {"--block", "12x"},     {"--block"},
        {"--tempo", "0"},        {"--tempo", "nan"},       {"--tempo", "-5"},      {"--tail", "-1"},
        {"--play-at", "inf"},    {"--trigger", ""},        {"--set", "Wet Volume"}, {"--set", "=0.5"},
        {"--set", "Wet=1.5"},    {"--set", "Wet=abc"},     {"--cc", "1:0:7:1"},    {"--cc", "1:17:7:1"},
        {"--cc", "1:1:128:1"},   {"--cc", "1:1:7:-1"},     {"--cc", "1:1:7"},      {"--cc", "x:1:7:1"},
        {"--bogus"},             {"a.wav", "b.wav"},       {"--play-at", "3", "--stop-at", "2"},
        {"--tail", "1e9"},       {"-"},
    };
    for (const auto& arguments : bad) {
        const ParseResult result = parse(arguments);
        EXPECT_NE(result.error, "") << ::testing::PrintToString(arguments);
    }
}

TEST(RenderOptions, DefaultOutputSitsBesideTheInput) {
    EXPECT_EQ(defaultOutputPath(""), "tidewalker-demo.wav");
    EXPECT_EQ(defaultOutputPath("loop.flac"), "loop-tidewalker.wav");
    EXPECT_EQ(defaultOutputPath("/music/take.2/drums.wav"), "/music/take.2/drums-tidewalker.wav");
    EXPECT_EQ(defaultOutputPath("/music/take.2/drums"), "/music/take.2/drums-tidewalker.wav");
    EXPECT_EQ(defaultOutputPath("dir/.hidden"), "dir/.hidden-tidewalker.wav");
}

}  // namespace
}  // namespace render
