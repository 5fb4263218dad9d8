// A host-less render of the effect: one instance at 44.1 kHz, fed a stereo
// signal in blocks through its effect record, with a host that reports tempo
// and a transport, and parameter changes placed at given frames.
#pragma once

#include <memory>
#include <vector>

#include "plugin/APlugin.h"
#include "tests/golden/GoldenStimulus.h"

namespace golden {

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
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

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
