#include "lv2/AtomReader.h"

namespace atomreader {

namespace {

template <class T>
std::optional<double> bodyAs(const LV2_Atom& atom) noexcept {
    if (atom.size < sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, &atom + 1, sizeof(T));
    return static_cast<double>(value);
}

}  // namespace

std::optional<double> readNumber(const LV2_Atom& atom, const HostUrids& urids) noexcept {
    if (atom.type == 0) return std::nullopt;
    if (atom.type == urids.atomInt) return bodyAs<std::int32_t>(atom);
    if (atom.type == urids.atomLong) return bodyAs<std::int64_t>(atom);
    if (atom.type == urids.atomFloat) return bodyAs<float>(atom);
    if (atom.type == urids.atomDouble) return bodyAs<double>(atom);
    return std::nullopt;
}

bool readTimePosition(const LV2_Atom& atom, const HostUrids& urids, TimePosition& position) noexcept {
    if (atom.type == 0 || (atom.type != urids.atomObject && atom.type != urids.atomBlank)) return false;
    if (atom.size < sizeof(LV2_Atom_Object_Body)) return false;
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&atom);
    if (object->body.otype == 0 || object->body.otype != urids.timePosition) return false;

    position = TimePosition{};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&object->body + 1);
    const std::uint64_t total = atom.size - sizeof(LV2_Atom_Object_Body);
    std::uint64_t offset = 0;
    while (total - offset >= sizeof(LV2_Atom_Property_Body)) {
        const auto* property = reinterpret_cast<const LV2_Atom_Property_Body*>(bytes + offset);
        const std::uint64_t valueEnd = offset + sizeof(LV2_Atom_Property_Body) + property->value.size;
        if (valueEnd > total) break;
        const std::optional<double> number = readNumber(property->value, urids);
        const LV2_URID key = property->key;
        if (key == urids.timeFrame) position.frame = number;
        else if (key == urids.timeSpeed) position.speed = number;
        else if (key == urids.timeBar) position.bar = number;
        else if (key == urids.timeBarBeat) position.barBeat = number;
        else if (key == urids.timeBeat) position.beat = number;
        else if (key == urids.timeBeatUnit) position.beatUnit = number;
        else if (key == urids.timeBeatsPerBar) position.beatsPerBar = number;
        else if (key == urids.timeBeatsPerMinute) position.beatsPerMinute = number;
        offset = padded(valueEnd);
        if (offset >= total) break;
    }
    return true;
}

}  // namespace atomreader
