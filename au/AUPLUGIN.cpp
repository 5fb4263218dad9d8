#include "au/AUPLUGIN.h"

#include "editor/uEditor.h"
#include "plugin/VendorRequests.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace tidewalker::au;

namespace {

constexpr std::size_t kNameBytes = 255;
constexpr std::size_t kDisplayBytes = 512;
constexpr std::size_t kDisplayKept = 32;
constexpr AUChannelInfo kChannelTable[] = {{1, 2}, {0, 2}, {2, 2}};

CFStringRef macRoman(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman);
}

// Free slots carry names beginning with "~" or "-"; hosts show them unnamed.
CFStringRef hostName(const char* effectName) {
    char name[kNameBytes] = {};
    if (effectName[0] != '~' && effectName[0] != '-') std::snprintf(name, kNameBytes, "%s", effectName);
    return macRoman(name);
}

}  // namespace

AUPLUGIN::AUPLUGIN(AudioComponentInstance instance) : AUBase(instance, 1, 1, 0), AUMIDIBase(this) {
    effect.reset(static_cast<APlugin*>(createEffectWithEditor(AUPLUGINAudioMasterCallback, "AU")));
    effectRecord = effect->getAeffect();
    effectRecord->resvd1 = reinterpret_cast<VstIntPtr>(this);
    paramCount = static_cast<UInt32>(std::max(effectRecord->numParams, 0));
    programCount = std::min(static_cast<UInt32>(std::max(effectRecord->numPrograms, 0)), kMaxPresets);

    effect->suspend();
    effect->setSampleRate(44100.0f);

    eventBlockBytes.assign(offsetof(VstEvents, events) + kMaxEventsPerBlock * sizeof(VstEvent*), std::byte{});
    eventBlock = reinterpret_cast<VstEvents*>(eventBlockBytes.data());

    Globals()->UseIndexedParameters(paramCount);
    paramNames.reserve(paramCount);
    paramDefaults.reserve(paramCount);
    for (UInt32 n = 0; n < paramCount; ++n) {
        char name[kNameBytes] = {};
        effect->getParameterName(static_cast<VstInt32>(n), name);
        paramNames.push_back(hostName(name));
        // Freshly built, the effect holds its default settings.
        paramDefaults.push_back(effect->getParameter(static_cast<VstInt32>(n)));
        Globals()->SetParameter(n, paramDefaults.back());
    }

    effect->setBlockSize(1024);
    effect->setProgram(0);
    for (UInt32 i = 0; i < programCount; ++i) presets[i] = {static_cast<SInt32>(i), macRoman("Default")};
    if (programCount > 0) SetAFactoryPresetAsCurrent(presets[0]);
}

AUPLUGIN::~AUPLUGIN() {
    if (editorOpened) VSTDispatcher(effEditClose);
    for (CFStringRef name : paramNames) CFRelease(name);
    for (UInt32 i = 0; i < programCount; ++i) CFRelease(presets[i].presetName);
    effect.reset();
}

VstIntPtr AUPLUGIN::VSTDispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!effectRecord || !effectRecord->dispatcher) return 0;
    return effectRecord->dispatcher(effectRecord, opcode, index, value, ptr, opt);
}

// ---- life

OSStatus AUPLUGIN::Initialize() {
    if (!effect) return kAudioUnitErr_Uninitialized;
    const auto* input = static_cast<AUIOElement*>(SafeGetElement(kAudioUnitScope_Input, 0));
    const auto* output = static_cast<AUIOElement*>(SafeGetElement(kAudioUnitScope_Output, 0));
    const auto in = static_cast<SInt16>(input->GetStreamFormat().NumberChannels());
    const auto out = static_cast<SInt16>(output->GetStreamFormat().NumberChannels());
    const bool supported = std::any_of(std::begin(kChannelTable), std::end(kChannelTable), [&](const AUChannelInfo& c) {
        return c.inChannels == in && c.outChannels == out;
    });
    if (!supported) return kAudioUnitErr_FormatNotSupported;

    silence.assign(GetMaxFramesPerSlice(), 0.0f);
    effect->suspend();
    effect->setSampleRate(static_cast<float>(sampleRate.load(std::memory_order_relaxed)));
    effect->setBlockSize(static_cast<VstInt32>(GetMaxFramesPerSlice()));
    GetProgramNames();
    if (const VstInt32 program = effect->getProgram(); program >= 0 && static_cast<UInt32>(program) < programCount)
        SetAFactoryPresetAsCurrent(presets[program]);
    effect->resume();
    SynchronizeParams();
    return noErr;
}

OSStatus AUPLUGIN::Reset(AudioUnitScope scope, AudioUnitElement element) {
    if (effect) {
        effect->suspend();
        effect->resume();
    }
    return AUBase::Reset(scope, element);
}

OSStatus AUPLUGIN::SetMaxFramesPerSlice(UInt32 frames) {
    const OSStatus result = AUBase::SetMaxFramesPerSlice(frames);
    if (result == noErr && effect) {
        effect->suspend();
        effect->setBlockSize(static_cast<VstInt32>(frames));
        effect->resume();
    }
    return result;
}

Float64 AUPLUGIN::GetLatency() {
    if (!effectRecord) return 0.0;
    return effectRecord->initialDelay / sampleRate.load(std::memory_order_relaxed);
}

// ---- parameters

OSStatus AUPLUGIN::GetParameterList(AudioUnitScope scope, AudioUnitParameterID* list, UInt32& count) {
    if (scope != kAudioUnitScope_Global || !effectRecord) return AUBase::GetParameterList(scope, list, count);
    count = paramCount;
    if (list)
        for (UInt32 i = 0; i < count; ++i) list[i] = i;
    return noErr;
}

OSStatus AUPLUGIN::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info) {
    if (scope != kAudioUnitScope_Global) return kAudioUnitErr_InvalidParameter;
    info = AudioUnitParameterInfo{};
    info.flags = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;
    if (!IsInitialized()) info.flags |= kAudioUnitParameterFlag_IsGlobalMeta;
    info.unit = kAudioUnitParameterUnit_Generic;
    info.minValue = 0.0f;
    info.maxValue = 1.0f;
    if (id < paramCount) {
        info.cfNameString = paramNames[id];
        CFStringGetCString(paramNames[id], info.name, sizeof(info.name), kCFStringEncodingMacRoman);
        info.defaultValue = paramDefaults[id];
        info.flags |= kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_ValuesHaveStrings;
        return noErr;
    }
    info.cfNameString = macRoman("Generic");
    std::strcpy(info.name, "Generic");
    info.defaultValue = 0.5f;
    info.flags |= kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    return noErr;
}

OSStatus AUPLUGIN::GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*) {
    return kAudioUnitErr_InvalidProperty;
}

// The store keeps what the effect made of the value (clamped, switches
// snapped), so hosts read back what is in effect.
OSStatus AUPLUGIN::SetParameter(AudioUnitParameterID id, AudioUnitScope, AudioUnitElement,
                                AudioUnitParameterValue value, UInt32) {
    if (id >= paramCount) return kAudioUnitErr_InvalidParameter;
    if (!effect) {
        Globals()->SetParameter(id, value);
        return noErr;
    }
    effect->setParameter(static_cast<VstInt32>(id), value);
    Globals()->SetParameter(id, effect->getParameter(static_cast<VstInt32>(id)));
    return noErr;
}

OSStatus AUPLUGIN::ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count) {
    if (!events && count > 0) return kAudio_ParamError;
    for (UInt32 i = 0; i < count; ++i)
        if (events[i].eventType == kParameterEvent_Immediate && effect && events[i].parameter < paramCount)
            effect->setParameter(static_cast<VstInt32>(events[i].parameter), events[i].eventValues.immediate.value);
    return AUBase::ScheduleParameter(events, count);
}

void AUPLUGIN::StoreParameter(AudioUnitParameterID id, AudioUnitParameterValue value) {
    AUBase::SetParameter(id, kAudioUnitScope_Global, 0, value, 0);
}

void AUPLUGIN::NotifyParameter(UInt32 eventType, AudioUnitParameterID id) {
    AudioUnitEvent event{};
    event.mEventType = eventType;
    event.mArgument.mParameter = {GetComponentInstance(), id, kAudioUnitScope_Global, 0};
    AUEventListenerNotify(nullptr, nullptr, &event);
}

void AUPLUGIN::SynchronizeParams() {
    for (UInt32 n = 0; n < paramCount; ++n) StoreParameter(n, effect->getParameter(static_cast<VstInt32>(n)));
}

void AUPLUGIN::PublishParameterChanges() {
    if (!effect) return;
    for (UInt32 n = 0; n < paramCount; ++n) {
        const float value = effect->getParameter(static_cast<VstInt32>(n));
        if (Globals()->GetParameter(n) == value) continue;
        StoreParameter(n, value);
        NotifyParameter(kAudioUnitEvent_ParameterValueChange, n);
    }
}

// ---- properties

OSStatus AUPLUGIN::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                   UInt32& dataSize, Boolean& writable) {
    if (id == kAudioUnitProperty_FastDispatch) {
        dataSize = sizeof(void*);
        writable = false;
        return noErr;
    }
    if (scope == kAudioUnitScope_Global) {
        writable = false;
        switch (id) {
        case kAudioUnitProperty_SampleRate:
            dataSize = sizeof(Float64);
            writable = !IsInitialized();
            return noErr;
        case kAudioUnitProperty_BypassEffect:
            dataSize = sizeof(UInt32);
            writable = true;
            return noErr;
        case kAudioUnitProperty_InPlaceProcessing:
        case kMusicDeviceProperty_InstrumentCount:
            dataSize = sizeof(UInt32);
            return noErr;
        case kAudioUnitProperty_CocoaUI:
            dataSize = sizeof(AudioUnitCocoaViewInfo);
            return noErr;
        case kAudioUnitProperty_ParameterStringFromValue:
            dataSize = sizeof(AudioUnitParameterStringFromValue);
            return noErr;
        case kEditorViewProperty:
        case kEditorIdleProperty:
            dataSize = sizeof(void*);
            writable = true;
            return noErr;
        case kEditorSizeProperty:
            dataSize = 2 * sizeof(double);
            return noErr;
        case kRandomSeedProperty:
            dataSize = sizeof(UInt32);
            writable = true;
            return noErr;
        default:
            break;
        }
    }
    const OSStatus result = AUBase::GetPropertyInfo(id, scope, element, dataSize, writable);
    if (result != kAudioUnitErr_InvalidProperty) return result;
    return DelegateGetPropertyInfo(id, scope, element, dataSize, writable);
}

OSStatus AUPLUGIN::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data) {
    if (id == kAudioUnitProperty_FastDispatch) {
        if (element != static_cast<AudioUnitElement>(kMusicDeviceMIDIEventSelect)) return kAudioUnitErr_InvalidElement;
        // A factory instance is called with its plug-in block, a Component
        // Manager instance with its storage: each gets the entry for it.
        auto entry = mInstanceType == kComponentMgrInstance
                         ? reinterpret_cast<void*>(AUPLUGINMIDIEvent)
                         : reinterpret_cast<void*>(AUMIDILookup::Lookup(kMusicDeviceMIDIEventSelect));
        *static_cast<void**>(data) = entry;
        return noErr;
    }
    if (scope == kAudioUnitScope_Global) {
        switch (id) {
        case kAudioUnitProperty_SampleRate:
            *static_cast<Float64*>(data) = sampleRate.load(std::memory_order_relaxed);
            return noErr;
        case kAudioUnitProperty_BypassEffect:
            *static_cast<UInt32*>(data) = bypassed.load(std::memory_order_relaxed) ? 1 : 0;
            return noErr;
        case kAudioUnitProperty_InPlaceProcessing:
        case kMusicDeviceProperty_InstrumentCount:
            *static_cast<UInt32*>(data) = 0;
            return noErr;
        case kAudioUnitProperty_CocoaUI: {
            CFStringRef identifier = CFStringCreateWithCString(nullptr, kBundleIdentifier, kCFStringEncodingUTF8);
            CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier);
            CFRelease(identifier);
            CFURLRef location = bundle ? CFBundleCopyBundleURL(bundle) : nullptr;
            if (!location) return fnfErr;
            *static_cast<AudioUnitCocoaViewInfo*>(data) = {location, {macRoman(kViewFactoryClass)}};
            return noErr;
        }
        case kAudioUnitProperty_ParameterStringFromValue:
            return GetParameterString(*static_cast<AudioUnitParameterStringFromValue*>(data));
        case kEditorSizeProperty: {
            if (!effectRecord) return -1;
            ERect* rect = nullptr;
            VSTDispatcher(effEditGetRect, 0, 0, &rect);
            if (!rect) return kAudioUnitErr_Uninitialized;
            auto* size = static_cast<double*>(data);
            size[0] = rect->right - rect->left;
            size[1] = rect->bottom - rect->top;
            return noErr;
        }
        default:
            break;
        }
    }
    const OSStatus result = AUBase::GetProperty(id, scope, element, data);
    if (result != kAudioUnitErr_InvalidProperty) return result;
    return DelegateGetProperty(id, scope, element, data);
}

OSStatus AUPLUGIN::GetParameterString(AudioUnitParameterStringFromValue& request) {
    if (!effect) return noErr;
    if (request.inParamID >= paramCount) return kAudioUnitErr_InvalidParameter;
    const auto id = static_cast<VstInt32>(request.inParamID);
    char text[kDisplayBytes] = {};
    if (request.inValue)
        effect->getParameterDisplayForValue(id, *request.inValue, text);
    else
        effect->getParameterDisplay(id, text);
    text[kDisplayKept] = '\0';
    char label[kDisplayBytes] = {};
    effect->getParameterLabel(id, label);
    std::size_t used = std::strlen(text);
    text[used++] = ' ';
    std::snprintf(text + used, kDisplayBytes - used, "%s", label);
    request.outString = macRoman(text);
    return noErr;
}

OSStatus AUPLUGIN::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                               const void* data, UInt32 dataSize) {
    if (id == kAudioUnitProperty_SampleRate) {
        // A value of the wrong size has always been taken and ignored.
        if (dataSize != sizeof(Float64)) return noErr;
        if (IsInitialized()) return kAudioUnitErr_PropertyNotWritable;
        const Float64 rate = *static_cast<const Float64*>(data);
        if (!std::isfinite(rate) || rate <= 0.0) return kAudioUnitErr_InvalidPropertyValue;
        sampleRate.store(rate, std::memory_order_relaxed);
        if (effect) {
            effect->suspend();
            effect->setSampleRate(static_cast<float>(rate));
            effect->resume();
        }
        return noErr;
    }
    if (scope == kAudioUnitScope_Global) {
        switch (id) {
        case kAudioUnitProperty_BypassEffect: {
            if (dataSize < sizeof(UInt32)) return kAudioUnitErr_InvalidPropertyValue;
            const bool wanted = *static_cast<const UInt32*>(data) != 0;
            if (wanted == bypassed.load(std::memory_order_relaxed)) return noErr;
            if (!wanted && IsInitialized()) Reset(kAudioUnitScope_Global, 0);
            bypassed.store(wanted, std::memory_order_relaxed);
            return noErr;
        }
        case kEditorViewProperty:
        {
            if (dataSize < sizeof(void*)) return kAudio_ParamError;
            const auto* views = static_cast<void* const*>(data);
            SetEditorView(views[0], dataSize >= 2 * sizeof(void*) ? views[1] : nullptr);
            return noErr;
        }
        case kEditorIdleProperty:
            if (dataSize < sizeof(void*)) return kAudio_ParamError;
            VSTDispatcher(effEditIdle);
            PublishParameterChanges();
            return noErr;
        case kRandomSeedProperty:
            if (dataSize < sizeof(UInt32)) return kAudioUnitErr_InvalidPropertyValue;
            if (VSTDispatcher(effVendorSpecific, kRandomSeedRequest, *static_cast<const UInt32*>(data)) != 1)
                return kAudioUnitErr_Uninitialized;
            return noErr;
        case kAudioUnitProperty_InPlaceProcessing:
        case kMusicDeviceProperty_InstrumentCount:
        case kAudioUnitProperty_CocoaUI:
        case kAudioUnitProperty_ParameterStringFromValue:
        case kEditorSizeProperty:
            return kAudioUnitErr_PropertyNotWritable;
        default:
            break;
        }
    }
    const OSStatus result = AUBase::SetProperty(id, scope, element, data, dataSize);
    if (result != kAudioUnitErr_InvalidProperty) return result;
    return DelegateSetProperty(id, scope, element, data, dataSize);
}

// The editor lives in the newest view: a view that already holds it changes
// nothing, another one takes it over. A view going away names itself after
// the null reference, so it closes the editor only if it still holds it; a
// bare null reference closes in any case.
void AUPLUGIN::SetEditorView(void* view, void* leaving) {
    if (view) {
        if (editorOpened && view == editorView) return;
        if (editorOpened) VSTDispatcher(effEditClose);
        editorView = view;
        editorOpened = VSTDispatcher(effEditOpen, 0, 0, view) != 0;
        return;
    }
    if (!editorOpened || (leaving && leaving != editorView)) return;
    VSTDispatcher(effEditClose);
    editorOpened = false;
    editorView = nullptr;
}

// ---- formats

bool AUPLUGIN::ValidFormat(AudioUnitScope, AudioUnitElement, const CAStreamBasicDescription& format) {
    return format.mFormatID == kAudioFormatLinearPCM &&
           format.mFormatFlags == (kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved) &&
           format.mBytesPerPacket == 4 && format.mFramesPerPacket == 1 && format.mBytesPerFrame == 4 &&
           format.mBitsPerChannel == 32 && (format.mChannelsPerFrame == 1 || format.mChannelsPerFrame == 2) &&
           std::isfinite(format.mSampleRate) && format.mSampleRate > 0.0;
}

bool AUPLUGIN::StreamFormatWritable(AudioUnitScope, AudioUnitElement) {
    return !IsInitialized();
}

OSStatus AUPLUGIN::ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                      const CAStreamBasicDescription& previous, const CAStreamBasicDescription& format) {
    if (IsInitialized()) return kAudioUnitErr_PropertyNotWritable;
    sampleRate.store(format.mSampleRate, std::memory_order_relaxed);
    if (scope == kAudioUnitScope_Global || scope == kAudioUnitScope_Input)
        inChannels.store(format.NumberChannels(), std::memory_order_relaxed);
    if (scope == kAudioUnitScope_Global || scope == kAudioUnitScope_Output)
        outChannels.store(format.NumberChannels(), std::memory_order_relaxed);
    if (effect) {
        effect->suspend();
        effect->setSampleRate(static_cast<float>(format.mSampleRate));
        effect->resume();
    }
    return AUBase::ChangeStreamFormat(scope, element, previous, format);
}

UInt32 AUPLUGIN::SupportedNumChannels(const AUChannelInfo** table) {
    if (table) *table = kChannelTable;
    return static_cast<UInt32>(std::size(kChannelTable));
}

// ---- entries

OSStatus AUPLUGIN::ComponentEntryDispatch(ComponentParameters* parameters, AUPLUGIN* unit) {
    if (!parameters || !unit) return kAudio_ParamError;
    if (parameters->what == kMusicDeviceMIDIEventSelect || parameters->what == kMusicDeviceSysExSelect)
        return AUMIDIBase::ComponentEntryDispatch(parameters, unit);
    return AUBase::ComponentEntryDispatch(parameters, unit);
}

ComponentResult AUPLUGINEntry(ComponentParameters* parameters, AUPLUGIN* unit) {
    if (parameters && parameters->what != kComponentOpenSelect && !unit) return kAudio_ParamError;
    return ComponentEntryPoint<AUPLUGIN>::Dispatch(parameters, unit);
}

AudioComponentPlugInInterface* AUPLUGINFactory(const AudioComponentDescription* description) {
    return APFactory<AUMIDILookup, AUPLUGIN>::Factory(description);
}

OSStatus AUPLUGINMIDIEvent(void* self, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) {
    if (!self) return kAudio_ParamError;
    try {
        return static_cast<AUPLUGIN*>(self)->MIDIEvent(status, data1, data2, offsetSampleFrame);
    } catch (...) {
        return StatusOfCurrentException();
    }
}
