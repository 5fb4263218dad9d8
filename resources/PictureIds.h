// The editor's picture set: every id at 100 %. The 150 % and 200 % pictures
// carry the same id plus PICTURE_ID_STEP_150 / PICTURE_ID_STEP_200.
// The build reads PICTURE_IDS from this file to know which PNGs to draw, so
// keep one id per entry and the ids as plain numbers.
#pragma once

namespace tidewalker::resources {

inline constexpr int PICTURE_ID_STEP_150 = 1000;
inline constexpr int PICTURE_ID_STEP_200 = 2000;

inline constexpr int PICTURE_IDS[] = {
    10000,  // front panel background; its size is the frame size
    10001,  // settings page background
    10002,  // settings button (kick)
    10008,  // VU meter, revealed from the bottom
    10010,  // "previous" arrow (kick)
    10011,  // "next" arrow (kick)
    10012,  // generic on/off switch; also sizes the trigger-mode radios
    10013,  // edited-state button while the program is edited
    10014,  // edited-state button while the program is unedited
    10016,  // manual trigger switch
    10017,  // offset-lock switch
    10018,  // trigger-mode radio, normal
    10020,  // trigger-mode radio, lit
    10022,  // knob strip A
    10023,  // knob strip B (LFO amounts)
    10024,  // knob strip C (filter section)
    10025,  // knob strip D
    10030,  // edited-state button, initial picture
    10031,  // revert button (kick)
    10032,  // help button (kick)
    10033,  // ECS menu background
    10034,  // reset button (kick)
    10035,  // bypass switch
    10036,  // spare switch face
    10037,  // filter on/off switch
    10038,  // LFO on/off switch
    10040,  // filter frequency label, low-pass
    10041,  // filter frequency label, comb
    10042,  // LFO-to-filter label, low-pass
    10043,  // LFO-to-filter label, comb
    10044,  // filter Q label, low-pass
    10045,  // filter Q label, comb (feedback)
    10046,  // trigger-mode mark 1, lit
    10047,  // trigger-mode mark 1, dim
    10048,  // trigger-mode mark 2, lit
    10049,  // trigger-mode mark 2, dim
    10070,  // reverse display's recording cursor
    10071,  // reverse display's playback cursor
    10100,  // size badge 100 %
    10101,  // size badge 150 %
    10102,  // size badge 200 %
};

inline constexpr int PICTURE_COUNT = sizeof(PICTURE_IDS) / sizeof(PICTURE_IDS[0]);

// Knob strips hold this many frames stacked vertically.
inline constexpr int KNOB_FRAME_COUNT = 137;

}  // namespace tidewalker::resources
