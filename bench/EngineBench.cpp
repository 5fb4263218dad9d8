// Engine speed in three situations, per frame and as a multiple of a plain
// reference workload timed in the same run (absolute times on the shared
// build machines vary by a third). Targets: the default sound at most 2x the
// reference, the heavy setting at most 4x, the silent tail no slower than the
// default sound.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>

#include "bench/BenchHost.h"

namespace bench {
namespace {

constexpr std::size_t kInputFrames = 8 * 44100;

const StereoInput& noiseBursts() {
    static const StereoInput input = makeNoiseBursts(kInputFrames, 0.5f);
    return input;
}

// Times the blocks with this thread's CPU clock: the build machine is shared,
// and time spent in other processes is not the engine's.
double threadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <class Block>
void timeBlocks(benchmark::State& state, Block&& block) {
    const double start = threadSeconds();
    for (auto _ : state) block();
    const double frames = static_cast<double>(state.iterations()) * kBlockFrames;
    const double nsPerFrame = (threadSeconds() - start) * 1e9 / frames;
    state.counters["ns_per_frame"] = nsPerFrame;
    state.counters["x_realtime"] = 1e9 / (nsPerFrame * kSampleRate);
}

// (a) The default sound: level-triggered one-bar takes, low-pass wide open,
// LFO synced and idle at its default depths.
void BM_DefaultOnNoise(benchmark::State& state) {
    BenchEffect host;
    const StereoInput& input = noiseBursts();
    host.processFrames(input, 44100);  // past the first take's start
    timeBlocks(state, [&] { host.processBlock(input); });
}
BENCHMARK(BM_DefaultOnNoise);

// (b) Everything that costs: comb with feedback, distortion, and a fast free
// LFO on volume, pan and both filter frequencies at full depth, so the
// filters redesign themselves every frame.
void BM_HeavySetting(benchmark::State& state) {
    BenchEffect host;
    host.set(Param::FilterMode, 1.0f);
    host.set(Param::FilterFrequency, 0.5f);
    host.set(Param::FilterQ, 0.9f);
    host.set(Param::HighPassFilterFrequency, 0.3f);
    host.set(Param::HighPassFilterQ, 0.5f);
    host.set(Param::Distort, 0.7f);
    host.set(Param::FilterActive, 1.0f);
    host.set(Param::LfoActive, 1.0f);
    host.set(Param::LfoMode, 0.0f);
    host.set(Param::LfoTempoSync, 0.0f);
    host.set(Param::LfoSpeed, 0.7f);  // about 50 Hz
    host.set(Param::LfoToVolume, 1.0f);
    host.set(Param::LfoToPan, 1.0f);
    host.set(Param::LfoToFilterFrequency, 1.0f);
    host.set(Param::LfoToHighPassFrequency, 1.0f);
    const StereoInput& input = noiseBursts();
    host.processFrames(input, 44100);
    timeBlocks(state, [&] { host.processBlock(input); });
}
BENCHMARK(BM_HeavySetting);

// (c) Silence after sound, through resonant filters: the recursions decay
// towards denormal numbers unless the filters keep away from them.
void BM_SilentTailResonant(benchmark::State& state) {
    BenchEffect host;
    host.set(Param::FilterMode, 0.0f);
    host.set(Param::FilterFrequency, 0.5f);
    host.set(Param::FilterQ, 1.0f);
    host.set(Param::HighPassFilterFrequency, 0.2f);
    host.set(Param::HighPassFilterQ, 1.0f);
    host.processFrames(noiseBursts(), 2 * 44100);
    host.processSilence(10 * 44100);  // both takes over, every filter ringing down
    timeBlocks(state, [&] { host.processSilence(kBlockFrames); });
}
BENCHMARK(BM_SilentTailResonant);

// The yardstick every case is divided by: what an effect of this kind costs
// at least, written plainly. Per frame one sine (an LFO) and, per channel, a
// low-pass and a high-pass biquad in series, each run four sub-steps on the
// held input and averaged, in plain scalar code.
class PlainBiquad {
public:
    PlainBiquad(double b0, double b1, double b2, double a1, double a2)
        : b0(float(b0)), b1(float(b1)), b2(float(b2)), a1(float(a1)), a2(float(a2)) {}
    float process(float x) {
        float sum = 0.0f;
        for (int step = 0; step < 4; ++step) {
            const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            sum += y;
        }
        return sum * 0.25f;
    }

private:
    float b0, b1, b2, a1, a2;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
};

// Textbook coefficients at the four-times rate: Q 0.707, low-pass at 5 kHz,
// high-pass at 100 Hz.
PlainBiquad designPlain(bool highPass, double hz) {
    const double w = 2.0 * 3.141592653589793 * hz / (4.0 * kSampleRate);
    const double alpha = std::sin(w) / (2.0 * 0.7071);
    const double c = std::cos(w);
    const double a0 = 1.0 + alpha;
    const double b1 = (highPass ? -(1.0 + c) : 1.0 - c) / a0;
    return {0.5 * std::fabs(b1), b1, 0.5 * std::fabs(b1), -2.0 * c / a0, (1.0 - alpha) / a0};
}

void BM_PlainReference(benchmark::State& state) {
    PlainBiquad lowPass[2] = {designPlain(false, 5000.0), designPlain(false, 5000.0)};
    PlainBiquad highPass[2] = {designPlain(true, 100.0), designPlain(true, 100.0)};
    const float increment = 3.0f / kSampleRate;
    float phase = 0.0f;
    const StereoInput& input = noiseBursts();
    std::size_t position = 0;
    timeBlocks(state, [&] {
        if (position + kBlockFrames > input.left.size()) position = 0;
        for (int n = 0; n < kBlockFrames; ++n, ++position) {
            phase += increment;
            if (phase >= 1.0f) phase -= 1.0f;
            const float gain = 0.75f + 0.25f * std::sin(6.2831853f * phase);
            float left = highPass[0].process(lowPass[0].process(input.left[position]));
            float right = highPass[1].process(lowPass[1].process(input.right[position]));
            left *= gain;
            right *= gain;
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    });
}
BENCHMARK(BM_PlainReference);

}  // namespace
}  // namespace bench
