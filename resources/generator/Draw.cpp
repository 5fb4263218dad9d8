#include "resources/generator/Draw.h"

#include <algorithm>
#include <cmath>

namespace tidewalker::art {

void setColour(cairo_t* cr, Colour c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::min(radius, std::min(w, h) / 2.0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void verticalGradient(cairo_t* cr, double y0, double y1, Colour top, Colour bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void recessedField(cairo_t* cr, double x, double y, double w, double h, double radius, Colour fill) {
    // Light catches the lower rim of a sunken field, the upper rim is in shade.
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1.5, radius + 0.5);
    setColour(cr, EDGE_LIGHT, 0.45);
    cairo_fill(cr);
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 0.5, radius + 0.5);
    setColour(cr, EDGE_DARK);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, radius);
    setColour(cr, fill);
    cairo_fill(cr);
}

void plate(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x, y + 1.5, w, h, 6);
    setColour(cr, EDGE_DARK, 0.55);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, 6);
    verticalGradient(cr, y, y + h, PLATE_TOP, PLATE_BOTTOM);
    cairo_fill(cr);
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 5.5);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(rim, 0, EDGE_LIGHT.r, EDGE_LIGHT.g, EDGE_LIGHT.b, 0.9);
    cairo_pattern_add_color_stop_rgba(rim, 0.25, EDGE_LIGHT.r, EDGE_LIGHT.g, EDGE_LIGHT.b, 0.25);
    cairo_pattern_add_color_stop_rgba(rim, 1, EDGE_LIGHT.r, EDGE_LIGHT.g, EDGE_LIGHT.b, 0.12);
    cairo_set_source(cr, rim);
    cairo_pattern_destroy(rim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void keyCap(cairo_t* cr, double x, double y, double w, double h, bool pressed) {
    roundedRect(cr, x, y, w, h, 3.5);
    setColour(cr, EDGE_DARK);
    cairo_fill(cr);
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 2.5);
    if (pressed)
        verticalGradient(cr, y, y + h, rgb(14, 28, 50), rgb(28, 48, 78));
    else
        verticalGradient(cr, y, y + h, rgb(52, 80, 116), rgb(26, 46, 74));
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    if (!pressed) {
        cairo_move_to(cr, x + 3, y + 1.5);
        cairo_line_to(cr, x + w - 3, y + 1.5);
        setColour(cr, rgb(150, 186, 226), 0.35);
        cairo_stroke(cr);
    }
}

void led(cairo_t* cr, double cx, double cy, double radius, Colour colour, bool lit) {
    if (!lit) {
        cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
        setColour(cr, EDGE_DARK);
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, radius * 0.8, 0, 2 * M_PI);
        setColour(cr, LED_OFF);
        cairo_fill(cr);
        return;
    }
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, radius * 0.5, cx, cy, radius * 2.4);
    cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
    cairo_set_source(cr, glow);
    cairo_pattern_destroy(glow);
    cairo_arc(cr, cx, cy, radius * 2.4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_t* core = cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.3, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(core, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(core, 0.55, colour.r, colour.g, colour.b);
    cairo_pattern_add_color_stop_rgb(core, 1, colour.r * 0.7, colour.g * 0.7, colour.b * 0.7);
    cairo_set_source(cr, core);
    cairo_pattern_destroy(core);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
}

namespace {

void selectFont(cairo_t* cr, const TextStyle& style) {
    cairo_select_font_face(cr, style.condensed ? "DejaVu Sans Condensed" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, style.size);
}

double letterAdvance(cairo_t* cr, char c) {
    const char glyph[2] = {c, '\0'};
    cairo_text_extents_t e;
    cairo_text_extents(cr, glyph, &e);
    return e.x_advance;
}

}  // namespace

double textWidth(cairo_t* cr, std::string_view text, const TextStyle& style) {
    if (text.empty()) return 0;
    selectFont(cr, style);
    double width = 0;
    for (char c : text) width += letterAdvance(cr, c) + style.tracking;
    return width - style.tracking;
}

void drawText(cairo_t* cr, std::string_view text, double x, double centreY, Align align, const TextStyle& style) {
    const double width = textWidth(cr, text, style);
    double pen = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
    cairo_text_extents_t capital;
    cairo_text_extents(cr, "H", &capital);
    const double baseline = centreY - capital.y_bearing / 2;
    setColour(cr, style.colour, style.alpha);
    for (char c : text) {
        const char glyph[2] = {c, '\0'};
        cairo_move_to(cr, pen, baseline);
        cairo_show_text(cr, glyph);
        pen += letterAdvance(cr, c) + style.tracking;
    }
}

void triangle(cairo_t* cr, double cx, double cy, double width, double height, bool pointsLeft) {
    const double tip = pointsLeft ? cx - width / 2 : cx + width / 2;
    const double base = pointsLeft ? cx + width / 2 : cx - width / 2;
    cairo_move_to(cr, tip, cy);
    cairo_line_to(cr, base, cy - height / 2);
    cairo_line_to(cr, base, cy + height / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

}  // namespace tidewalker::art
