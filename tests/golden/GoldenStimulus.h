// The input every golden render is fed: a drum pattern and a sustained tone at
// 120 BPM, synthesised from fixed formulas and a fixed noise seed, so it is
// the same on every machine and needs no audio file.
#pragma once

#include <cstddef>
#include <vector>

namespace golden {

inline constexpr double kSampleRate = 44100.0;
inline constexpr double kTempo = 120.0;
inline constexpr std::size_t kFramesPerBeat = 22050;  // 120 BPM at 44.1 kHz

struct StereoSignal {
    std::vector<float> left;
    std::vector<float> right;
    std::size_t frames() const { return left.size(); }
};

// Kick on every beat, snare on 2 and 4, hats on the off-beats, and a tone with
// a slow vibrato from the second beat of bar 1 to the end of bar 2. The first
// kick lands 50 ms in, after silence, so a level trigger sees a clean edge.
StereoSignal makeStimulus(std::size_t frames);

}  // namespace golden
