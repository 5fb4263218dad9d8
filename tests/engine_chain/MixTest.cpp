// Gains, mute, dry mute, bypass, clip, pan and the filter section's LFO
// depths, measured in the middle of a take of a constant level.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/engine_chain/ChainTestSupport.h"

using namespace chain;

namespace {

struct MixCase {
    const char* name;
    std::vector<std::pair<VstInt32, float>> settings;
    float recorded;  // level during the take
    float playing;   // level while the take plays back
    float left;
    float right;
};

// The LFO standing at +1: a square wave started half-way, not moving.
const std::vector<std::pair<VstInt32, float>> kLfoAtPlusOne = {
    {Param::LfoActive, 1.0f}, {Param::LfoWave, 0.8f}, {Param::LfoPhase, 2.0f / 3.0f}, {Param::LfoSpeed, 0.0f}};

std::vector<std::pair<VstInt32, float>> withLfo(std::vector<std::pair<VstInt32, float>> rows) {
    rows.insert(rows.end(), kLfoAtPlusOne.begin(), kLfoAtPlusOne.end());
    return rows;
}

const float kPlus10dB = static_cast<float>(std::pow(10.0, 0.5));

const MixCase kCases[] = {
    {"dry off leaves no residue", {}, 0.3f, 0.2f, 0.3f, 0.3f},
    {"dry at 0 dB", {{Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.5f, 0.5f},
    {"dry at -20 dB", {{Param::DryVolume, 0.5f}}, 0.3f, 0.2f, 0.32f, 0.32f},
    {"wet at +10 dB", {{Param::WetVolume, 1.0f}}, 0.05f, 0.0f, 0.05f * kPlus10dB, 0.05f * kPlus10dB},
    {"clip above", {{Param::WetVolume, 1.0f}}, 0.5f, 0.0f, 0.999f, 0.999f},
    {"clip below", {{Param::WetVolume, 1.0f}}, -0.5f, 0.0f, -0.999f, -0.999f},
    {"mute keeps the dry path", {{Param::Mute, 1.0f}, {Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.2f, 0.2f},
    {"dry mute keeps the wet path", {{Param::DryMute, 1.0f}, {Param::DryVolume, 1.0f}}, 0.3f, 0.2f, 0.3f, 0.3f},
    {"bypass passes even beyond full scale", {{Param::Bypass, 1.0f}}, 0.3f, 1.5f, 1.5f, 1.5f},
    {"distort without the filter section", {{Param::Distort, 1.0f}}, 0.3f, 0.0f, 0.3f, 0.3f},
    {"pan fully right", withLfo({{Param::LfoToPan, 1.0f}}), 0.3f, 0.0f, 0.0f, 0.3f},
    {"volume swept to full", withLfo({{Param::LfoToVolume, 1.0f}}), 0.3f, 0.0f, 0.3f, 0.3f},
    {"volume swept inverted", withLfo({{Param::LfoToVolume, 0.0f}}), 0.3f, 0.0f, 0.0f, 0.0f},
};

class Mix : public ::testing::TestWithParam<MixCase> {
protected:
    IsolatedHome home;
    void SetUp() override {
        hostTime = {};
        setTransport(false);
    }
};

}  // namespace

TEST_P(Mix, MiddleOfATake) {
    const MixCase& c = GetParam();
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    for (const auto& [index, value] : c.settings) plugin.setParameter(index, value);

    const std::size_t trigger = 100;
    Stereo in(trigger + 2 * kTakeLength);
    in.fill(trigger, trigger + kTakeLength - 1, c.recorded, c.recorded);
    in.fill(trigger + kTakeLength - 1, in.size(), c.playing, c.playing);
    const Stereo out = render(plugin, in);
    const std::size_t middle = trigger + kTakeLength + 1000;
    EXPECT_FLOAT_EQ(out.left[middle], c.left);
    EXPECT_FLOAT_EQ(out.right[middle], c.right);
}

INSTANTIATE_TEST_SUITE_P(Cases, Mix, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST(MixFilters, LfoMovesTheCombByHalfTheLowPassDepth) {
    IsolatedHome home;
    hostTime = {};
    ChainPlugin plugin;
    cleanTake(plugin, kAudioMode);
    for (const auto& [index, value] : kLfoAtPlusOne) plugin.setParameter(index, value);
    plugin.setParameter(Param::FilterFrequency, 0.25f);
    plugin.setParameter(Param::LfoToFilterFrequency, 0.75f);  // depth +0.5
    plugin.setParameter(Param::HighPassFilterFrequency, 0.2f);
    plugin.setParameter(Param::LfoToHighPassFrequency, 0.25f);  // depth -0.5
    render(plugin, Stereo(16));
    EXPECT_FLOAT_EQ(plugin.lowPassFilter.targetFreq, 0.75f);
    EXPECT_FLOAT_EQ(plugin.combFilter.targetFreq, 0.5f);
    EXPECT_EQ(plugin.highPassFilter.targetFreq, 0.0f);  // clamped at the bottom
}
