// The plug-in's ports, in index order: stereo audio in and out, the event
// input (MIDI and the host's time position), then one control input per
// parameter, in slot order. The bundle description and the glue both read
// this, so they cannot disagree.
#pragma once

#include <array>
#include <cstdint>

#include "plugin/ParameterTable.h"

namespace ports {

inline constexpr std::uint32_t kInLeft = 0;
inline constexpr std::uint32_t kInRight = 1;
inline constexpr std::uint32_t kOutLeft = 2;
inline constexpr std::uint32_t kOutRight = 3;
inline constexpr std::uint32_t kEvents = 4;
inline constexpr std::uint32_t kFirstControl = 5;
// Slots 1..12 and 14..35: every slot below kFirstUnusedSlot except 0 and 13.
inline constexpr std::uint32_t kControlCount = 34;

using ControlSlots = std::array<VstInt32, kControlCount>;

// any: the slot behind each control port, in port order.
inline ControlSlots controlSlots() noexcept {
    ControlSlots slots{};
    std::uint32_t next = 0;
    for (VstInt32 slot = 0; slot < Param::kFirstUnusedSlot && next < kControlCount; ++slot)
        if (parameterRow(slot).name) slots[next++] = slot;
    return slots;
}

// any: the control port that shows a slot, or -1 for slots no port shows.
inline std::int64_t portOfSlot(VstInt32 slot) noexcept {
    const ControlSlots slots = controlSlots();
    for (std::uint32_t i = 0; i < kControlCount; ++i)
        if (slots[i] == slot) return kFirstControl + i;
    return -1;
}

}  // namespace ports
