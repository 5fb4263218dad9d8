// The Audio Unit and AudioToolbox subset a version 2 effect and its host
// exchange: types, property ids, selectors, flags, error codes and the
// structures passed through properties, with the platform's 64-bit layouts.
#pragma once

#include <cstddef>

#include "au/sdk/CoreFoundation.h"

// Audio data and time.
struct AudioStreamBasicDescription {
    Float64 mSampleRate;
    UInt32 mFormatID;
    UInt32 mFormatFlags;
    UInt32 mBytesPerPacket;
    UInt32 mFramesPerPacket;
    UInt32 mBytesPerFrame;
    UInt32 mChannelsPerFrame;
    UInt32 mBitsPerChannel;
    UInt32 mReserved;
};

enum : UInt32 { kAudioFormatLinearPCM = 0x6C70636D };  // 'lpcm'
enum : UInt32 {
    kAudioFormatFlagIsFloat = 1u << 0,
    kAudioFormatFlagIsBigEndian = 1u << 1,
    kAudioFormatFlagIsSignedInteger = 1u << 2,
    kAudioFormatFlagIsPacked = 1u << 3,
    kAudioFormatFlagIsAlignedHigh = 1u << 4,
    kAudioFormatFlagIsNonInterleaved = 1u << 5,
    kAudioFormatFlagsNativeFloatPacked = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked,
};

struct AudioBuffer {
    UInt32 mNumberChannels;
    UInt32 mDataByteSize;
    void* mData;
};

struct AudioBufferList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[1];  // mNumberBuffers entries in practice
};

struct SMPTETime {
    SInt16 mSubframes;
    SInt16 mSubframeDivisor;
    UInt32 mCounter;
    UInt32 mType;
    UInt32 mFlags;
    SInt16 mHours;
    SInt16 mMinutes;
    SInt16 mSeconds;
    SInt16 mFrames;
};

enum : UInt32 {
    kSMPTETimeType24 = 0, kSMPTETimeType25 = 1, kSMPTETimeType30Drop = 2, kSMPTETimeType30 = 3,
    kSMPTETimeType2997 = 4, kSMPTETimeType2997Drop = 5, kSMPTETimeType60 = 6, kSMPTETimeType5994 = 7,
};

struct AudioTimeStamp {
    Float64 mSampleTime;
    UInt64 mHostTime;
    Float64 mRateScalar;
    UInt64 mWordClockTime;
    SMPTETime mSMPTETime;
    UInt32 mFlags;
    UInt32 mReserved;
};

enum : UInt32 {
    kAudioTimeStampSampleTimeValid = 1u << 0,
    kAudioTimeStampHostTimeValid = 1u << 1,
    kAudioTimeStampRateScalarValid = 1u << 2,
    kAudioTimeStampWordClockTimeValid = 1u << 3,
    kAudioTimeStampSMPTETimeValid = 1u << 4,
};

// Components and instances.
struct AudioComponentDescription {
    OSType componentType;
    OSType componentSubType;
    OSType componentManufacturer;
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
};

using AudioComponent = struct OpaqueAudioComponent*;
using AudioComponentInstance = struct ComponentInstanceRecord*;
using AudioUnit = AudioComponentInstance;
using MusicDeviceComponent = AudioComponentInstance;
using ComponentInstance = AudioComponentInstance;
using ComponentResult = SInt32;
using AudioComponentMethod = OSStatus (*)(void* self, ...);

struct AudioComponentPlugInInterface {
    OSStatus (*Open)(void* self, AudioComponentInstance instance);
    OSStatus (*Close)(void* self);
    AudioComponentMethod (*Lookup)(SInt16 selector);
    void* reserved;
};
using AudioComponentFactoryFunction = AudioComponentPlugInInterface* (*)(const AudioComponentDescription* description);

// The Component Manager's call record: the selector and the call's arguments,
// one word each, first argument first.
struct ComponentParameters {
    UInt8 flags;
    UInt8 paramSize;
    SInt16 what;
    UInt32 padding;
    long params[1];  // as many as the selector takes
};
using ComponentRoutine = ComponentResult (*)(ComponentParameters* parameters, void* storage);

enum : SInt16 {
    kComponentOpenSelect = -1,
    kComponentCloseSelect = -2,
    kComponentCanDoSelect = -3,
    kComponentVersionSelect = -4,
};

enum : SInt16 {
    kAudioUnitInitializeSelect = 0x0001,
    kAudioUnitUninitializeSelect = 0x0002,
    kAudioUnitGetPropertyInfoSelect = 0x0003,
    kAudioUnitGetPropertySelect = 0x0004,
    kAudioUnitSetPropertySelect = 0x0005,
    kAudioUnitGetParameterSelect = 0x0006,
    kAudioUnitSetParameterSelect = 0x0007,
    kAudioUnitResetSelect = 0x0009,
    kAudioUnitAddPropertyListenerSelect = 0x000A,
    kAudioUnitRemovePropertyListenerSelect = 0x000B,
    kAudioUnitRenderSelect = 0x000E,
    kAudioUnitScheduleParametersSelect = 0x0011,
    kMusicDeviceMIDIEventSelect = 0x0101,
    kMusicDeviceSysExSelect = 0x0102,
};

enum : OSType { kAudioUnitType_Effect = 0x61756678 /* 'aufx' */, kAudioUnitType_MusicEffect = 0x61756D66 /* 'aumf' */ };

// Errors.
enum : OSStatus {
    kAudio_UnimplementedError = -4,
    kAudio_ParamError = -50,
    badComponentSelector = static_cast<OSStatus>(0x80008002),
    fnfErr = -43,
    memFullErr = -108,
    kAudioUnitErr_InvalidProperty = -10879,
    kAudioUnitErr_InvalidParameter = -10878,
    kAudioUnitErr_InvalidElement = -10877,
    kAudioUnitErr_NoConnection = -10876,
    kAudioUnitErr_FailedInitialization = -10875,
    kAudioUnitErr_TooManyFramesToProcess = -10874,
    kAudioUnitErr_FormatNotSupported = -10868,
    kAudioUnitErr_Uninitialized = -10867,
    kAudioUnitErr_InvalidScope = -10866,
    kAudioUnitErr_PropertyNotWritable = -10865,
    kAudioUnitErr_CannotDoInCurrentContext = -10863,
    kAudioUnitErr_InvalidPropertyValue = -10851,
    kAudioUnitErr_PropertyNotInUse = -10850,
    kAudioUnitErr_Initialized = -10849,
};

// Scopes, elements, parameters.
using AudioUnitPropertyID = UInt32;
using AudioUnitScope = UInt32;
using AudioUnitElement = UInt32;
using AudioUnitParameterID = UInt32;
using AudioUnitParameterValue = Float32;
using AudioUnitRenderActionFlags = UInt32;

enum : AudioUnitScope {
    kAudioUnitScope_Global = 0, kAudioUnitScope_Input = 1, kAudioUnitScope_Output = 2, kAudioUnitScope_Group = 3,
};

enum : AudioUnitRenderActionFlags {
    kAudioUnitRenderAction_PreRender = 1u << 2,
    kAudioUnitRenderAction_PostRender = 1u << 3,
    kAudioUnitRenderAction_OutputIsSilence = 1u << 4,
};

enum : UInt32 {
    kAudioUnitParameterFlag_CFNameRelease = 1u << 4,
    kAudioUnitParameterFlag_ValuesHaveStrings = 1u << 21,
    kAudioUnitParameterFlag_HasCFNameString = 1u << 27,
    kAudioUnitParameterFlag_IsGlobalMeta = 1u << 28,
    kAudioUnitParameterFlag_IsElementMeta = 1u << 29,
    kAudioUnitParameterFlag_IsReadable = 1u << 30,
    kAudioUnitParameterFlag_IsWritable = 1u << 31,
};
enum : UInt32 { kAudioUnitParameterUnit_Generic = 0 };

struct AudioUnitParameterInfo {
    char name[52];
    CFStringRef unitName;
    UInt32 clumpID;
    CFStringRef cfNameString;
    UInt32 unit;
    AudioUnitParameterValue minValue;
    AudioUnitParameterValue maxValue;
    AudioUnitParameterValue defaultValue;
    UInt32 flags;
};

enum : UInt32 { kParameterEvent_Immediate = 1, kParameterEvent_Ramped = 2 };
struct AudioUnitParameterEvent {
    AudioUnitScope scope;
    AudioUnitElement element;
    AudioUnitParameterID parameter;
    UInt32 eventType;
    union {
        struct {
            SInt32 startBufferOffset;
            UInt32 durationInFrames;
            AudioUnitParameterValue startValue;
            AudioUnitParameterValue endValue;
        } ramp;
        struct {
            UInt32 bufferOffset;
            AudioUnitParameterValue value;
        } immediate;
    } eventValues;
};

// Properties.
enum : AudioUnitPropertyID {
    kAudioUnitProperty_ClassInfo = 0,
    kAudioUnitProperty_MakeConnection = 1,
    kAudioUnitProperty_SampleRate = 2,
    kAudioUnitProperty_ParameterList = 3,
    kAudioUnitProperty_ParameterInfo = 4,
    kAudioUnitProperty_FastDispatch = 5,
    kAudioUnitProperty_StreamFormat = 8,
    kAudioUnitProperty_ElementCount = 11,
    kAudioUnitProperty_Latency = 12,
    kAudioUnitProperty_SupportedNumChannels = 13,
    kAudioUnitProperty_MaximumFramesPerSlice = 14,
    kAudioUnitProperty_ParameterValueStrings = 16,
    kAudioUnitProperty_TailTime = 20,
    kAudioUnitProperty_BypassEffect = 21,
    kAudioUnitProperty_SetRenderCallback = 23,
    kAudioUnitProperty_FactoryPresets = 24,
    kAudioUnitProperty_HostCallbacks = 27,
    kAudioUnitProperty_CurrentPreset = 28,
    kAudioUnitProperty_InPlaceProcessing = 29,
    kAudioUnitProperty_CocoaUI = 31,
    kAudioUnitProperty_ParameterStringFromValue = 33,
    kAudioUnitProperty_PresentPreset = 36,
    kMusicDeviceProperty_InstrumentCount = 1000,
};

struct AUPreset {
    SInt32 presetNumber;
    CFStringRef presetName;
};

struct AUChannelInfo {
    SInt16 inChannels;
    SInt16 outChannels;
};

using AURenderCallback = OSStatus (*)(void* refCon, AudioUnitRenderActionFlags* actionFlags,
                                      const AudioTimeStamp* timeStamp, UInt32 busNumber, UInt32 frames,
                                      AudioBufferList* data);
struct AURenderCallbackStruct {
    AURenderCallback inputProc;
    void* inputProcRefCon;
};

struct AudioUnitConnection {
    AudioUnit sourceAudioUnit;
    UInt32 sourceOutputNumber;
    UInt32 destInputNumber;
};

using HostCallback_GetBeatAndTempo = OSStatus (*)(void* hostUserData, Float64* currentBeat, Float64* currentTempo);
using HostCallback_GetMusicalTimeLocation = OSStatus (*)(void* hostUserData, UInt32* deltaSampleOffsetToNextBeat,
                                                         Float32* timeSigNumerator, UInt32* timeSigDenominator,
                                                         Float64* currentMeasureDownBeat);
using HostCallback_GetTransportState = OSStatus (*)(void* hostUserData, Boolean* isPlaying,
                                                    Boolean* transportStateChanged, Float64* currentSampleInTimeLine,
                                                    Boolean* isCycling, Float64* cycleStartBeat, Float64* cycleEndBeat);
using HostCallback_GetTransportState2 = OSStatus (*)(void* hostUserData, Boolean* isPlaying, Boolean* isRecording,
                                                     Boolean* transportStateChanged, Float64* currentSampleInTimeLine,
                                                     Boolean* isCycling, Float64* cycleStartBeat,
                                                     Float64* cycleEndBeat);
struct HostCallbackInfo {
    void* hostUserData;
    HostCallback_GetBeatAndTempo beatAndTempoProc;
    HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
    HostCallback_GetTransportState transportStateProc;
    HostCallback_GetTransportState2 transportStateProc2;
};

struct AudioUnitCocoaViewInfo {
    CFURLRef mCocoaAUViewBundleLocation;
    CFStringRef mCocoaAUViewClass[1];
};

struct AudioUnitParameterStringFromValue {
    AudioUnitParameterID inParamID;
    const AudioUnitParameterValue* inValue;
    CFStringRef outString;
};

using AudioUnitPropertyListenerProc = void (*)(void* refCon, AudioUnit unit, AudioUnitPropertyID id,
                                               AudioUnitScope scope, AudioUnitElement element);

// The fast MIDI entry a host may look up through kAudioUnitProperty_FastDispatch.
using MusicDeviceMIDIEventProc = OSStatus (*)(void* self, UInt32 status, UInt32 data1, UInt32 data2,
                                              UInt32 offsetSampleFrame);

// Host-side calls (AudioToolbox). any thread the host chooses, as on the platform.
AudioComponent AudioComponentRegister(const AudioComponentDescription* description, CFStringRef name, UInt32 version,
                                      AudioComponentFactoryFunction factory);
OSStatus AudioComponentInstanceNew(AudioComponent component, AudioComponentInstance* instance);
OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance);
AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance);
OSStatus AudioComponentGetDescription(AudioComponent component, AudioComponentDescription* description);
OSStatus AudioUnitInitialize(AudioUnit unit);
OSStatus AudioUnitUninitialize(AudioUnit unit);
OSStatus AudioUnitGetPropertyInfo(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                                  AudioUnitElement element, UInt32* dataSize, Boolean* writable);
OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              void* data, UInt32* dataSize);
OSStatus AudioUnitSetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              const void* data, UInt32 dataSize);
OSStatus AudioUnitAddPropertyListener(AudioUnit unit, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                      void* refCon);
OSStatus AudioUnitGetParameter(AudioUnit unit, AudioUnitParameterID id, AudioUnitScope scope,
                               AudioUnitElement element, AudioUnitParameterValue* value);
OSStatus AudioUnitSetParameter(AudioUnit unit, AudioUnitParameterID id, AudioUnitScope scope,
                               AudioUnitElement element, AudioUnitParameterValue value, UInt32 bufferOffsetInFrames);
OSStatus AudioUnitScheduleParameters(AudioUnit unit, const AudioUnitParameterEvent* events, UInt32 count);
OSStatus AudioUnitReset(AudioUnit unit, AudioUnitScope scope, AudioUnitElement element);
OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timeStamp,
                         UInt32 outputBusNumber, UInt32 frames, AudioBufferList* data);
OSStatus MusicDeviceMIDIEvent(MusicDeviceComponent unit, UInt32 status, UInt32 data1, UInt32 data2,
                              UInt32 offsetSampleFrame);
OSStatus MusicDeviceSysEx(MusicDeviceComponent unit, const UInt8* data, UInt32 length);

using Handle = char**;
// The object a component keeps for its instance: a Component Manager entry
// stores it when opened; a factory instance has its plug-in record there.
void SetComponentInstanceStorage(ComponentInstance instance, Handle storage);
Handle GetComponentInstanceStorage(ComponentInstance instance);

// A unit opened through a Component Manager entry instead of a factory.
// control; what the Component Manager does when a host opens such a unit.
OSStatus TWOpenComponentInstance(ComponentRoutine entry, const AudioComponentDescription* description,
                                 AudioComponentInstance* instance);

// Parameter events for the host's listeners (AudioToolbox's AUEventListener).
enum : UInt32 {
    kAudioUnitEvent_ParameterValueChange = 0,
    kAudioUnitEvent_BeginParameterChangeGesture = 1,
    kAudioUnitEvent_EndParameterChangeGesture = 2,
    kAudioUnitEvent_PropertyChange = 3,
};
constexpr AudioUnitParameterID kAUParameterListener_AnyParameter = 0xFFFFFFFF;

struct AudioUnitParameter {
    AudioUnit mAudioUnit;
    AudioUnitParameterID mParameterID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};
struct AudioUnitProperty {
    AudioUnit mAudioUnit;
    AudioUnitPropertyID mPropertyID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};
struct AudioUnitEvent {
    UInt32 mEventType;
    union {
        AudioUnitParameter mParameter;
        AudioUnitProperty mProperty;
    } mArgument;
};

using AUEventListenerRef = struct AUEventListenerOpaque*;
using AUEventListenerProc = void (*)(void* userData, void* object, const AudioUnitEvent* event, UInt64 hostTime,
                                     AudioUnitParameterValue value);
// Listeners are called on the notifying thread here (the platform posts to
// their run loop); tests read the thread from inside the call.
OSStatus AUEventListenerCreate(AUEventListenerProc proc, void* userData, CFRunLoopRef runLoop, CFStringRef runLoopMode,
                               Float32 notificationInterval, Float32 valueChangeGranularity,
                               AUEventListenerRef* listener);
OSStatus AUEventListenerAddEventType(AUEventListenerRef listener, void* object, const AudioUnitEvent* event);
OSStatus AUListenerDispose(AUEventListenerRef listener);
OSStatus AUEventListenerNotify(AUEventListenerRef sendingListener, void* sendingObject, const AudioUnitEvent* event);

static_assert(sizeof(void*) == 8, "the 64-bit layout is the one the platform uses");
static_assert(sizeof(AudioStreamBasicDescription) == 40);
static_assert(sizeof(AudioBuffer) == 16 && sizeof(AudioBufferList) == 24);
static_assert(offsetof(AudioBufferList, mBuffers) == 8);
static_assert(sizeof(SMPTETime) == 24);
static_assert(sizeof(AudioTimeStamp) == 64 && offsetof(AudioTimeStamp, mSMPTETime) == 32 &&
              offsetof(AudioTimeStamp, mFlags) == 56);
static_assert(sizeof(AudioComponentDescription) == 20);
static_assert(sizeof(AudioComponentPlugInInterface) == 32);
static_assert(offsetof(ComponentParameters, params) == 8);
static_assert(sizeof(AudioUnitParameterInfo) == 104 && offsetof(AudioUnitParameterInfo, unitName) == 56 &&
              offsetof(AudioUnitParameterInfo, cfNameString) == 72 && offsetof(AudioUnitParameterInfo, flags) == 96);
static_assert(sizeof(AudioUnitParameterEvent) == 32);
static_assert(sizeof(AUPreset) == 16 && sizeof(AUChannelInfo) == 4);
static_assert(sizeof(AURenderCallbackStruct) == 16 && sizeof(AudioUnitConnection) == 16);
static_assert(sizeof(HostCallbackInfo) == 40);
static_assert(sizeof(AudioUnitCocoaViewInfo) == 16);
static_assert(sizeof(AudioUnitParameterStringFromValue) == 24);
static_assert(sizeof(AudioUnitParameter) == 24 && sizeof(AudioUnitEvent) == 32);
