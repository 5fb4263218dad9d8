// Loads an effect shared object through its VST 2.4 entry point and drives it
// the way a DAW does: the host callback, the opening order, parameters, time
// info, MIDI event blocks and replacing processing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "effect/VstAbi.h"
#include "tools/render/Timeline.h"

namespace render {

inline constexpr const char* kHostVendor = "Tidewalker Project";
inline constexpr const char* kHostProduct = "tidewalker-render";

struct EffectInfo {
    std::string effectName;
    std::string vendor;
    std::string product;
    std::string programName;
    VstIntPtr vendorVersion = 0;
    VstInt32 version = 0;
    VstInt32 uniqueId = 0;
    VstInt32 numPrograms = 0;
    VstInt32 numParams = 0;
    VstInt32 numInputs = 0;
    VstInt32 numOutputs = 0;
    VstInt32 flags = 0;
    VstInt32 initialDelay = 0;
};

// "ktVS" for the code 0x6B745653; unprintable bytes become '?'.
// any
std::string fourCharText(VstInt32 code);

// Names of the set effect flags, separated by blanks.
// any
std::string effectFlagNames(VstInt32 flags);

class PluginHost {
public:
    // Null with a message when the file will not load, has no entry point, or
    // the entry gives no usable effect.
    static std::unique_ptr<PluginHost> load(const std::string& path, double sampleRate, int maxBlockSize,
                                            std::string& error);  // control
    ~PluginHost();  // stops, closes the effect and unloads the file
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // effOpen, effSetSampleRate, effSetBlockSize.
    void open();  // control
    // effMainsChanged 1 / 0.
    void resume();  // control
    void suspend();  // control

    EffectInfo info() const;  // control
    int parameterCount() const;  // any
    std::string parameterName(int index) const;  // control
    std::string parameterDisplay(int index) const;  // control
    std::string parameterLabel(int index) const;  // control
    float parameter(int index) const;  // any
    void setParameter(int index, float value);  // any
    // effSetProgram: the effect applies its program with the values it holds.
    void setProgram(int program);  // control
    // By exact reported name, or by slot index written as digits.
    std::optional<int> findParameter(const std::string& nameOrIndex) const;  // control

    // Room for this many MIDI events in one block; before the render.
    void reserveEvents(std::size_t count);  // control
    // Rewrites the time info the effect gets for the next block.
    void setTime(const TransportState& transport, double tempo) noexcept;  // audio
    // One event block per processing block, also when it is empty.
    void sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept;  // audio
    // Stereo in, stereo out; frames at most the block size given to load.
    void process(const float* left, const float* right, float* outLeft, float* outRight, int frames) noexcept;  // audio

    int blockSize() const { return maxFrames; }  // any

    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);  // any

private:
    PluginHost(void* library, double sampleRate, int maxBlockSize);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) const;
    std::string dispatchText(VstInt32 opcode, VstInt32 index) const;
    VstIntPtr answer(VstInt32 opcode, void* ptr);

    void* library;
    AEffect* effect = nullptr;
    double rate;
    int maxFrames;
    bool running = false;
    VstTimeInfo time{};
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    std::vector<VstMidiEvent> midiEvents;
    std::vector<std::byte> eventBlockBytes;  // a VstEvents with room for midiEvents.size() pointers
    VstEvents* eventBlock = nullptr;
};

}  // namespace render
