// Sizes of the text buffers we write into, and a bounded copy.
//
// A host hands us a bare pointer, so the room we assume is fixed here. We
// stay within what VST 2.4 promises for each text, except where our own
// texts need more: parameter names run to 30 characters and value texts to
// 14, so we assume 32 and 16 bytes for those.
#pragma once

#include <cstddef>
#include <cstring>

#include "effect/VstAbi.h"

inline constexpr std::size_t kParameterNameBytes = 32;
inline constexpr std::size_t kParameterDisplayBytes = 16;
inline constexpr std::size_t kParameterLabelBytes = kVstMaxParamStrLen;
inline constexpr std::size_t kEffectNameBytes = kVstMaxEffectNameLen;
inline constexpr std::size_t kVendorBytes = kVstMaxVendorStrLen;
inline constexpr std::size_t kProductBytes = kVstMaxProductStrLen;

// any: copies at most capacity − 1 characters of source and terminates; a
// null destination or zero capacity writes nothing, a null source gives "".
inline void copyText(char* destination, std::size_t capacity, const char* source) noexcept {
    if (!destination || capacity == 0) return;
    std::size_t length = source ? std::strlen(source) : 0;
    if (length >= capacity) length = capacity - 1;
    if (length > 0) std::memcpy(destination, source, length);
    destination[length] = '\0';
}

// A short text returned by value, so formatting needs no allocation.
struct ShortText {
    char text[32] = {};
    const char* c_str() const noexcept { return text; }  // any
};
