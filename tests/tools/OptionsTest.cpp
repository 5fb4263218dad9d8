#include <gtest/gtest.h>

#include <tuple>

#include "tools/render/Options.h"
#include "tools/render/Presets.h"

namespace render {
namespace {

using namespace std::string_literals;

TEST(RenderOptions, ReadsEveryOptionInBothSpellings) {
    const ParseResult result =
        parseOptions({"in.flac", "-o", "out.wav", "--plugin=/x/T.so", "--block", "64", "--tempo=96.5", "--play-at",
                      "1.5", "--stop-at", "4", "--tail=0", "--set", "Wet Volume=0.8", "--set=LFO > Volume=1", "--set",
                      "3=0", "--trigger", "2", "--trigger=2.5", "--cc", "0.5:16:7:127", "--seed", "4294967295"});
    ASSERT_EQ(result.error, "");
    const Options& o = result.options;
    EXPECT_EQ(std::tie(o.inputPath, o.outputPath, o.pluginPath), std::tuple("in.flac"s, "out.wav"s, "/x/T.so"s));
    EXPECT_EQ(std::tuple(o.blockSize, o.tempo, o.playAtSeconds, o.stopAtSeconds.value_or(-1), o.tailSeconds),
              std::tuple(64, 96.5, 1.5, 4.0, 0.0));
    using Setting = std::pair<std::string, float>;
    std::vector<Setting> settings;
    for (const ParameterSetting& s : o.settings) settings.emplace_back(s.parameter, s.value);
    EXPECT_EQ(settings, (std::vector<Setting>{{"Wet Volume", 0.8f}, {"LFO > Volume", 1.0f}, {"3", 0.0f}}));
    EXPECT_EQ(o.triggerSeconds, (std::vector<double>{2.0, 2.5}));
    EXPECT_EQ(o.seed, 4294967295u);
    ASSERT_EQ(o.controllers.size(), 1u);
    const ControllerMessage& cc = o.controllers[0];
    EXPECT_EQ(std::tie(cc.seconds, cc.channel, cc.controller, cc.value), std::tuple(0.5, 16, 7, 127));
}

TEST(RenderOptions, ListingTakesNamesInsteadOfAnInput) {
    const ParseResult result = parseOptions({"--list-params", "Wet Volume", "--all", "14"});
    const Options& o = result.options;
    EXPECT_TRUE(result.error.empty() && o.listParameters && o.listAll && o.inputPath.empty()) << result.error;
    EXPECT_EQ(o.listOnly, (std::vector<std::string>{"Wet Volume", "14"}));
    EXPECT_EQ(parseOptions({}).error, "");  // the demo render
    EXPECT_EQ(parseOptions({"--", "-odd.wav"}).options.inputPath, "-odd.wav");  // a name may start with a dash
}

TEST(RenderOptions, RejectsBadValuesWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--block", "0"}, {"--block", "16385"}, {"--block", "12x"}, {"--block"}, {"--tempo", "0"}, {"--tempo", "nan"},
        {"--tempo", "-5"}, {"--tail", "-1"}, {"--tail", "1e9"}, {"--seed", "-1"}, {"--seed", "4294967296"},
        {"--play-at", "inf"}, {"--trigger", ""}, {"-"},
        {"--set", "Wet Volume"}, {"--set", "=0.5"}, {"--set", "Wet=1.5"}, {"--set", "Wet=abc"}, {"--bogus"},
        {"--cc", "1:0:7:1"}, {"--cc", "1:17:7:1"}, {"--cc", "1:1:128:1"}, {"--cc", "1:1:7:-1"}, {"--cc", "1:1:7"},
        {"--cc", "x:1:7:1"}, {"a.wav", "b.wav"}, {"--play-at", "3", "--stop-at", "2"}, {"--format", "vst3"}};
    for (const auto& arguments : bad) {
        EXPECT_NE(parseOptions(arguments).error, "") << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(parseOptions({"--preset=Nope"}).error, "no factory preset \"Nope\" (see --list-presets)");
}

TEST(RenderOptions, DefaultOutputSitsBesideTheInput) {
    const std::pair<const char*, const char*> outputs[] = {
        {"", "tidewalker-demo.wav"}, {"loop.flac", "loop-tidewalker.wav"},
        {"dir/.hidden", "dir/.hidden-tidewalker.wav"},
        {"/music/take.2/drums.wav", "/music/take.2/drums-tidewalker.wav"},
        {"/music/take.2/drums", "/music/take.2/drums-tidewalker.wav"}};
    for (auto [input, output] : outputs) EXPECT_EQ(defaultOutputPath(input), output) << input;
}

TEST(RenderPresets, FoundByNumberExactNameOrUniqueCaselessName) {
    EXPECT_EQ(presetName(40), "Vocal weird 08");
    EXPECT_EQ(presetName(46), "");
    const std::pair<const char*, int> found[] = {{"28", 28}, {"045", 45}, {"VOICE MAD", 45}, {"vocal WEIRD 08", 40}};
    for (auto [text, preset] : found) EXPECT_EQ(findPreset(text), preset) << text;
    for (const char* missing : {"46", "-1", "+3", "28x", "", "Voice", "99999999999999999999"})
        EXPECT_FALSE(findPreset(missing).has_value()) << missing;
    EXPECT_EQ(parseOptions({"--preset", "Vocal HP Move"}).options.preset, 30);
}

}  // namespace
}  // namespace render
