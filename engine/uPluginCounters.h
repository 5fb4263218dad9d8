// Counters of the engine that grow while it waits: they stop at the top of
// their range instead of overflowing.
#pragma once

#include <cstdint>
#include <limits>

#include "plugin/SharedValue.h"

// audio: one more, unless already at the top; stored whole for readers elsewhere.
inline void countUp(std::int32_t& counter) noexcept {
    if (counter < std::numeric_limits<std::int32_t>::max()) storeRelaxed(counter, counter + 1);
}
