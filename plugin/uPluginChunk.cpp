#include <cstring>

#include "plugin/APlugin.h"

namespace {

constexpr VstInt32 kChunkBytes = static_cast<VstInt32>(sizeof(ProgramRecord));

}  // namespace

// Only hosts known to restore our chunks get them; the rest store the
// parameters one by one, which every host can do.
bool APlugin::chunkAccepted(bool isPreset) const noexcept {
    if (isPreset) return hostIsVendorProp && !hostIsMaschine;
    return hostIsMaschine || hostIsLumenhall || hostIsVendorProp;
}

VstInt32 APlugin::getChunk(void** data, bool isPreset) {
    if (!data || !chunkAccepted(isPreset)) return 0;
    ProgramRecord& chunk = isPreset ? programChunk : bankChunk;
    slots.copyRecordTo(chunk);
    *data = &chunk;
    return kChunkBytes;
}

VstInt32 APlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    // A declined chunk still answers 1: the host has nothing to retry.
    if (!data || byteSize < kChunkBytes || !chunkAccepted(isPreset)) return 1;
    ProgramRecord& chunk = isPreset ? programChunk : bankChunk;
    // Hosts may hand back the very buffer getChunk gave them.
    std::memmove(&chunk, data, sizeof(chunk));
    slots.takeRecordFrom(chunk);
    setProgram(0);
    return 1;
}
