// The URIs the plug-in reads from its host, as the host's URID map numbers them.
#pragma once

#include <lv2/urid/urid.h>

inline constexpr const char* kPluginUri = "urn:ktlm:tidewalker";
inline constexpr const char* kUiUri = "urn:ktlm:tidewalker#editor";
// The state key under which the program is saved.
inline constexpr const char* kProgramStateUri = "urn:ktlm:tidewalker#program";

struct HostUrids {
    LV2_URID atomObject = 0;
    LV2_URID atomBlank = 0;
    LV2_URID atomInt = 0;
    LV2_URID atomLong = 0;
    LV2_URID atomFloat = 0;
    LV2_URID atomDouble = 0;
    LV2_URID atomChunk = 0;
    LV2_URID midiEvent = 0;
    LV2_URID timePosition = 0;
    LV2_URID timeFrame = 0;
    LV2_URID timeSpeed = 0;
    LV2_URID timeBar = 0;
    LV2_URID timeBarBeat = 0;
    LV2_URID timeBeat = 0;
    LV2_URID timeBeatUnit = 0;
    LV2_URID timeBeatsPerBar = 0;
    LV2_URID timeBeatsPerMinute = 0;
    LV2_URID programState = 0;

    // control: all numbers from the host's map; without one every number is
    // 0, which no atom carries, so nothing from the host is recognised.
    static HostUrids map(const LV2_URID_Map* map);
};
