// What the renderer needs of a hosted effect, whichever interface it is
// reached through: the VST ABI of a loaded shared object, or the Audio Unit
// adapter driven by the host simulator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/render/Timeline.h"

namespace render {

struct EffectInfo {
    std::string effectName;
    std::string vendor;
    std::string product;
    std::string programName;
    std::intptr_t vendorVersion = 0;
    std::int32_t version = 0;
    std::int32_t uniqueId = 0;
    std::int32_t numPrograms = 0;
    std::int32_t numParams = 0;
    std::int32_t numInputs = 0;
    std::int32_t numOutputs = 0;
    std::int32_t flags = 0;
    std::int32_t initialDelay = 0;
};

class EffectHost {
public:
    virtual ~EffectHost() = default;

    virtual void open() = 0;  // control: rate and block size reach the effect
    // Fixes the effect's random LFO steps, so that renders repeat; false
    // when the effect cannot be told.
    virtual bool setRandomSeed(std::uint32_t seed) = 0;  // control
    virtual void resume() = 0;  // control: ready to process
    virtual void suspend() = 0;  // control

    virtual EffectInfo info() const = 0;  // control
    virtual int parameterCount() const = 0;  // any
    virtual std::string parameterName(int index) const = 0;  // control
    virtual std::string parameterDisplay(int index) const = 0;  // control
    virtual std::string parameterLabel(int index) const = 0;  // control
    virtual float parameter(int index) const = 0;  // any
    virtual void setParameter(int index, float value) = 0;  // any
    // The effect applies its program with the values it holds.
    virtual void setProgram(int program) = 0;  // control
    // By exact reported name, or by slot index written as digits.
    std::optional<int> findParameter(const std::string& nameOrIndex) const;  // control

    // Room for this many MIDI events in one block; before the render.
    virtual void reserveEvents(std::size_t count) = 0;  // control
    // What the effect learns of tempo and transport for the next block.
    virtual void setTime(const TransportState& transport, double tempo) noexcept = 0;  // audio
    // The block's MIDI, delivered with the next process call, also when empty.
    virtual void sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept = 0;  // audio
    // Stereo in, stereo out; frames at most blockSize().
    virtual void process(const float* left, const float* right, float* outLeft, float* outRight,
                         int frames) noexcept = 0;  // audio
    virtual int blockSize() const = 0;  // any
};

}  // namespace render
