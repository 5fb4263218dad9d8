// Golden renders of a few engine settings, and the checks that the golden
// comparison itself can be trusted: it notices a small change of sound, and
// its files survive a round trip and refuse damage.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "tests/golden/GoldenReference.h"
#include "tests/golden/GoldenSession.h"

namespace golden {
namespace {

const StereoSignal& stimulus() {
    static const StereoSignal signal = makeStimulus(kRenderFrames);
    return signal;
}

// The normalised value that reads as the given step of a 22-step parameter.
constexpr float step(int index) { return (static_cast<float>(index) + 0.1f) / 21.99f; }
constexpr int kHalfNote = 9, kQuarterNote = 6;

struct Setting {
    const char* reference;
    HostSetup host;
    std::vector<ParameterChange> changes;  // frame 0: set before rendering
};

StereoSignal render(const Setting& setting) {
    RenderSession session(setting.host);
    for (const ParameterChange& c : setting.changes)
        c.frame ? session.at(c.frame, c.index, c.value) : session.set(c.index, c.value);
    return session.render(stimulus());
}

TEST(GoldenRender, EngineSettingsSoundAsTheirReferences) {
    const Setting settings[] = {
        {"default", {}, {{0, Param::WetVolume, 0.8f}}},
        {"manual-ramps", {},
         {{0, Param::ReverseTriggerMode, 0.5f}, {0, Param::ReverseLength, step(kHalfNote)},
          {0, Param::ReverseRetriggerHoldTime, step(kHalfNote)}, {0, Param::ReverseAttack, 0.6f},  // 63 ms
          {0, Param::ReverseDecay, 0.7f},                                                           // 127 ms
          {22050, Param::ReverseTrigger, 1.0f}, {3 * 44100 + 11025, Param::ReverseTrigger, 1.0f}}},
        {"comb-distortion", {},
         {{0, Param::FilterMode, 1.0f}, {0, Param::FilterFrequency, 0.45f},  // 452 Hz
          {0, Param::FilterQ, 0.8f}, {0, Param::Distort, 0.6f}, {0, Param::LfoActive, 0.0f}}},
        {"host-transport", {.tempo = 120.0, .transport = true, .transportStartFrame = 40 * 256},
         {{0, Param::ReverseTriggerMode, 1.0f}, {0, Param::ReverseLength, step(kQuarterNote)},
          {0, Param::ReverseRetriggerHoldTime, step(kHalfNote)}, {0, Param::DryVolume, 0.5f}}},
        {"lfo-volume-pan", {},
         {{0, Param::LfoTempoSync, 0.0f}, {0, Param::LfoSpeed, 0.35f},  // about 0.83 Hz
          {0, Param::LfoToVolume, 1.0f}, {0, Param::LfoToPan, 0.0f}, {0, Param::DryMute, 1.0f}}},
    };
    for (const Setting& setting : settings) checkAgainstReference(setting.reference, render(setting));
}

// A quarter of a decibel less wet signal must not pass as the same sound.
TEST(GoldenComparison, NoticesASmallChangeOfSound) {
    const std::optional<Summary> reference = readSummary(referencePath("default"));
    if (!reference) GTEST_SKIP() << "the default reference is not there yet";
    const Comparison quieter = compare(*reference, summarize(render({"", {}, {{0, Param::WetVolume, 0.795f}}})));
    EXPECT_FALSE(quieter.within({})) << quieter.describe();
}

TEST(GoldenComparison, FilesRoundTripAndRefuseDamage) {
    StereoSignal signal = makeStimulus(20000);
    const Summary summary = summarize(signal);
    ASSERT_EQ(summary.envelope.size(), 2 * (20000 / kWindowFrames));
    const auto path = std::filesystem::temp_directory_path() / "tidewalker-golden-roundtrip.twgr";
    ASSERT_TRUE(writeSummary(path, summary));
    const std::optional<Summary> back = readSummary(path);
    ASSERT_TRUE(back);
    EXPECT_TRUE(compare(summary, *back).within({0.0, 0.0, 0.0, 0.0}));  // exactly the same

    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 3);
    EXPECT_FALSE(readSummary(path)) << "a truncated reference must be refused";
    std::ofstream(path, std::ios::binary) << "RIFF not a reference";
    EXPECT_FALSE(readSummary(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(readSummary(path));

    Summary shorter = summary;
    shorter.frames -= 1;
    EXPECT_FALSE(compare(summary, shorter).within({}));
    // A NaN or infinity anywhere in a render never passes, not even against
    // itself; so the renders above need no separate check for them.
    signal.left[5000] = NAN;
    const Summary poisoned = summarize(signal);
    EXPECT_FALSE(compare(poisoned, poisoned).within({}));
    signal.left[5000] = INFINITY;
    EXPECT_FALSE(compare(summary, summarize(signal)).within({}));
}

}  // namespace
}  // namespace golden
