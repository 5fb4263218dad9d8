// Keeps the take memory of running instances resident for the lengths their
// voices use now. A length raised on the audio thread (a learned controller, a
// MIDI program change, a synced take after the tempo dropped) cannot commit
// memory there, so one background thread shared by every instance does it, a
// few times a second, well before a take at the new length reaches the pages.
#pragma once

#include <atomic>

#include "engine/uSignalChain.h"

namespace TakeMemoryKeeper {

// A length raised under a take being recorded is needed at once, so the
// voices keep this much beyond their length committed: several rounds of the
// keeper.
inline constexpr float kHeadroomSeconds = 0.1f;

// Puts a chain under the keeper for the enrolment's lifetime: its voices are
// committed while active is true. The first enrolment starts the keeper's
// thread and the last one leaving joins it, so no thread of ours outlives the
// instances (the effect's code is unloaded after the last one goes). Declare
// it after the chain and the flag, so it is destroyed first.
class Enrollment {
public:
    Enrollment(TSignalChain& chain, const std::atomic<bool>& active);  // control
    // Once it returns, the keeper no longer touches the chain.
    ~Enrollment();  // control
    Enrollment(const Enrollment&) = delete;
    Enrollment& operator=(const Enrollment&) = delete;

    void keep() const noexcept;  // keeper thread

private:
    TSignalChain& chain;
    const std::atomic<bool>& active;
};

}  // namespace TakeMemoryKeeper
