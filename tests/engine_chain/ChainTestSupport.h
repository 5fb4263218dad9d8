// A host-less harness for the audio path: the effect with its engine state in
// reach, a fake host reporting scripted tempo and transport, block rendering.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

namespace chain {

inline VstTimeInfo hostTime{};
inline bool hostAnswers = true;  // false: getTimeInfo yields null

inline void setTransport(bool playing, double tempo = 120.0, bool tempoValid = true) {
    hostTime.tempo = tempo;
    hostTime.flags = (playing ? kVstTransportPlaying : 0) | (tempoValid ? kVstTempoValid : 0);
}

inline VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    return opcode == audioMasterGetTime && hostAnswers ? reinterpret_cast<VstIntPtr>(&hostTime) : 0;
}

struct ChainPlugin : APlugin {
    ChainPlugin() : APlugin(fakeHost) {}
    using APlugin::chain, APlugin::programChanged;
};

struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(std::size_t frames = 0, float value = 0.0f) : left(frames, value), right(frames, value) {}
    std::size_t size() const { return left.size(); }
};

// A deterministic signal in ±(0.1 … 0.9), different on both channels.
inline Stereo noise(std::size_t frames, unsigned state) {
    Stereo out(frames);
    for (std::size_t i = 0; i < 2 * frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const float sample = ((state & 1u) ? 0.1f : -0.1f) * (1.0f + 8.0f * static_cast<float>(state >> 8) / 16777216.0f);
        (i % 2 ? out.right : out.left)[i / 2] = sample;
    }
    return out;
}

// The largest magnitude in [from, to).
inline float peak(const std::vector<float>& v, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    float top = 0.0f;
    for (std::size_t i = from; i < std::min(to, v.size()); ++i) top = std::max(top, std::fabs(v[i]));
    return top;
}

using Process = std::function<void(float**, float**, VstInt32)>;

// Renders input frames [from, to) into output, 64 frames at a time.
inline void render(const Process& process, const Stereo& input, Stereo& output, std::size_t from, std::size_t to) {
    for (std::size_t at = from; at < to; at += 64) {
        float* in[2] = {const_cast<float*>(&input.left[at]), const_cast<float*>(&input.right[at])};
        float* out[2] = {&output.left[at], &output.right[at]};
        process(in, out, static_cast<VstInt32>(std::min<std::size_t>(64, to - at)));
    }
}

inline Stereo render(const Process& process, const Stereo& input) {
    Stereo output(input.size());
    render(process, input, output, 0, input.size());
    return output;
}

inline Stereo render(APlugin& plugin, const Stereo& input) {
    return render([&](float** in, float** out, VstInt32 n) { plugin.processReplacing(in, out, n); }, input);
}

// "Reverse Trigger Mode" values of "Audio", "Manual", "Host".
inline constexpr float kAudioMode = 0.0f, kManualMode = 0.5f, kHostMode = 1.0f;

// Settings under which a take comes back unchanged: no ramps, offset,
// filters or LFO; dry off, wet 0 dB; 100 ms takes and holds; threshold -30 dB.
inline void cleanTake(const std::function<void(VstInt32, float)>& set, float mode) {
    for (VstInt32 off : {Param::Bypass, Param::DryVolume, Param::ReverseDecay, Param::ReverseAttack,
                         Param::ReverseOffset, Param::ReverseTempoSync, Param::ReverseLength,
                         Param::ReverseRetriggerHoldTime, Param::Mute, Param::DryMute, Param::FilterActive,
                         Param::LfoActive})
        set(off, 0.0f);
    set(Param::WetVolume, 0.8f);
    set(Param::ReverseTriggerThreshold, 0.25f);
    set(Param::LfoToVolume, 0.5f);
    set(Param::LfoToPan, 0.5f);
    set(Param::ReverseTriggerMode, mode);
}

inline void cleanTake(APlugin& plugin, float mode) {
    cleanTake([&](VstInt32 index, float value) { plugin.setParameter(index, value); }, mode);
}

// Take length and hold in samples under cleanTake at 44.1 kHz: the float
// log2 100 lies a hair low, so 100 ms comes to 4409.99… samples, cut to 4409.
inline constexpr std::size_t kTakeLength = 4409;

}  // namespace chain
