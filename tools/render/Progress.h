// A one-line progress bar for long renders in a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace render {

class ProgressBar {
public:
    // Draws nothing when disabled, and nothing for renders that finish within
    // the first half second.
    ProgressBar(std::FILE* stream, bool enabled);  // control
    void update(std::int64_t done, std::int64_t total);  // control
    void finish();  // control: clears the line if one was drawn

private:
    using Clock = std::chrono::steady_clock;
    std::FILE* stream;
    bool enabled;
    bool drawn = false;
    Clock::time_point started;
    Clock::time_point lastDrawn;
};

}  // namespace render
