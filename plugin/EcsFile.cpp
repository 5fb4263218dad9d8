#include "plugin/EcsFile.h"

#include "platform/DurableFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The C locale's white space; "\r" among it is what lets CRLF files load.
bool isWhiteSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

constexpr std::size_t kReadChunkBytes = 4096;
constexpr std::size_t kEcsLineBytes = 12;  // "-2147483648\n"

}  // namespace

void EcsReader::feed(const char* bytes, std::size_t size) noexcept {
    if (!bytes) return;
    for (std::size_t i = 0; i < size && !failed_; ++i) {
        const char c = bytes[i];
        if (isWhiteSpace(c)) {
            if (inNumber_) endNumber();
            continue;
        }
        if (!inNumber_) {
            // Only white space may follow the last number.
            if (count_ == values_.size() || (c != '+' && c != '-' && !isDigit(c))) {
                failed_ = true;
                break;
            }
            inNumber_ = true;
            sawDigit_ = false;
            hasSign_ = !isDigit(c);
            tokenLength_ = 0;
            if (hasSign_) {
                token_[tokenLength_++] = c;
                continue;
            }
        }
        if (!isDigit(c)) {
            failed_ = true;  // "5abc", "1-2", "--3"
        } else if (c == '0' && tokenLength_ == signLength()) {
            sawDigit_ = true;  // leading zeros change nothing
        } else if (tokenLength_ + 1 < kTokenBytes) {
            token_[tokenLength_++] = c;
            sawDigit_ = true;
        } else {
            failed_ = true;  // more digits than any valid value has
        }
    }
}

void EcsReader::endNumber() noexcept {
    inNumber_ = false;
    if (!sawDigit_) {
        failed_ = true;
        return;
    }
    token_[tokenLength_] = '\0';
    const bool onlyZeros = tokenLength_ == signLength();
    errno = 0;
    const long value = onlyZeros ? 0 : std::strtol(token_, nullptr, 10);
    if (errno == ERANGE || value < 0 || value > kMaxControllerParameter) {
        failed_ = true;
        return;
    }
    values_[count_++] = static_cast<VstInt32>(value);
}

bool EcsReader::finish() noexcept {
    if (!failed_ && inNumber_) endNumber();
    return !failed_ && count_ == values_.size();
}

bool parseEcsText(const char* bytes, std::size_t size, ControllerAssignments& map) noexcept {
    EcsReader reader;
    reader.feed(bytes, size);
    if (!reader.finish()) return false;
    map = reader.values();
    return true;
}

bool readEcsFile(const char* path, ControllerAssignments& map) {
    if (!path || !path[0]) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    EcsReader reader;
    char chunk[kReadChunkBytes];
    while (!reader.failed()) {
        const std::size_t got = std::fread(chunk, 1, sizeof(chunk), file);
        reader.feed(chunk, got);
        if (got < sizeof(chunk)) break;
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed || !reader.finish()) return false;
    map = reader.values();
    return true;
}

bool writeEcsFile(const char* path, const ControllerAssignments& map) {
    if (!path || !path[0]) return false;
    char text[kNumMidiControllers * kEcsLineBytes + 1];
    std::size_t length = 0;
    for (VstInt32 index : map)
        length += static_cast<std::size_t>(std::snprintf(text + length, sizeof(text) - length, "%d\n", index));

    return replaceFileDurably(path, std::string_view(text, length), 0666, ".part");
}
