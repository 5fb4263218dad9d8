#pragma once

// Path texts as the effect keeps them: POSIX paths with "/" as separator, in
// fixed 256-byte buffers. A path that does not fit is refused, never cut,
// because a cut path names a different file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kPathBytes = 256;

// Copies path with its terminator into buffer. False (buffer untouched) when
// path needs more than kPathBytes bytes or holds a zero byte.
bool copyPath(char (&buffer)[kPathBytes], std::string_view path) noexcept;  // any

// The part after the last "/" (all of path when it has none).
std::string_view getFileNameOnly(std::string_view path) noexcept;  // any

// The part up to and including the last "/" (empty when path has none).
std::string_view getFolderOnly(std::string_view path) noexcept;  // any

// The save dialog's naming rule: when proposedName ends in an extension of
// exactly four characters with its dot (".ecs"), the file name of chosenPath
// (after its last "/") gets it: appended when the name has no ".", otherwise
// replacing everything from the name's first "." on. Other proposals leave
// chosenPath as it is.
std::string withProposedExtension(std::string_view chosenPath,
                                  std::string_view proposedName);  // any

// The open dialog's filter rule: each ";"-separated part contributes the text
// after its first "." ("*.ecs;*.txt" -> "ecs", "txt"); parts without one or
// with nothing after it contribute nothing.
std::vector<std::string> filterExtensions(std::string_view filter);  // any
