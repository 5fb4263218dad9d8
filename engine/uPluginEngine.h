// Small pieces the audio path's files share: the trigger modes as the
// engine compares them, and counters that stop at the top of their range.
#pragma once

#include <cstdint>
#include <limits>

#include "plugin/SharedValue.h"

// The choices of "Reverse Trigger Mode", in table order.
namespace TriggerMode {
inline constexpr std::int32_t Audio = 0;
inline constexpr std::int32_t Manual = 1;
inline constexpr std::int32_t Host = 2;
}  // namespace TriggerMode

// audio: one more, unless already at the top; stored whole for readers elsewhere.
inline void countUp(std::int32_t& counter) noexcept {
    if (counter < std::numeric_limits<std::int32_t>::max()) storeRelaxed(counter, counter + 1);
}
