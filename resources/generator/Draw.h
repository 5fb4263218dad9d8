// Drawing helpers shared by the painters: shapes, fields, LEDs and text.
// All coordinates are in 100 % units; the caller has already scaled the
// context to the picture's size.
#pragma once

#include <cairo.h>

#include <string_view>

#include "resources/generator/Palette.h"

namespace tidewalker::art {

void setColour(cairo_t* cr, Colour c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void verticalGradient(cairo_t* cr, double y0, double y1, Colour top, Colour bottom);

// A sunken dark field with a thin rim, as behind read-outs, menus and screens.
void recessedField(cairo_t* cr, double x, double y, double w, double h, double radius, Colour fill = FIELD);

// A raised plate that groups the controls of one section.
void plate(cairo_t* cr, double x, double y, double w, double h);

// A raised key cap; pressed caps are darker and lit from below.
void keyCap(cairo_t* cr, double x, double y, double w, double h, bool pressed);

// A round LED with an optional glow around it.
void led(cairo_t* cr, double cx, double cy, double radius, Colour colour, bool lit);

enum class Align { Left, Centre, Right };

struct TextStyle {
    double size;
    bool bold;
    bool condensed;
    double tracking;  // extra space between letters
    Colour colour;
    double alpha = 1.0;
};

inline constexpr TextStyle TITLE_STYLE{9.5, true, false, 1.8, TEXT_TITLE};
inline constexpr TextStyle LABEL_STYLE{8.0, true, true, 0.9, TEXT_LABEL};
inline constexpr TextStyle SMALL_STYLE{7.0, true, true, 0.8, TEXT_DIM};

// Width of the text as drawText would set it.
double textWidth(cairo_t* cr, std::string_view text, const TextStyle& style);

// Sets the text so its capitals are vertically centred on centreY; x is the
// left edge, the centre or the right edge depending on align.
void drawText(cairo_t* cr, std::string_view text, double x, double centreY, Align align, const TextStyle& style);

// Left-pointing or right-pointing solid triangle centred on (cx, cy).
void triangle(cairo_t* cr, double cx, double cy, double width, double height, bool pointsLeft);

}  // namespace tidewalker::art
