// What AudioToolbox does between a host and a unit: registered components,
// instances opened through a factory or a Component Manager entry, and the
// host's calls routed to the unit's methods by selector.
#include <algorithm>
#include <cstring>
#include <list>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "au/sdk/AudioUnit.h"

struct OpaqueAudioComponent {
    AudioComponentDescription description;
    AudioComponentFactoryFunction factory;
};

struct ComponentInstanceRecord {
    AudioComponent component = nullptr;
    AudioComponentDescription description{};
    AudioComponentPlugInInterface* plugIn = nullptr;  // factory instances
    ComponentRoutine entry = nullptr;                  // Component Manager instances
    Handle storage = nullptr;
};

namespace {

std::mutex& registryLock() {
    static std::mutex lock;
    return lock;
}

std::list<OpaqueAudioComponent>& components() {
    static std::list<OpaqueAudioComponent> list;
    return list;
}

// One argument as the Component Manager carries it: a machine word.
template <typename T>
long word(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<long>(value);
    } else if constexpr (std::is_same_v<T, float>) {
        UInt32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        return static_cast<long>(bits);
    } else {
        return static_cast<long>(value);
    }
}

template <typename... Args>
OSStatus call(AudioComponentInstance unit, SInt16 selector, Args... args) {
    if (!unit) return kAudio_ParamError;
    if (unit->plugIn) {
        AudioComponentMethod method = unit->plugIn->Lookup(selector);
        if (!method) return badComponentSelector;
        return reinterpret_cast<OSStatus (*)(void*, Args...)>(method)(unit->plugIn, args...);
    }
    struct {
        ComponentParameters head;
        long more[sizeof...(Args) + 1];
    } parameters{};
    long* slot = parameters.head.params;
    ((*slot++ = word(args)), ...);
    parameters.head.what = selector;
    parameters.head.paramSize = static_cast<UInt8>(sizeof...(Args) * sizeof(long));
    return unit->entry(&parameters.head, unit->storage);
}

}  // namespace

AudioComponent AudioComponentRegister(const AudioComponentDescription* description, CFStringRef, UInt32,
                                      AudioComponentFactoryFunction factory) {
    if (!description || !factory) return nullptr;
    std::lock_guard guard(registryLock());
    components().push_back({*description, factory});
    return &components().back();
}

OSStatus AudioComponentInstanceNew(AudioComponent component, AudioComponentInstance* instance) {
    if (!component || !instance) return kAudio_ParamError;
    *instance = nullptr;
    auto record = std::make_unique<ComponentInstanceRecord>();
    record->component = component;
    record->description = component->description;
    record->plugIn = component->factory(&component->description);
    if (!record->plugIn) return memFullErr;
    const OSStatus result = record->plugIn->Open(record->plugIn, record.get());
    if (result != noErr) {
        record->plugIn->Close(record->plugIn);
        return result;
    }
    record->storage = reinterpret_cast<Handle>(record->plugIn);
    *instance = record.release();
    return noErr;
}

OSStatus TWOpenComponentInstance(ComponentRoutine entry, const AudioComponentDescription* description,
                                 AudioComponentInstance* instance) {
    if (!entry || !description || !instance) return kAudio_ParamError;
    *instance = nullptr;
    auto record = std::make_unique<ComponentInstanceRecord>();
    {
        // The component the entry stands for, so its instances can name it.
        std::lock_guard guard(registryLock());
        components().push_back({*description, nullptr});
        record->component = &components().back();
    }
    record->description = *description;
    record->entry = entry;
    ComponentParameters open{};
    open.what = kComponentOpenSelect;
    open.paramSize = sizeof(long);
    open.params[0] = reinterpret_cast<long>(record.get());
    const OSStatus result = entry(&open, nullptr);
    if (result != noErr) return result;
    *instance = record.release();
    return noErr;
}

OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance) {
    if (!instance) return kAudio_ParamError;
    std::unique_ptr<ComponentInstanceRecord> record(instance);
    if (record->plugIn) return record->plugIn->Close(record->plugIn);
    ComponentParameters close{};
    close.what = kComponentCloseSelect;
    return record->entry(&close, record->storage);
}

AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance) {
    return instance ? instance->component : nullptr;
}

OSStatus AudioComponentGetDescription(AudioComponent component, AudioComponentDescription* description) {
    if (!component || !description) return kAudio_ParamError;
    *description = component->description;
    return noErr;
}

void SetComponentInstanceStorage(ComponentInstance instance, Handle storage) {
    if (instance) instance->storage = storage;
}

Handle GetComponentInstanceStorage(ComponentInstance instance) {
    return instance ? instance->storage : nullptr;
}

OSStatus AudioUnitInitialize(AudioUnit unit) { return call(unit, kAudioUnitInitializeSelect); }
OSStatus AudioUnitUninitialize(AudioUnit unit) { return call(unit, kAudioUnitUninitializeSelect); }

OSStatus AudioUnitGetPropertyInfo(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                                  AudioUnitElement element, UInt32* dataSize, Boolean* writable) {
    return call(unit, kAudioUnitGetPropertyInfoSelect, id, scope, element, dataSize, writable);
}

OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              void* data, UInt32* dataSize) {
    return call(unit, kAudioUnitGetPropertySelect, id, scope, element, data, dataSize);
}

OSStatus AudioUnitSetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              const void* data, UInt32 dataSize) {
    return call(unit, kAudioUnitSetPropertySelect, id, scope, element, data, dataSize);
}

OSStatus AudioUnitAddPropertyListener(AudioUnit unit, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                      void* refCon) {
    return call(unit, kAudioUnitAddPropertyListenerSelect, id, proc, refCon);
}

OSStatus AudioUnitGetParameter(AudioUnit unit, AudioUnitParameterID id, AudioUnitScope scope,
                               AudioUnitElement element, AudioUnitParameterValue* value) {
    return call(unit, kAudioUnitGetParameterSelect, id, scope, element, value);
}

OSStatus AudioUnitSetParameter(AudioUnit unit, AudioUnitParameterID id, AudioUnitScope scope,
                               AudioUnitElement element, AudioUnitParameterValue value, UInt32 bufferOffsetInFrames) {
    return call(unit, kAudioUnitSetParameterSelect, id, scope, element, value, bufferOffsetInFrames);
}

OSStatus AudioUnitScheduleParameters(AudioUnit unit, const AudioUnitParameterEvent* events, UInt32 count) {
    return call(unit, kAudioUnitScheduleParametersSelect, events, count);
}

OSStatus AudioUnitReset(AudioUnit unit, AudioUnitScope scope, AudioUnitElement element) {
    return call(unit, kAudioUnitResetSelect, scope, element);
}

OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timeStamp,
                         UInt32 outputBusNumber, UInt32 frames, AudioBufferList* data) {
    return call(unit, kAudioUnitRenderSelect, actionFlags, timeStamp, outputBusNumber, frames, data);
}

OSStatus MusicDeviceMIDIEvent(MusicDeviceComponent unit, UInt32 status, UInt32 data1, UInt32 data2,
                              UInt32 offsetSampleFrame) {
    return call(unit, kMusicDeviceMIDIEventSelect, status, data1, data2, offsetSampleFrame);
}

OSStatus MusicDeviceSysEx(MusicDeviceComponent unit, const UInt8* data, UInt32 length) {
    return call(unit, kMusicDeviceSysExSelect, data, length);
}

// ---- parameter listeners

struct AUEventListenerOpaque {
    AUEventListenerProc proc;
    void* userData;
    std::vector<std::pair<void*, AudioUnitEvent>> interests;
};

namespace {

std::mutex& listenerLock() {
    static std::mutex lock;
    return lock;
}

std::vector<AUEventListenerRef>& listeners() {
    static std::vector<AUEventListenerRef> list;
    return list;
}

bool matches(const AudioUnitEvent& interest, const AudioUnitEvent& event) {
    if (interest.mEventType != event.mEventType) return false;
    if (event.mEventType == kAudioUnitEvent_PropertyChange) {
        const AudioUnitProperty& a = interest.mArgument.mProperty;
        const AudioUnitProperty& b = event.mArgument.mProperty;
        return a.mAudioUnit == b.mAudioUnit && a.mPropertyID == b.mPropertyID;
    }
    const AudioUnitParameter& a = interest.mArgument.mParameter;
    const AudioUnitParameter& b = event.mArgument.mParameter;
    return a.mAudioUnit == b.mAudioUnit && a.mScope == b.mScope && a.mElement == b.mElement &&
           (a.mParameterID == kAUParameterListener_AnyParameter || a.mParameterID == b.mParameterID);
}

}  // namespace

OSStatus AUEventListenerCreate(AUEventListenerProc proc, void* userData, CFRunLoopRef, CFStringRef, Float32, Float32,
                               AUEventListenerRef* listener) {
    if (!proc || !listener) return kAudio_ParamError;
    *listener = new AUEventListenerOpaque{proc, userData, {}};
    std::lock_guard guard(listenerLock());
    listeners().push_back(*listener);
    return noErr;
}

OSStatus AUEventListenerAddEventType(AUEventListenerRef listener, void* object, const AudioUnitEvent* event) {
    if (!listener || !event) return kAudio_ParamError;
    std::lock_guard guard(listenerLock());
    listener->interests.emplace_back(object, *event);
    return noErr;
}

OSStatus AUListenerDispose(AUEventListenerRef listener) {
    if (!listener) return kAudio_ParamError;
    {
        std::lock_guard guard(listenerLock());
        std::erase(listeners(), listener);
    }
    delete listener;
    return noErr;
}

OSStatus AUEventListenerNotify(AUEventListenerRef sendingListener, void*, const AudioUnitEvent* event) {
    if (!event) return kAudio_ParamError;
    std::vector<std::pair<AUEventListenerRef, void*>> due;
    {
        std::lock_guard guard(listenerLock());
        for (AUEventListenerRef listener : listeners()) {
            if (listener == sendingListener) continue;
            for (const auto& [object, interest] : listener->interests)
                if (matches(interest, *event)) due.emplace_back(listener, object);
        }
    }
    AudioUnitParameterValue value = 0.0f;
    if (event->mEventType == kAudioUnitEvent_ParameterValueChange) {
        const AudioUnitParameter& p = event->mArgument.mParameter;
        AudioUnitGetParameter(p.mAudioUnit, p.mParameterID, p.mScope, p.mElement, &value);
    }
    for (const auto& [listener, object] : due) listener->proc(listener->userData, object, event, 0, value);
    return noErr;
}
