#pragma once

// Small in-place helpers on the effect's 8-bit, zero-terminated texts. They
// work on bytes as unsigned values, so characters from 0x80 up are kept as
// they are and never mistaken for control characters. None of them reads or
// writes more than kTextHelperBytes bytes of the text.

#include <cstddef>

inline constexpr std::size_t kTextHelperBytes = 256;

// Upper-cases "a".."z" (the C locale's mapping, whatever locale the host set);
// everything else, bytes from 0x80 up included, stays as it is.
void upperCase(char* text) noexcept;  // any

// Keeps only "0".."9", "+", "-" and "." in their order ("-12.5dB" -> "-12.5").
void stripAllButNum(char* text) noexcept;  // any

// Keeps at most the first 24 characters and stops at the first control
// character (a byte below 32).
void safename(char* text) noexcept;  // any

// Writes value in decimal, cut to maxLength characters; maxLength below 1
// counts as 1 and above 255 as 255. text must hold maxLength + 1 bytes.
void itoa(int value, char* text, int maxLength) noexcept;  // any
