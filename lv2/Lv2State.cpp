// The saved state: the effect's program record (500 values and the name) as
// one atom chunk. Restoring goes through the same checks as the VST chunk.
#include <bit>
#include <cstring>

#include "lv2/Lv2Effect.h"

// The record's floats are stored as the machine holds them; on the machines
// we build for that is little-endian, which is what makes the state portable.
static_assert(std::endian::native == std::endian::little, "saved state is little-endian");

LV2_State_Status Lv2Effect::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (!store || urids.programState == 0) return LV2_STATE_ERR_NO_FEATURE;
    ProgramRecord record;
    if (!plugin->getProgramRecord(0, record)) return LV2_STATE_ERR_UNKNOWN;
    return store(handle, urids.programState, &record, sizeof(record), urids.atomChunk,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Effect::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    if (!retrieve || urids.programState == 0) return LV2_STATE_ERR_NO_FEATURE;
    std::size_t size = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    const void* data = retrieve(handle, urids.programState, &size, &type, &flags);
    if (!data) return LV2_STATE_ERR_NO_PROPERTY;
    if (type != urids.atomChunk) return LV2_STATE_ERR_BAD_TYPE;
    // A whole record or nothing, as the VST chunk; applied as setChunk does.
    if (size != sizeof(ProgramRecord)) return LV2_STATE_ERR_UNKNOWN;
    ProgramRecord record;
    std::memcpy(&record, data, sizeof(record));
    if (!plugin->setProgramRecord(0, record)) return LV2_STATE_ERR_UNKNOWN;
    plugin->setProgram(0);
    // Hosts set the ports of a saved session before its state, from values
    // that may be stale (a preset chosen in the editor, a MIDI controller
    // move): the state wins over what the ports hold now; a port the host
    // sets afterwards still applies.
    takeControlsAsApplied();
    return LV2_STATE_SUCCESS;
}
