#include "plugin/EcsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

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

bool writeFully(int descriptor, const char* bytes, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

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

    const std::string temporary = std::string(path) + ".part";
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    // Flushed to disk before the rename, so a crash cannot leave a short file under the real name.
    const bool written = writeFully(descriptor, text, length) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
