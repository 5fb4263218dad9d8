// When things happen during a render, in blocks: transport state, trigger
// presses and MIDI controller messages, all fixed before the first block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/render/Options.h"

namespace render {

struct ScheduledMidi {
    std::int64_t frame = 0;  // from the start of the render
    unsigned char status = 0;
    unsigned char data1 = 0;
    unsigned char data2 = 0;
};

struct TransportState {
    bool playing = false;
    bool changed = false;  // playing differs from the block before
    std::int64_t position = 0;  // frames the transport has played before this block
};

class Timeline {
public:
    Timeline(const Options& options, double sampleRate, int blockSize);  // control

    std::int64_t frameAt(double seconds) const;  // any
    TransportState transportAt(std::int64_t block) const;  // any
    // MIDI messages whose frame lies in [start, end), in time order.
    std::span<const ScheduledMidi> midiIn(std::int64_t start, std::int64_t end) const;  // any
    bool triggerIn(std::int64_t start, std::int64_t end) const;  // any
    std::size_t maxMidiPerBlock() const { return maxPerBlock; }  // any

private:
    double sampleRate;
    int blockSize;
    std::int64_t playBlock;
    std::int64_t stopBlock;
    std::vector<ScheduledMidi> midi;
    std::vector<std::int64_t> triggers;
    std::size_t maxPerBlock = 0;
};

}  // namespace render
