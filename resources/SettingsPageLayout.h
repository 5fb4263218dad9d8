// Where the settings page's views sit at 100 % size.
#pragma once

#include "resources/FrontPanelLayout.h"

namespace tidewalker::layout {

// "Key", "MidiPreset", "MidiBank", "MuteReverse", "Big100", "Big150", "Big200";
// all use the generic switch picture.
inline constexpr int SETTINGS_SWITCH_COUNT = 7;
inline constexpr PanelRect SETTINGS_SWITCHES[SETTINGS_SWITCH_COUNT] = {
    {120, 400, 0, 0}, {120, 425, 0, 0}, {120, 450, 0, 0}, {120, 475, 0, 0},
    {120, 500, 0, 0}, {120, 525, 0, 0}, {120, 550, 0, 0}};

// Drawn in black, so the page puts a light card behind it.
inline constexpr PanelRect VERSION_LABEL{707, 90, 400, 25};

}  // namespace tidewalker::layout
