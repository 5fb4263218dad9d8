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
    const ProgramRecord& record = programs[0];
    for (VstInt32 i = 0; i < kNumParameters; ++i) chunk.values[i] = loadRelaxed(record.values[i]);
    // The bytes after the terminator mean nothing; zeros keep saved files stable.
    std::memset(chunk.name, 0, sizeof(chunk.name));
    std::memcpy(chunk.name, record.name, strnlen(record.name, sizeof(record.name) - 1));
    *data = &chunk;
    return kChunkBytes;
}

VstInt32 APlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    // A declined chunk still answers 1: the host has nothing to retry.
    if (!data || byteSize < kChunkBytes || !chunkAccepted(isPreset)) return 1;
    ProgramRecord& chunk = isPreset ? programChunk : bankChunk;
    // Hosts may hand back the very buffer getChunk gave them.
    std::memmove(&chunk, data, sizeof(chunk));

    ProgramRecord& record = programs[0];
    for (VstInt32 i = 0; i < kNumParameters; ++i) storeRelaxed(record.values[i], storedForm(i, chunk.values[i]));
    std::memset(record.name, 0, sizeof(record.name));
    std::memcpy(record.name, chunk.name, strnlen(chunk.name, sizeof(chunk.name) - 1));
    setProgram(0);
    return 1;
}
