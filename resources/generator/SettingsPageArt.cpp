#include <cmath>
#include <string_view>

#include "resources/SettingsPageLayout.h"
#include "resources/generator/ControlArt.h"
#include "resources/generator/Draw.h"
#include "resources/generator/PageArt.h"
#include "resources/generator/PageParts.h"

namespace tidewalker::art {

namespace {

const TextStyle BODY_STYLE{9.5, false, false, 0, TEXT_LABEL};
const TextStyle PAGE_TITLE_STYLE{18, true, false, 3.5, TEXT_BRIGHT};

// One line per settings switch, in the order of the switch table.
constexpr std::string_view SETTING_TEXTS[layout::SETTINGS_SWITCH_COUNT] = {
    "Arrow keys step through the presets",
    "MIDI program changes select presets",
    "MIDI bank changes select banks",
    "Silence the reverse while the host transport is stopped",
    "100 % size  (1100 x 641)",
    "150 % size  (1650 x 961)",
    "200 % size  (2200 x 1282)",
};

constexpr std::string_view TIPS[] = {
    "Up / Down arrow keys: previous / next preset",
    "Mouse wheel over the preset name: step presets",
    "Shift while dragging a knob: fine adjustment",
    "Double-click a knob: back to its default",
    "Right-click a control: MIDI learn",
    "Drag up or down in the display: vertical zoom",
};

// A reversed swell in the display's colours: the picture of what the
// plug-in does, filling the page between header and settings.
void reversedWaveScreen(cairo_t* cr, double x, double y, double w, double h) {
    recessedField(cr, x, y, w, h, 6, rgb(3, 21, 47));
    const double mid = std::floor(y + h / 2) + 0.5;
    cairo_set_line_width(cr, 1);
    for (int i = 1; i < 24; ++i) {
        const double gx = std::floor(x + w * i / 24) + 0.5;
        cairo_move_to(cr, gx, y + 8);
        cairo_line_to(cr, gx, y + h - 8);
    }
    cairo_move_to(cr, x + 8, mid);
    cairo_line_to(cr, x + w - 8, mid);
    setColour(cr, DISPLAY_LINES, 0.8);
    cairo_stroke(cr);

    const double left = x + 24, width = w * 0.78, amplitude = h / 2 - 18;
    for (double px = 0; px < width; px += 1) {
        const double t = px / width;
        const double envelope = std::pow(t, 2.2);
        const double wave = 0.55 + 0.45 * std::fabs(std::sin(px * 0.21) * std::cos(px * 0.037));
        const double a = amplitude * envelope * wave;
        cairo_move_to(cr, left + px + 0.5, mid - a);
        cairo_line_to(cr, left + px + 0.5, mid + a);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(left, 0, left + width, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, DISPLAY_LINES.r, DISPLAY_LINES.g, DISPLAY_LINES.b);
    cairo_pattern_add_color_stop_rgb(p, 0.7, DISPLAY_GRAPHICS.r, DISPLAY_GRAPHICS.g, DISPLAY_GRAPHICS.b);
    cairo_pattern_add_color_stop_rgb(p, 1, LED_CYAN.r, LED_CYAN.g, LED_CYAN.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_stroke(cr);
    // The cut where the take ends and playback turns round.
    cairo_move_to(cr, left + width + 0.5, y + 10);
    cairo_line_to(cr, left + width + 0.5, y + h - 10);
    setColour(cr, LED_CYAN, 0.8);
    cairo_stroke(cr);
    setColour(cr, LED_CYAN);
    triangle(cr, left + width, y + 16, 8, 8, true);
}

}  // namespace

void paintSettingsPage(cairo_t* cr) {
    pageBackground(cr, layout::FRAME_WIDTH, layout::FRAME_HEIGHT);
    drawText(cr, "SETTINGS", 30, 46, Align::Left, PAGE_TITLE_STYLE);
    drawText(cr, "Click anywhere outside a switch to return to the panel.", 30, 72, Align::Left, BODY_STYLE);
    logo(cr, 1074, 46);

    // The version label is set in black, so it sits on a light card.
    const layout::PanelRect& version = layout::VERSION_LABEL;
    roundedRect(cr, version.x - 8, version.y - 4, layout::FRAME_WIDTH - version.x - 16, version.height + 8, 4);
    setColour(cr, CARD);
    cairo_fill_preserve(cr);
    setColour(cr, EDGE_DARK);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    reversedWaveScreen(cr, 20, 132, 1056, 222);

    plate(cr, 20, 372, 664, 234);
    drawText(cr, "PREFERENCES", 36, 386, Align::Left, TITLE_STYLE);
    for (int i = 0; i < layout::SETTINGS_SWITCH_COUNT; ++i) {
        const Box sw = placed(cr, layout::SETTINGS_SWITCHES[i], SWITCH_SIZE, SWITCH_SIZE);
        drawText(cr, SETTING_TEXTS[i], sw.x + sw.w + 12, sw.y + sw.h / 2, Align::Left, BODY_STYLE);
    }
    const double controlRow = layout::SETTINGS_SWITCHES[0].y + SWITCH_SIZE / 2.0;
    const double sizeRow = layout::SETTINGS_SWITCHES[4].y + SWITCH_SIZE / 2.0;
    drawText(cr, "CONTROL", 108, controlRow, Align::Right, LABEL_STYLE);
    drawText(cr, "WINDOW", 108, sizeRow, Align::Right, LABEL_STYLE);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, 36, sizeRow - 14.5);
    cairo_line_to(cr, 668, sizeRow - 14.5);
    setColour(cr, EDGE_LIGHT, 0.5);
    cairo_stroke(cr);
    TextStyle note = BODY_STYLE;
    note.colour = TEXT_DIM;
    drawText(cr, "A new size applies the next time the editor opens.", 152, 590, Align::Left, note);

    plate(cr, 690, 372, 386, 234);
    drawText(cr, "TIPS", 706, 386, Align::Left, TITLE_STYLE);
    double y = 411;
    for (std::string_view tip : TIPS) {
        led(cr, 710, y, 2, DISPLAY_GRAPHICS, true);
        drawText(cr, tip, 722, y, Align::Left, BODY_STYLE);
        y += 25;
    }

    drawText(cr, "Tidewalker by Ola Marsk", layout::FRAME_WIDTH / 2.0, 622, Align::Centre, note);
}

}  // namespace tidewalker::art
