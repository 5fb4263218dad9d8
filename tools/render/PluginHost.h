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
#include "tools/render/EffectHost.h"
#include "tools/render/Timeline.h"

namespace render {

inline constexpr const char* kHostVendor = "Tidewalker Project";
inline constexpr const char* kHostProduct = "tidewalker-render";


// "ktVS" for the code 0x6B745653; unprintable bytes become '?'.
// any
std::string fourCharText(VstInt32 code);

// Names of the set effect flags, separated by blanks.
// any
std::string effectFlagNames(VstInt32 flags);

class PluginHost final : public EffectHost {
public:
    // Null with a message when the file will not load, has no entry point, or
    // the entry gives no usable effect.
    static std::unique_ptr<PluginHost> load(const std::string& path, double sampleRate, int maxBlockSize,
                                            std::string& error);  // control
    ~PluginHost() override;  // stops, closes the effect and unloads the file
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // effOpen, effSetSampleRate, effSetBlockSize.
    void open() override;  // control
    bool setRandomSeed(std::uint32_t seed) override;  // control
    // effMainsChanged 1 / 0.
    void resume() override;  // control
    void suspend() override;  // control

    EffectInfo info() const override;  // control
    int parameterCount() const override;  // any
    std::string parameterName(int index) const override;  // control
    std::string parameterDisplay(int index) const override;  // control
    std::string parameterLabel(int index) const override;  // control
    float parameter(int index) const override;  // any
    void setParameter(int index, float value) override;  // any
    // effSetProgram: the effect applies its program with the values it holds.
    void setProgram(int program) override;  // control

    // Room for this many MIDI events in one block; before the render.
    void reserveEvents(std::size_t count) override;  // control
    // Rewrites the time info the effect gets for the next block.
    void setTime(const TransportState& transport, double tempo) noexcept override;  // audio
    // One event block per processing block, also when it is empty.
    void sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept override;  // audio
    // Stereo in, stereo out; frames at most the block size given to load.
    void process(const float* left, const float* right, float* outLeft, float* outRight, int frames) noexcept override;  // audio

    int blockSize() const override { return maxFrames; }  // any

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
