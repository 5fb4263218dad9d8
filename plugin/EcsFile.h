// ECS files: a MIDI controller map as text, 128 decimal parameter indexes
// (0..800, 0 = none), one per line, controller 0 first.
//
// The reader is strict where a wrong map could slip through and lenient
// where the layout does not matter: each number may be surrounded by any
// white space (blank, tab, CR, LF, VT, FF, so files with CRLF line ends and
// files without a final line feed load), and white space may follow the
// 128th number. Anything else is refused: fewer or more than 128 numbers,
// a number outside 0..800 (also one too large for any integer type), a sign
// without digits, or any other byte (NUL included) in or between numbers.
#pragma once

#include <cstddef>

#include "plugin/MidiControllerPrefs.h"

// Reads an ECS text in pieces of any size, so a file is never held whole.
class EcsReader {
public:
    void feed(const char* bytes, std::size_t size) noexcept;  // any
    // True when the text was a complete, valid map; values() then holds it.
    bool finish() noexcept;  // any
    bool failed() const noexcept { return failed_; }  // any
    const ControllerAssignments& values() const noexcept { return values_; }  // any

private:
    // Sign and significant digits; longer numbers are out of range anyway.
    static constexpr std::size_t kTokenBytes = 24;

    void endNumber() noexcept;
    std::size_t signLength() const noexcept { return hasSign_ ? 1 : 0; }

    ControllerAssignments values_{};
    std::size_t count_ = 0;
    char token_[kTokenBytes]{};
    std::size_t tokenLength_ = 0;
    bool inNumber_ = false;
    bool sawDigit_ = false;
    bool hasSign_ = false;
    bool failed_ = false;
};

// The whole text at once; map is changed only when the answer is true.
bool parseEcsText(const char* bytes, std::size_t size, ControllerAssignments& map) noexcept;  // any

// Reads the file at path; map is changed only when the answer is true.
bool readEcsFile(const char* path, ControllerAssignments& map);  // control

// Writes map to path through a temporary file in the same folder that
// replaces path only when every byte reached the disk; on failure path is
// left as it was.
bool writeEcsFile(const char* path, const ControllerAssignments& map);  // control
