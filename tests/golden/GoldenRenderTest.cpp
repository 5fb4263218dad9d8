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

constexpr std::size_t kRenderFrames = 6 * 44100;

const StereoSignal& stimulus() {
    static const StereoSignal signal = makeStimulus(kRenderFrames);
    return signal;
}

// The normalised value that reads as the given step.
float step(int index, float scale) {
    return (static_cast<float>(index) + 0.1f) / scale;
}
constexpr float kTriggerManual = 0.5f;
constexpr float kTriggerHost = 1.0f;
constexpr int kHalfNote = 9, kQuarterNote = 6;

void expectFinite(const StereoSignal& render) {
    std::size_t bad = 0;
    for (std::size_t n = 0; n < render.frames(); ++n)
        bad += !std::isfinite(render.left[n]) + !std::isfinite(render.right[n]);
    EXPECT_EQ(bad, 0u) << "non-finite output samples";
}

StereoSignal renderDefault(float wetVolume) {
    RenderSession session;
    session.set(Param::WetVolume, wetVolume);
    return session.render(stimulus());
}

TEST(GoldenRender, DefaultSettingsOnLevelTriggers) {
    const StereoSignal render = renderDefault(0.8f);
    expectFinite(render);
    checkAgainstReference("default", render);
}

TEST(GoldenRender, ManualTriggerWithRamps) {
    RenderSession session;
    session.set(Param::ReverseTriggerMode, kTriggerManual);
    session.set(Param::ReverseLength, step(kHalfNote, 21.99f));
    session.set(Param::ReverseRetriggerHoldTime, step(kHalfNote, 21.99f));
    session.set(Param::ReverseAttack, 0.6f);  // 63 ms
    session.set(Param::ReverseDecay, 0.7f);   // 127 ms
    session.at(22050, Param::ReverseTrigger, 1.0f);
    session.at(3 * 44100 + 11025, Param::ReverseTrigger, 1.0f);
    const StereoSignal render = session.render(stimulus());
    expectFinite(render);
    checkAgainstReference("manual-ramps", render);
}

TEST(GoldenRender, CombFilterWithDistortion) {
    RenderSession session;
    session.set(Param::FilterMode, 1.0f);
    session.set(Param::FilterFrequency, 0.45f);  // 452 Hz
    session.set(Param::FilterQ, 0.8f);
    session.set(Param::Distort, 0.6f);
    session.set(Param::LfoActive, 0.0f);
    const StereoSignal render = session.render(stimulus());
    expectFinite(render);
    checkAgainstReference("comb-distortion", render);
}

TEST(GoldenRender, HostModeFollowsTransportAt120Bpm) {
    RenderSession session({.tempo = 120.0, .transport = true, .transportStartFrame = 40 * 256});
    session.set(Param::ReverseTriggerMode, kTriggerHost);
    session.set(Param::ReverseLength, step(kQuarterNote, 21.99f));
    session.set(Param::ReverseRetriggerHoldTime, step(kHalfNote, 21.99f));
    session.set(Param::DryVolume, 0.5f);
    const StereoSignal render = session.render(stimulus());
    expectFinite(render);
    checkAgainstReference("host-transport", render);
}

TEST(GoldenRender, LfoOnVolumeAndPan) {
    RenderSession session;
    session.set(Param::LfoTempoSync, 0.0f);
    session.set(Param::LfoSpeed, 0.35f);  // about 0.83 Hz
    session.set(Param::LfoToVolume, 1.0f);
    session.set(Param::LfoToPan, 0.0f);
    session.set(Param::DryMute, 1.0f);
    const StereoSignal render = session.render(stimulus());
    expectFinite(render);
    checkAgainstReference("lfo-volume-pan", render);
}

// A quarter of a decibel less wet signal must not pass as the same sound.
TEST(GoldenComparison, NoticesASmallChangeOfSound) {
    const std::optional<Summary> reference = readSummary(referencePath("default"));
    if (!reference) GTEST_SKIP() << "the default reference is not there yet";
    const Comparison same = compare(*reference, summarize(renderDefault(0.8f)));
    const Comparison quieter = compare(*reference, summarize(renderDefault(0.795f)));
    EXPECT_TRUE(same.within({})) << same.describe();
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
    const Comparison exact = compare(summary, *back);
    EXPECT_TRUE(exact.within({}));
    EXPECT_EQ(exact.envelopePeak + exact.samplePeak, 0.0);

    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 3);
    EXPECT_FALSE(readSummary(path)) << "a truncated reference must be refused";
    std::ofstream(path, std::ios::binary) << "RIFF not a reference";
    EXPECT_FALSE(readSummary(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(readSummary(path));

    Summary shorter = summary;
    shorter.frames -= 1;
    EXPECT_FALSE(compare(summary, shorter).within({}));
    // A NaN anywhere in a render never passes, not even against itself.
    signal.left[5000] = NAN;
    const Summary poisoned = summarize(signal);
    EXPECT_FALSE(compare(poisoned, poisoned).within({}));
}

}  // namespace
}  // namespace golden
