// Runs a shell command line for tests that check command-line tools.
#pragma once

#include <cstdio>
#include <string>

namespace tidewalker::testing {

// What the command wrote to its standard output and error, together.
inline std::string shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

}  // namespace tidewalker::testing
