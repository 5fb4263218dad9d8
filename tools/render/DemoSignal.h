// The built-in demo: a drum loop with chords, so the effect can be heard
// without bringing a file.
#pragma once

#include <vector>

namespace render {

struct StereoBuffer {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;
};

constexpr double kDemoSampleRate = 44100.0;
constexpr double kDemoSeconds = 8.0;
constexpr double kDemoTempo = 120.0;
constexpr float kDemoPeak = 0.7f;

// Four bars of 4/4 at 120 BPM: kick on 1 and 3, snare on 2 and 4, hats on
// eighths, over a sustained chord that changes every bar. The same every time.
// any
StereoBuffer synthesizeDemo();

}  // namespace render
