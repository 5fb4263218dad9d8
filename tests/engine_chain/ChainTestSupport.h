// A host-less harness for the audio path: the effect object with its engine
// state in reach, a host callback that reports scripted tempo and transport,
// and helpers that render signals in host-sized blocks.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

namespace chain {

// What the fake host reports; tests change it between blocks.
struct HostTime {
    bool answers = true;  // false: getTimeInfo yields null
    VstTimeInfo info{};
};
inline HostTime hostTime;

inline void setTransport(bool playing, double tempo = 120.0, bool tempoValid = true) {
    hostTime.info.tempo = tempo;
    hostTime.info.flags = (playing ? kVstTransportPlaying : 0) | (tempoValid ? kVstTempoValid : 0);
}

inline VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return hostTime.answers ? reinterpret_cast<VstIntPtr>(&hostTime.info) : 0;
    return 0;
}

class ChainPlugin : public APlugin {
public:
    ChainPlugin() : APlugin(fakeHost) {}
    using APlugin::bypassOn;
    using APlugin::combFilter;
    using APlugin::displayIn;
    using APlugin::displayOut;
    using APlugin::highPassFilter;
    using APlugin::holdSamples;
    using APlugin::holding;
    using APlugin::lowPassFilter;
    using APlugin::offsetSamples;
    using APlugin::programChanged;
    using APlugin::reverse;
    using APlugin::reverseToUse;
    using APlugin::sampleCounter;
    using APlugin::samplesSinceTrigger;
    using APlugin::silenceCounter;
    using APlugin::tempo;
    using APlugin::vuFollowers;
};

struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(std::size_t frames = 0, float value = 0.0f) : left(frames, value), right(frames, value) {}
    std::size_t size() const { return left.size(); }
    void fill(std::size_t from, std::size_t to, float l, float r) {
        std::fill(left.begin() + from, left.begin() + to, l);
        std::fill(right.begin() + from, right.begin() + to, r);
    }
};

// Renders through any processReplacing-like callable in blocks of blockSize.
template <class Process>
Stereo renderWith(Process&& process, const Stereo& input, std::size_t blockSize = 64) {
    Stereo output(input.size());
    for (std::size_t at = 0; at < input.size(); at += blockSize) {
        const auto frames = static_cast<VstInt32>(std::min(blockSize, input.size() - at));
        float* in[2] = {const_cast<float*>(input.left.data() + at), const_cast<float*>(input.right.data() + at)};
        float* out[2] = {output.left.data() + at, output.right.data() + at};
        process(in, out, frames);
    }
    return output;
}

inline Stereo render(APlugin& plugin, const Stereo& input, std::size_t blockSize = 64) {
    return renderWith([&](float** in, float** out, VstInt32 n) { plugin.processReplacing(in, out, n); }, input,
                      blockSize);
}

// Trigger mode values: "Audio", "Manual", "Host".
inline constexpr float kAudioMode = 0.0f;
inline constexpr float kManualMode = 0.5f;
inline constexpr float kHostMode = 1.0f;

// Settings under which a take comes back unchanged: no ramps, no offset, no
// filters, no LFO, dry off, wet at 0 dB; 100 ms takes and holds; threshold
// -30 dB.
template <class SetParameter>
void cleanTakeWith(SetParameter&& set, float triggerMode) {
    const std::pair<VstInt32, float> rows[] = {
        {Param::Bypass, 0.0f},          {Param::DryVolume, 0.0f},     {Param::WetVolume, 0.8f},
        {Param::ReverseDecay, 0.0f},    {Param::ReverseAttack, 0.0f}, {Param::ReverseOffset, 0.0f},
        {Param::ReverseTempoSync, 0.0f}, {Param::ReverseLength, 0.0f}, {Param::ReverseTriggerThreshold, 0.25f},
        {Param::ReverseRetriggerHoldTime, 0.0f}, {Param::Mute, 0.0f}, {Param::DryMute, 0.0f},
        {Param::ReverseTriggerMode, triggerMode}, {Param::FilterActive, 0.0f}, {Param::LfoActive, 0.0f},
        {Param::LfoToVolume, 0.5f},     {Param::LfoToPan, 0.5f},
    };
    for (const auto& [index, value] : rows) set(index, value);
}

inline void cleanTake(APlugin& plugin, float triggerMode) {
    cleanTakeWith([&](VstInt32 index, float value) { plugin.setParameter(index, value); }, triggerMode);
}

// The take length (and hold) in samples under cleanTake at 44.1 kHz: the
// float constant log2 100 lies a hair below the true value, so 100 ms comes
// to 4409.99… samples, cut to 4409.
inline constexpr std::size_t kTakeLength = 4409;

// A deterministic signal in ±(0.1 … 0.9), different on both channels.
inline Stereo noise(std::size_t frames, unsigned seed = 1) {
    Stereo out(frames);
    unsigned state = seed;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        const float magnitude = 0.1f + 0.8f * static_cast<float>(state >> 8) / 16777216.0f;
        return (state & 1u) ? magnitude : -magnitude;
    };
    for (std::size_t i = 0; i < frames; ++i) {
        out.left[i] = next();
        out.right[i] = next();
    }
    return out;
}

}  // namespace chain
