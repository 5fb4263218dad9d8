#include "bench/BenchHost.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace bench {

StereoInput makeNoiseBursts(std::size_t frames, float peak) {
    constexpr std::size_t kQuarterNote = 22050;
    StereoInput input{std::vector<float>(frames), std::vector<float>(frames)};
    std::uint32_t state = 0x1234567u;
    auto white = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    };
    for (std::size_t n = 0; n < frames; ++n) {
        const bool on = (n / kQuarterNote) % 2 == 0;
        input.left[n] = on ? peak * white() : 0.0f;
        input.right[n] = on ? peak * white() : 0.0f;
    }
    return input;
}

BenchEffect::BenchEffect(bool transportPlaying) {
    plugin.reset(dynamic_cast<APlugin*>(createEffectInstance(&BenchEffect::hostCallback)));
    if (!plugin) throw std::runtime_error("the effect factory did not make an APlugin");
    record = plugin->getAeffect();
    timeInfo.sampleRate = kSampleRate;
    timeInfo.tempo = 120.0;
    timeInfo.flags = kVstTempoValid | (transportPlaying ? kVstTransportPlaying : 0);
    record->user = &timeInfo;
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, kSampleRate);
    record->dispatcher(record, effSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
}

BenchEffect::~BenchEffect() = default;

void BenchEffect::set(VstInt32 index, float value) {
    record->setParameter(record, index, value);
}

void BenchEffect::processBlock(const StereoInput& input) noexcept {
    if (position + kBlockFrames > input.left.size()) position = 0;
    float* inputs[2] = {const_cast<float*>(input.left.data() + position),
                        const_cast<float*>(input.right.data() + position)};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    record->processReplacing(record, inputs, outputs, kBlockFrames);
    position += kBlockFrames;
}

void BenchEffect::processSilence(std::size_t frames) noexcept {
    float* inputs[2] = {silence.data(), silence.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (std::size_t done = 0; done < frames; done += kBlockFrames)
        record->processReplacing(record, inputs, outputs, kBlockFrames);
}

void BenchEffect::processFrames(const StereoInput& input, std::size_t frames) noexcept {
    for (std::size_t done = 0; done < frames; done += kBlockFrames) processBlock(input);
}

VstIntPtr BenchEffect::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterGetTime && effect && effect->user) return reinterpret_cast<VstIntPtr>(effect->user);
    return 0;
}

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t total = 0, resident = 0;
    statm >> total >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace bench
