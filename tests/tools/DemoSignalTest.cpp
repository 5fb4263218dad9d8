#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/render/DemoSignal.h"

namespace render {
namespace {

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(DemoSignal, IsTheSameEightSecondsOfStereoWithHitsOnTheBeatOnEveryCall) {
    const StereoBuffer demo = synthesizeDemo();
    EXPECT_DOUBLE_EQ(demo.sampleRate, 44100.0);
    ASSERT_EQ(demo.left.size(), 352800u);
    ASSERT_EQ(demo.right.size(), demo.left.size());
    float peak = 0.0f;
    for (std::size_t i = 0; i < demo.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(demo.left[i]) && std::isfinite(demo.right[i])) << i;
        peak = std::max({peak, std::fabs(demo.left[i]), std::fabs(demo.right[i])});
    }
    EXPECT_NEAR(peak, kDemoPeak, 1e-6);
    EXPECT_NE(demo.left, demo.right);  // a stereo picture, not mono twice
    const StereoBuffer again = synthesizeDemo();
    EXPECT_TRUE(again.left == demo.left && again.right == demo.right);

    // At 120 BPM a beat is 22050 frames: the first 50 ms of each beat carry a
    // hit, the 50 ms before it only the decaying tail and the chord.
    const std::size_t window = 2205;
    for (std::size_t beat = 1; beat < 16; ++beat) {
        const std::size_t at = beat * 22050;
        EXPECT_GT(rms(demo.left, at, at + window), 1.5 * rms(demo.left, at - window, at)) << beat;
    }
    // The chord keeps sounding between the hits, also in the last bar.
    EXPECT_GT(rms(demo.left, 7 * 44100, 7 * 44100 + window), 0.01);
}

}  // namespace
}  // namespace render
