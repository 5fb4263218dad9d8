// Counts heap allocations and mutex locks made by the calling thread while a
// probe is armed, so tests can prove that a piece of code is real-time safe.
#pragma once

#include <cstddef>

namespace tidewalker::testing {

struct RealtimeCounts {
    std::size_t allocations = 0;
    std::size_t locks = 0;
};

// Arms counting on the constructing thread until destruction.
class RealtimeProbe {
public:
    RealtimeProbe();
    ~RealtimeProbe();
    RealtimeProbe(const RealtimeProbe&) = delete;
    RealtimeProbe& operator=(const RealtimeProbe&) = delete;

    RealtimeCounts counts() const;

    // False in sanitizer builds, whose runtimes own malloc and locks: there
    // only operator new is counted.
    static bool countsMallocAndLocks();
};

}  // namespace tidewalker::testing
