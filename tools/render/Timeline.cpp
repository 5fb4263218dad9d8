#include "tools/render/Timeline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

Timeline::Timeline(const Options& options, double sampleRate, int blockSize)
    : sampleRate(sampleRate), blockSize(std::max(blockSize, 1)) {
    playBlock = frameAt(options.playAtSeconds) / this->blockSize;
    stopBlock = options.stopAtSeconds ? frameAt(*options.stopAtSeconds) / this->blockSize
                                      : std::numeric_limits<std::int64_t>::max();
    stopBlock = std::max(stopBlock, playBlock);

    for (const ControllerMessage& message : options.controllers) {
        midi.push_back({frameAt(message.seconds), static_cast<unsigned char>(0xB0 | ((message.channel - 1) & 0x0F)),
                        static_cast<unsigned char>(message.controller & 0x7F),
                        static_cast<unsigned char>(message.value & 0x7F)});
    }
    // Stable, so messages at one moment keep the order they were given in.
    std::stable_sort(midi.begin(), midi.end(),
                     [](const ScheduledMidi& a, const ScheduledMidi& b) { return a.frame < b.frame; });
    for (std::size_t i = 0; i < midi.size();) {
        const std::int64_t block = midi[i].frame / this->blockSize;
        std::size_t j = i;
        while (j < midi.size() && midi[j].frame / this->blockSize == block) {
            ++j;
        }
        maxPerBlock = std::max(maxPerBlock, j - i);
        i = j;
    }

    for (const double seconds : options.triggerSeconds) {
        triggers.push_back(frameAt(seconds));
    }
    std::sort(triggers.begin(), triggers.end());
}

std::int64_t Timeline::frameAt(double seconds) const {
    return static_cast<std::int64_t>(std::llround(seconds * sampleRate));
}

TransportState Timeline::transportAt(std::int64_t block) const {
    const auto playingIn = [this](std::int64_t b) { return b >= playBlock && b < stopBlock; };
    TransportState state;
    state.playing = playingIn(block);
    state.changed = state.playing != (block > 0 && playingIn(block - 1));
    const std::int64_t playedBlocks = std::clamp(block, playBlock, stopBlock) - playBlock;
    state.position = playedBlocks * blockSize;
    return state;
}

std::span<const ScheduledMidi> Timeline::midiIn(std::int64_t start, std::int64_t end) const {
    const auto byFrame = [](const ScheduledMidi& m, std::int64_t frame) { return m.frame < frame; };
    const auto first = std::lower_bound(midi.begin(), midi.end(), start, byFrame);
    const auto last = std::lower_bound(first, midi.end(), end, byFrame);
    return {first, last};
}

bool Timeline::triggerIn(std::int64_t start, std::int64_t end) const {
    const auto first = std::lower_bound(triggers.begin(), triggers.end(), start);
    return first != triggers.end() && *first < end;
}

}  // namespace render
