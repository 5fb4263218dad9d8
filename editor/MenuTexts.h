// Entry texts of the front panel's menus that the editor both shows and acts on.
#pragma once

namespace tidewalker::menus {

inline constexpr const char* REVERT_TO_ORIGINAL = "Revert to Original Preset";
inline constexpr const char* REVERT_TO_EDITED = "Revert to Edited Preset";
inline constexpr const char* DEFAULT_PRESET = "Default Preset";
// By size mode: 100 %, 150 %, 200 %.
inline constexpr const char* SET_SCREEN_SIZE[3] = {"Set To 100% Screen", "Set To 150% Screen", "Set To 200% Screen"};
inline constexpr int SCREEN_SIZE_PERCENT[3] = {100, 150, 200};
inline constexpr const char* PRESET_MENU_TAIL[] = {
    "-", REVERT_TO_ORIGINAL, REVERT_TO_EDITED, DEFAULT_PRESET, "-",
    SET_SCREEN_SIZE[0], SET_SCREEN_SIZE[1], SET_SCREEN_SIZE[2]};

// The ECS menu, by entry index.
inline constexpr const char* ECS_MENU[3] = {"Load ECS", "Save ECS", "Clear MIDI"};

}  // namespace tidewalker::menus
