#pragma once

// Starting helper programs without a shell: the arguments go to the program
// as they are, so no file name or text can be read as a command.

#include <cstddef>
#include <string>
#include <vector>

struct ProcessResult {
    bool started = false;   // false: not found or could not be started
    int exitStatus = -1;    // the exit code; -1 when it did not exit normally
};

// Full path of an executable named name in $PATH; empty when there is none.
// A name containing "/" is returned as it is when it is executable.
std::string findExecutable(const std::string& name);  // any

// Runs argv (argv[0] is looked up with findExecutable) with stdin and stderr
// on /dev/null, waits for it, and returns its exit status. When output is not
// null it receives what the program wrote to stdout, at most maxOutputBytes
// (the rest is read and dropped so the program never blocks on a full pipe).
ProcessResult runProcess(const std::vector<std::string>& argv, std::string* output = nullptr,
                         std::size_t maxOutputBytes = 64 * 1024);  // control

// Opens path in the desktop's default application (xdg-open) and returns
// without waiting for it. False when path names no file that can be read or
// the opener could not be started.
bool openWithDesktop(const std::string& path);  // control
