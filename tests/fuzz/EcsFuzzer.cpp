// libFuzzer target for the ECS reader: any bytes, cut anywhere, give the same
// answer; an accepted map is in range and survives a write and re-read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "plugin/EcsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    ControllerAssignments whole{};
    const bool accepted = parseEcsText(text, size, whole);

    // The file reader feeds pieces; where they are cut must not matter.
    const std::size_t cut = size == 0 ? 0 : static_cast<std::size_t>(data[0]) % (size + 1);
    EcsReader pieces;
    pieces.feed(text, cut);
    pieces.feed(text + cut, size - cut);
    if (pieces.finish() != accepted) std::abort();
    if (!accepted) return 0;
    if (pieces.values() != whole) std::abort();

    std::string written;
    for (VstInt32 index : whole) {
        if (index < 0 || index > kMaxControllerParameter) std::abort();
        written += std::to_string(index) + "\n";
    }
    ControllerAssignments again{};
    if (!parseEcsText(written.data(), written.size(), again) || again != whole) std::abort();
    return 0;
}
