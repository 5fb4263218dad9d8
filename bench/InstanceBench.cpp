// What one instance costs before and while it plays: the time to build one,
// and the resident memory of an idle instance and of one playing one-bar
// takes at 120 BPM. The voices reserve 32 MiB, which must stay untouched
// until a take is recorded into them.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "bench/BenchHost.h"
#include "platform/Preferences.h"

namespace bench {
namespace {

constexpr double kKiB = 1024.0;

void BM_CreateInstance(benchmark::State& state) {
    // A user who has loaded an ECS file or reset MIDI has all 128 controllers stored.
    std::vector<IntPreference> map;
    for (VstInt32 cc = 0; cc < kNumMidiControllers; ++cc) map.push_back({midiControllerKey(cc), cc});
    if (!saveIntsToPrefs(map)) state.SkipWithError("the preferences cannot be written");
    for (auto _ : state) {
        auto* effect = createEffectInstance(nullptr);
        benchmark::DoNotOptimize(effect);
        delete effect;
    }
}
BENCHMARK(BM_CreateInstance)->Unit(benchmark::kMicrosecond);

// Memory freed by earlier benchmarks (or repetitions) would be reused by the
// measured instance without showing as growth, so it is handed back first.
void BM_InstanceMemory(benchmark::State& state) {
    const StereoInput input = makeNoiseBursts(8 * 44100, 0.5f);
    for (auto _ : state) {
        ::malloc_trim(0);
        const std::size_t before = residentBytes();
        BenchEffect measured(true);
        measured.processSilence(44100);
        const std::size_t idle = residentBytes();
        // The default sound at 120 BPM: "1/1" takes, one bar each.
        measured.processFrames(input, 8 * 44100);
        const std::size_t playing = residentBytes();
        state.counters["idle_KiB"] = static_cast<double>(idle - before) / kKiB;
        state.counters["playing_KiB"] = static_cast<double>(playing - before) / kKiB;
    }
}
BENCHMARK(BM_InstanceMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
