// The factory bank: the presets compiled into the effect, and the character
// code that stores each preset's name (and the name of its bank) inside its
// own parameter slots, so that a program saved by a host still knows which
// factory preset it came from.
#pragma once

#include <array>

#include "plugin/ParameterTable.h"

inline constexpr int FACTORY_PRESET_COUNT = 46;

// Where the texts live in a row and how long they may be. A text ends at the
// first slot that reads as code 0; a text of full length has no terminator.
inline constexpr int PRESET_NAME_SLOT = 160;
inline constexpr int PRESET_NAME_LENGTH = 28;
inline constexpr int PRESET_BANK_NAME_SLOT = 200;
inline constexpr int PRESET_BANK_NAME_LENGTH = 15;

using FactoryPreset = std::array<float, kNumParameters>;

// any: read-only, built at compile time. Slots 0..35 are parameter values,
// 160..187 the preset's name, 200..214 its bank's name, everything else 0.
extern const std::array<FactoryPreset, FACTORY_PRESET_COUNT> FACTORY_PRESETS;

// The families of the bank ("Factory Default", "Factory Drums", ...): runs of
// neighbouring presets that carry the same bank name, in bank order. A MIDI
// bank select picks one of them.
struct FactoryBank {
    int first;  // index of its first preset
    int count;
};
inline constexpr int FACTORY_BANK_COUNT = 4;
// any: read-only, worked out from the presets' bank names at compile time.
extern const std::array<FactoryBank, FACTORY_BANK_COUNT> FACTORY_BANKS;

// any: one character as a slot value. Half a step above the code, so that the
// reading below survives rounding on the way through hosts and files.
constexpr float encodePresetChar(unsigned char code) noexcept {
    return (static_cast<float>(code) + 0.5f) / 255.99f;
}

// any: the character a slot value stands for. Values that no encoder writes
// still get an answer: NaN and values at or below 0 read as 0 (end of text),
// values at or above 1 as 255.
constexpr int decodePresetChar(float value) noexcept {
    if (!(value > 0.0f)) return 0;
    const float scaled = value * 255.99f + 0.1f;
    return scaled >= 255.0f ? 255 : static_cast<int>(scaled);
}

// any: decodes at most maxLength slots into text, which must hold
// maxLength + 1 bytes; the result is always terminated.
constexpr void decodePresetText(const float* slots, int maxLength, char* text) noexcept {
    if (text == nullptr) return;
    int length = 0;
    if (slots != nullptr) {
        for (; length < maxLength; ++length) {
            const int code = decodePresetChar(slots[length]);
            if (code == 0) break;
            text[length] = static_cast<char>(code);
        }
    }
    text[length] = '\0';
}
