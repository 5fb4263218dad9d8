// MIDI input for a unit (AUMIDIBase), the selector table of a unit that takes
// MIDI (AUMIDILookup), the factory that builds a unit inside the instance
// block it hands the host (APFactory), and the Component Manager entry
// (ComponentEntryPoint).
#pragma once

#include <new>

#include "au/sdk/AUBase.h"

class AUMIDIBase {
public:
    explicit AUMIDIBase(AUBase* base) : mAUBaseInstance(base) {}
    virtual ~AUMIDIBase() = default;

    // Splits the status byte and hands the message on. any, as the host calls.
    virtual OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame);
    virtual OSStatus SysEx(const UInt8* data, UInt32 length);
    // A unit that does not take a message ignores it.
    virtual OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offsetSampleFrame);
    virtual OSStatus HandleSysEx(const UInt8* data, UInt32 length);

    // The MIDI-related properties; none by default. control.
    virtual OSStatus DelegateGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                             UInt32& dataSize, Boolean& writable);
    virtual OSStatus DelegateGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         void* data);
    virtual OSStatus DelegateSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         const void* data, UInt32 dataSize);

    // The Component Manager's MIDI selectors for an open instance.
    static OSStatus ComponentEntryDispatch(ComponentParameters* parameters, AUMIDIBase* unit);

protected:
    AUBase* mAUBaseInstance;
};

class AUMIDILookup {
public:
    static AudioComponentMethod Lookup(SInt16 selector);
};

template <class Lookup, class Implementor>
class APFactory {
public:
    static void* Construct(void* memory, AudioComponentInstance instance) {
        return static_cast<ComponentBase*>(new (memory) Implementor(instance));
    }
    static void Destruct(void* memory) { static_cast<Implementor*>(memory)->~Implementor(); }

    // One block: the plug-in interface, then room for the unit.
    static AudioComponentPlugInInterface* Factory(const AudioComponentDescription*) {
        constexpr std::size_t bytes = offsetof(AudioComponentPlugInInstance, mInstanceStorage) + sizeof(Implementor);
        static_assert(alignof(Implementor) <= alignof(std::max_align_t));
        void* memory = ::operator new(bytes, std::align_val_t{alignof(AudioComponentPlugInInstance)}, std::nothrow);
        if (!memory) return nullptr;
        auto* block = static_cast<AudioComponentPlugInInstance*>(memory);
        block->mPlugInInterface = {ComponentBase::AP_Open, ComponentBase::AP_Close, Lookup::Lookup, nullptr};
        block->mConstruct = Construct;
        block->mDestruct = Destruct;
        block->mPad[0] = block->mPad[1] = nullptr;
        return &block->mPlugInInterface;
    }
};

// The Component Manager entry of a unit class: opens, closes and forwards.
template <class Implementor>
class ComponentEntryPoint {
public:
    static OSStatus Dispatch(ComponentParameters* parameters, Implementor* unit) {
        try {
            if (!parameters) return kAudio_ParamError;
            if (parameters->what == kComponentOpenSelect) {
                std::lock_guard guard(ComponentBase::ComponentOpenLock());
                struct Restore {
                    ComponentBase::EInstanceType type;
                    ~Restore() { ComponentBase::sNewInstanceType = type; }
                } restore{ComponentBase::sNewInstanceType};
                ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;
                auto instance = reinterpret_cast<ComponentInstance>(parameters->params[0]);
                auto created = std::make_unique<Implementor>(instance);
                created->PostConstructor();
                SetComponentInstanceStorage(instance, reinterpret_cast<Handle>(created.release()));
                return noErr;
            }
            if (!unit) return kAudio_ParamError;
            if (parameters->what == kComponentCloseSelect) {
                unit->PreDestructor();
                delete unit;
                return noErr;
            }
            return Implementor::ComponentEntryDispatch(parameters, unit);
        } catch (...) {
            return StatusOfCurrentException();
        }
    }
};
