#pragma once

// The preference keys shared by every instance and host ("0".."127",
// "ECSDir", "MuteReverse", "MidiPreset", "MidiBank", "Big100", "Big150",
// "Big200", "Key"). Values live in the current user's store; a string found
// only in the all-users store is taken over into the user's store on first
// read. Strings are UTF-8 on this platform.
//
// These touch the file system: call them from any thread except the audio
// thread (they are safe to call concurrently, also across processes). The
// audio side reads PreferenceSnapshot instead.

#include <cstddef>
#include <cstdint>
#include <span>

// text = the string stored under key, terminator included in maxBytes.
// Empty when the key is absent, holds no string, or the string does not fit
// (a cut value would be a different value, a different folder for "ECSDir").
void loadStringFromPrefs(const char* key, char* text, std::size_t maxBytes);  // control

// Stores text under key and writes the store out at once. False when nothing
// was stored: no home folder, an unwritable or unreadable store, or a key or
// text that is not valid UTF-8.
bool saveStringToPrefs(const char* key, const char* text);  // control

// The number stored under key; 0 when absent, not a number, or not a whole
// number that fits 32 bits.
std::int32_t loadIntFromPrefs(const char* key);  // control

// Stores value under key as a number and writes the store out at once.
bool saveIntToPrefs(const char* key, std::int32_t value);  // control

struct IntPreference {
    const char* key;
    std::int32_t value;
};

// Sets every entry's value to what loadIntFromPrefs(entry.key) would give, from
// one read of the store (the whole MIDI controller map at once).
void loadIntsFromPrefs(std::span<IntPreference> entries);  // control

// Stores several numbers in one write (all or none): one file replacement
// instead of one per key, for the whole MIDI controller map at once.
bool saveIntsToPrefs(std::span<const IntPreference> entries);  // control

struct StringPreference {
    const char* key;
    const char* text;
};

// Stores several strings in one write (all or none), for settings that only
// make sense together (the three screen sizes).
bool saveStringsToPrefs(std::span<const StringPreference> entries);  // control

// A flag: "Y" is on, "N" is off, anything else (absent, "y", "Yes") is
// defaultValue.
bool getRegistryIsOn(const char* key, bool defaultValue);  // control

// The flag rule on a text already read.
bool flagIsOn(const char* text, bool defaultValue) noexcept;  // any
