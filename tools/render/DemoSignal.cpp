#include "tools/render/DemoSignal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace render {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A fixed-seed generator so the demo's noise is identical on every run.
class NoiseGenerator {
public:
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

private:
    std::uint32_t state = 0x2545F491u;
};

struct Chord {
    std::array<double, 3> frequencies;
};

// Am, F, C, G: one chord per bar.
constexpr std::array<Chord, 4> kChords = {{
    {{220.00, 261.63, 329.63}},
    {{174.61, 220.00, 261.63}},
    {{196.00, 261.63, 329.63}},
    {{196.00, 246.94, 293.66}},
}};

constexpr int kHarmonics = 5;

void addKick(StereoBuffer& out, std::size_t start) {
    if (start >= out.left.size()) {
        return;
    }
    const double rate = out.sampleRate;
    const std::size_t length = std::min(out.left.size() - start, static_cast<std::size_t>(0.35 * rate));
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double frequency = 45.0 + 110.0 * std::exp(-t * 30.0);
        phase += 2.0 * kPi * frequency / rate;
        const float sample = static_cast<float>(0.9 * std::sin(phase) * std::exp(-t * 9.0));
        out.left[start + i] += sample;
        out.right[start + i] += sample;
    }
}

void addSnare(StereoBuffer& out, std::size_t start, NoiseGenerator& noise) {
    if (start >= out.left.size()) {
        return;
    }
    const double rate = out.sampleRate;
    const std::size_t length = std::min(out.left.size() - start, static_cast<std::size_t>(0.25 * rate));
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double body = 0.3 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t * 25.0);
        const double rattle = 0.4 * noise.next() * std::exp(-t * 18.0);
        const auto sample = static_cast<float>(body + rattle);
        out.left[start + i] += 0.9f * sample;
        out.right[start + i] += sample;
    }
}

void addHat(StereoBuffer& out, std::size_t start, NoiseGenerator& noise, float level) {
    if (start >= out.left.size()) {
        return;
    }
    const double rate = out.sampleRate;
    const std::size_t length = std::min(out.left.size() - start, static_cast<std::size_t>(0.06 * rate));
    float previous = 0.0f;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const float white = noise.next();
        // First difference: a crude high-pass that leaves the hiss.
        const float hiss = white - previous;
        previous = white;
        const auto sample = static_cast<float>(level * hiss * std::exp(-t * 70.0));
        out.left[start + i] += 0.6f * sample;
        out.right[start + i] += sample;
    }
}

void addChord(StereoBuffer& out, std::size_t start, std::size_t length, const Chord& chord) {
    if (start >= out.left.size()) {
        return;
    }
    const double rate = out.sampleRate;
    length = std::min(length, out.left.size() - start);
    const double attack = 0.08 * rate;
    const double release = 0.15 * rate;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double fromEnd = static_cast<double>(length - i);
        const double envelope =
            std::min({1.0, static_cast<double>(i) / attack, fromEnd / release});
        double left = 0.0;
        double right = 0.0;
        for (std::size_t note = 0; note < chord.frequencies.size(); ++note) {
            double voice = 0.0;
            for (int h = 1; h <= kHarmonics; ++h) {
                voice += std::sin(2.0 * kPi * chord.frequencies[note] * h * t) / h;
            }
            // Spread the notes across the stereo field.
            const double pan = 0.25 + 0.25 * static_cast<double>(note);
            left += voice * (1.0 - pan);
            right += voice * pan;
        }
        out.left[start + i] += static_cast<float>(0.08 * envelope * left);
        out.right[start + i] += static_cast<float>(0.08 * envelope * right);
    }
}

}  // namespace

StereoBuffer synthesizeDemo() {
    StereoBuffer out;
    out.sampleRate = kDemoSampleRate;
    const auto frames = static_cast<std::size_t>(kDemoSeconds * kDemoSampleRate);
    out.left.assign(frames, 0.0f);
    out.right.assign(frames, 0.0f);

    const double beatFrames = 60.0 / kDemoTempo * kDemoSampleRate;
    const auto beats = static_cast<int>(kDemoSeconds * kDemoTempo / 60.0);
    NoiseGenerator noise;
    for (int beat = 0; beat < beats; ++beat) {
        const auto at = static_cast<std::size_t>(beat * beatFrames);
        if (beat % 4 == 0) {
            addChord(out, at, static_cast<std::size_t>(4 * beatFrames), kChords[(beat / 4) % kChords.size()]);
        }
        if (beat % 2 == 0) {
            addKick(out, at);
        } else {
            addSnare(out, at, noise);
        }
        addHat(out, at, noise, 0.35f);
        addHat(out, at + static_cast<std::size_t>(beatFrames / 2), noise, 0.2f);
    }

    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
    }
    if (peak > 0.0f) {
        const float gain = kDemoPeak / peak;
        for (std::size_t i = 0; i < frames; ++i) {
            out.left[i] *= gain;
            out.right[i] *= gain;
        }
    }
    return out;
}

}  // namespace render
