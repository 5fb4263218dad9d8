// The block loop: source audio through the hosted effect into the writer,
// with the timeline's transport, trigger presses and MIDI for each block.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/render/AudioFile.h"
#include "tools/render/EffectHost.h"
#include "tools/render/Timeline.h"

namespace render {

struct RenderRequest {
    std::int64_t tailFrames = 0;  // silence after the source's last frame
    std::int64_t expectedFrames = 0;  // source plus tail as far as known, for progress only
    double tempo = 120.0;
    int triggerParameter = -1;  // slot pressed by trigger times; -1 when none
    std::function<void(std::int64_t done, std::int64_t total)> progress;
    std::function<bool()> cancelled;  // asked after each block
};

struct RenderResult {
    std::string error;  // empty on success
    std::int64_t framesWritten = 0;
    std::int64_t nonFiniteSamples = 0;  // NaN or infinity from the effect, written as they came
};

// The host must be opened and resumed. Renders every frame the source gives
// (whatever its header claimed) and then tailFrames of silence; the writer is
// left uncommitted.
// control
RenderResult renderBlocks(EffectHost& host, AudioSource& source, AtomicWavWriter& writer, const Timeline& timeline,
                          const RenderRequest& request);

}  // namespace render
