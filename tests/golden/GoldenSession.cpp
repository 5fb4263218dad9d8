#include "tests/golden/GoldenSession.h"

#include <algorithm>
#include <stdexcept>

namespace golden {

RenderSession::RenderSession(HostSetup setup) : host(setup) {
    plugin.reset(dynamic_cast<APlugin*>(createEffectInstance(&RenderSession::hostCallback)));
    if (!plugin) throw std::runtime_error("the effect factory did not make an APlugin");
    record = plugin->getAeffect();
    record->user = this;
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    record->dispatcher(record, effSetBlockSize, 0, 256, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
}

RenderSession::~RenderSession() = default;

void RenderSession::set(VstInt32 index, float value) {
    record->setParameter(record, index, value);
}

void RenderSession::at(std::size_t frame, VstInt32 index, float value) {
    changes.push_back({frame, index, value});
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ParameterChange& a, const ParameterChange& b) { return a.frame < b.frame; });
}

StereoSignal RenderSession::render(const StereoSignal& input, std::size_t blockFrames) {
    const std::size_t total = input.frames();
    StereoSignal output{std::vector<float>(total), std::vector<float>(total)};
    // The effect may process in place, so it gets its own copy of each block.
    std::vector<float> inLeft(blockFrames), inRight(blockFrames);
    auto next = changes.begin();
    for (std::size_t start = 0; start < total;) {
        while (next != changes.end() && next->frame <= start) {
            set(next->index, next->value);
            ++next;
        }
        std::size_t frames = std::min(blockFrames, total - start);
        if (next != changes.end()) frames = std::min(frames, next->frame - start);
        std::copy_n(input.left.begin() + start, frames, inLeft.begin());
        std::copy_n(input.right.begin() + start, frames, inRight.begin());
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {output.left.data() + start, output.right.data() + start};
        position = start;
        record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(frames));
        start += frames;
    }
    return output;
}

VstIntPtr RenderSession::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode != audioMasterGetTime || !effect || !effect->user) return 0;
    auto& self = *static_cast<RenderSession*>(effect->user);
    VstTimeInfo& info = self.timeInfo;
    info = VstTimeInfo{};
    info.sampleRate = kSampleRate;
    info.samplePos = static_cast<double>(self.position);
    info.tempo = self.host.tempo;
    info.timeSigNumerator = 4;
    info.timeSigDenominator = 4;
    info.flags = kVstTempoValid | kVstTimeSigValid;
    if (self.host.transport && self.position >= self.host.transportStartFrame) {
        const double played = static_cast<double>(self.position - self.host.transportStartFrame);
        info.ppqPos = played / kSampleRate * self.host.tempo / 60.0;
        info.flags |= kVstTransportPlaying | kVstPpqPosValid;
    }
    return reinterpret_cast<VstIntPtr>(&info);
}

}  // namespace golden
