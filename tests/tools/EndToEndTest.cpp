// The real tidewalker-render program, run as a user runs it: against the fake
// effect for exact checks, and against the built Tidewalker.so for shape.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/tools/TestAudioFiles.h"

namespace render {
namespace {

using testing::readTestFile;
using testing::TempFolder;
using testing::writeTestFile;

struct ToolRun {
    int status = -1;
    std::string output;  // stdout and stderr together
};

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

ToolRun runTool(const std::vector<std::string>& arguments) {
    std::string command = quoted(TIDEWALKER_RENDER_PATH);
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += " 2>&1 </dev/null";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<float> stereoSine(int frames, int rate) {
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        const auto s = static_cast<float>(0.5 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate));
        samples.push_back(s);
        samples.push_back(-s);
    }
    return samples;
}

TEST(RenderTool, RendersAFileThroughAnEffectAndSaysWhere) {
    TempFolder folder;
    const std::string input = folder.file("take one.wav");
    const std::vector<float> samples = stereoSine(4800, 48000);
    writeTestFile(input, 2, 48000, samples, SF_FORMAT_FLOAT);

    const ToolRun run = runTool({"--plugin", FAKE_EFFECT_PATH, "--set", "Gain=0.5", "--tail", "0.05", "--block", "100",
                             "--cc", "0.01:1:7:64", "--trigger", "0.02", input});
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string output = folder.file("take one-tidewalker.wav");
    EXPECT_NE(run.output.find("Wrote " + output), std::string::npos) << run.output;

    const auto back = readTestFile(output);
    EXPECT_EQ(back.info.samplerate, 48000);
    EXPECT_EQ(back.info.channels, 2);
    ASSERT_EQ(back.info.frames, 4800 + 2400);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_FLOAT_EQ(back.interleaved[i], 0.5f * samples[i]) << i;
    }
    for (std::size_t i = samples.size(); i < back.interleaved.size(); ++i) {
        ASSERT_EQ(back.interleaved[i], 0.0f) << i;
    }
}

TEST(RenderTool, FailsClearlyAndLeavesNoFileBehind) {
    TempFolder folder;
    const std::string input = folder.file("in.wav");
    writeTestFile(input, 1, 44100, std::vector<float>(441, 0.25f));

    ToolRun run = runTool({"--plugin", folder.file("missing.so"), input});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("cannot load the plug-in"), std::string::npos) << run.output;

    run = runTool({"--plugin", FAKE_EFFECT_PATH, "--set", "Nope=1", input});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("no parameter \"Nope\""), std::string::npos) << run.output;

    run = runTool({"--plugin", FAKE_EFFECT_PATH, "-o", input, input});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("refusing to overwrite"), std::string::npos) << run.output;

    run = runTool({"--plugin", FAKE_EFFECT_PATH, folder.file("absent.flac")});
    EXPECT_EQ(run.status, 1);

    run = runTool({"--block", "zero", input});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("--help"), std::string::npos) << run.output;

    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.wav"});
    EXPECT_EQ(readTestFile(input).info.frames, 441);
}

TEST(RenderTool, RendersTidewalkerToTheExpectedShape) {
    TempFolder folder;
    const std::string input = folder.file("short.wav");
    writeTestFile(input, 2, 44100, stereoSine(22050, 44100), SF_FORMAT_FLOAT);
    const std::string output = folder.file("out.wav");

    const ToolRun run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--tail", "0.5", "--set", "Wet Volume=0.9",
                             "--tempo", "100", "--play-at", "0.1", "--trigger", "0.2", "--cc", "0.3:1:7:100", "-o",
                             output, input});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto back = readTestFile(output);
    EXPECT_EQ(back.info.channels, 2);
    EXPECT_EQ(back.info.samplerate, 44100);
    EXPECT_EQ(back.info.frames, 22050 + 22050);
    for (const float sample : back.interleaved) {
        ASSERT_TRUE(std::isfinite(sample));
    }
}

TEST(RenderTool, ListsTidewalkerParametersAndIdentity) {
    ToolRun run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--list-params"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Wet Volume"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("~~~"), std::string::npos);

    run = runTool({"--plugin", TIDEWALKER_PLUGIN_PATH, "--info"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Parameters:     500"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace render
