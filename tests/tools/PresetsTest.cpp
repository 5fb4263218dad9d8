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
    EXPECT_EQ(presetName(40), "Vocal weird 08");
    EXPECT_EQ(presetName(46), "");
    const std::pair<const char*, int> found[] = {{"28", 28}, {"045", 45}, {"VOICE MAD", 45}, {"vocal WEIRD 08", 40}};
    for (auto [text, preset] : found) EXPECT_EQ(findPreset(text), preset) << text;
    for (const char* missing : {"46", "-1", "+3", "28x", "", "Voice", "99999999999999999999"})
        EXPECT_FALSE(findPreset(missing).has_value()) << missing;
    EXPECT_EQ(parseOptions({"--preset", "Vocal HP Move"}).options.preset, 30);
    EXPECT_EQ(parseOptions({"--preset=Nope"}).error, "no factory preset \"Nope\" (see --list-presets)");
}

TEST(RenderPresets, ListedWithoutAnEffectAndRecognisedByTheEffectWhenLoaded) {
    ToolOutput run = runRender("--list-presets --plugin /nonexistent.so");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(run.text.find(" 0  Default\n"), 0u) << run.text;
    EXPECT_NE(run.text.find("\n45  Voice Mad\n"), std::string::npos);

    // Settings go on top: "Host" mode from the preset, its comb filter switched back off.
    run = runRender(std::string("--plugin '") + TIDEWALKER_PLUGIN_PATH +
                    "' --preset 'drums & perc 01' --set 31=0 --info --list-params 'Reverse Trigger Mode' 31");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find("Program:        Drums & Perc 01\n"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("Host"), std::string::npos);
    EXPECT_NE(run.text.find("LowPass Filter"), std::string::npos);
}

}  // namespace
}  // namespace render
