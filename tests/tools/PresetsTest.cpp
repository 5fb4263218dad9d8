// Factory presets in tidewalker-render: finding them, and loading one into
// the real effect through the ABI.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/Options.h"
#include "tools/render/Presets.h"

namespace render {
namespace {

struct ToolOutput {
    int status = -1;
    std::string text;
};

ToolOutput runRender(const std::string& arguments) {
    ToolOutput out;
    const std::string command = std::string("'") + TIDEWALKER_RENDER_PATH + "' " + arguments + " 2>&1 </dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.text.append(buffer, n);
    const int status = ::pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

TEST(RenderPresets, FoundByNumberExactNameOrUniqueCaselessName) {
    ASSERT_EQ(presetCount(), 46);
    EXPECT_EQ(presetName(0), "Default");
    EXPECT_EQ(presetName(40), "Vocal weird 08");
    EXPECT_EQ(presetName(46), "");
    EXPECT_EQ(presetName(-1), "");

    EXPECT_EQ(findPreset("28"), 28);
    EXPECT_EQ(findPreset("0"), 0);
    EXPECT_EQ(findPreset("045"), 45);
    EXPECT_EQ(findPreset("Voice Mad"), 45);
    EXPECT_EQ(findPreset("VOICE MAD"), 45);
    EXPECT_EQ(findPreset("vocal WEIRD 08"), 40);
    for (const char* missing : {"46", "-1", "+3", "28x", "", "Voice", "Voice Mad ", "99999999999999999999"})
        EXPECT_FALSE(findPreset(missing).has_value()) << missing;
}

TEST(RenderPresets, OptionsTakeAPresetOrRefuseAnUnknownOne) {
    ParseResult parsed = parseOptions({"--preset", "Vocal HP Move", "--list-presets"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.preset, 30);
    EXPECT_TRUE(parsed.options.listPresets);
    parsed = parseOptions({"--preset=Nope"});
    EXPECT_EQ(parsed.error, "no factory preset \"Nope\" (see --list-presets)");
    EXPECT_FALSE(parseOptions({}).options.preset.has_value());
}

TEST(RenderPresets, ListingNeedsNoEffect) {
    const ToolOutput run = runRender("--list-presets --plugin /nonexistent.so");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(run.text.find(" 0  Default\n"), 0u) << run.text;
    EXPECT_NE(run.text.find("28  Vocal 1bar clean\n"), std::string::npos);
    EXPECT_NE(run.text.find("45  Voice Mad\n"), std::string::npos);
    EXPECT_EQ(runRender("--preset 46 --info").status, 2);
}

TEST(RenderPresets, TheEffectRecognisesAPresetLoadedThroughTheAbi) {
    const std::string plugin = std::string("--plugin '") + TIDEWALKER_PLUGIN_PATH + "'";
    ToolOutput run = runRender(plugin + " --preset 'drums & perc 01' --info");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find("Program:        Drums & Perc 01\n"), std::string::npos) << run.text;

    // Settings go on top of the preset: "Host" from the preset, the comb filter switched back off.
    run = runRender(plugin + " --preset 1 --set 31=0 --list-params 'Reverse Trigger Mode' 31");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find("Host"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("LowPass Filter"), std::string::npos) << run.text;
}

}  // namespace
}  // namespace render
