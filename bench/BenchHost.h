// What the benchmarks share: a minimal host for one effect instance (tempo
// 120, transport optional), a looping stereo input, and resident memory.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "plugin/APlugin.h"

namespace bench {

inline constexpr float kSampleRate = 44100.0f;
inline constexpr int kBlockFrames = 512;

// Bursts of white noise, a quarter note on and a quarter note off at 120 BPM,
// so level triggers keep finding fresh edges. The same on every run.
struct StereoInput {
    std::vector<float> left;
    std::vector<float> right;
};
StereoInput makeNoiseBursts(std::size_t frames, float peak);

class BenchEffect {
public:
    explicit BenchEffect(bool transportPlaying = false);  // at 44.1 kHz, resumed
    ~BenchEffect();

    APlugin& effect() { return *plugin; }
    void set(VstInt32 index, float value);
    // One block from the looping input; the position wraps at its end.
    void processBlock(const StereoInput& input) noexcept;
    void processSilence(std::size_t frames) noexcept;
    void processFrames(const StereoInput& input, std::size_t frames) noexcept;

private:
    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt);

    std::unique_ptr<APlugin> plugin;
    AEffect* record = nullptr;
    VstTimeInfo timeInfo{};
    std::size_t position = 0;
    std::vector<float> silence = std::vector<float>(kBlockFrames, 0.0f);
    std::vector<float> outLeft = std::vector<float>(kBlockFrames, 0.0f);
    std::vector<float> outRight = std::vector<float>(kBlockFrames, 0.0f);
};

// Resident memory of this process in bytes, from /proc/self/statm.
std::size_t residentBytes();

}  // namespace bench
