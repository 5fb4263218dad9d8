#include "au/sdk/AUMIDIBase.h"

OSStatus AUMIDIBase::MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) {
    return HandleMidiEvent(static_cast<UInt8>(status & 0xF0), static_cast<UInt8>(status & 0x0F),
                           static_cast<UInt8>(data1), static_cast<UInt8>(data2), offsetSampleFrame);
}

OSStatus AUMIDIBase::SysEx(const UInt8* data, UInt32 length) {
    return HandleSysEx(data, length);
}

OSStatus AUMIDIBase::HandleMidiEvent(UInt8, UInt8, UInt8, UInt8, UInt32) {
    return noErr;
}

OSStatus AUMIDIBase::HandleSysEx(const UInt8*, UInt32) {
    return noErr;
}

OSStatus AUMIDIBase::DelegateGetPropertyInfo(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32&,
                                             Boolean&) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUMIDIBase::DelegateGetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUMIDIBase::DelegateSetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUMIDIBase::ComponentEntryDispatch(ComponentParameters* parameters, AUMIDIBase* unit) {
    if (!parameters || !unit) return kAudio_ParamError;
    const long* p = parameters->params;
    try {
        switch (parameters->what) {
        case kMusicDeviceMIDIEventSelect:
            return unit->MIDIEvent(static_cast<UInt32>(p[0]), static_cast<UInt32>(p[1]), static_cast<UInt32>(p[2]),
                                   static_cast<UInt32>(p[3]));
        case kMusicDeviceSysExSelect:
            return unit->SysEx(reinterpret_cast<const UInt8*>(p[0]), static_cast<UInt32>(p[1]));
        default:
            return badComponentSelector;
        }
    } catch (...) {
        return StatusOfCurrentException();
    }
}

namespace {

AUMIDIBase* midiUnitOf(void* self) {
    auto* base = static_cast<ComponentBase*>(static_cast<AudioComponentPlugInInstance*>(self)->mPad[0]);
    return dynamic_cast<AUMIDIBase*>(base);
}

OSStatus lookupMIDIEvent(void* self, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) {
    AUMIDIBase* unit = midiUnitOf(self);
    if (!unit) return kAudio_ParamError;
    try {
        return unit->MIDIEvent(status, data1, data2, offset);
    } catch (...) {
        return StatusOfCurrentException();
    }
}

OSStatus lookupSysEx(void* self, const UInt8* data, UInt32 length) {
    AUMIDIBase* unit = midiUnitOf(self);
    if (!unit) return kAudio_ParamError;
    try {
        return unit->SysEx(data, length);
    } catch (...) {
        return StatusOfCurrentException();
    }
}

}  // namespace

AudioComponentMethod AUMIDILookup::Lookup(SInt16 selector) {
    switch (selector) {
    case kMusicDeviceMIDIEventSelect: return reinterpret_cast<AudioComponentMethod>(lookupMIDIEvent);
    case kMusicDeviceSysExSelect: return reinterpret_cast<AudioComponentMethod>(lookupSysEx);
    default: return AUBaseLookup::Lookup(selector);
    }
}
