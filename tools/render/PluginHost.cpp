#include "tools/render/PluginHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>

#include "plugin/VendorRequests.h"

namespace render {
namespace {

// The effect calls back while its entry point runs, before the host can tie
// the record to itself; this names the host being loaded on this thread.
thread_local PluginHost* hostBeingLoaded = nullptr;

struct CanDoAnswer {
    std::string_view capability;
    VstIntPtr reply;
};

// What this host offers; anything not listed is answered 0 (don't know).
constexpr std::array<CanDoAnswer, 3> kCanDo = {{
    {"sendVstEvents", 1},
    {"sendVstMidiEvent", 1},
    {"sendVstTimeInfo", 1},
}};

struct FlagName {
    VstInt32 flag;
    std::string_view name;
};

constexpr std::array<FlagName, 9> kFlagNames = {{
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
}};

constexpr std::size_t kTextRoom = 256;  // effects often write past the ABI's short limits

void copyText(void* destination, std::string_view text, std::size_t room) {
    auto* out = static_cast<char*>(destination);
    const std::size_t n = std::min(text.size(), room - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

}  // namespace

std::string fourCharText(VstInt32 code) {
    std::string text;
    const auto bits = static_cast<std::uint32_t>(code);
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((bits >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

std::string effectFlagNames(VstInt32 flags) {
    std::string names;
    for (const FlagName& entry : kFlagNames) {
        if ((flags & entry.flag) != 0) {
            names += names.empty() ? "" : " ";
            names += entry.name;
        }
    }
    return names;
}

std::unique_ptr<PluginHost> PluginHost::load(const std::string& path, double sampleRate, int maxBlockSize,
                                             std::string& error) {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        error = "cannot load the plug-in " + path + ": " + (reason != nullptr ? reason : "unknown reason");
        return nullptr;
    }
    auto entry = reinterpret_cast<VstPluginMainProc>(::dlsym(library, "VSTPluginMain"));
    if (entry == nullptr) {
        // Hosts from before VST 2.4 looked for "main".
        entry = reinterpret_cast<VstPluginMainProc>(::dlsym(library, "main"));
    }
    if (entry == nullptr) {
        error = path + " is not a VST plug-in: it has neither VSTPluginMain nor main";
        ::dlclose(library);
        return nullptr;
    }

    std::unique_ptr<PluginHost> host(new PluginHost(library, sampleRate, maxBlockSize));
    hostBeingLoaded = host.get();
    AEffect* effect = entry(&PluginHost::callback);
    hostBeingLoaded = nullptr;
    if (effect == nullptr) {
        error = "the plug-in " + path + " declined to start (its entry point gave no effect)";
        return nullptr;
    }
    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
        // Not a record we can trust to close; leave it alone.
        error = path + " gave an effect record without the VST magic or dispatcher";
        return nullptr;
    }
    host->effect = effect;
    effect->resvd1 = reinterpret_cast<VstIntPtr>(host.get());
    if (effect->processReplacing == nullptr || effect->numOutputs < 1 || effect->numInputs < 0) {
        error = path + " cannot process audio in replacing mode with " + std::to_string(effect->numInputs) +
                " inputs and " + std::to_string(effect->numOutputs) + " outputs";
        return nullptr;
    }

    const auto frames = static_cast<std::size_t>(host->maxFrames);
    for (int i = 0; i < effect->numInputs; ++i) {
        host->inputs.emplace_back(frames, 0.0f);
        host->inputPointers.push_back(host->inputs.back().data());
    }
    for (int i = 0; i < effect->numOutputs; ++i) {
        host->outputs.emplace_back(frames, 0.0f);
        host->outputPointers.push_back(host->outputs.back().data());
    }
    host->reserveEvents(0);
    return host;
}

PluginHost::PluginHost(void* library, double sampleRate, int maxBlockSize)
    : library(library), rate(sampleRate), maxFrames(std::max(maxBlockSize, 1)) {
    time.sampleRate = rate;
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
}

PluginHost::~PluginHost() {
    if (effect != nullptr) {
        if (running) {
            suspend();
        }
        dispatch(effClose);
    }
    ::dlclose(library);
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginHost::dispatchText(VstInt32 opcode, VstInt32 index) const {
    std::array<char, kTextRoom> text{};
    dispatch(opcode, index, 0, text.data());
    text.back() = '\0';
    return text.data();
}

void PluginHost::open() {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    dispatch(effSetBlockSize, 0, maxFrames);
}

bool PluginHost::setRandomSeed(std::uint32_t seed) {
    return dispatch(effVendorSpecific, kRandomSeedRequest, static_cast<VstIntPtr>(seed)) == 1;
}

void PluginHost::resume() {
    dispatch(effMainsChanged, 0, 1);
    running = true;
}

void PluginHost::suspend() {
    dispatch(effMainsChanged, 0, 0);
    running = false;
}

EffectInfo PluginHost::info() const {
    EffectInfo info;
    info.effectName = dispatchText(effGetEffectName, 0);
    info.vendor = dispatchText(effGetVendorString, 0);
    info.product = dispatchText(effGetProductString, 0);
    info.programName = dispatchText(effGetProgramName, 0);
    info.vendorVersion = dispatch(effGetVendorVersion);
    info.version = effect->version;
    info.uniqueId = effect->uniqueID;
    info.numPrograms = effect->numPrograms;
    info.numParams = effect->numParams;
    info.numInputs = effect->numInputs;
    info.numOutputs = effect->numOutputs;
    info.flags = effect->flags;
    info.initialDelay = effect->initialDelay;
    return info;
}

int PluginHost::parameterCount() const { return std::max(effect->numParams, 0); }

std::string PluginHost::parameterName(int index) const { return dispatchText(effGetParamName, index); }

std::string PluginHost::parameterDisplay(int index) const { return dispatchText(effGetParamDisplay, index); }

std::string PluginHost::parameterLabel(int index) const { return dispatchText(effGetParamLabel, index); }

float PluginHost::parameter(int index) const {
    return effect->getParameter != nullptr ? effect->getParameter(effect, index) : 0.0f;
}

void PluginHost::setParameter(int index, float value) {
    if (effect->setParameter != nullptr && index >= 0 && index < parameterCount()) {
        effect->setParameter(effect, index, value);
    }
}

void PluginHost::setProgram(int program) { dispatch(effSetProgram, 0, program); }

void PluginHost::reserveEvents(std::size_t count) {
    midiEvents.assign(count, VstMidiEvent{});
    // The record declares two pointer slots; the rest follow it in the same block.
    const std::size_t bytes = sizeof(VstEvents) + std::max<std::size_t>(count, 2) * sizeof(VstEvent*);
    eventBlockBytes.assign(bytes, std::byte{0});
    eventBlock = new (eventBlockBytes.data()) VstEvents{};
}

void PluginHost::setTime(const TransportState& transport, double tempo) noexcept {
    const double quarterNotes = static_cast<double>(transport.position) / rate * tempo / 60.0;
    time.samplePos = static_cast<double>(transport.position);
    time.sampleRate = rate;
    time.tempo = tempo;
    time.ppqPos = quarterNotes;
    time.barStartPos = std::floor(quarterNotes / 4.0) * 4.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid |
                 (transport.playing ? kVstTransportPlaying : 0) | (transport.changed ? kVstTransportChanged : 0);
}

void PluginHost::sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept {
    const std::size_t count = std::min(midi.size(), midiEvents.size());
    for (std::size_t i = 0; i < count; ++i) {
        VstMidiEvent& event = midiEvents[i];
        event = VstMidiEvent{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = static_cast<VstInt32>(std::clamp<std::int64_t>(midi[i].frame - blockStart, 0, maxFrames - 1));
        event.midiData[0] = static_cast<char>(midi[i].status);
        event.midiData[1] = static_cast<char>(midi[i].data1);
        event.midiData[2] = static_cast<char>(midi[i].data2);
        eventBlock->events[i] = reinterpret_cast<VstEvent*>(&event);
    }
    eventBlock->numEvents = static_cast<VstInt32>(count);
    dispatch(effProcessEvents, 0, 0, eventBlock);
}

void PluginHost::process(const float* left, const float* right, float* outLeft, float* outRight,
                         int frames) noexcept {
    const auto n = static_cast<std::size_t>(std::clamp(frames, 0, maxFrames));
    for (std::size_t c = 0; c < inputs.size(); ++c) {
        float* in = inputs[c].data();
        if (inputs.size() == 1) {
            for (std::size_t i = 0; i < n; ++i) {
                in[i] = 0.5f * (left[i] + right[i]);
            }
        } else if (c < 2) {
            std::copy_n(c == 0 ? left : right, n, in);
        } else {
            std::fill_n(in, n, 0.0f);
        }
    }
    effect->processReplacing(effect, inputPointers.data(), outputPointers.data(), static_cast<VstInt32>(n));
    std::copy_n(outputs[0].data(), n, outLeft);
    std::copy_n(outputs[outputs.size() > 1 ? 1 : 0].data(), n, outRight);
}

VstIntPtr PluginHost::callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    PluginHost* host = effect != nullptr && effect->resvd1 != 0 ? reinterpret_cast<PluginHost*>(effect->resvd1)
                                                                : hostBeingLoaded;
    if (host == nullptr) {
        return opcode == audioMasterVersion ? kVstVersion : 0;
    }
    return host->answer(opcode, ptr);
}

VstIntPtr PluginHost::answer(VstInt32 opcode, void* ptr) {
    switch (opcode) {
        case audioMasterVersion:
            return kVstVersion;
        case audioMasterGetTime:
            return reinterpret_cast<VstIntPtr>(&time);
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(rate);
        case audioMasterGetBlockSize:
            return maxFrames;
        case audioMasterGetVendorString:
            if (ptr == nullptr) {
                return 0;
            }
            copyText(ptr, kHostVendor, kVstMaxVendorStrLen);
            return 1;
        case audioMasterGetProductString:
            if (ptr == nullptr) {
                return 0;
            }
            copyText(ptr, kHostProduct, kVstMaxProductStrLen);
            return 1;
        case audioMasterCanDo:
            if (ptr != nullptr) {
                const std::string_view asked(static_cast<const char*>(ptr));
                for (const CanDoAnswer& entry : kCanDo) {
                    if (entry.capability == asked) {
                        return entry.reply;
                    }
                }
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace render
