// Every factory preset rendered as a DAW plays it (transport running at
// 120 BPM from the first frame) and compared with its reference. A preset may
// touch the output clip on peaks; long stretches at the clip fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "plugin/uPluginPresetsBanks.h"
#include "tests/golden/GoldenReference.h"
#include "tests/golden/GoldenSession.h"

namespace golden {
namespace {

constexpr float kClipLevel = 0.999f;
constexpr std::size_t kLongestAllowedClipRun = 441;  // 10 ms: a flattened waveform, not a peak

std::size_t longestClipRun(const StereoSignal& render) {
    std::size_t longest = 0;
    for (const auto* channel : {&render.left, &render.right}) {
        std::size_t run = 0;
        for (float v : *channel) longest = std::max(longest, run = std::fabs(v) >= kClipLevel ? run + 1 : 0);
    }
    return longest;
}

class PresetRender : public ::testing::TestWithParam<int> {};

TEST_P(PresetRender, SoundsAsBeforeWithoutSustainedClipping) {
    static const StereoSignal input = makeStimulus(kRenderFrames);
    RenderSession session({.tempo = 120.0, .transport = true, .transportStartFrame = 0});
    session.effect().setFactoryProgram(GetParam());
    const StereoSignal render = session.render(input);
    EXPECT_LE(longestClipRun(render), kLongestAllowedClipRun);
    char name[16];
    std::snprintf(name, sizeof name, "preset-%02d", GetParam());
    checkAgainstReference(name, render);
}

INSTANTIATE_TEST_SUITE_P(FactoryBank, PresetRender, ::testing::Range(0, FACTORY_PRESET_COUNT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             char text[PRESET_NAME_LENGTH + 1];
                             decodePresetText(FACTORY_PRESETS[info.param].data() + PRESET_NAME_SLOT,
                                              PRESET_NAME_LENGTH, text);
                             std::string name = std::to_string(100 + info.param).substr(1) + "_" + text;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace golden
