// Every factory preset rendered as a DAW plays it (transport running at
// 120 BPM from the first frame) and compared with its reference. Each render
// must also stay finite; how much each preset clips on this input is reported,
// and long stretches of clipping fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "plugin/uPluginPresetsBanks.h"
#include "tests/golden/GoldenReference.h"
#include "tests/golden/GoldenSession.h"

namespace golden {
namespace {

constexpr std::size_t kRenderFrames = 6 * 44100;
constexpr float kClipLevel = 0.999f;  // the output clip
// A preset may touch the clip on peaks; holding it for this long is not a
// peak but a flattened waveform.
constexpr std::size_t kLongestAllowedClipRun = 441;  // 10 ms

struct ClipCount {
    float peak = 0.0f;
    std::size_t clipped = 0;  // samples of both channels at the clip
    std::size_t longestRun = 0;  // frames in a row at the clip, in one channel
};

ClipCount countClipping(const StereoSignal& render) {
    ClipCount count;
    for (const auto* channel : {&render.left, &render.right}) {
        std::size_t run = 0;
        for (float v : *channel) {
            count.peak = std::max(count.peak, std::fabs(v));
            run = std::fabs(v) >= kClipLevel ? run + 1 : 0;
            count.clipped += run > 0;
            count.longestRun = std::max(count.longestRun, run);
        }
    }
    return count;
}

std::string presetName(int index) {
    char name[PRESET_NAME_LENGTH + 1];
    decodePresetText(FACTORY_PRESETS[index].data() + PRESET_NAME_SLOT, PRESET_NAME_LENGTH, name);
    return name;
}

std::array<ClipCount, FACTORY_PRESET_COUNT>& clipReport() {
    static std::array<ClipCount, FACTORY_PRESET_COUNT> report{};
    return report;
}

class PresetRender : public ::testing::TestWithParam<int> {
public:
    static void TearDownTestSuite() {
        std::printf("Output on the golden input: peak, samples at the clip (of %zu), longest run at the clip\n",
                    2 * kRenderFrames);
        for (int i = 0; i < FACTORY_PRESET_COUNT; ++i) {
            const ClipCount& c = clipReport()[i];
            if (c.peak > 0.0f)
                std::printf("  %2d %-28s %6.1f dBFS %7zu %5zu\n", i, presetName(i).c_str(), 20.0 * std::log10(c.peak),
                            c.clipped, c.longestRun);
        }
    }
};

// Until the effect can select factory presets, the bank cannot be rendered.
template <class Effect>
bool selectFactoryPreset(Effect& effect, int index) {
    if constexpr (requires { effect.setFactoryProgram(index); }) {
        effect.setFactoryProgram(index);
        return true;
    } else {
        return false;
    }
}

TEST_P(PresetRender, SoundsAsBeforeWithoutNonFiniteOrSustainedClipping) {
    const int index = GetParam();
    static const StereoSignal input = makeStimulus(kRenderFrames);
    RenderSession session({.tempo = 120.0, .transport = true, .transportStartFrame = 0});
    if (!selectFactoryPreset(session.effect(), index))
        GTEST_SKIP() << "factory presets cannot be selected yet (setFactoryProgram is missing)";
    const StereoSignal render = session.render(input);

    std::size_t nonFinite = 0;
    for (std::size_t n = 0; n < render.frames(); ++n)
        nonFinite += !std::isfinite(render.left[n]) + !std::isfinite(render.right[n]);
    EXPECT_EQ(nonFinite, 0u);
    const ClipCount clips = countClipping(render);
    clipReport()[index] = clips;
    EXPECT_LE(clips.longestRun, kLongestAllowedClipRun) << presetName(index) << " holds the clip";

    char name[16];
    std::snprintf(name, sizeof name, "preset-%02d", index);
    checkAgainstReference(name, render);
}

INSTANTIATE_TEST_SUITE_P(FactoryBank, PresetRender, ::testing::Range(0, FACTORY_PRESET_COUNT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string name = presetName(info.param);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             char prefix[8];
                             std::snprintf(prefix, sizeof prefix, "%02d_", info.param);
                             return prefix + name;
                         });

}  // namespace
}  // namespace golden
