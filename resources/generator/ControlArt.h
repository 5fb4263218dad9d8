// Painters of the editor's control pictures. Each draws one frame or state
// at 100 % units into a context already scaled and translated to it.
#pragma once

#include <cairo.h>

#include <string_view>

#include "resources/generator/Palette.h"

namespace tidewalker::art {

// Geometry of the pictures (100 %). Two-state pictures are twice as high as
// one state; heights are even so that 150 % splits into whole-pixel halves.
inline constexpr int KNOB_SIZE = 42;
inline constexpr int SWITCH_SIZE = 22;
inline constexpr int KEY_HEIGHT = 22;
inline constexpr int KEY_WIDTH = 62;
inline constexpr int TITLE_SWITCH_WIDTH = 64;  // switches that head a section

// Knob strip frame `frame` of `frameCount`: the value arc sweeps 270 degrees.
void paintKnobFrame(cairo_t* cr, int frame, int frameCount, Colour accent);

// Kick buttons: state 0 up, state 1 held down.
void paintKey(cairo_t* cr, int state, double width, std::string_view label);
void paintMenuKey(cairo_t* cr, int state, double width, std::string_view label);
void paintArrowKey(cairo_t* cr, int state, bool pointsLeft);
void paintGearKey(cairo_t* cr, int state);
void paintEditedKey(cairo_t* cr, int state, double width, bool edited);

// On/off switches: state 0 off, state 1 on.
void paintLedSwitch(cairo_t* cr, int state);
void paintLabelledSwitch(cairo_t* cr, int state, double width, std::string_view label, Colour ledColour);
void paintTriggerPad(cairo_t* cr, int state, double width, double height);
void paintLockSwitch(cairo_t* cr, int state);

// Trigger-mode radio: state 0 unselected, 1 selected; `lit` while the manual
// trigger is waiting.
void paintRadio(cairo_t* cr, int state, bool lit);

// Bright meter segments that the meter view reveals from the bottom.
void paintMeter(cairo_t* cr, double width, double height);

// Small caption that the editor swaps with the filter or trigger mode.
void paintCaption(cairo_t* cr, double width, double height, std::string_view text);
void paintMark(cairo_t* cr, double width, double height, bool lit);

// Position cursors of the reverse display; the cursor line sits 20 px from
// the picture's left edge.
void paintCursor(cairo_t* cr, bool recording);

void paintSizeBadge(cairo_t* cr, double width, double height, std::string_view text);

}  // namespace tidewalker::art
