#include "platform/TextHelpers.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t kSafeNameChars = 24;
constexpr int kMaxItoaChars = 255;

bool isKeptForNumber(unsigned char c) noexcept
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

void upperCase(char* text) noexcept
{
    if (text == nullptr) return;
    for (std::size_t i = 0; i + 1 < kTextHelperBytes && text[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z') text[i] = static_cast<char>(c - 'a' + 'A');
    }
}

void stripAllButNum(char* text) noexcept
{
    if (text == nullptr) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i + 1 < kTextHelperBytes && text[i] != '\0'; ++i) {
        if (isKeptForNumber(static_cast<unsigned char>(text[i]))) text[kept++] = text[i];
    }
    text[kept] = '\0';
}

void safename(char* text) noexcept
{
    if (text == nullptr) return;
    std::size_t i = 0;
    while (i < kSafeNameChars && text[i] != '\0' && static_cast<unsigned char>(text[i]) >= 32) ++i;
    text[i] = '\0';
}

void itoa(int value, char* text, int maxLength) noexcept
{
    if (text == nullptr) return;
    const int length = std::clamp(maxLength, 1, kMaxItoaChars);
    // snprintf cuts to length characters and always terminates.
    std::snprintf(text, static_cast<std::size_t>(length) + 1, "%d", value);
}
