// The real tidewalker-render program, run as a user runs it: against the fake
// effect for exact checks, and against the built Tidewalker.so for shape.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "plugin/ParameterTable.h"
#include "plugin/uPluginPresetsBanks.h"
#include "tests/tools/Support.h"

namespace render {
namespace {

using namespace testing;

// Interleaved stereo, different on each side.
std::vector<float> wave(std::size_t frames) {
    std::vector<float> samples(2 * frames);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = 0.5f * std::sin(0.03f * static_cast<float>(i));
    return samples;
}

TEST(RenderTool, RendersAFileThroughAnEffectAndSaysWhere) {
    TempFolder folder;
    const std::string input = folder.file("take one.wav");
    const std::vector<float> samples = wave(4800);
    writeTestFile(input, 2, 48000, samples);

    const ToolRun run = runTool({"--plugin", FAKE_EFFECT_PATH, "--set", "Gain=0.5", "--tail", "0.05", "--block", "100",
                                 "--cc", "0.01:1:7:64", "--trigger", "0.02", input});
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string output = folder.file("take one-tidewalker.wav");
    EXPECT_NE(run.output.find("Wrote " + output), std::string::npos) << run.output;

    const auto back = readTestFile(output);
    EXPECT_EQ(std::tuple(back.info.channels, back.info.samplerate, back.info.frames),
              std::tuple(2, 48000, sf_count_t{4800 + 2400}));
    for (std::size_t i = 0; i < back.interleaved.size(); ++i)
        ASSERT_FLOAT_EQ(back.interleaved[i], i < samples.size() ? 0.5f * samples[i] : 0.0f) << i;
}

TEST(RenderTool, FailsClearlyAndLeavesNoFileBehind) {
    TempFolder folder;
    const std::string input = folder.file("in.wav");
    writeTestFile(input, 1, 44100, std::vector<float>(441, 0.25f));
    const std::string earlier = folder.file("earlier.wav");
    writeTestFile(earlier, 2, 44100, {0.1f, 0.1f});
    const std::tuple<std::vector<std::string>, int, std::string> failures[] = {
        // A render that fails keeps the result of an earlier one.
        {{"--plugin", folder.file("missing.so"), "-o", earlier, input}, 1, "cannot load the plug-in"},
        {{"--plugin", "libm.so.6", input}, 1, "neither VSTPluginMain nor main"},
        {{"--plugin", FAKE_EFFECT_PATH, "--set", "Nope=1", input}, 1, "no parameter \"Nope\""},
        {{"--plugin", FAKE_EFFECT_PATH, "-o", input, input}, 1, "refusing to overwrite"},
        {{"--plugin", FAKE_EFFECT_PATH, folder.file("absent.flac")}, 1, "cannot read"},
        {{"--block", "zero", input}, 2, "--help"},
    };
    for (const auto& [arguments, status, message] : failures) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, status) << run.output;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"earlier.wav", "in.wav"}));
    EXPECT_EQ(readTestFile(input).info.frames, 441);
    EXPECT_EQ(readTestFile(earlier).info.frames, 1);
}

// The Audio Unit adapter, driven through the host simulator, renders what
// the VST entry renders: the demo, a factory preset with tempo, transport, a
// trigger press and a controller at an odd block size, and the random LFO
// wave on the volume with a seed given.
TEST(RenderTool, TheAudioUnitPathRendersExactlyWhatTheVstPathDoes) {
    int hostPreset = 0;  // the first factory preset the host's transport triggers
    while (getSteppedValue(FACTORY_PRESETS[hostPreset][Param::ReverseTriggerMode], kTriggerModeSteps.scale,
                           kTriggerModeSteps.count) != TriggerMode::Host)
        ++hostPreset;
    TempFolder folder;
    const std::vector<std::vector<std::string>> settings = {
        {"--tail", "0.5"},
        {"--preset", std::to_string(hostPreset), "--tempo", "97", "--play-at", "1", "--trigger", "3", "--cc", "2:1:7:64", "--block", "333"},
        {"--seed", "9", "--set", "LFO Active=1", "--set", "LFO Wave=1", "--set", "LFO Speed=1", "--set", "LFO > Volume=1"}};
    for (const auto& setting : settings) {
        std::vector<std::string> vst = {"--plugin", TIDEWALKER_PLUGIN_PATH, "-o", folder.file("vst.wav")};
        std::vector<std::string> au = {"--format", "au", "-o", folder.file("au.wav")};
        vst.insert(vst.end(), setting.begin(), setting.end());
        au.insert(au.end(), setting.begin(), setting.end());
        const ToolRun viaVst = runTool(vst), viaAu = runTool(au);
        ASSERT_EQ(viaVst.status, 0) << viaVst.output;
        ASSERT_EQ(viaAu.status, 0) << viaAu.output;
        const ReadBack a = readTestFile(folder.file("vst.wav")), b = readTestFile(folder.file("au.wav"));
        EXPECT_GT(a.interleaved.size(), 44100u);
        EXPECT_TRUE(a.interleaved == b.interleaved) << setting[0];  // bit for bit, not within a tolerance
        std::filesystem::remove(folder.file("vst.wav"));
        std::filesystem::remove(folder.file("au.wav"));
    }
}

TEST(RenderTool, RendersTidewalkerToTheExpectedShape) {
    TempFolder folder;
    const std::string input = folder.file("short.wav");
    writeTestFile(input, 2, 44100, wave(22050));

    const ToolRun run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--tail", "0.5", "--set", "Wet Volume=0.9",
                                 "--tempo", "100", "--play-at", "0.1", "--trigger", "0.2", "--cc", "0.3:1:7:9", input});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto back = readTestFile(folder.file("short-tidewalker.wav"));
    EXPECT_EQ(std::tuple(back.info.channels, back.info.samplerate, back.info.frames),
              std::tuple(2, 44100, sf_count_t{22050 + 22050}));
    for (const float sample : back.interleaved) ASSERT_TRUE(std::isfinite(sample));
}

// The random LFO steps on the volume: a seed repeats them exactly, another
// seed gives other steps.
TEST(RenderTool, TheSeedFixesTheRandomLfoWave) {
    TempFolder folder;
    const std::string input = folder.file("in.wav");
    writeTestFile(input, 2, 44100, wave(22050));
    std::vector<std::vector<float>> renders;
    for (const char* seed : {"5", "5", "6"}) {
        const std::string output = folder.file(std::string("seed") + seed + std::to_string(renders.size()) + ".wav");
        const ToolRun run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--tail", "0", "--seed", seed, "--set",
                                     "LFO Active=1", "--set", "LFO Wave=1", "--set", "LFO Speed=1", "--set",
                                     "LFO > Volume=1", "-o", output, input});
        ASSERT_EQ(run.status, 0) << run.output;
        renders.push_back(readTestFile(output).interleaved);
    }
    EXPECT_EQ(renders[0], renders[1]);
    EXPECT_NE(renders[0], renders[2]);
}

TEST(RenderTool, ListsPresetsParametersAndIdentity) {
    // The bank is known without loading an effect.
    ToolRun run = runTool({"--list-presets", "--plugin", "/nonexistent.so"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find(" 0  Default\n"), 0u) << run.output;
    EXPECT_NE(run.output.find("\n45  Voice Mad\n"), std::string::npos);

    run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--info", "--list-params"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Parameters:     500"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Wet Volume"), std::string::npos);
    EXPECT_EQ(run.output.find("~~~"), std::string::npos);

    // Settings go on top: "Host" mode from the preset, its comb filter switched back off.
    run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--preset", "drums & perc 01", "--set", "31=0", "--info",
                   "--list-params", "Reverse Trigger Mode", "31"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Program:        Drums & Perc 01\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Host"), std::string::npos);
    EXPECT_NE(run.output.find("LowPass Filter"), std::string::npos);
}

}  // namespace
}  // namespace render
