// Where every view of the front panel sits at 100 % size, in pixels from the
// frame's top-left corner. The editor places its views from these tables and
// the picture generator paints the panel's labels and fields around them, so
// the two can never drift apart.
#pragma once

namespace tidewalker::layout {

// A view's place at 100 %; width and height 0 mean "the size of its picture".
struct PanelRect {
    int x;
    int y;
    int width;
    int height;
};

inline constexpr int FRAME_WIDTH = 1100;
inline constexpr int FRAME_HEIGHT = 641;

// One row per knob: parameter index, x, y, knob strip picture.
inline constexpr int KNOB_COUNT = 19;
inline constexpr int KNOBS[KNOB_COUNT][4] = {
    {2, 507, 44, 10022},   {3, 569, 44, 10022},   {9, 180, 427, 10022},  {6, 272, 427, 10022},
    {10, 438, 427, 10022}, {8, 523, 427, 10022},  {5, 617, 427, 10022},  {4, 702, 427, 10022},
    {34, 794, 427, 10022}, {17, 876, 427, 10024}, {19, 1017, 427, 10024}, {16, 947, 487, 10024},
    {18, 876, 546, 10024}, {20, 1017, 546, 10024}, {25, 240, 547, 10022}, {27, 527, 546, 10023},
    {28, 617, 546, 10023}, {30, 706, 546, 10023}, {29, 794, 546, 10023},
};

// One row per switch: tag (a parameter index, or 510 for the editor's offset
// lock), x, y, picture.
inline constexpr int ON_OFF_COUNT = 10;
inline constexpr int ON_OFFS[ON_OFF_COUNT][4] = {
    {1, 417, 33, 10035},  {12, 536, 20, 10012}, {11, 598, 20, 10012}, {35, 107, 432, 10016},
    {7, 511, 386, 10012}, {15, 861, 377, 10037}, {31, 921, 419, 10012}, {21, 26, 496, 10038},
    {26, 308, 539, 10012}, {510, 334, 436, 10017},
};

// Each knob's read-out sits below it; the "Reverse Zoom" read-out sits above.
inline constexpr int READ_OUT_WIDTH = 53;
inline constexpr int READ_OUT_HEIGHT = 11;
inline constexpr int READ_OUT_DX = -6;
inline constexpr int READ_OUT_DY = 44;
inline constexpr int READ_OUT_DY_ABOVE = -22;
inline constexpr int READ_OUT_ABOVE_PARAMETER = 34;  // "Reverse Zoom"

inline constexpr PanelRect PRESET_MENU{91, 37, 162, 22};
inline constexpr PanelRect PRESET_PREVIOUS{255, 42, 0, 0};
inline constexpr PanelRect PRESET_NEXT{267, 42, 0, 0};
inline constexpr PanelRect BANK_MENU{115, 69, 164, 22};
inline constexpr PanelRect BANK_PREVIOUS{93, 74, 0, 0};
inline constexpr PanelRect BANK_NEXT{105, 74, 0, 0};
inline constexpr PanelRect EDITED_BUTTON{287, 33, 0, 0};
inline constexpr PanelRect REVERT_BUTTON{283, 62, 0, 0};
inline constexpr PanelRect HELP_BUTTON{344, 33, 0, 0};
inline constexpr PanelRect ECS_MENU{352, 62, 0, 0};
inline constexpr PanelRect RESET_BUTTON{413, 62, 0, 0};
inline constexpr PanelRect SETTINGS_BUTTON{713, 43, 0, 0};

// Input left, input right, output left, output right.
inline constexpr PanelRect VU_METERS[4] = {
    {655, 30, 7, 54}, {662, 30, 7, 54}, {683, 30, 7, 54}, {690, 30, 7, 54}};

// "Audio", "Manual", "Host"; sized by the generic switch picture.
inline constexpr PanelRect TRIGGER_RADIOS[3] = {{189, 385, 0, 0}, {53, 436, 0, 0}, {282, 385, 0, 0}};

inline constexpr PanelRect REVERSE_DISPLAY{23, 115, 1049, 257};
inline constexpr PanelRect LFO_MODE_MENU{41, 532, 79, 16};
inline constexpr PanelRect LFO_PHASE_MENU{41, 572, 79, 16};
inline constexpr PanelRect LFO_WAVE_MENU{135, 572, 79, 16};
inline constexpr PanelRect LFO_SPEED_TEXT{304, 572, 79, 16};
inline constexpr PanelRect LFO_SCREEN{399, 510, 99, 99};

inline constexpr PanelRect FILTER_FREQUENCY_LABEL{866, 486, 57, 12};
inline constexpr PanelRect FILTER_Q_LABEL{1009, 486, 57, 12};
inline constexpr PanelRect LFO_FILTER_LABEL{770, 604, 86, 12};
inline constexpr PanelRect TRIGGER_MARK_1{292, 407, 2, 6};
inline constexpr PanelRect TRIGGER_MARK_2{235, 446, 24, 2};

}  // namespace tidewalker::layout
