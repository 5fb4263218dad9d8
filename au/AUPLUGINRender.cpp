// Audio and MIDI from the host to the effect and back.
#include <algorithm>
#include <cstring>

#include "au/AUPLUGIN.h"

namespace {

constexpr UInt32 kSampleBytes = sizeof(float);
constexpr UInt32 kMaxSliceBuffers = 2;

// Each buffer's data is present and long enough for frames.
bool holds(const AudioBufferList& list, UInt32 frames) {
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        if (!list.mBuffers[i].mData || list.mBuffers[i].mDataByteSize < frames * kSampleBytes) return false;
    return true;
}

bool silent(const AudioBufferList& list, UInt32 frames) {
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i) {
        const auto* samples = static_cast<const float*>(list.mBuffers[i].mData);
        if (samples && std::any_of(samples, samples + frames, [](float s) { return s != 0.0f; })) return false;
    }
    return true;
}

}  // namespace

// A stretch of the block's buffers, for one scheduled slice.
struct AUPLUGIN::SliceBuffers {
    AudioBufferList* input;
    AudioBufferList* output;
    AudioUnitRenderActionFlags* flags;
};

OSStatus AUPLUGIN::Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) {
    lastTimeStamp = timeStamp;
    onRenderThread = true;
    struct Leave {
        ~Leave() { onRenderThread = false; }
    } leave;
    AUInputElement* input = GetInput(0);
    if (!input || !input->IsActive()) return kAudioUnitErr_NoConnection;
    const OSStatus pulled = input->PullInput(flags, timeStamp, 0, frames);
    if (pulled != noErr) return pulled;

    AudioBufferList& in = input->GetBufferList();
    AUOutputElement* output = GetOutput(0);
    if (inChannels.load(std::memory_order_relaxed) == outChannels.load(std::memory_order_relaxed)) {
        if (!holds(in, frames) || !output->SetBufferList(in)) return -1;
    }
    AudioBufferList& out = output->GetBufferList();
    if (!HasScheduledParams()) return ProcessBufferLists(flags, in, out, frames);

    // Slices see narrowed copies; the element lists keep describing the block.
    struct {
        AudioBufferList list;
        AudioBuffer more[kMaxSliceBuffers - 1];
    } sliceIn{}, sliceOut{};
    if (in.mNumberBuffers > kMaxSliceBuffers || out.mNumberBuffers > kMaxSliceBuffers) return -1;
    std::memcpy(&sliceIn.list, &in, offsetof(AudioBufferList, mBuffers) + in.mNumberBuffers * sizeof(AudioBuffer));
    std::memcpy(&sliceOut.list, &out, offsetof(AudioBufferList, mBuffers) + out.mNumberBuffers * sizeof(AudioBuffer));
    SliceBuffers slices{&sliceIn.list, &sliceOut.list, &flags};
    return ProcessForScheduledParams(mParamList, frames, &slices);
}

OSStatus AUPLUGIN::ProcessScheduledSlice(void* userData, UInt32 startFrame, UInt32 sliceFrames, UInt32) {
    auto& slices = *static_cast<SliceBuffers*>(userData);
    const AudioBufferList& in = GetInput(0)->GetBufferList();
    const AudioBufferList& out = GetOutput(0)->GetBufferList();
    auto narrow = [&](const AudioBufferList& whole, AudioBufferList& part) {
        for (UInt32 i = 0; i < whole.mNumberBuffers; ++i) {
            auto* data = static_cast<float*>(whole.mBuffers[i].mData);
            part.mBuffers[i].mData = data ? data + startFrame : nullptr;
            part.mBuffers[i].mDataByteSize = sliceFrames * kSampleBytes;
        }
    };
    narrow(in, *slices.input);
    narrow(out, *slices.output);
    return ProcessBufferLists(*slices.flags, *slices.input, *slices.output, sliceFrames);
}

OSStatus AUPLUGIN::ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                      AudioBufferList& output, UInt32 frames) {
    if (frames == 0) return noErr;
    if (!holds(output, frames)) return kAudio_ParamError;
    const bool inputSilent = (flags & kAudioUnitRenderAction_OutputIsSilence) != 0;

    if (bypassed.load(std::memory_order_relaxed)) {
        for (UInt32 i = 0; i < output.mNumberBuffers; ++i) {
            void* target = output.mBuffers[i].mData;
            if (input.mNumberBuffers == 0) {
                std::memset(target, 0, frames * kSampleBytes);
                continue;
            }
            const AudioBuffer& source = input.mBuffers[std::min(i, input.mNumberBuffers - 1)];
            if (!source.mData || source.mDataByteSize < frames * kSampleBytes)
                std::memset(target, 0, frames * kSampleBytes);
            else if (source.mData != target)  // in place the output already is the input
                std::memcpy(target, source.mData, frames * kSampleBytes);
        }
        return noErr;
    }

    // A silent input still plays out a reversed take: process, and pass the
    // silence on only when the output is silent too.
    Process(input, output, frames);
    if (inputSilent && !silent(output, frames)) flags &= ~kAudioUnitRenderAction_OutputIsSilence;
    return noErr;
}

void AUPLUGIN::Process(const AudioBufferList& input, AudioBufferList& output, UInt32 frames) noexcept {
    VstInt32 count = 0;
    const auto last = static_cast<UInt32>(frames - 1);
    midiQueue.drain([&](const tidewalker::au::MidiMessage& message) {
        VstMidiEvent& event = midiEvents[count];
        event = VstMidiEvent{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = static_cast<VstInt32>(std::min(message.offset, last));
        event.midiData[0] = static_cast<char>(message.status);
        event.midiData[1] = static_cast<char>(message.data1);
        event.midiData[2] = static_cast<char>(message.data2);
        eventBlock->events[count++] = reinterpret_cast<VstEvent*>(&event);
    });
    eventBlock->numEvents = count;
    VSTDispatcher(effProcessEvents, 0, 0, eventBlock);

    // Missing channels: a mono source feeds both sides; no source is silence.
    const UInt32 ins = std::min({input.mNumberBuffers, inChannels.load(std::memory_order_relaxed), 2u});
    const UInt32 outs = std::min({output.mNumberBuffers, outChannels.load(std::memory_order_relaxed), 2u});
    float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {};
    for (UInt32 i = 0; i < ins; ++i) {
        const AudioBuffer& buffer = input.mBuffers[i];
        if (buffer.mData && buffer.mDataByteSize >= frames * kSampleBytes) in[i] = static_cast<float*>(buffer.mData);
    }
    if (ins == 1) in[1] = in[0];
    for (UInt32 i = 0; i < outs; ++i) out[i] = static_cast<float*>(output.mBuffers[i].mData);
    if (outs == 1) out[1] = out[0];
    effect->processReplacing(in, out, static_cast<VstInt32>(frames));
    eventBlock->numEvents = 0;
}

OSStatus AUPLUGIN::MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) {
    return HandleMidiEvent(static_cast<UInt8>(status & 0xF0), static_cast<UInt8>(status & 0x0F),
                           static_cast<UInt8>(data1), static_cast<UInt8>(data2), offsetSampleFrame);
}

OSStatus AUPLUGIN::HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offsetSampleFrame) {
    midiQueue.push({static_cast<std::uint8_t>(status | channel), data1, data2, offsetSampleFrame});
    return noErr;
}
