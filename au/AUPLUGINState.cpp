// The state a host stores with its project, and the factory presets.
#include <cstdio>
#include <cstring>

#include "au/AUPLUGIN.h"

namespace {

constexpr std::size_t kStoredNameBytes = 28;  // the last byte is always 0
constexpr std::size_t kPresetNameBytes = 256;

CFStringRef key(const char* text) { return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8); }

const void* lookUp(CFDictionaryRef dictionary, const char* name) {
    CFStringRef k = key(name);
    const void* value = CFDictionaryGetValue(dictionary, k);
    CFRelease(k);
    return value;
}

void add(CFMutableDictionaryRef dictionary, const char* name, CFTypeRef value) {
    CFStringRef k = key(name);
    CFDictionarySetValue(dictionary, k, value);
    CFRelease(k);
    CFRelease(value);
}

bool numberAt(CFDictionaryRef dictionary, const char* name, SInt32& value) {
    auto number = static_cast<CFNumberRef>(lookUp(dictionary, name));
    return number && CFGetTypeID(number) == CFNumberGetTypeID() && CFNumberGetValue(number, kCFNumberSInt32Type, &value);
}

CFDataRef dataAt(CFDictionaryRef dictionary, const char* name) {
    auto data = static_cast<CFDataRef>(lookUp(dictionary, name));
    return data && CFGetTypeID(data) == CFDataGetTypeID() ? data : nullptr;
}

void putFloat(UInt8* bytes, float value) {
    UInt32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<UInt8>(bits >> (24 - 8 * i));
}

float getFloat(const UInt8* bytes) {
    const UInt32 bits = (UInt32{bytes[0]} << 24) | (UInt32{bytes[1]} << 16) | (UInt32{bytes[2]} << 8) | bytes[3];
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

OSStatus AUPLUGIN::SaveState(CFPropertyListRef* state) {
    if (!state) return kAudio_ParamError;
    const VstInt32 program = effect->getProgram();
    PublishParameterChanges();
    const OSStatus result = AUBase::SaveState(state);
    if (result != noErr) return result;
    auto dictionary = static_cast<CFMutableDictionaryRef>(const_cast<void*>(*state));

    void* chunk = nullptr;
    const VstInt32 size = effect->getChunk(&chunk, false);
    if (size > 0 && chunk)
        add(dictionary, "mChunkData", CFDataCreate(nullptr, static_cast<const UInt8*>(chunk), size));
    else
        AddCompleteData(dictionary);
    add(dictionary, "mCurPreset", CFNumberCreate(nullptr, kCFNumberSInt32Type, &program));
    return noErr;
}

// Every program: a 28-byte name field, then its values as big-endian floats.
void AUPLUGIN::AddCompleteData(CFMutableDictionaryRef dictionary) {
    const std::size_t recordBytes = kStoredNameBytes + 4 * std::size_t{paramCount};
    std::vector<UInt8> bytes(recordBytes * programCount, 0);
    for (UInt32 p = 0; p < programCount; ++p) {
        ProgramRecord record{};
        effect->getProgramRecord(static_cast<VstInt32>(p), record);
        UInt8* out = bytes.data() + p * recordBytes;
        std::memcpy(out, record.name, strnlen(record.name, kStoredNameBytes - 1));
        for (UInt32 n = 0; n < paramCount && n < kNumParameters; ++n) putFloat(out + kStoredNameBytes + 4 * n, record.values[n]);
    }
    add(dictionary, "mCompleteData", CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size())));
}

// A state for another unit, or of another version, is refused before any of
// it reaches the effect.
OSStatus AUPLUGIN::CheckStateIdentity(CFDictionaryRef state) const {
    const AudioComponentDescription description = GetComponentDescription();
    SInt32 version = -1, type = 0, subtype = 0, manufacturer = 0;
    if (!numberAt(state, "version", version) || version != 0 || !numberAt(state, "type", type) ||
        !numberAt(state, "subtype", subtype) || !numberAt(state, "manufacturer", manufacturer) ||
        static_cast<OSType>(type) != description.componentType ||
        static_cast<OSType>(subtype) != description.componentSubType ||
        static_cast<OSType>(manufacturer) != description.componentManufacturer)
        return kAudioUnitErr_InvalidPropertyValue;
    return noErr;
}

OSStatus AUPLUGIN::RestoreState(CFPropertyListRef state) {
    if (!state || CFGetTypeID(state) != CFDictionaryGetTypeID()) return kAudioUnitErr_InvalidPropertyValue;
    auto dictionary = static_cast<CFDictionaryRef>(state);
    if (const OSStatus identity = CheckStateIdentity(dictionary); identity != noErr) return identity;

    CFDataRef chunk = dataAt(dictionary, "mChunkData");
    CFDataRef complete = dataAt(dictionary, "mCompleteData");
    SInt32 preset = 0;
    const bool hasPreset = numberAt(dictionary, "mCurPreset", preset);
    if (hasPreset && (preset < 0 || static_cast<UInt32>(preset) >= programCount)) return kAudioUnitErr_InvalidPropertyValue;
    if (chunk && CFDataGetLength(chunk) == 0) return kAudioUnitErr_InvalidPropertyValue;

    if (chunk)
        effect->setChunk(const_cast<UInt8*>(CFDataGetBytePtr(chunk)), static_cast<VstInt32>(CFDataGetLength(chunk)), false);
    if (complete) RestoreCompleteData(complete);
    if (hasPreset) effect->setProgram(preset);
    const OSStatus result = AUBase::RestoreState(state);
    SynchronizeParams();
    return result;
}

OSStatus AUPLUGIN::RestoreCompleteData(CFDataRef data) {
    const std::size_t recordBytes = kStoredNameBytes + 4 * std::size_t{paramCount};
    if (static_cast<std::size_t>(CFDataGetLength(data)) != recordBytes * programCount) {
        std::fputs("Fatal error, preset Size wrong!\n", stderr);
        return kAudioUnitErr_InvalidPropertyValue;
    }
    const UInt8* bytes = CFDataGetBytePtr(data);
    for (UInt32 p = 0; p < programCount; ++p) {
        const UInt8* in = bytes + p * recordBytes;
        ProgramRecord record{};
        std::memcpy(record.name, in, kStoredNameBytes - 1);
        for (UInt32 n = 0; n < paramCount && n < kNumParameters; ++n) record.values[n] = getFloat(in + kStoredNameBytes + 4 * n);
        effect->setProgramRecord(static_cast<VstInt32>(p), record);
    }
    return noErr;
}

OSStatus AUPLUGIN::GetPresets(CFArrayRef* list) const {
    if (programCount == 0) return kAudioUnitErr_InvalidProperty;
    if (!list) return noErr;
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, programCount, nullptr);
    // Plain AUPreset records, as hosts read them: the array does not own them.
    for (UInt32 i = 0; i < programCount; ++i) CFArrayAppendValue(array, &presets[i]);
    *list = array;
    return noErr;
}

OSStatus AUPLUGIN::NewFactoryPresetSet(const AUPreset& preset) {
    for (UInt32 i = 0; i < programCount; ++i) {
        if (presets[i].presetNumber != preset.presetNumber) continue;
        effect->setProgram(static_cast<VstInt32>(i));
        SetAFactoryPresetAsCurrent(presets[i]);
        PublishParameterChanges();
        return noErr;
    }
    return kAudioUnitErr_InvalidPropertyValue;
}

void AUPLUGIN::GetProgramNames() {
    for (UInt32 i = 0; i < programCount; ++i) {
        char name[kPresetNameBytes] = "Default";
        effect->getProgramNameIndexed(0, static_cast<VstInt32>(i), name);
        CFStringRef fresh = CFStringCreateWithCString(nullptr, name, kCFStringEncodingMacRoman);
        CFRelease(presets[i].presetName);
        presets[i].presetName = fresh;
    }
}
