// Reading what the host writes into the event port. The host's sizes are
// believed only as far as they agree with each other: an event or property
// that would run past its container ends the walk there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include <lv2/atom/atom.h>

#include "lv2/HostClock.h"
#include "lv2/HostUrids.h"

namespace atomreader {

constexpr std::uint64_t padded(std::uint64_t size) noexcept {
    return (size + 7u) & ~std::uint64_t{7};
}

// audio: calls visit(frames, atom) for each event of the sequence, in the
// order the host wrote them; the atom's body lies wholly inside the sequence.
template <class Visit>
void forEachEvent(const LV2_Atom_Sequence* sequence, Visit&& visit) noexcept {
    if (!sequence || sequence->atom.size < sizeof(LV2_Atom_Sequence_Body)) return;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&sequence->body + 1);
    const std::uint64_t total = sequence->atom.size - sizeof(LV2_Atom_Sequence_Body);
    std::uint64_t offset = 0;
    while (total - offset >= sizeof(LV2_Atom_Event)) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(bytes + offset);
        const std::uint64_t bodyEnd = offset + sizeof(LV2_Atom_Event) + event->body.size;
        if (bodyEnd > total) return;
        visit(event->time.frames, event->body);
        offset = padded(bodyEnd);
        if (offset >= total) return;
    }
}

// audio: the number an Int, Long, Float or Double atom holds; empty for other types
// or an atom too short for its type.
std::optional<double> readNumber(const LV2_Atom& atom, const HostUrids& urids) noexcept;

// audio: true when the atom is a time position object; its readable fields are
// filled in, the rest left empty.
bool readTimePosition(const LV2_Atom& atom, const HostUrids& urids, TimePosition& position) noexcept;

}  // namespace atomreader
