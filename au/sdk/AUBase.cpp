#include "au/sdk/AUBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr UInt32 kFloatBytes = sizeof(float);

CFStringRef cfText(const char* text) { return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8); }

void setNumber(CFMutableDictionaryRef dictionary, const char* key, SInt32 value) {
    CFStringRef name = cfText(key);
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &value);
    CFDictionarySetValue(dictionary, name, number);
    CFRelease(number);
    CFRelease(name);
}

bool getNumber(CFDictionaryRef dictionary, const char* key, SInt32& value) {
    CFStringRef name = cfText(key);
    auto number = static_cast<CFNumberRef>(CFDictionaryGetValue(dictionary, name));
    CFRelease(name);
    return number && CFGetTypeID(number) == CFNumberGetTypeID() && CFNumberGetValue(number, kCFNumberSInt32Type, &value);
}

void putBigEndian(std::vector<UInt8>& bytes, UInt32 word) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<UInt8>(word >> shift));
}

UInt32 readBigEndian(const UInt8* bytes) {
    return (UInt32{bytes[0]} << 24) | (UInt32{bytes[1]} << 16) | (UInt32{bytes[2]} << 8) | UInt32{bytes[3]};
}

float floatArg(long word) {
    const auto bits = static_cast<UInt32>(word);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <typename T>
T pointerArg(long word) {
    return reinterpret_cast<T>(word);
}

// The block keeps the opened unit's base in its first spare word.
AUBase* unitOf(void* self) {
    return static_cast<AUBase*>(static_cast<ComponentBase*>(static_cast<AudioComponentPlugInInstance*>(self)->mPad[0]));
}

template <typename Call>
OSStatus guarded(Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        return StatusOfCurrentException();
    }
}

}  // namespace

OSStatus StatusOfCurrentException() noexcept {
    try {
        throw;
    } catch (const CAXException& e) {
        return e.mError;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    } catch (int e) {
        return e;
    } catch (short e) {
        return e;
    } catch (...) {
        return -1;
    }
}

CAStreamBasicDescription::CAStreamBasicDescription(Float64 sampleRate, UInt32 channels)
    : AudioStreamBasicDescription{sampleRate,
                                  kAudioFormatLinearPCM,
                                  kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved,
                                  kFloatBytes,
                                  1,
                                  kFloatBytes,
                                  channels,
                                  8 * kFloatBytes,
                                  0} {}

// ---- buffers

void AUBufferList::Allocate(const CAStreamBasicDescription& format, UInt32 maxFrames) {
    capacity = std::max<UInt32>(format.NumberChannelStreams(), 1);
    frames = maxFrames;
    const UInt32 perBuffer = format.IsInterleaved() ? format.NumberChannels() : 1;
    samples.assign(std::size_t{capacity} * perBuffer * maxFrames, 0.0f);
    listBytes.assign(offsetof(AudioBufferList, mBuffers) + capacity * sizeof(AudioBuffer), std::byte{});
    GetBufferList().mNumberBuffers = 0;
}

AudioBufferList& AUBufferList::PrepareBuffer(const CAStreamBasicDescription& format, UInt32 count) {
    AudioBufferList& list = GetBufferList();
    const UInt32 buffers = std::min(format.NumberChannelStreams(), capacity);
    const UInt32 perBuffer = format.IsInterleaved() ? format.NumberChannels() : 1;
    count = std::min(count, frames);
    list.mNumberBuffers = buffers;
    for (UInt32 i = 0; i < buffers; ++i) {
        list.mBuffers[i].mNumberChannels = perBuffer;
        list.mBuffers[i].mDataByteSize = count * perBuffer * kFloatBytes;
        list.mBuffers[i].mData = samples.data() + std::size_t{i} * perBuffer * frames;
    }
    return list;
}

AudioBufferList& AUBufferList::PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 count) {
    AudioBufferList& list = PrepareBuffer(format, count);
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i) list.mBuffers[i].mData = nullptr;
    return list;
}

bool AUBufferList::SetBufferList(const AudioBufferList& other) {
    if (other.mNumberBuffers > capacity) return false;
    AudioBufferList& list = GetBufferList();
    list.mNumberBuffers = other.mNumberBuffers;
    std::copy_n(other.mBuffers, other.mNumberBuffers, list.mBuffers);
    return true;
}

// ---- elements and scopes

void AUElement::UseIndexedParameters(UInt32 count) {
    mParameters = std::make_unique<std::atomic<AudioUnitParameterValue>[]>(count);
    for (UInt32 i = 0; i < count; ++i) mParameters[i].store(0.0f, std::memory_order_relaxed);
    mParameterCount = count;
}

AudioUnitParameterValue AUElement::GetParameter(AudioUnitParameterID id) const {
    if (id >= mParameterCount) throw CAXException("GetParameter", kAudioUnitErr_InvalidParameter);
    return mParameters[id].load(std::memory_order_relaxed);
}

void AUElement::SetParameter(AudioUnitParameterID id, AudioUnitParameterValue value) {
    if (id >= mParameterCount) throw CAXException("SetParameter", kAudioUnitErr_InvalidParameter);
    mParameters[id].store(value, std::memory_order_relaxed);
}

AUIOElement::AUIOElement(AUBase* audioUnit) : AUElement(audioUnit), mStreamFormat(44100.0, 2) {}

void AUInputElement::SetConnection(const AudioUnitConnection& connection) {
    mConnection = connection;
}

void AUInputElement::SetInputCallback(AURenderCallback proc, void* refCon) {
    mCallback = proc;
    mCallbackRefCon = refCon;
}

OSStatus AUInputElement::PullInput(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp,
                                   AudioUnitElement element, UInt32 frames) {
    if (!IsActive()) return kAudioUnitErr_NoConnection;
    if (frames > mIOBuffer.GetAllocatedFrames()) return kAudioUnitErr_TooManyFramesToProcess;
    // Keep the own memory's pointers: a source that fails us is replaced by them.
    AudioBufferList& own = mIOBuffer.PrepareBuffer(mStreamFormat, frames);
    void* ownData[2] = {};
    const UInt32 buffers = own.mNumberBuffers;
    for (UInt32 i = 0; i < buffers && i < 2; ++i) ownData[i] = own.mBuffers[i].mData;

    OSStatus result;
    if (mConnection.sourceAudioUnit) {
        mIOBuffer.PrepareNullBuffer(mStreamFormat, frames);
        result = AudioUnitRender(mConnection.sourceAudioUnit, &flags, &timeStamp, mConnection.sourceOutputNumber,
                                 frames, &own);
    } else {
        result = mCallback(mCallbackRefCon, &flags, &timeStamp, element, frames, &own);
    }
    if (result != noErr) return result;

    const UInt32 needed = frames * kFloatBytes;
    const UInt32 given = own.mNumberBuffers;
    own.mNumberBuffers = buffers;
    for (UInt32 i = 0; i < buffers; ++i) {
        AudioBuffer& buffer = own.mBuffers[i];
        if (i < given && buffer.mData && buffer.mDataByteSize >= needed) continue;
        buffer.mData = i < 2 ? ownData[i] : nullptr;
        buffer.mNumberChannels = 1;
        buffer.mDataByteSize = needed;
        if (buffer.mData) std::memset(buffer.mData, 0, needed);
    }
    return noErr;
}

void AUScope::Initialize(AUBase* audioUnit, AudioUnitScope scope, UInt32 elements) {
    mElements.clear();
    for (UInt32 i = 0; i < elements; ++i) {
        if (scope == kAudioUnitScope_Input)
            mElements.push_back(std::make_unique<AUInputElement>(audioUnit));
        else if (scope == kAudioUnitScope_Output)
            mElements.push_back(std::make_unique<AUOutputElement>(audioUnit));
        else
            mElements.push_back(std::make_unique<AUElement>(audioUnit));
    }
}

// ---- component base

ComponentBase::EInstanceType ComponentBase::sNewInstanceType = ComponentBase::kAudioComponentInstance;

ComponentBase::ComponentBase(AudioComponentInstance instance)
    : mComponentInstance(instance), mInstanceType(sNewInstanceType) {}

std::mutex& ComponentBase::ComponentOpenLock() {
    static std::mutex lock;
    return lock;
}

AudioComponentDescription ComponentBase::GetComponentDescription() const {
    AudioComponentDescription description{};
    AudioComponentGetDescription(AudioComponentInstanceGetComponent(mComponentInstance), &description);
    return description;
}

OSStatus ComponentBase::AP_Open(void* self, AudioComponentInstance instance) {
    auto* block = static_cast<AudioComponentPlugInInstance*>(self);
    return guarded([&] {
        std::lock_guard guard(ComponentOpenLock());
        const EInstanceType previous = sNewInstanceType;
        sNewInstanceType = kAudioComponentInstance;
        struct Restore {
            EInstanceType type;
            ~Restore() { sNewInstanceType = type; }
        } restore{previous};
        auto* unit = static_cast<ComponentBase*>(block->mConstruct(&block->mInstanceStorage, instance));
        try {
            unit->PostConstructor();
        } catch (...) {
            block->mDestruct(&block->mInstanceStorage);
            throw;
        }
        block->mPad[0] = unit;
        return noErr;
    });
}

OSStatus ComponentBase::AP_Close(void* self) {
    auto* block = static_cast<AudioComponentPlugInInstance*>(self);
    const OSStatus result = guarded([&] {
        if (auto* unit = static_cast<ComponentBase*>(block->mPad[0])) {
            unit->PreDestructor();
            block->mDestruct(&block->mInstanceStorage);
        }
        return noErr;
    });
    ::operator delete(block, std::align_val_t{alignof(AudioComponentPlugInInstance)});
    return result;
}

// ---- AUBase: life

AUBase::AUBase(AudioComponentInstance instance, UInt32 numInputs, UInt32 numOutputs, UInt32 numGroups)
    : ComponentBase(instance) {
    mGlobal.Initialize(this, kAudioUnitScope_Global, 1);
    mInputs.Initialize(this, kAudioUnitScope_Input, numInputs);
    mOutputs.Initialize(this, kAudioUnitScope_Output, numOutputs);
    mGroups.Initialize(this, kAudioUnitScope_Group, numGroups);
    mParamList.reserve(kMaxScheduledEvents);
}

AUBase::~AUBase() {
    if (mCurrentPreset.presetName) CFRelease(mCurrentPreset.presetName);
}

OSStatus AUBase::DoInitialize() {
    if (IsInitialized()) return noErr;
    const OSStatus result = Initialize();
    if (result != noErr) return result;
    for (AUScope* scope : {&mInputs, &mOutputs})
        for (UInt32 i = 0; i < scope->GetNumberOfElements(); ++i) scope->GetIOElement(i)->AllocateBuffer(GetMaxFramesPerSlice());
    mInitialized.store(true, std::memory_order_relaxed);
    return noErr;
}

void AUBase::DoCleanup() {
    if (!IsInitialized()) return;
    Cleanup();
    mInitialized.store(false, std::memory_order_relaxed);
}

OSStatus AUBase::Reset(AudioUnitScope, AudioUnitElement) {
    return noErr;
}

AUScope& AUBase::GetScope(AudioUnitScope scope) {
    switch (scope) {
    case kAudioUnitScope_Global: return mGlobal;
    case kAudioUnitScope_Input: return mInputs;
    case kAudioUnitScope_Output: return mOutputs;
    case kAudioUnitScope_Group: return mGroups;
    default: throw CAXException("GetScope", kAudioUnitErr_InvalidScope);
    }
}

AUElement* AUBase::SafeGetElement(AudioUnitScope scope, AudioUnitElement element) {
    AUElement* found = GetScope(scope).GetElement(element);
    if (!found) throw CAXException("SafeGetElement", kAudioUnitErr_InvalidElement);
    return found;
}

// ---- properties

OSStatus AUBase::DispatchGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         UInt32* dataSize, Boolean* writable) {
    UInt32 size = 0;
    Boolean canWrite = false;
    const OSStatus result = GetPropertyInfo(id, scope, element, size, canWrite);
    if (result != noErr) return result;
    if (dataSize) *dataSize = size;
    if (writable) *writable = canWrite;
    return noErr;
}

OSStatus AUBase::DispatchGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     void* data, UInt32* dataSize) {
    if (!dataSize) return kAudio_ParamError;
    UInt32 size = 0;
    Boolean writable = false;
    const OSStatus info = GetPropertyInfo(id, scope, element, size, writable);
    if (info != noErr) return info;
    if (!data) {
        *dataSize = size;
        return noErr;
    }
    if (*dataSize < size) return kAudio_ParamError;
    const OSStatus result = GetProperty(id, scope, element, data);
    if (result == noErr) *dataSize = size;
    return result;
}

OSStatus AUBase::DispatchSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     const void* data, UInt32 dataSize) {
    if (!data) return kAudio_ParamError;
    return SetProperty(id, scope, element, data, dataSize);
}

OSStatus AUBase::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 UInt32& dataSize, Boolean& writable) {
    writable = false;
    switch (id) {
    case kAudioUnitProperty_ClassInfo:
        dataSize = sizeof(CFPropertyListRef);
        writable = true;
        return noErr;
    case kAudioUnitProperty_MakeConnection:
    case kAudioUnitProperty_SetRenderCallback:
        if (scope != kAudioUnitScope_Input) return kAudioUnitErr_InvalidScope;
        dataSize = id == kAudioUnitProperty_MakeConnection ? sizeof(AudioUnitConnection) : sizeof(AURenderCallbackStruct);
        writable = true;
        return noErr;
    case kAudioUnitProperty_StreamFormat:
        if (!GetScope(scope).GetIOElement(element)) return kAudioUnitErr_InvalidElement;
        dataSize = sizeof(AudioStreamBasicDescription);
        writable = StreamFormatWritable(scope, element);
        return noErr;
    case kAudioUnitProperty_SampleRate:
        if (!GetScope(scope).GetIOElement(element)) return kAudioUnitErr_InvalidElement;
        dataSize = sizeof(Float64);
        writable = StreamFormatWritable(scope, element);
        return noErr;
    case kAudioUnitProperty_ElementCount:
        dataSize = sizeof(UInt32);
        writable = BusCountWritable(scope);
        return noErr;
    case kAudioUnitProperty_ParameterList: {
        UInt32 count = 0;
        const OSStatus result = GetParameterList(scope, nullptr, count);
        dataSize = count * sizeof(AudioUnitParameterID);
        return result;
    }
    case kAudioUnitProperty_ParameterInfo:
        dataSize = sizeof(AudioUnitParameterInfo);
        return noErr;
    case kAudioUnitProperty_ParameterValueStrings:
        dataSize = sizeof(CFArrayRef);
        return noErr;
    case kAudioUnitProperty_Latency:
    case kAudioUnitProperty_TailTime:
        if (scope != kAudioUnitScope_Global) return kAudioUnitErr_InvalidScope;
        if (id == kAudioUnitProperty_TailTime && !SupportsTail()) return kAudioUnitErr_InvalidProperty;
        dataSize = sizeof(Float64);
        return noErr;
    case kAudioUnitProperty_SupportedNumChannels: {
        const UInt32 count = SupportedNumChannels(nullptr);
        if (count == 0) return kAudioUnitErr_InvalidProperty;
        dataSize = count * sizeof(AUChannelInfo);
        return noErr;
    }
    case kAudioUnitProperty_MaximumFramesPerSlice:
        dataSize = sizeof(UInt32);
        writable = !IsInitialized();
        return noErr;
    case kAudioUnitProperty_FactoryPresets: {
        const OSStatus result = GetPresets(nullptr);
        dataSize = sizeof(CFArrayRef);
        return result;
    }
    case kAudioUnitProperty_PresentPreset:
    case kAudioUnitProperty_CurrentPreset:
        dataSize = sizeof(AUPreset);
        writable = true;
        return noErr;
    case kAudioUnitProperty_HostCallbacks:
        dataSize = sizeof(HostCallbackInfo);
        writable = true;
        return noErr;
    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data) {
    switch (id) {
    case kAudioUnitProperty_ClassInfo:
        return SaveState(static_cast<CFPropertyListRef*>(data));
    case kAudioUnitProperty_StreamFormat:
        *static_cast<AudioStreamBasicDescription*>(data) = GetScope(scope).GetIOElement(element)->GetStreamFormat();
        return noErr;
    case kAudioUnitProperty_SampleRate:
        *static_cast<Float64*>(data) = GetScope(scope).GetIOElement(element)->GetStreamFormat().mSampleRate;
        return noErr;
    case kAudioUnitProperty_ElementCount:
        *static_cast<UInt32*>(data) = GetScope(scope).GetNumberOfElements();
        return noErr;
    case kAudioUnitProperty_ParameterList: {
        UInt32 count = 0;
        GetParameterList(scope, nullptr, count);
        return GetParameterList(scope, static_cast<AudioUnitParameterID*>(data), count);
    }
    case kAudioUnitProperty_ParameterInfo:
        return GetParameterInfo(scope, element, *static_cast<AudioUnitParameterInfo*>(data));
    case kAudioUnitProperty_ParameterValueStrings:
        return GetParameterValueStrings(scope, element, static_cast<CFArrayRef*>(data));
    case kAudioUnitProperty_Latency:
        *static_cast<Float64*>(data) = GetLatency();
        return noErr;
    case kAudioUnitProperty_TailTime:
        *static_cast<Float64*>(data) = GetTailTime();
        return noErr;
    case kAudioUnitProperty_SupportedNumChannels: {
        const AUChannelInfo* table = nullptr;
        const UInt32 count = SupportedNumChannels(&table);
        std::copy_n(table, count, static_cast<AUChannelInfo*>(data));
        return noErr;
    }
    case kAudioUnitProperty_MaximumFramesPerSlice:
        *static_cast<UInt32*>(data) = GetMaxFramesPerSlice();
        return noErr;
    case kAudioUnitProperty_FactoryPresets:
        return GetPresets(static_cast<CFArrayRef*>(data));
    case kAudioUnitProperty_PresentPreset:
    case kAudioUnitProperty_CurrentPreset: {
        AUPreset preset = mCurrentPreset;
        // The present preset's name belongs to the caller; the old one's does not.
        if (preset.presetName && id == kAudioUnitProperty_PresentPreset) CFRetain(preset.presetName);
        *static_cast<AUPreset*>(data) = preset;
        return noErr;
    }
    case kAudioUnitProperty_HostCallbacks:
        *static_cast<HostCallbackInfo*>(data) = mHostCallbackInfo;
        return noErr;
    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             const void* data, UInt32 dataSize) {
    UInt32 size = 0;
    Boolean writable = false;
    const OSStatus info = GetPropertyInfo(id, scope, element, size, writable);
    if (info != noErr) return info;
    if (!writable) return kAudioUnitErr_PropertyNotWritable;
    if (dataSize < size && id != kAudioUnitProperty_HostCallbacks) return kAudio_ParamError;

    switch (id) {
    case kAudioUnitProperty_ClassInfo:
        return RestoreState(*static_cast<const CFPropertyListRef*>(data));
    case kAudioUnitProperty_MakeConnection: {
        const auto& connection = *static_cast<const AudioUnitConnection*>(data);
        if (!GetInput(connection.destInputNumber)) return kAudioUnitErr_InvalidElement;
        return SetConnection(connection);
    }
    case kAudioUnitProperty_SetRenderCallback: {
        AUInputElement* input = GetInput(element);
        if (!input) return kAudioUnitErr_InvalidElement;
        const auto& callback = *static_cast<const AURenderCallbackStruct*>(data);
        input->SetInputCallback(callback.inputProc, callback.inputProcRefCon);
        return noErr;
    }
    case kAudioUnitProperty_StreamFormat:
    case kAudioUnitProperty_SampleRate: {
        AUIOElement* io = GetScope(scope).GetIOElement(element);
        const CAStreamBasicDescription previous = io->GetStreamFormat();
        CAStreamBasicDescription format = previous;
        if (id == kAudioUnitProperty_StreamFormat)
            format = *static_cast<const AudioStreamBasicDescription*>(data);
        else
            format.mSampleRate = *static_cast<const Float64*>(data);
        if (!ValidFormat(scope, element, format)) return kAudioUnitErr_FormatNotSupported;
        return ChangeStreamFormat(scope, element, previous, format);
    }
    case kAudioUnitProperty_MaximumFramesPerSlice: {
        const UInt32 frames = *static_cast<const UInt32*>(data);
        if (frames == 0) return kAudioUnitErr_InvalidPropertyValue;
        return SetMaxFramesPerSlice(frames);
    }
    case kAudioUnitProperty_PresentPreset:
    case kAudioUnitProperty_CurrentPreset: {
        const auto& preset = *static_cast<const AUPreset*>(data);
        if (preset.presetNumber >= 0) return NewFactoryPresetSet(preset);
        if (!preset.presetName) return kAudioUnitErr_InvalidPropertyValue;
        return SetAFactoryPresetAsCurrent(preset);
    }
    case kAudioUnitProperty_HostCallbacks: {
        // Older hosts pass a shorter record: take what they give, clear the rest.
        mHostCallbackInfo = HostCallbackInfo{};
        std::memcpy(&mHostCallbackInfo, data, std::min<UInt32>(dataSize, sizeof(HostCallbackInfo)));
        return noErr;
    }
    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* refCon) {
    if (!proc) return kAudio_ParamError;
    mPropertyListeners.push_back({id, proc, refCon});
    return noErr;
}

void AUBase::PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element) {
    for (const PropertyListener& listener : mPropertyListeners)
        if (listener.id == id) listener.proc(listener.refCon, GetComponentInstance(), id, scope, element);
}

// ---- parameters

OSStatus AUBase::GetParameterList(AudioUnitScope scope, AudioUnitParameterID* list, UInt32& count) {
    AUElement* element = GetScope(scope).GetElement(0);
    count = element ? element->GetNumberOfParameters() : 0;
    if (list)
        for (UInt32 i = 0; i < count; ++i) list[i] = i;
    return noErr;
}

OSStatus AUBase::GetParameterInfo(AudioUnitScope, AudioUnitParameterID, AudioUnitParameterInfo&) {
    return kAudioUnitErr_InvalidParameter;
}

OSStatus AUBase::GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue& value) {
    value = SafeGetElement(scope, element)->GetParameter(id);
    return noErr;
}

OSStatus AUBase::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue value, UInt32) {
    SafeGetElement(scope, element)->SetParameter(id, value);
    return noErr;
}

OSStatus AUBase::ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count) {
    if (!events && count > 0) return kAudio_ParamError;
    for (UInt32 i = 0; i < count && mParamList.size() < kMaxScheduledEvents; ++i) mParamList.push_back(events[i]);
    return noErr;
}

// ---- rendering

OSStatus AUBase::DoRender(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 bus,
                          UInt32 frames, AudioBufferList& data) {
    struct ClearScheduled {
        std::vector<AudioUnitParameterEvent>& list;
        ~ClearScheduled() { list.clear(); }
    } clear{mParamList};

    AUOutputElement* output = GetOutput(bus);
    if (!output) return kAudioUnitErr_InvalidElement;
    if (!IsInitialized()) return kAudioUnitErr_Uninitialized;
    if (frames > GetMaxFramesPerSlice()) return kAudioUnitErr_TooManyFramesToProcess;
    if (frames == 0) return noErr;
    const CAStreamBasicDescription& format = output->GetStreamFormat();
    const UInt32 needed = frames * kFloatBytes;
    if (data.mNumberBuffers < format.NumberChannelStreams()) return kAudio_ParamError;
    for (UInt32 i = 0; i < format.NumberChannelStreams(); ++i)
        if (data.mBuffers[i].mData && data.mBuffers[i].mDataByteSize < needed) return kAudio_ParamError;

    output->IOBuffer().PrepareBuffer(format, frames);
    const OSStatus result = Render(flags, timeStamp, frames);
    if (result != noErr) return result;

    // The caller's memory gets the output; a caller without memory gets ours.
    const AudioBufferList& rendered = output->GetBufferList();
    for (UInt32 i = 0; i < format.NumberChannelStreams() && i < rendered.mNumberBuffers; ++i) {
        AudioBuffer& target = data.mBuffers[i];
        if (!target.mData)
            target.mData = rendered.mBuffers[i].mData;
        else if (target.mData != rendered.mBuffers[i].mData)
            std::memmove(target.mData, rendered.mBuffers[i].mData, needed);
        target.mDataByteSize = needed;
        target.mNumberChannels = 1;
    }
    return noErr;
}

OSStatus AUBase::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32) {
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ProcessBufferLists(AudioUnitRenderActionFlags&, const AudioBufferList&, AudioBufferList&, UInt32) {
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ProcessScheduledSlice(void*, UInt32, UInt32, UInt32) {
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ProcessForScheduledParams(std::vector<AudioUnitParameterEvent>& events, UInt32 frames,
                                           void* userData) {
    auto offsetOf = [frames](const AudioUnitParameterEvent& event) -> UInt32 {
        const SInt64 offset = event.eventType == kParameterEvent_Immediate ? SInt64{event.eventValues.immediate.bufferOffset}
                                                                           : SInt64{event.eventValues.ramp.startBufferOffset};
        return static_cast<UInt32>(std::clamp<SInt64>(offset, 0, frames - 1));
    };
    // Insertion sort: stable, in place and without the buffer stable_sort
    // may allocate on the render thread; the list is short.
    for (std::size_t i = 1; i < events.size(); ++i)
        for (std::size_t j = i; j > 0 && offsetOf(events[j]) < offsetOf(events[j - 1]); --j)
            std::swap(events[j], events[j - 1]);
    UInt32 start = 0;
    std::size_t next = 0;
    while (start < frames) {
        for (; next < events.size() && offsetOf(events[next]) <= start; ++next) {
            const AudioUnitParameterEvent& event = events[next];
            const float value = event.eventType == kParameterEvent_Immediate ? event.eventValues.immediate.value
                                                                             : event.eventValues.ramp.startValue;
            SetParameter(event.parameter, event.scope, event.element, value, start);
        }
        const UInt32 end = next < events.size() ? offsetOf(events[next]) : frames;
        const OSStatus result = ProcessScheduledSlice(userData, start, end - start, frames);
        if (result != noErr) return result;
        start = end;
    }
    return noErr;
}

// ---- formats

bool AUBase::ValidFormat(AudioUnitScope, AudioUnitElement, const CAStreamBasicDescription& format) {
    return format.IsPCM() && (format.mFormatFlags & kAudioFormatFlagIsFloat) && !format.IsInterleaved() &&
           format.mBitsPerChannel == 32 && std::isfinite(format.mSampleRate) && format.mSampleRate > 0.0;
}

bool AUBase::StreamFormatWritable(AudioUnitScope, AudioUnitElement) {
    return !IsInitialized();
}

OSStatus AUBase::ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription&,
                                    const CAStreamBasicDescription& format) {
    AUIOElement* io = GetScope(scope).GetIOElement(element);
    if (!io) return kAudioUnitErr_InvalidElement;
    io->SetStreamFormat(format);
    PropertyChanged(kAudioUnitProperty_StreamFormat, scope, element);
    return noErr;
}

UInt32 AUBase::SupportedNumChannels(const AUChannelInfo**) {
    return 0;
}

OSStatus AUBase::SetConnection(const AudioUnitConnection& connection) {
    GetInput(connection.destInputNumber)->SetConnection(connection);
    return noErr;
}

OSStatus AUBase::SetMaxFramesPerSlice(UInt32 frames) {
    if (IsInitialized()) return kAudioUnitErr_Initialized;
    mMaxFramesPerSlice.store(frames, std::memory_order_relaxed);
    PropertyChanged(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
    return noErr;
}

// ---- host callbacks

OSStatus AUBase::CallHostBeatAndTempo(Float64* beat, Float64* tempo) {
    if (!mHostCallbackInfo.beatAndTempoProc) return kAudioUnitErr_CannotDoInCurrentContext;
    return mHostCallbackInfo.beatAndTempoProc(mHostCallbackInfo.hostUserData, beat, tempo);
}

OSStatus AUBase::CallHostMusicalTimeLocation(UInt32* offsetToNextBeat, Float32* numerator, UInt32* denominator,
                                             Float64* measureDownBeat) {
    if (!mHostCallbackInfo.musicalTimeLocationProc) return kAudioUnitErr_CannotDoInCurrentContext;
    return mHostCallbackInfo.musicalTimeLocationProc(mHostCallbackInfo.hostUserData, offsetToNextBeat, numerator,
                                                     denominator, measureDownBeat);
}

OSStatus AUBase::CallHostTransportState(Boolean* playing, Boolean* changed, Float64* sampleInTimeLine,
                                        Boolean* cycling, Float64* cycleStart, Float64* cycleEnd) {
    if (!mHostCallbackInfo.transportStateProc) return kAudioUnitErr_CannotDoInCurrentContext;
    return mHostCallbackInfo.transportStateProc(mHostCallbackInfo.hostUserData, playing, changed, sampleInTimeLine,
                                                cycling, cycleStart, cycleEnd);
}

// ---- state and presets

// The class-info dictionary: identity, the global parameter values as
// big-endian (id, value) pairs under "data", and the present preset's name.
OSStatus AUBase::SaveState(CFPropertyListRef* state) {
    if (!state) return kAudio_ParamError;
    const AudioComponentDescription description = GetComponentDescription();
    CFMutableDictionaryRef dictionary =
        CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    setNumber(dictionary, "version", 0);
    setNumber(dictionary, "type", static_cast<SInt32>(description.componentType));
    setNumber(dictionary, "subtype", static_cast<SInt32>(description.componentSubType));
    setNumber(dictionary, "manufacturer", static_cast<SInt32>(description.componentManufacturer));

    std::vector<UInt8> bytes;
    const UInt32 count = Globals()->GetNumberOfParameters();
    putBigEndian(bytes, kAudioUnitScope_Global);
    putBigEndian(bytes, 0);
    putBigEndian(bytes, count);
    for (UInt32 id = 0; id < count; ++id) {
        UInt32 bits;
        const float value = Globals()->GetParameter(id);
        std::memcpy(&bits, &value, sizeof bits);
        putBigEndian(bytes, id);
        putBigEndian(bytes, bits);
    }
    CFDataRef data = CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size()));
    CFStringRef key = cfText("data");
    CFDictionarySetValue(dictionary, key, data);
    CFRelease(key);
    CFRelease(data);

    key = cfText("name");
    CFStringRef name = mCurrentPreset.presetName ? static_cast<CFStringRef>(CFRetain(mCurrentPreset.presetName))
                                                 : cfText("Untitled");
    CFDictionarySetValue(dictionary, key, name);
    CFRelease(name);
    CFRelease(key);
    *state = dictionary;
    return noErr;
}

OSStatus AUBase::RestoreState(CFPropertyListRef state) {
    if (!state || CFGetTypeID(state) != CFDictionaryGetTypeID()) return kAudioUnitErr_InvalidPropertyValue;
    auto dictionary = static_cast<CFDictionaryRef>(state);
    const AudioComponentDescription description = GetComponentDescription();
    SInt32 version = -1, type = 0, subtype = 0, manufacturer = 0;
    if (!getNumber(dictionary, "version", version) || version != 0 || !getNumber(dictionary, "type", type) ||
        !getNumber(dictionary, "subtype", subtype) || !getNumber(dictionary, "manufacturer", manufacturer) ||
        static_cast<OSType>(type) != description.componentType ||
        static_cast<OSType>(subtype) != description.componentSubType ||
        static_cast<OSType>(manufacturer) != description.componentManufacturer)
        return kAudioUnitErr_InvalidPropertyValue;

    CFStringRef key = cfText("data");
    auto data = static_cast<CFDataRef>(CFDictionaryGetValue(dictionary, key));
    CFRelease(key);
    if (data && CFGetTypeID(data) == CFDataGetTypeID()) {
        const OSStatus result = RestoreParameterData(data);
        if (result != noErr) return result;
    }

    key = cfText("name");
    auto name = static_cast<CFStringRef>(CFDictionaryGetValue(dictionary, key));
    CFRelease(key);
    if (name && CFGetTypeID(name) == CFStringGetTypeID()) SetAFactoryPresetAsCurrent(AUPreset{-1, name});
    return noErr;
}

OSStatus AUBase::RestoreParameterData(CFDataRef data) {
    const UInt8* bytes = CFDataGetBytePtr(data);
    const auto length = static_cast<std::size_t>(CFDataGetLength(data));
    if (length < 12) return kAudioUnitErr_InvalidPropertyValue;
    const UInt32 count = readBigEndian(bytes + 8);
    if ((length - 12) / 8 < count) return kAudioUnitErr_InvalidPropertyValue;
    AUElement* element = GetScope(readBigEndian(bytes)).GetElement(readBigEndian(bytes + 4));
    if (!element) return kAudioUnitErr_InvalidElement;
    for (UInt32 i = 0; i < count; ++i) {
        const UInt8* pair = bytes + 12 + std::size_t{i} * 8;
        const UInt32 id = readBigEndian(pair);
        const UInt32 bits = readBigEndian(pair + 4);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (id < element->GetNumberOfParameters()) element->SetParameter(id, value);
    }
    return noErr;
}

OSStatus AUBase::GetPresets(CFArrayRef*) const {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewFactoryPresetSet(const AUPreset&) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::SetAFactoryPresetAsCurrent(const AUPreset& preset) {
    if (!preset.presetName) return kAudio_ParamError;
    CFRetain(preset.presetName);
    if (mCurrentPreset.presetName) CFRelease(mCurrentPreset.presetName);
    mCurrentPreset = preset;
    return noErr;
}

// ---- entries

OSStatus AUBase::ComponentEntryDispatch(ComponentParameters* parameters, AUBase* unit) {
    if (!parameters || !unit) return kAudio_ParamError;
    const long* p = parameters->params;
    return guarded([&]() -> OSStatus {
        switch (parameters->what) {
        case kComponentVersionSelect:
            return unit->Version();
        case kAudioUnitInitializeSelect:
            return unit->DoInitialize();
        case kAudioUnitUninitializeSelect:
            unit->DoCleanup();
            return noErr;
        case kAudioUnitGetPropertyInfoSelect:
            return unit->DispatchGetPropertyInfo(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]),
                                                 static_cast<UInt32>(p[2]), pointerArg<UInt32*>(p[3]),
                                                 pointerArg<Boolean*>(p[4]));
        case kAudioUnitGetPropertySelect:
            return unit->DispatchGetProperty(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]),
                                             static_cast<UInt32>(p[2]), pointerArg<void*>(p[3]),
                                             pointerArg<UInt32*>(p[4]));
        case kAudioUnitSetPropertySelect:
            return unit->DispatchSetProperty(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]),
                                             static_cast<UInt32>(p[2]), pointerArg<const void*>(p[3]),
                                             static_cast<UInt32>(p[4]));
        case kAudioUnitAddPropertyListenerSelect:
            return unit->AddPropertyListener(static_cast<UInt32>(p[0]),
                                             pointerArg<AudioUnitPropertyListenerProc>(p[1]), pointerArg<void*>(p[2]));
        case kAudioUnitGetParameterSelect: {
            auto* value = pointerArg<AudioUnitParameterValue*>(p[3]);
            if (!value) return kAudio_ParamError;
            return unit->GetParameter(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]), static_cast<UInt32>(p[2]),
                                      *value);
        }
        case kAudioUnitSetParameterSelect:
            return unit->SetParameter(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]), static_cast<UInt32>(p[2]),
                                      floatArg(p[3]), static_cast<UInt32>(p[4]));
        case kAudioUnitScheduleParametersSelect:
            return unit->ScheduleParameter(pointerArg<const AudioUnitParameterEvent*>(p[0]), static_cast<UInt32>(p[1]));
        case kAudioUnitResetSelect:
            return unit->Reset(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]));
        case kAudioUnitRenderSelect: {
            auto* flags = pointerArg<AudioUnitRenderActionFlags*>(p[0]);
            auto* timeStamp = pointerArg<const AudioTimeStamp*>(p[1]);
            auto* data = pointerArg<AudioBufferList*>(p[4]);
            if (!flags || !timeStamp || !data) return kAudio_ParamError;
            return unit->DoRender(*flags, *timeStamp, static_cast<UInt32>(p[2]), static_cast<UInt32>(p[3]), *data);
        }
        default:
            return badComponentSelector;
        }
    });
}

namespace {

// The factory-instance entries: self is the plug-in instance block.
OSStatus lookupInitialize(void* self) { return guarded([&] { return unitOf(self)->DoInitialize(); }); }
OSStatus lookupUninitialize(void* self) {
    return guarded([&] {
        unitOf(self)->DoCleanup();
        return noErr;
    });
}
OSStatus lookupGetPropertyInfo(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                               UInt32* size, Boolean* writable) {
    return guarded([&] { return unitOf(self)->DispatchGetPropertyInfo(id, scope, element, size, writable); });
}
OSStatus lookupGetProperty(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                           void* data, UInt32* size) {
    return guarded([&] { return unitOf(self)->DispatchGetProperty(id, scope, element, data, size); });
}
OSStatus lookupSetProperty(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                           const void* data, UInt32 size) {
    return guarded([&] { return unitOf(self)->DispatchSetProperty(id, scope, element, data, size); });
}
OSStatus lookupAddPropertyListener(void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                   void* refCon) {
    return guarded([&] { return unitOf(self)->AddPropertyListener(id, proc, refCon); });
}
OSStatus lookupGetParameter(void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                            AudioUnitParameterValue* value) {
    if (!value) return kAudio_ParamError;
    return guarded([&] { return unitOf(self)->GetParameter(id, scope, element, *value); });
}
OSStatus lookupSetParameter(void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                            AudioUnitParameterValue value, UInt32 offset) {
    return guarded([&] { return unitOf(self)->SetParameter(id, scope, element, value, offset); });
}
OSStatus lookupScheduleParameters(void* self, const AudioUnitParameterEvent* events, UInt32 count) {
    return guarded([&] { return unitOf(self)->ScheduleParameter(events, count); });
}
OSStatus lookupReset(void* self, AudioUnitScope scope, AudioUnitElement element) {
    return guarded([&] { return unitOf(self)->Reset(scope, element); });
}
OSStatus lookupRender(void* self, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* timeStamp, UInt32 bus,
                      UInt32 frames, AudioBufferList* data) {
    if (!flags || !timeStamp || !data) return kAudio_ParamError;
    return guarded([&] { return unitOf(self)->DoRender(*flags, *timeStamp, bus, frames, *data); });
}

template <typename F>
AudioComponentMethod method(F function) {
    return reinterpret_cast<AudioComponentMethod>(function);
}

}  // namespace

AudioComponentMethod AUBaseLookup::Lookup(SInt16 selector) {
    switch (selector) {
    case kAudioUnitInitializeSelect: return method(lookupInitialize);
    case kAudioUnitUninitializeSelect: return method(lookupUninitialize);
    case kAudioUnitGetPropertyInfoSelect: return method(lookupGetPropertyInfo);
    case kAudioUnitGetPropertySelect: return method(lookupGetProperty);
    case kAudioUnitSetPropertySelect: return method(lookupSetProperty);
    case kAudioUnitAddPropertyListenerSelect: return method(lookupAddPropertyListener);
    case kAudioUnitGetParameterSelect: return method(lookupGetParameter);
    case kAudioUnitSetParameterSelect: return method(lookupSetParameter);
    case kAudioUnitScheduleParametersSelect: return method(lookupScheduleParameters);
    case kAudioUnitResetSelect: return method(lookupReset);
    case kAudioUnitRenderSelect: return method(lookupRender);
    default: return nullptr;
    }
}
