#include "tools/auhost/AuHost.h"

#include <cmath>
#include <cstring>

#include "au/AUPLUGIN.h"

namespace tidewalker::auhost {

namespace {

AudioComponent registeredComponent() {
    static AudioComponent component = [] {
        CFStringRef name = CFStringCreateWithCString(nullptr, au::kComponentName, kCFStringEncodingUTF8);
        AudioComponent registered = AudioComponentRegister(&au::kComponentDescription, name, 0x10000, AUPLUGINFactory);
        CFRelease(name);
        return registered;
    }();
    return component;
}

ComponentResult entry(ComponentParameters* parameters, void* storage) {
    return AUPLUGINEntry(parameters, static_cast<AUPLUGIN*>(static_cast<void*>(storage)));
}

}  // namespace

std::unique_ptr<AuHost> AuHost::open(Entry how, std::string& error) {
    AudioUnit unit = nullptr;
    const OSStatus result = how == Entry::Factory
                                ? AudioComponentInstanceNew(registeredComponent(), &unit)
                                : TWOpenComponentInstance(entry, &au::kComponentDescription, &unit);
    if (result != noErr || !unit) {
        error = "the Audio Unit did not open (" + std::to_string(result) + ")";
        return nullptr;
    }
    std::unique_ptr<AuHost> host(new AuHost(unit));
    if (host->offerCallbacks() != noErr) {
        error = "the Audio Unit refused the host callbacks";
        return nullptr;
    }
    return host;
}

AuHost::~AuHost() {
    AudioUnitUninitialize(instance);
    AudioComponentInstanceDispose(instance);
}

OSStatus AuHost::offerCallbacks() {
    HostCallbackInfo callbacks{this, beatAndTempo, musicalTime, transport, nullptr};
    const OSStatus result = AudioUnitSetProperty(instance, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0,
                                                 &callbacks, sizeof(callbacks));
    if (result != noErr) return result;
    AURenderCallbackStruct input{pull, this};
    return AudioUnitSetProperty(instance, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &input,
                                sizeof(input));
}

OSStatus AuHost::setFormat(double sampleRate, UInt32 inputs, UInt32 outputs) {
    const CAStreamBasicDescription in(sampleRate, inputs), out(sampleRate, outputs);
    OSStatus result = AudioUnitSetProperty(instance, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &in,
                                           sizeof(AudioStreamBasicDescription));
    if (result == noErr)
        result = AudioUnitSetProperty(instance, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &out,
                                      sizeof(AudioStreamBasicDescription));
    if (result != noErr) return result;
    rate = sampleRate;
    inputChannels = inputs;
    outputChannels = outputs;
    return noErr;
}

OSStatus AuHost::setMaxFrames(UInt32 frames) {
    return AudioUnitSetProperty(instance, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                sizeof(frames));
}

OSStatus AuHost::initialize() {
    return AudioUnitInitialize(instance);
}

OSStatus AuHost::setParameter(AudioUnitParameterID id, float value) {
    return AudioUnitSetParameter(instance, id, kAudioUnitScope_Global, 0, value, 0);
}

float AuHost::parameter(AudioUnitParameterID id) const {
    AudioUnitParameterValue value = 0.0f;
    AudioUnitGetParameter(instance, id, kAudioUnitScope_Global, 0, &value);
    return value;
}

OSStatus AuHost::pull(void* refCon, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32 frames,
                      AudioBufferList* data) {
    auto* host = static_cast<AuHost*>(refCon);
    *flags |= host->pendingFlags;
    for (UInt32 i = 0; i < data->mNumberBuffers; ++i) {
        AudioBuffer& buffer = data->mBuffers[i];
        const float* source = host->pendingInput && i < host->inputChannels ? host->pendingInput[i] : nullptr;
        if (buffer.mData && source)
            std::memcpy(buffer.mData, source, frames * sizeof(float));
        else if (buffer.mData)
            std::memset(buffer.mData, 0, frames * sizeof(float));
        buffer.mDataByteSize = frames * sizeof(float);
    }
    return noErr;
}

OSStatus AuHost::render(const float* const* in, float* const* out, UInt32 frames, AudioUnitRenderActionFlags inputFlags,
                        AudioUnitRenderActionFlags* flagsOut) {
    const std::size_t listBytes = offsetof(AudioBufferList, mBuffers) + outputChannels * sizeof(AudioBuffer);
    if (outputList.size() < listBytes) outputList.resize(listBytes);  // once: rendering allocates nothing
    auto* list = reinterpret_cast<AudioBufferList*>(outputList.data());
    list->mNumberBuffers = outputChannels;
    for (UInt32 i = 0; i < outputChannels; ++i) list->mBuffers[i] = {1, frames * UInt32{sizeof(float)}, out[i]};

    AudioTimeStamp stamp{};
    stamp.mSampleTime = position;
    stamp.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    pendingInput = in;
    pendingFlags = inputFlags;
    const OSStatus result = AudioUnitRender(instance, &flags, &stamp, 0, frames, list);
    pendingInput = nullptr;
    if (flagsOut) *flagsOut = flags;
    if (result == noErr) position += frames;
    hostTime.transportChanged = false;
    return result;
}

OSStatus AuHost::midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset) {
    return MusicDeviceMIDIEvent(instance, status, data1, data2, offset);
}

OSStatus AuHost::beatAndTempo(void* self, Float64* beat, Float64* tempo) {
    auto* host = static_cast<AuHost*>(self);
    if (!host->hostTime.offerBeatAndTempo) return kAudioUnitErr_CannotDoInCurrentContext;
    if (beat) *beat = host->position / host->rate * host->hostTime.tempo / 60.0;
    if (tempo) *tempo = host->hostTime.tempo;
    return noErr;
}

OSStatus AuHost::musicalTime(void* self, UInt32* offsetToNextBeat, Float32* numerator, UInt32* denominator,
                             Float64* downBeat) {
    auto* host = static_cast<AuHost*>(self);
    if (!host->hostTime.offerMusicalTime) return kAudioUnitErr_CannotDoInCurrentContext;
    const double beat = host->position / host->rate * host->hostTime.tempo / 60.0;
    const double samplesPerBeat = host->rate * 60.0 / host->hostTime.tempo;
    if (offsetToNextBeat) *offsetToNextBeat = static_cast<UInt32>((std::ceil(beat) - beat) * samplesPerBeat);
    if (numerator) *numerator = 4.0f;
    if (denominator) *denominator = 4;
    if (downBeat) *downBeat = std::floor(beat / 4.0) * 4.0;
    return noErr;
}

OSStatus AuHost::transport(void* self, Boolean* playing, Boolean* changed, Float64* sample, Boolean* cycling,
                           Float64* cycleStart, Float64* cycleEnd) {
    auto* host = static_cast<AuHost*>(self);
    if (!host->hostTime.offerTransport) return kAudioUnitErr_CannotDoInCurrentContext;
    if (playing) *playing = host->hostTime.playing;
    if (changed) *changed = host->hostTime.transportChanged;
    if (sample) *sample = host->position;
    if (cycling) *cycling = false;
    if (cycleStart) *cycleStart = 0.0;
    if (cycleEnd) *cycleEnd = 0.0;
    return noErr;
}

}  // namespace tidewalker::auhost
