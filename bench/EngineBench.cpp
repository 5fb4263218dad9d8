// Engine speed in three situations, reported per frame and as a multiple of
// real time at 44.1 kHz. Targets on the 2-core build machine: the default
// sound at least 400x, the heavy setting at least 150x, the silent tail no
// slower than the default sound.
#include <benchmark/benchmark.h>

#include <ctime>

#include "bench/BenchHost.h"
#include "engine/uFilter.h"

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

// Not a target: the floor under (a) and (c). The default sound always runs a
// low-pass and a high-pass biquad, four sub-steps each, in series per
// channel; with the formulas' order of operations kept, this is how fast
// that part alone can go.
void BM_BiquadPairOnly(benchmark::State& state) {
    TFilter lowPass, highPass;
    lowPass.init(kSampleRate);
    lowPass.setType(TFilter::LOW_PASS);
    lowPass.setFreq(1.0f);
    lowPass.update(true);
    highPass.init(kSampleRate);
    highPass.setType(TFilter::HIGH_PASS);
    highPass.setFreq(0.0f);
    highPass.update(true);
    const StereoInput& input = noiseBursts();
    std::size_t position = 0;
    timeBlocks(state, [&] {
        if (position + kBlockFrames > input.left.size()) position = 0;
        for (int n = 0; n < kBlockFrames; ++n, ++position) {
            float left = input.left[position], right = input.right[position];
            lowPass.process(left, right);
            highPass.process(left, right);
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    });
}
BENCHMARK(BM_BiquadPairOnly);

}  // namespace
}  // namespace bench
