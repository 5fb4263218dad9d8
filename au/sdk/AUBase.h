// The base classes of a version 2 Audio Unit: the component base, elements
// and scopes with their stored parameter values and stream formats, buffer
// lists, and AUBase, which answers the standard properties, keeps the
// initialised state, pulls input and splits blocks at scheduled parameter
// events. A unit derives from AUBase and overrides what it needs.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "au/sdk/AudioUnit.h"

// The error a failed platform call throws inside the unit; the entry points
// turn it into their result.
class CAXException {
public:
    CAXException(const char* operation, OSStatus error) : mOperation(operation), mError(error) {}
    const char* mOperation;
    OSStatus mError;
};

// any: the status an exception caught at an entry point stands for. Call
// only inside a catch block.
OSStatus StatusOfCurrentException() noexcept;

class CAStreamBasicDescription : public AudioStreamBasicDescription {
public:
    CAStreamBasicDescription() : AudioStreamBasicDescription{} {}
    CAStreamBasicDescription(const AudioStreamBasicDescription& description) : AudioStreamBasicDescription(description) {}
    // 32-bit float, one buffer per channel: the format units exchange natively.
    CAStreamBasicDescription(Float64 sampleRate, UInt32 channels);
    UInt32 NumberChannels() const { return mChannelsPerFrame; }
    bool IsInterleaved() const { return (mFormatFlags & kAudioFormatFlagIsNonInterleaved) == 0; }
    bool IsPCM() const { return mFormatID == kAudioFormatLinearPCM; }
    UInt32 NumberChannelStreams() const { return IsInterleaved() ? 1 : mChannelsPerFrame; }
};

// Owns the sample memory of one element and the list that describes it.
class AUBufferList {
public:
    // control: room for format's channels at frames each.
    void Allocate(const CAStreamBasicDescription& format, UInt32 frames);
    // audio: the list pointing at the own memory, sized for frames.
    AudioBufferList& PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    // audio: the list with null data, for a source that brings its own memory.
    AudioBufferList& PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 frames);
    // audio: the list pointing at another's memory (in-place processing);
    // false when it has more buffers than this list has room for.
    bool SetBufferList(const AudioBufferList& list);
    AudioBufferList& GetBufferList() { return *reinterpret_cast<AudioBufferList*>(listBytes.data()); }  // audio
    UInt32 GetCapacity() const { return capacity; }  // any: buffers the list has room for
    UInt32 GetAllocatedFrames() const { return frames; }  // any

private:
    std::vector<std::byte> listBytes = std::vector<std::byte>(sizeof(AudioBufferList));
    std::vector<float> samples;
    UInt32 capacity = 0;
    UInt32 frames = 0;
};

class AUBase;

class AUElement {
public:
    explicit AUElement(AUBase* audioUnit) : mAudioUnit(audioUnit) {}
    virtual ~AUElement() = default;
    AUElement(const AUElement&) = delete;
    AUElement& operator=(const AUElement&) = delete;

    void UseIndexedParameters(UInt32 count);  // control
    UInt32 GetNumberOfParameters() const { return mParameterCount; }  // any
    // any; throws kAudioUnitErr_InvalidParameter outside the parameters.
    AudioUnitParameterValue GetParameter(AudioUnitParameterID id) const;
    void SetParameter(AudioUnitParameterID id, AudioUnitParameterValue value);  // any
    AUBase* GetAudioUnit() const { return mAudioUnit; }

private:
    AUBase* mAudioUnit;
    std::unique_ptr<std::atomic<AudioUnitParameterValue>[]> mParameters;
    UInt32 mParameterCount = 0;
};

class AUIOElement : public AUElement {
public:
    explicit AUIOElement(AUBase* audioUnit);
    const CAStreamBasicDescription& GetStreamFormat() const { return mStreamFormat; }  // control
    void SetStreamFormat(const CAStreamBasicDescription& format) { mStreamFormat = format; }  // control
    void AllocateBuffer(UInt32 maxFrames) { mIOBuffer.Allocate(mStreamFormat, maxFrames); }  // control
    AudioBufferList& GetBufferList() { return mIOBuffer.GetBufferList(); }  // audio
    AUBufferList& IOBuffer() { return mIOBuffer; }  // audio

protected:
    CAStreamBasicDescription mStreamFormat;
    AUBufferList mIOBuffer;
};

class AUInputElement : public AUIOElement {
public:
    using AUIOElement::AUIOElement;
    void SetConnection(const AudioUnitConnection& connection);  // control
    void SetInputCallback(AURenderCallback proc, void* refCon);  // control
    bool IsActive() const { return mConnection.sourceAudioUnit != nullptr || mCallback != nullptr; }  // audio
    // audio: fills the element's list for this time and frame count from the
    // connected unit or the render callback. A source that hands back fewer
    // buffers than the format has, null data or fewer bytes than the frames
    // need is read as silence, never beyond what it gave.
    OSStatus PullInput(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, AudioUnitElement element,
                       UInt32 frames);

private:
    AudioUnitConnection mConnection{};
    AURenderCallback mCallback = nullptr;
    void* mCallbackRefCon = nullptr;
};

class AUOutputElement : public AUIOElement {
public:
    using AUIOElement::AUIOElement;
    // audio: the output shares the given buffers; false when it has room for fewer.
    bool SetBufferList(const AudioBufferList& list) { return mIOBuffer.SetBufferList(list); }
};

class AUScope {
public:
    void Initialize(AUBase* audioUnit, AudioUnitScope scope, UInt32 elements);  // control
    UInt32 GetNumberOfElements() const { return static_cast<UInt32>(mElements.size()); }  // any
    AUElement* GetElement(UInt32 index) const { return index < mElements.size() ? mElements[index].get() : nullptr; }
    AUIOElement* GetIOElement(UInt32 index) const { return dynamic_cast<AUIOElement*>(GetElement(index)); }

private:
    std::vector<std::unique_ptr<AUElement>> mElements;
};

class ComponentBase {
public:
    enum EInstanceType { kAudioComponentInstance, kComponentMgrInstance };

    explicit ComponentBase(AudioComponentInstance instance);
    virtual ~ComponentBase() = default;
    ComponentBase(const ComponentBase&) = delete;
    ComponentBase& operator=(const ComponentBase&) = delete;

    virtual void PostConstructor() {}  // control
    virtual void PreDestructor() {}  // control
    virtual OSStatus Version() { return 0; }  // control
    AudioComponentInstance GetComponentInstance() const { return mComponentInstance; }  // any
    AudioComponentDescription GetComponentDescription() const;  // any

    // The factory's open and close entries; self is the plug-in instance block.
    static OSStatus AP_Open(void* self, AudioComponentInstance instance);
    static OSStatus AP_Close(void* self);

    // Instances are built one at a time: some hosts open units from several
    // threads at once, and the kind of the new instance is a process-wide value.
    static std::mutex& ComponentOpenLock();
    static EInstanceType sNewInstanceType;

protected:
    AudioComponentInstance mComponentInstance;
    EInstanceType mInstanceType;
};

// The instance block a factory hands the host: the plug-in interface, how to
// build and destroy the unit, then the unit itself.
struct AudioComponentPlugInInstance {
    AudioComponentPlugInInterface mPlugInInterface;
    void* (*mConstruct)(void* memory, AudioComponentInstance instance);  // answers the unit's ComponentBase
    void (*mDestruct)(void* memory);
    void* mPad[2];  // the first holds the opened unit's ComponentBase
    alignas(std::max_align_t) UInt32 mInstanceStorage[16];  // the unit; the block has room for all of it
};

class AUBase : public ComponentBase {
public:
    static constexpr UInt32 kAUDefaultMaxFramesPerSlice = 1156;

    AUBase(AudioComponentInstance instance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups = 0);
    ~AUBase() override;

    // Life. control.
    OSStatus DoInitialize();
    void DoCleanup();
    virtual OSStatus Initialize() { return noErr; }
    virtual void Cleanup() {}
    virtual OSStatus Reset(AudioUnitScope scope, AudioUnitElement element);
    bool IsInitialized() const { return mInitialized.load(std::memory_order_relaxed); }  // any

    // Properties: the Dispatch entries check sizes and pointers, then ask the
    // virtual ones; AUBase's own answer the standard properties. control.
    OSStatus DispatchGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* dataSize, Boolean* writable);
    OSStatus DispatchGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                                 UInt32* dataSize);
    OSStatus DispatchSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* data, UInt32 dataSize);
    virtual OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32& dataSize, Boolean& writable);
    virtual OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data);
    virtual OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* data, UInt32 dataSize);
    OSStatus AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* refCon);
    void PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);  // control

    // Parameters.
    virtual OSStatus GetParameterList(AudioUnitScope scope, AudioUnitParameterID* list, UInt32& count);  // control
    virtual OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info);
    virtual OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id, CFArrayRef* strings);
    virtual OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  AudioUnitParameterValue& value);  // any
    virtual OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  AudioUnitParameterValue value, UInt32 bufferOffset);  // any
    // any: events for the next render only; the list holds kMaxScheduledEvents
    // and drops what does not fit.
    virtual OSStatus ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count);
    static constexpr UInt32 kMaxScheduledEvents = 256;

    // Rendering. audio.
    OSStatus DoRender(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                      AudioBufferList& data);
    virtual OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames);
    virtual OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                        AudioBufferList& output, UInt32 frames);
    // Calls ProcessScheduledSlice once per stretch between scheduled events,
    // setting each event's value at the start of its stretch.
    OSStatus ProcessForScheduledParams(std::vector<AudioUnitParameterEvent>& events, UInt32 frames, void* userData);
    virtual OSStatus ProcessScheduledSlice(void* userData, UInt32 startFrame, UInt32 sliceFrames, UInt32 totalFrames);
    bool HasScheduledParams() const { return !mParamList.empty(); }  // audio

    // Formats and buses. control.
    virtual bool ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format);
    virtual bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                        const CAStreamBasicDescription& previous, const CAStreamBasicDescription& format);
    virtual UInt32 SupportedNumChannels(const AUChannelInfo** table);
    virtual bool BusCountWritable(AudioUnitScope) { return false; }
    virtual OSStatus SetConnection(const AudioUnitConnection& connection);
    virtual OSStatus SetMaxFramesPerSlice(UInt32 frames);
    UInt32 GetMaxFramesPerSlice() const { return mMaxFramesPerSlice.load(std::memory_order_relaxed); }  // any
    virtual Float64 GetLatency() { return 0.0; }
    virtual bool SupportsTail() { return false; }
    virtual Float64 GetTailTime() { return 0.0; }

    // State and presets. control.
    virtual OSStatus SaveState(CFPropertyListRef* state);
    virtual OSStatus RestoreState(CFPropertyListRef state);
    virtual OSStatus GetPresets(CFArrayRef* presets) const;
    virtual OSStatus NewFactoryPresetSet(const AUPreset& preset);
    OSStatus SetAFactoryPresetAsCurrent(const AUPreset& preset);
    AUPreset GetCurrentPreset() const { return mCurrentPreset; }  // control; not retained for the caller

    // Elements.
    AUScope& GetScope(AudioUnitScope scope);  // any; throws kAudioUnitErr_InvalidScope
    AUElement* Globals() const { return mGlobal.GetElement(0); }  // any
    AUInputElement* GetInput(UInt32 index) const { return dynamic_cast<AUInputElement*>(mInputs.GetElement(index)); }
    AUOutputElement* GetOutput(UInt32 index) const { return dynamic_cast<AUOutputElement*>(mOutputs.GetElement(index)); }
    // any; throws kAudioUnitErr_InvalidElement when there is none.
    AUElement* SafeGetElement(AudioUnitScope scope, AudioUnitElement element);

    // Host callbacks the host set through kAudioUnitProperty_HostCallbacks;
    // kAudioUnitErr_CannotDoInCurrentContext when it gave none. audio.
    OSStatus CallHostBeatAndTempo(Float64* beat, Float64* tempo);
    OSStatus CallHostMusicalTimeLocation(UInt32* offsetToNextBeat, Float32* numerator, UInt32* denominator,
                                         Float64* measureDownBeat);
    OSStatus CallHostTransportState(Boolean* playing, Boolean* changed, Float64* sampleInTimeLine, Boolean* cycling,
                                    Float64* cycleStart, Float64* cycleEnd);

    // The Component Manager's calls for an open instance, by selector.
    static OSStatus ComponentEntryDispatch(ComponentParameters* parameters, AUBase* unit);

protected:
    HostCallbackInfo mHostCallbackInfo{};
    std::vector<AudioUnitParameterEvent> mParamList;

private:
    struct PropertyListener {
        AudioUnitPropertyID id;
        AudioUnitPropertyListenerProc proc;
        void* refCon;
    };
    OSStatus RestoreParameterData(CFDataRef data);

    std::atomic<bool> mInitialized{false};
    std::atomic<UInt32> mMaxFramesPerSlice{kAUDefaultMaxFramesPerSlice};
    AUScope mGlobal, mInputs, mOutputs, mGroups;
    std::vector<PropertyListener> mPropertyListeners;
    AUPreset mCurrentPreset{-1, nullptr};
};

// The selector table of a unit without MIDI: what a factory instance's
// Lookup answers.
class AUBaseLookup {
public:
    static AudioComponentMethod Lookup(SInt16 selector);
};
