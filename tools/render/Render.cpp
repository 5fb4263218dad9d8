#include "tools/render/Render.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {

RenderResult renderBlocks(EffectHost& host, AudioSource& source, AtomicWavWriter& writer, const Timeline& timeline,
                          const RenderRequest& request) {
    RenderResult result;
    const int blockSize = host.blockSize();
    const auto blockFrames = static_cast<std::size_t>(blockSize);
    std::vector<float> inLeft(blockFrames), inRight(blockFrames), outLeft(blockFrames), outRight(blockFrames);
    host.reserveEvents(timeline.maxMidiPerBlock());

    bool sourceEnded = false;
    std::int64_t tailLeft = std::max<std::int64_t>(request.tailFrames, 0);
    std::int64_t block = 0;
    for (std::int64_t start = 0;; start += blockSize, ++block) {
        std::size_t filled = 0;
        while (!sourceEnded && filled < blockFrames) {
            const std::size_t got =
                source.read(inLeft.data() + filled, inRight.data() + filled, blockFrames - filled);
            if (got == 0) {
                if (const std::string error = source.error(); !error.empty()) {
                    result.error = error;
                    return result;
                }
                sourceEnded = true;
            }
            filled += got;
        }
        const auto silence = static_cast<std::size_t>(std::min<std::int64_t>(
            sourceEnded ? tailLeft : 0, static_cast<std::int64_t>(blockFrames - filled)));
        tailLeft -= static_cast<std::int64_t>(silence);
        const std::size_t frames = filled + silence;
        if (frames == 0) {
            break;
        }
        std::fill(inLeft.begin() + static_cast<std::ptrdiff_t>(filled), inLeft.end(), 0.0f);
        std::fill(inRight.begin() + static_cast<std::ptrdiff_t>(filled), inRight.end(), 0.0f);

        const std::int64_t end = start + static_cast<std::int64_t>(frames);
        host.setTime(timeline.transportAt(block), request.tempo);
        if (request.triggerParameter >= 0 && timeline.triggerIn(start, end)) {
            host.setParameter(request.triggerParameter, 1.0f);
        }
        host.sendEvents(timeline.midiIn(start, end), start);
        host.process(inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), static_cast<int>(frames));

        for (std::size_t i = 0; i < frames; ++i) {
            result.nonFiniteSamples += !std::isfinite(outLeft[i]) + !std::isfinite(outRight[i]);
        }
        if (!writer.write(outLeft.data(), outRight.data(), frames, result.error)) {
            return result;
        }
        result.framesWritten = end;
        if (request.progress) {
            request.progress(end, request.expectedFrames);
        }
        if (request.cancelled && request.cancelled()) {
            result.error = "interrupted";
            return result;
        }
    }
    return result;
}

}  // namespace render
