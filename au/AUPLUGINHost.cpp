// The effect's host: the answers to its host operations, and the time
// information built from the Audio Unit host's callbacks.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "au/AUPLUGIN.h"

thread_local bool AUPLUGIN::onRenderThread = false;

namespace {

struct Capability {
    const char* name;
    VstIntPtr reply;
};
constexpr Capability asCanDoTbl[] = {
    {"sendVstEvents", 1},   {"sendVstMidiEvent", 1},        {"sendVstTimeInfo", 1},  {"receiveVstEvents", 0},
    {"receiveVstMidiEvent", 0}, {"receiveVstTimeInfo", 0}, {"reportConnectionChanges", 0},
    {"acceptIOChanges", 0}, {"sizeWindow", 0},              {"asyncProcessing", 0},  {"offline", 0},
    {"supplyIdle", 1},      {"supportShell", 0},
};

// Indexed by the time stamp's SMPTE type 0..5; the values are VST's frame-rate codes.
constexpr VstInt32 alSMPTETbl[] = {0, 1, 5, 3, 2, 4};

constexpr VstInt32 kCurrentIdentifier = fourCharCode("ktVS");
constexpr const char* kMakerCode = "KTLM";
constexpr const char* kKoreIdentifier = "com.native-instruments.Kore";
constexpr const char* kMaschineIdentifier = "com.native-instruments.Maschine";
constexpr std::size_t kIdentifierBytes = 255;

// The host application's bundle identifier, empty when it has none.
void hostIdentifier(char (&identifier)[kIdentifierBytes]) {
    identifier[0] = '\0';
    CFBundleRef main = CFBundleGetMainBundle();
    CFStringRef id = main ? CFBundleGetIdentifier(main) : nullptr;
    if (!id || !CFStringGetCString(id, identifier, kIdentifierBytes, kCFStringEncodingMacRoman)) identifier[0] = '\0';
}

void writeProductText(char* text) {
    std::strcpy(text, "Default");
    char identifier[kIdentifierBytes];
    hostIdentifier(identifier);
    if (std::strncmp(identifier, kKoreIdentifier, std::strlen(kKoreIdentifier)) == 0) std::strcpy(text, "Kore");
    if (std::strncmp(identifier, kMaschineIdentifier, std::strlen(kMaschineIdentifier)) == 0)
        std::strcpy(text, "Maschine Host");
}

}  // namespace

VstIntPtr AUPLUGIN::AUPLUGINAudioMasterCallback(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr,
                                                float opt) {
    // Before the adapter has stored itself (the effect's constructor asks
    // for the host's names) there is none.
    auto* unit = record ? reinterpret_cast<AUPLUGIN*>(record->resvd1) : nullptr;
    const bool known = unit && index >= 0 && static_cast<UInt32>(index) < unit->paramCount;
    switch (opcode) {
    case audioMasterAutomate:
        if (known) {
            unit->StoreParameter(static_cast<UInt32>(index), opt);
            // Listeners hear from the main thread only; from the render thread
            // the store is enough, and the next main-thread pass publishes it.
            if (!onRenderThread) unit->NotifyParameter(kAudioUnitEvent_ParameterValueChange, static_cast<UInt32>(index));
        }
        return 1;
    case audioMasterVersion:
        return 65536;
    case audioMasterCurrentId:
        return kCurrentIdentifier;
    case audioMasterGetTime:
        return unit ? reinterpret_cast<VstIntPtr>(unit->GetTimeInfo()) : 0;
    case audioMasterGetSampleRate:
        return unit ? static_cast<VstIntPtr>(unit->sampleRate.load(std::memory_order_relaxed)) : 44100;
    case audioMasterGetBlockSize:
        return unit ? static_cast<VstIntPtr>(unit->GetMaxFramesPerSlice()) : 1024;
    case audioMasterGetVendorString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), kMakerCode);
        return 1;
    case audioMasterGetProductString:
        if (!ptr) return 0;
        writeProductText(static_cast<char*>(ptr));
        return 1;
    case audioMasterCanDo:
        if (!ptr) return 0;
        for (const Capability& capability : asCanDoTbl)
            if (std::strcmp(capability.name, static_cast<const char*>(ptr)) == 0) return capability.reply;
        return 0;
    case audioMasterGetDirectory: {
        static char directory[kIdentifierBytes] = {};
        return reinterpret_cast<VstIntPtr>(directory);
    }
    case audioMasterUpdateDisplay:
        if (unit && unit->effect && !onRenderThread) unit->UpdateDisplayAU();
        return 1;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (known && !onRenderThread)
            unit->NotifyParameter(opcode == audioMasterBeginEdit ? kAudioUnitEvent_BeginParameterChangeGesture
                                                                 : kAudioUnitEvent_EndParameterChangeGesture,
                                  static_cast<UInt32>(index));
        return 1;
    default:
        return 0;
    }
}

void AUPLUGIN::UpdateDisplayAU() {
    PublishParameterChanges();
    if (IsInitialized()) {
        GetProgramNames();
        const VstInt32 program = effect->getProgram();
        if (program >= 0 && static_cast<UInt32>(program) < programCount) SetAFactoryPresetAsCurrent(presets[program]);
        PropertyChanged(kAudioUnitProperty_CurrentPreset, kAudioUnitScope_Global, 0);
    }
    PropertyChanged(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0);
}

VstTimeInfo* AUPLUGIN::GetTimeInfo() noexcept {
    timeInfo.tempo = 120.0;
    timeInfo.samplePos = lastTimeStamp.mSampleTime;
    timeInfo.sampleRate = sampleRate.load(std::memory_order_relaxed);
    timeInfo.nanoSeconds = static_cast<double>(lastTimeStamp.mHostTime);
    timeInfo.smpteOffset = static_cast<VstInt32>(lastTimeStamp.mSMPTETime.mCounter);
    if (lastTimeStamp.mSMPTETime.mType < std::size(alSMPTETbl))
        timeInfo.smpteFrameRate = alSMPTETbl[lastTimeStamp.mSMPTETime.mType];
    timeInfo.flags = 0;
    if (lastTimeStamp.mFlags & kAudioTimeStampSMPTETimeValid) timeInfo.flags |= kVstSmpteValid;
    if (lastTimeStamp.mFlags & kAudioTimeStampHostTimeValid) timeInfo.flags |= kVstNanosValid;

    Float64 beat = 0.0;
    Float64 tempo = 0.0;
    if (CallHostBeatAndTempo(&beat, &tempo) == noErr) {
        timeInfo.tempo = tempo;
        timeInfo.flags |= kVstTempoValid;
        if (tempo == 0.0) return nullptr;
    } else {
        beat = 0.0;
    }

    // The transport comes first: the "Host" trigger needs it even from a
    // host that offers no musical time.
    if (mHostCallbackInfo.transportStateProc) {
        Boolean playing = false;
        Boolean changed = false;
        if (CallHostTransportState(&playing, &changed, nullptr, nullptr, nullptr, nullptr) == noErr) {
            if (changed) timeInfo.flags |= kVstTransportChanged;
            if (playing) timeInfo.flags |= kVstTransportPlaying;
        }
    } else {
        timeInfo.flags |= kVstTransportChanged;
    }

    UInt32 offsetToNextBeat = 0;
    Float32 numerator = 0.0f;
    UInt32 denominator = 0;
    Float64 downBeat = 0.0;
    if (CallHostMusicalTimeLocation(&offsetToNextBeat, &numerator, &denominator, &downBeat) != noErr) return &timeInfo;
    timeInfo.samplesToNextClock = static_cast<VstInt32>(offsetToNextBeat);
    timeInfo.timeSigNumerator = std::isfinite(numerator) ? static_cast<VstInt32>(std::clamp(numerator, 0.0f, 1e6f)) : 0;
    timeInfo.timeSigDenominator = static_cast<VstInt32>(denominator);
    timeInfo.ppqPos = beat;
    timeInfo.barStartPos = downBeat;
    timeInfo.flags |= kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;
    return &timeInfo;
}
