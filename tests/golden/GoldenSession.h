// A host-less render of the effect: one instance at 44.1 kHz, fed a stereo
// signal in blocks through its effect record, with a host that reports tempo
// and a transport, and parameter changes placed at given frames.
//
// The input every golden render is fed: a drum pattern and a sustained tone at
// 120 BPM, synthesised from fixed formulas and a fixed noise seed, so it is
// the same on every machine and needs no audio file.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "plugin/APlugin.h"

namespace golden {

inline constexpr double kSampleRate = 44100.0;
inline constexpr double kTempo = 120.0;
inline constexpr std::size_t kFramesPerBeat = 22050;  // 120 BPM at 44.1 kHz
inline constexpr std::size_t kRenderFrames = 6 * 44100;  // the length of every golden render

struct StereoSignal {
    std::vector<float> left;
    std::vector<float> right;
    std::size_t frames() const { return left.size(); }
};

// Kick on every beat, snare on 2 and 4, hats on the off-beats, and a tone with
// a slow vibrato from the second beat of bar 1 to the end of bar 2. The first
// kick lands 50 ms in, after silence, so a level trigger sees a clean edge.
StereoSignal makeStimulus(std::size_t frames);


struct ParameterChange {
    std::size_t frame;
    VstInt32 index;
    float value;
};

struct HostSetup {
    double tempo = kTempo;
    bool transport = false;             // the transport plays ...
    std::size_t transportStartFrame = 0;  // ... from this frame on
};

class RenderSession {
public:
    explicit RenderSession(HostSetup host = {});

    APlugin& effect() { return *plugin; }
    void set(VstInt32 index, float value);  // before rendering
    void at(std::size_t frame, VstInt32 index, float value);

    // Renders the whole input; blocks end early where a change is due.
    StereoSignal render(const StereoSignal& input, std::size_t blockFrames = 256);

private:
    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt);

    HostSetup host;
    std::unique_ptr<APlugin> plugin;
    AEffect* record = nullptr;
    std::vector<ParameterChange> changes;
    VstTimeInfo timeInfo{};
    std::size_t position = 0;
};

}  // namespace golden
