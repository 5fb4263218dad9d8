// A host for an Audio Unit, driving it the way a DAW does: opening it
// through its factory or its Component Manager entry, stream formats,
// initialisation, rendering with the input pulled through a render callback,
// MIDI, and the beat, musical-time and transport callbacks. Tests and
// tidewalker-render use it where no Audio Unit host exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "au/sdk/AudioUnit.h"

namespace tidewalker::auhost {

enum class Entry { Factory, ComponentManager };

// What the host's callbacks report; a callback switched off is not offered.
struct HostTime {
    double tempo = 120.0;
    bool playing = false;
    bool transportChanged = false;
    bool offerBeatAndTempo = true;
    bool offerMusicalTime = true;
    bool offerTransport = true;
};

class AuHost {
public:
    // control; null with a message when the unit does not open.
    static std::unique_ptr<AuHost> open(Entry entry, std::string& error);
    ~AuHost();  // control: uninitialises and disposes of the unit
    AuHost(const AuHost&) = delete;
    AuHost& operator=(const AuHost&) = delete;

    AudioUnit unit() const { return instance; }  // any

    // Both buses' stream formats: 32-bit float, non-interleaved. control.
    OSStatus setFormat(double sampleRate, UInt32 inputChannels, UInt32 outputChannels);
    OSStatus setMaxFrames(UInt32 frames);  // control
    OSStatus initialize();  // control
    OSStatus setParameter(AudioUnitParameterID id, float value);  // any
    float parameter(AudioUnitParameterID id) const;  // any

    // One block: the unit pulls input from in (one pointer per input
    // channel; inputFlags are what the pull reports) and writes out (one
    // pointer per output channel). The time stamp advances by frames.
    // audio.
    OSStatus render(const float* const* in, float* const* out, UInt32 frames,
                    AudioUnitRenderActionFlags inputFlags = 0, AudioUnitRenderActionFlags* flagsOut = nullptr);
    HostTime& time() { return hostTime; }  // audio, between renders
    double samplePosition() const { return position; }  // audio

    OSStatus midi(UInt8 status, UInt8 data1, UInt8 data2, UInt32 offset);  // any, one thread at a time

private:
    explicit AuHost(AudioUnit unit) : instance(unit) {}
    static OSStatus pull(void* refCon, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timeStamp, UInt32 bus,
                         UInt32 frames, AudioBufferList* data);
    static OSStatus beatAndTempo(void* self, Float64* beat, Float64* tempo);
    static OSStatus musicalTime(void* self, UInt32* offsetToNextBeat, Float32* numerator, UInt32* denominator,
                                Float64* downBeat);
    static OSStatus transport(void* self, Boolean* playing, Boolean* changed, Float64* sample, Boolean* cycling,
                              Float64* cycleStart, Float64* cycleEnd);
    OSStatus offerCallbacks();

    AudioUnit instance;
    double rate = 44100.0;
    double position = 0.0;
    HostTime hostTime;
    const float* const* pendingInput = nullptr;
    UInt32 inputChannels = 2;
    UInt32 outputChannels = 2;
    AudioUnitRenderActionFlags pendingFlags = 0;
    std::vector<std::byte> outputList;
};

}  // namespace tidewalker::auhost
