#include "tools/render/AuEffectHost.h"

#include <algorithm>

#include "au/AUPLUGINComponent.h"

namespace render {

namespace {

std::string text(CFStringRef string) {
    char buffer[512] = {};
    if (string) CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingMacRoman);
    return buffer;
}

}  // namespace

std::unique_ptr<AuEffectHost> AuEffectHost::load(double sampleRate, int maxBlockSize, std::string& error) {
    auto unit = tidewalker::auhost::AuHost::open(tidewalker::auhost::Entry::Factory, error);
    if (!unit) return nullptr;
    return std::unique_ptr<AuEffectHost>(new AuEffectHost(std::move(unit), sampleRate, maxBlockSize));
}

void AuEffectHost::open() {
    host->setFormat(rate, 2, 2);
    host->setMaxFrames(static_cast<UInt32>(maxFrames));
}

bool AuEffectHost::setRandomSeed(std::uint32_t seed) {
    const UInt32 value = seed;
    return AudioUnitSetProperty(host->unit(), tidewalker::au::kRandomSeedProperty, kAudioUnitScope_Global, 0, &value,
                                sizeof(value)) == noErr;
}

void AuEffectHost::resume() {
    host->initialize();
}

void AuEffectHost::suspend() {
    AudioUnitUninitialize(host->unit());
}

EffectInfo AuEffectHost::info() const {
    // The component's name reads "maker: product".
    const std::string name = tidewalker::au::kComponentName;
    const std::size_t colon = name.find(": ");
    EffectInfo info;
    info.vendor = name.substr(0, colon);
    info.effectName = info.product = name.substr(colon + 2);
    AUPreset preset{};
    UInt32 size = sizeof(preset);
    if (AudioUnitGetProperty(host->unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset,
                             &size) == noErr && preset.presetName) {
        info.programName = text(preset.presetName);
        CFRelease(preset.presetName);
    }
    info.version = 0x10000;
    info.uniqueId = static_cast<std::int32_t>(tidewalker::au::kComponentDescription.componentSubType);
    CFArrayRef presets = nullptr;
    size = sizeof(presets);
    if (AudioUnitGetProperty(host->unit(), kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets,
                             &size) == noErr) {
        info.numPrograms = static_cast<std::int32_t>(CFArrayGetCount(presets));
        CFRelease(presets);
    }
    info.numParams = parameterCount();
    info.numInputs = info.numOutputs = 2;
    Float64 latency = 0.0;
    size = sizeof(latency);
    AudioUnitGetProperty(host->unit(), kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency, &size);
    info.initialDelay = static_cast<std::int32_t>(latency * rate);
    return info;
}

int AuEffectHost::parameterCount() const {
    UInt32 size = 0;
    AudioUnitGetPropertyInfo(host->unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr);
    return static_cast<int>(size / sizeof(AudioUnitParameterID));
}

std::string AuEffectHost::parameterName(int index) const {
    AudioUnitParameterInfo info{};
    UInt32 size = sizeof(info);
    if (index < 0 || AudioUnitGetProperty(host->unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global,
                                          static_cast<UInt32>(index), &info, &size) != noErr)
        return {};
    const std::string name = text(info.cfNameString);
    if (info.flags & kAudioUnitParameterFlag_CFNameRelease) CFRelease(info.cfNameString);
    return name;
}

std::string AuEffectHost::parameterDisplay(int index) const {
    AudioUnitParameterStringFromValue request{static_cast<AudioUnitParameterID>(index), nullptr, nullptr};
    UInt32 size = sizeof(request);
    if (index < 0 || AudioUnitGetProperty(host->unit(), kAudioUnitProperty_ParameterStringFromValue,
                                          kAudioUnitScope_Global, 0, &request, &size) != noErr)
        return {};
    const std::string shown = text(request.outString);
    if (request.outString) CFRelease(request.outString);
    return shown;
}

float AuEffectHost::parameter(int index) const {
    return index < 0 ? 0.0f : host->parameter(static_cast<AudioUnitParameterID>(index));
}

void AuEffectHost::setParameter(int index, float value) {
    if (index >= 0) host->setParameter(static_cast<AudioUnitParameterID>(index), value);
}

void AuEffectHost::setProgram(int program) {
    const AUPreset preset{program, nullptr};
    AudioUnitSetProperty(host->unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset,
                         sizeof(preset));
}

void AuEffectHost::setTime(const TransportState& transport, double tempo) noexcept {
    host->time().tempo = tempo;
    host->time().playing = transport.playing;
    host->time().transportChanged = transport.changed;
}

void AuEffectHost::sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept {
    for (const ScheduledMidi& message : midi) {
        const auto offset = std::clamp<std::int64_t>(message.frame - blockStart, 0, maxFrames - 1);
        host->midi(static_cast<UInt8>(message.status), static_cast<UInt8>(message.data1),
                   static_cast<UInt8>(message.data2), static_cast<UInt32>(offset));
    }
}

void AuEffectHost::process(const float* left, const float* right, float* outLeft, float* outRight,
                           int frames) noexcept {
    const float* in[2] = {left, right};
    float* out[2] = {outLeft, outRight};
    host->render(in, out, static_cast<UInt32>(std::max(frames, 0)));
}

}  // namespace render
