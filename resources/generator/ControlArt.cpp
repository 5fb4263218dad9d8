#include "resources/generator/ControlArt.h"

#include <cmath>

#include "resources/generator/Draw.h"

namespace tidewalker::art {

namespace {

constexpr double SWEEP_START = 0.75 * M_PI;  // lower left
constexpr double SWEEP = 1.5 * M_PI;         // 270 degrees, ending lower right

const TextStyle KEY_TEXT{8.0, true, true, 0.9, TEXT_LABEL};

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

}  // namespace

void paintKnobFrame(cairo_t* cr, int frame, int frameCount, Colour accent) {
    const double c = KNOB_SIZE / 2.0;
    const double value = frameCount > 1 ? double(frame) / (frameCount - 1) : 0.0;
    const double angle = SWEEP_START + SWEEP * value;
    const double ringRadius = 18.0;

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 3.2);
    cairo_arc(cr, c, c, ringRadius, SWEEP_START, SWEEP_START + SWEEP);
    setColour(cr, FIELD);
    cairo_stroke(cr);
    if (frame > 0) {
        cairo_set_line_width(cr, 6.0);
        cairo_arc(cr, c, c, ringRadius, SWEEP_START, angle);
        setColour(cr, accent, 0.16);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 2.6);
        cairo_arc(cr, c, c, ringRadius, SWEEP_START, angle);
        setColour(cr, accent);
        cairo_stroke(cr);
    }

    // Body: soft drop shadow, a lit-from-above skirt and a flatter cap.
    cairo_arc(cr, c + 0.6, c + 1.6, 14.0, 0, 2 * M_PI);
    setColour(cr, EDGE_DARK, 0.6);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 13.5, 0, 2 * M_PI);
    verticalGradient(cr, c - 13.5, c + 13.5, KNOB_BODY_TOP, KNOB_BODY_BOTTOM);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 10.5, 0, 2 * M_PI);
    verticalGradient(cr, c - 10.5, c + 10.5, rgb(36, 58, 90), rgb(44, 68, 102));
    cairo_fill(cr);
    cairo_arc(cr, c, c, 13.0, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.0);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, c - 13, 0, c + 13);
    cairo_pattern_add_color_stop_rgba(rim, 0, 0.65, 0.78, 0.92, 0.75);
    cairo_pattern_add_color_stop_rgba(rim, 0.5, 0.4, 0.5, 0.65, 0.1);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.3);
    cairo_set_source(cr, rim);
    cairo_pattern_destroy(rim);
    cairo_stroke(cr);

    const double dx = std::cos(angle);
    const double dy = std::sin(angle);
    cairo_set_line_width(cr, 2.2);
    cairo_move_to(cr, c + dx * 4.5, c + dy * 4.5);
    cairo_line_to(cr, c + dx * 11.5, c + dy * 11.5);
    setColour(cr, KNOB_POINTER);
    cairo_stroke(cr);
    cairo_arc(cr, c + dx * ringRadius, c + dy * ringRadius, 1.6, 0, 2 * M_PI);
    setColour(cr, frame > 0 ? mix(accent, TEXT_BRIGHT, 0.5) : TEXT_DIM);
    cairo_fill(cr);
}

void paintKey(cairo_t* cr, int state, double width, std::string_view label) {
    const bool down = state == 1;
    keyCap(cr, 0, 0, width, KEY_HEIGHT, down);
    TextStyle text = KEY_TEXT;
    if (down) text.colour = LED_CYAN;
    drawText(cr, label, width / 2, KEY_HEIGHT / 2.0 + (down ? 0.5 : 0), Align::Centre, text);
}

void paintMenuKey(cairo_t* cr, int state, double width, std::string_view label) {
    const bool down = state == 1;
    keyCap(cr, 0, 0, width, KEY_HEIGHT, down);
    TextStyle text = KEY_TEXT;
    if (down) text.colour = LED_CYAN;
    const double y = KEY_HEIGHT / 2.0 + (down ? 0.5 : 0);
    drawText(cr, label, width / 2 - 4, y, Align::Centre, text);
    setColour(cr, text.colour);
    cairo_move_to(cr, width - 14, y - 1.5);
    cairo_line_to(cr, width - 8, y - 1.5);
    cairo_line_to(cr, width - 11, y + 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void paintArrowKey(cairo_t* cr, int state, bool pointsLeft) {
    setColour(cr, state == 1 ? LED_CYAN : TEXT_LABEL);
    triangle(cr, 5, 7, 6, 8, pointsLeft);
}

void paintGearKey(cairo_t* cr, int state) {
    const bool down = state == 1;
    const double c = 14;
    cairo_arc(cr, c, c, 13, 0, 2 * M_PI);
    setColour(cr, EDGE_DARK);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 12, 0, 2 * M_PI);
    if (down)
        verticalGradient(cr, 2, 26, rgb(14, 28, 50), rgb(28, 48, 78));
    else
        verticalGradient(cr, 2, 26, rgb(52, 80, 116), rgb(26, 46, 74));
    cairo_fill(cr);

    // Eight teeth around a ring with a hole.
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = 2 * M_PI * i / (teeth * 2);
        const double a1 = 2 * M_PI * (i + 1) / (teeth * 2);
        const double r = (i % 2 == 0) ? 7.6 : 5.8;
        cairo_arc(cr, c, c, r, a0, a1);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c, c, 2.6, 2 * M_PI, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    setColour(cr, down ? LED_CYAN : TEXT_LABEL);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void paintEditedKey(cairo_t* cr, int state, double width, bool edited) {
    const bool down = state == 1;
    keyCap(cr, 0, 0, width, KEY_HEIGHT, down);
    led(cr, 7, KEY_HEIGHT / 2.0, 2.6, LED_AMBER, edited);
    TextStyle text = KEY_TEXT;
    text.tracking = 0.4;
    text.colour = edited ? TEXT_BRIGHT : TEXT_DIM;
    drawText(cr, "EDITED", 12 + (width - 14) / 2, KEY_HEIGHT / 2.0 + (down ? 0.5 : 0), Align::Centre, text);
}

void paintLedSwitch(cairo_t* cr, int state) {
    const double s = SWITCH_SIZE;
    recessedField(cr, 2, 2, s - 4, s - 4, 4);
    led(cr, s / 2, s / 2, 4.2, LED_CYAN, state == 1);
}

void paintLabelledSwitch(cairo_t* cr, int state, double width, std::string_view label, Colour ledColour) {
    const bool on = state == 1;
    keyCap(cr, 0, 0, width, KEY_HEIGHT, false);
    led(cr, 9, KEY_HEIGHT / 2.0, 2.8, ledColour, on);
    TextStyle text = KEY_TEXT;
    text.colour = on ? TEXT_BRIGHT : TEXT_LABEL;
    drawText(cr, label, 9 + (width - 9) / 2, KEY_HEIGHT / 2.0, Align::Centre, text);
}

void paintTriggerPad(cairo_t* cr, int state, double width, double height) {
    const bool on = state == 1;
    keyCap(cr, 0, 0, width, height, on);
    if (on) {
        roundedRect(cr, 1, 1, width - 2, height - 2, 2.5);
        cairo_pattern_t* glow = cairo_pattern_create_radial(width / 2, height / 2, 2, width / 2, height / 2, width / 2);
        cairo_pattern_add_color_stop_rgba(glow, 0, LED_CYAN.r, LED_CYAN.g, LED_CYAN.b, 0.35);
        cairo_pattern_add_color_stop_rgba(glow, 1, LED_CYAN.r, LED_CYAN.g, LED_CYAN.b, 0.05);
        cairo_set_source(cr, glow);
        cairo_pattern_destroy(glow);
        cairo_fill(cr);
    }
    // Two "play backwards" triangles above the word.
    setColour(cr, on ? TEXT_BRIGHT : TEXT_LABEL);
    triangle(cr, width / 2 - 3.5, height / 2 - 4.5, 7, 8, true);
    triangle(cr, width / 2 + 3.5, height / 2 - 4.5, 7, 8, true);
    TextStyle text = KEY_TEXT;
    text.size = 7.5;
    text.colour = on ? TEXT_BRIGHT : TEXT_LABEL;
    drawText(cr, "TRIGGER", width / 2, height / 2 + 7.5, Align::Centre, text);
}

void paintLockSwitch(cairo_t* cr, int state) {
    const bool on = state == 1;
    const double s = SWITCH_SIZE;
    recessedField(cr, 2, 2, s - 4, s - 4, 4);
    const Colour c = on ? LED_CYAN : TEXT_DIM;
    // Shackle: closed over the body when locked, lifted and open when not.
    cairo_set_line_width(cr, 1.6);
    setColour(cr, c);
    const double lift = on ? 0 : 2.0;
    cairo_move_to(cr, 8, 10.5 - lift);
    cairo_arc(cr, 11, 8.5 - lift, 3, M_PI, 2 * M_PI);
    cairo_line_to(cr, 14, on ? 10.5 : 7.0);
    cairo_stroke(cr);
    roundedRect(cr, 6.5, 10, 9, 7, 1.2);
    cairo_fill(cr);
    if (on) {
        cairo_arc(cr, 11, 13.5, 3.5, 0, 2 * M_PI);
        setColour(cr, LED_CYAN, 0.25);
        cairo_fill(cr);
    }
}

void paintRadio(cairo_t* cr, int state, bool lit) {
    const double c = SWITCH_SIZE / 2.0;
    cairo_arc(cr, c, c + 0.5, 8, 0, 2 * M_PI);
    setColour(cr, EDGE_LIGHT, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 8, 0, 2 * M_PI);
    setColour(cr, EDGE_DARK);
    cairo_fill(cr);
    cairo_arc(cr, c, c, 7, 0, 2 * M_PI);
    setColour(cr, FIELD);
    cairo_fill(cr);
    if (lit) {
        cairo_arc(cr, c, c, 7, 0, 2 * M_PI);
        cairo_set_line_width(cr, 1.2);
        setColour(cr, LED_AMBER, 0.8);
        cairo_stroke(cr);
    }
    led(cr, c, c, 3.8, lit ? LED_AMBER : LED_CYAN, state == 1);
}

void paintMeter(cairo_t* cr, double width, double height) {
    // Cool blue at the bottom through cyan to a hot top, like the display.
    const int segments = 18;
    double sx = 1, sy = 1;
    cairo_user_to_device_distance(cr, &sx, &sy);
    const double deviceHeight = std::floor(height * sy);
    const double gap = std::max(1.0, std::floor(sy));
    for (int i = 0; i < segments; ++i) {
        const double bottom = deviceHeight - std::round(i * deviceHeight / segments);
        const double top = deviceHeight - std::round((i + 1) * deviceHeight / segments);
        const double t = double(i) / (segments - 1);
        Colour c = t < 0.6 ? mix(DISPLAY_GRAPHICS, LED_CYAN, t / 0.6) : t < 0.85 ? mix(LED_CYAN, TEXT_BRIGHT, (t - 0.6) / 0.25) : LED_AMBER;
        if (i == segments - 1) c = LED_RED;
        cairo_rectangle(cr, 0, top / sy, width, (bottom - top - gap) / sy);
        setColour(cr, c);
        cairo_fill(cr);
    }
}

void paintCaption(cairo_t* cr, double width, double height, std::string_view text) {
    drawText(cr, text, width / 2, height / 2, Align::Centre, LABEL_STYLE);
}

void paintMark(cairo_t* cr, double width, double height, bool lit) {
    cairo_rectangle(cr, 0, 0, width, height);
    setColour(cr, lit ? LED_CYAN : LED_OFF);
    cairo_fill(cr);
}

void paintCursor(cairo_t* cr, bool recording) {
    const double x = 20;
    const Colour c = recording ? LED_RED : LED_CYAN;
    // The recording cursor hangs above the input lane, the playback cursor
    // starts just above the output lane.
    const double lineTop = recording ? 24 : 19;
    cairo_set_line_width(cr, 1.5);
    cairo_pattern_t* line = cairo_pattern_create_linear(0, lineTop, 0, lineTop + 100);
    cairo_pattern_add_color_stop_rgba(line, 0, c.r, c.g, c.b, 0.95);
    cairo_pattern_add_color_stop_rgba(line, 1, c.r, c.g, c.b, 0.35);
    cairo_set_source(cr, line);
    cairo_pattern_destroy(line);
    cairo_move_to(cr, x, lineTop);
    cairo_line_to(cr, x, lineTop + 100);
    cairo_stroke(cr);
    if (recording) {
        led(cr, x, lineTop - 7, 3.5, c, true);
    } else {
        setColour(cr, c);
        triangle(cr, x, lineTop - 6, 8, 8, true);
    }
}

void paintSizeBadge(cairo_t* cr, double width, double height, std::string_view text) {
    recessedField(cr, 0.5, 0.5, width - 1, height - 1.5, 3);
    drawText(cr, text, width / 2, height / 2 - 0.5, Align::Centre, LABEL_STYLE);
}

}  // namespace tidewalker::art
