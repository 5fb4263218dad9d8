#include "resources/generator/PageParts.h"

#include <cmath>

#include "resources/generator/Draw.h"

namespace tidewalker::art {

Box placed(cairo_t* cr, const layout::PanelRect& r, double width, double height) {
    double s = 1, unused = 1;
    cairo_user_to_device_distance(cr, &s, &unused);
    auto snap = [s](double v) { return std::trunc(v * s) / s; };
    return {snap(r.x), snap(r.y), snap(width), snap(height)};
}

Box placed(cairo_t* cr, const layout::PanelRect& r) { return placed(cr, r, r.width, r.height); }

void pageBackground(cairo_t* cr, double width, double height) {
    cairo_rectangle(cr, 0, 0, width, height);
    verticalGradient(cr, 0, height, PANEL_TOP, PANEL_BOTTOM);
    cairo_fill(cr);
    // A faint brushed sheen across the top edge.
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 0, 0, 110);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.06);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
    cairo_rectangle(cr, 0, 0, width, 110);
    cairo_set_source(cr, sheen);
    cairo_pattern_destroy(sheen);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    setColour(cr, EDGE_DARK);
    cairo_stroke(cr);
}

namespace {

// Rising columns cut off sharply: the shape of a reversed sound.
void swellEmblem(cairo_t* cr, double x, double y, double w, double h, int bars) {
    const double step = w / bars;
    for (int i = 0; i < bars; ++i) {
        const double t = double(i + 1) / bars;
        const double wobble = 0.75 + 0.25 * std::sin(i * 2.3) * std::cos(i * 0.7);
        const double bar = h * std::pow(t, 1.6) * wobble;
        cairo_rectangle(cr, x + i * step, y + (h - bar) / 2, step * 0.6, bar);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, DISPLAY_GRAPHICS.r, DISPLAY_GRAPHICS.g, DISPLAY_GRAPHICS.b);
    cairo_pattern_add_color_stop_rgb(p, 1, LED_CYAN.r, LED_CYAN.g, LED_CYAN.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
}

}  // namespace

void logo(cairo_t* cr, double right, double centreY) {
    const TextStyle name{25, true, false, 4.5, TEXT_BRIGHT};
    const TextStyle strap{7.5, true, false, 3.2, TEXT_LABEL};
    const double nameWidth = textWidth(cr, "TIDEWALKER", name);
    drawText(cr, "TIDEWALKER", right, centreY, Align::Right, name);
    drawText(cr, "REAL-TIME REVERSE", right, centreY + 22, Align::Right, strap);
    swellEmblem(cr, right - nameWidth - 46, centreY - 11, 34, 22, 9);
}

void rule(cairo_t* cr, double from, double to, double y) {
    if (to <= from) return;
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, from, std::floor(y) + 0.5);
    cairo_line_to(cr, to, std::floor(y) + 0.5);
    setColour(cr, EDGE_LIGHT, 0.7);
    cairo_stroke(cr);
}

}  // namespace tidewalker::art
