#pragma once

// Replacing a file so that a crash or a power cut leaves under its name
// either the old file or the whole new one, never a short or empty one.

#include <sys/types.h>

#include <string>
#include <string_view>

// Writes bytes to path + temporarySuffix (created with mode, less the umask;
// a link in its place is not followed), flushes it to disk, renames it over
// path and then flushes the folder, so the rename is on disk too. False when
// the new file did not take path's place: path is then as it was and the
// temporary file is gone.
bool replaceFileDurably(const std::string& path, std::string_view bytes, mode_t mode,
                        std::string_view temporarySuffix);  // control
