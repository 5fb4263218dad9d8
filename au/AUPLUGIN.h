// The Audio Unit adapter: presents the effect object to an Audio Unit host.
// It translates parameters, audio buffers, MIDI, host time, the editor view
// and the stored state, and reaches the effect only through the effect
// interface and the effect's public operations.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "au/AUPLUGINComponent.h"
#include "au/MidiQueue.h"
#include "au/sdk/AUMIDIBase.h"
#include "plugin/APlugin.h"

class AUPLUGIN : public AUBase, public AUMIDIBase {
public:
    static constexpr UInt32 kMaxPresets = 256;
    static constexpr UInt32 kMaxEventsPerBlock = 1024;

    explicit AUPLUGIN(AudioComponentInstance instance);  // control
    ~AUPLUGIN() override;  // control; closes an open editor

    OSStatus Version() override { return 0x10000; }  // control

    // Life. control.
    OSStatus Initialize() override;
    void Cleanup() override {}
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;
    OSStatus SetMaxFramesPerSlice(UInt32 frames) override;

    // Parameters: ids are the effect's slots, values its normalised ones.
    OSStatus GetParameterList(AudioUnitScope scope, AudioUnitParameterID* list, UInt32& count) override;  // control
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info) override;  // control
    OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id, CFArrayRef* strings) override;  // control
    OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue value, UInt32 bufferOffset) override;  // any
    OSStatus ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count) override;  // any

    // Properties. control.
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& dataSize, Boolean& writable) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data) override;
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                         UInt32 dataSize) override;

    // Formats. control.
    bool ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format) override;
    bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) override;
    OSStatus ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& previous,
                                const CAStreamBasicDescription& format) override;
    UInt32 SupportedNumChannels(const AUChannelInfo** table) override;
    bool BusCountWritable(AudioUnitScope) override { return false; }
    Float64 GetLatency() override;  // control
    bool SupportsTail() override { return false; }

    // Rendering. audio.
    OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input, AudioBufferList& output,
                                UInt32 frames) override;
    OSStatus ProcessScheduledSlice(void* userData, UInt32 startFrame, UInt32 sliceFrames, UInt32 totalFrames) override;

    // MIDI: queued for the next processed block. any; one thread at a time.
    OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) override;
    OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offsetSampleFrame) override;

    // State and presets. control.
    OSStatus SaveState(CFPropertyListRef* state) override;
    OSStatus RestoreState(CFPropertyListRef state) override;
    OSStatus GetPresets(CFArrayRef* presets) const override;
    OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
    void GetProgramNames();
    void SynchronizeParams();
    // Brings the parameter store up to the effect's values and tells the
    // host's listeners about each one that moved. control.
    void PublishParameterChanges();
    void UpdateDisplayAU();
    bool EditorIsOpen() const { return editorOpened; }  // control
    APlugin& Effect() noexcept { return *effect; }  // control; the effect the unit presents

    // The selector split of the Component Manager entry.
    static OSStatus ComponentEntryDispatch(ComponentParameters* parameters, AUPLUGIN* unit);

    // The effect's host callback.
    static VstIntPtr AUPLUGINAudioMasterCallback(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                                 void* ptr, float opt);  // any

private:
    struct SliceBuffers;
    // Set while this thread renders: nothing there may reach the listeners.
    static thread_local bool onRenderThread;
    VstIntPtr VSTDispatcher(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                            float opt = 0.0f);
    VstTimeInfo* GetTimeInfo() noexcept;  // audio
    void StoreParameter(AudioUnitParameterID id, AudioUnitParameterValue value);
    void NotifyParameter(UInt32 eventType, AudioUnitParameterID id);  // control
    void SetEditorView(void* view, void* leaving);  // control
    OSStatus GetParameterString(AudioUnitParameterStringFromValue& request);  // control
    OSStatus CheckStateIdentity(CFDictionaryRef state) const;  // control
    void AddCompleteData(CFMutableDictionaryRef dictionary);
    OSStatus RestoreCompleteData(CFDataRef data);
    void Process(const AudioBufferList& input, AudioBufferList& output, UInt32 frames) noexcept;  // audio

    std::unique_ptr<APlugin> effect;
    AEffect* effectRecord = nullptr;
    UInt32 paramCount = 0;
    UInt32 programCount = 0;
    AUPreset presets[kMaxPresets]{};
    std::atomic<bool> bypassed{false};
    std::atomic<double> sampleRate{44100.0};
    std::atomic<UInt32> inChannels{2};
    std::atomic<UInt32> outChannels{2};
    std::vector<CFStringRef> paramNames;
    std::vector<AudioUnitParameterValue> paramDefaults;
    AudioTimeStamp lastTimeStamp{};
    VstTimeInfo timeInfo{};
    tidewalker::au::MidiQueue midiQueue;
    VstMidiEvent midiEvents[kMaxEventsPerBlock]{};
    std::vector<std::byte> eventBlockBytes;  // a VstEvents with room for kMaxEventsPerBlock pointers
    VstEvents* eventBlock = nullptr;
    std::vector<float> silence;  // input for a configuration without input channels
    void* editorView = nullptr;
    bool editorOpened = false;
};

extern "C" {
// The Component Manager entry and the Audio Component factory.
ComponentResult AUPLUGINEntry(ComponentParameters* parameters, AUPLUGIN* unit);
AudioComponentPlugInInterface* AUPLUGINFactory(const AudioComponentDescription* description);
// The fast MIDI entry for a unit opened through AUPLUGINEntry; self is its
// instance storage.
OSStatus AUPLUGINMIDIEvent(void* self, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame);
}
