#include "lv2/HostUrids.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

HostUrids HostUrids::map(const LV2_URID_Map* map) {
    HostUrids urids;
    if (!map || !map->map) return urids;
    const auto id = [map](const char* uri) { return map->map(map->handle, uri); };
    urids.atomObject = id(LV2_ATOM__Object);
    urids.atomBlank = id(LV2_ATOM__Blank);
    urids.atomInt = id(LV2_ATOM__Int);
    urids.atomLong = id(LV2_ATOM__Long);
    urids.atomFloat = id(LV2_ATOM__Float);
    urids.atomDouble = id(LV2_ATOM__Double);
    urids.atomChunk = id(LV2_ATOM__Chunk);
    urids.midiEvent = id(LV2_MIDI__MidiEvent);
    urids.timePosition = id(LV2_TIME__Position);
    urids.timeFrame = id(LV2_TIME__frame);
    urids.timeSpeed = id(LV2_TIME__speed);
    urids.timeBar = id(LV2_TIME__bar);
    urids.timeBarBeat = id(LV2_TIME__barBeat);
    urids.timeBeat = id(LV2_TIME__beat);
    urids.timeBeatUnit = id(LV2_TIME__beatUnit);
    urids.timeBeatsPerBar = id(LV2_TIME__beatsPerBar);
    urids.timeBeatsPerMinute = id(LV2_TIME__beatsPerMinute);
    urids.programState = id(kProgramStateUri);
    return urids;
}
