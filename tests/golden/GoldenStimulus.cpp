#include "tests/golden/GoldenStimulus.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace golden {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr std::size_t kLeadIn = 2205;  // 50 ms of silence before the first kick

// A small fixed generator: std::rand and the distributions differ between
// library versions, this does not.
class Noise {
public:
    float next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(static_cast<double>(state >> 40) / 8388608.0 - 1.0);
    }

private:
    std::uint64_t state = 0x5EED5EED5EED5EEDull;
};

void addKick(StereoSignal& s, std::size_t start) {
    double phase = 0.0;
    for (std::size_t n = 0; n < 11025 && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double frequency = 50.0 + 90.0 * std::exp(-t / 0.04);
        phase += kTwoPi * frequency / kSampleRate;
        const float v = static_cast<float>(0.6 * std::exp(-t / 0.15) * std::sin(phase));
        s.left[start + n] += v;
        s.right[start + n] += v;
    }
}

void addSnare(StereoSignal& s, std::size_t start, Noise& noise) {
    for (std::size_t n = 0; n < 8820 && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double body = 0.2 * std::sin(kTwoPi * 190.0 * t) * std::exp(-t / 0.05);
        const double rattle = 0.25 * noise.next() * std::exp(-t / 0.07);
        const float v = static_cast<float>(body + rattle);
        s.left[start + n] += 0.9f * v;
        s.right[start + n] += 0.7f * v;
    }
}

void addHat(StereoSignal& s, std::size_t start, Noise& noise) {
    float previous = 0.0f;
    for (std::size_t n = 0; n < 1764 && start + n < s.frames(); ++n) {
        const float white = noise.next();
        const float bright = white - previous;  // first difference: mostly highs
        previous = white;
        const float v = static_cast<float>(0.1 * bright * std::exp(-(n / kSampleRate) / 0.018));
        s.left[start + n] += 0.5f * v;
        s.right[start + n] += v;
    }
}

void addTone(StereoSignal& s, std::size_t start, std::size_t length) {
    double phase = 0.0;
    for (std::size_t n = 0; n < length && start + n < s.frames(); ++n) {
        const double t = n / kSampleRate;
        const double frequency = 220.0 * (1.0 + 0.01 * std::sin(kTwoPi * 5.0 * t));
        phase += kTwoPi * frequency / kSampleRate;
        const double fade = std::min({1.0, t / 0.02, (length - n) / (0.05 * kSampleRate)});
        const double v = 0.12 * fade * (std::sin(phase) + 0.4 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase));
        s.left[start + n] += static_cast<float>(v);
        s.right[start + n] += static_cast<float>(0.6 * v);
    }
}

}  // namespace

StereoSignal makeStimulus(std::size_t frames) {
    StereoSignal s{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    Noise noise;
    for (std::size_t beat = 0; kLeadIn + beat * kFramesPerBeat < frames; ++beat) {
        const std::size_t at = kLeadIn + beat * kFramesPerBeat;
        addKick(s, at);
        if (beat % 2 == 1) addSnare(s, at, noise);
        addHat(s, at + kFramesPerBeat / 2, noise);
    }
    addTone(s, kLeadIn + kFramesPerBeat, 7 * kFramesPerBeat);
    return s;
}

}  // namespace golden
