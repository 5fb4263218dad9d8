#include <cmath>
#include <string_view>

#include "resources/FrontPanelLayout.h"
#include "resources/generator/ControlArt.h"
#include "resources/generator/Draw.h"
#include "resources/generator/PageArt.h"
#include "resources/generator/PageParts.h"

namespace tidewalker::art {

namespace {

using layout::PanelRect;

enum class Side { Left, Right, Below };

// Captions printed on the panel. Knobs are captioned by parameter index; the
// three filter-related knobs are left out because their captions are
// pictures that follow the filter mode.
struct KnobCaption {
    int parameter;
    std::string_view text;
};
constexpr KnobCaption KNOB_CAPTIONS[] = {
    {2, "DRY"},      {3, "WET"},     {9, "THRESHOLD"}, {6, "OFFSET"},   {10, "HOLD"},   {8, "LENGTH"},
    {5, "ATTACK"},   {4, "DECAY"},   {34, "ZOOM"},     {16, "DISTORT"}, {18, "HP FREQ"}, {20, "HP Q"},
    {25, "SPEED"},   {27, "VOLUME"}, {28, "PAN"},      {30, "HIGHPASS"},
};

struct SwitchCaption {
    int tag;
    std::string_view text;
    Side side;
};
constexpr SwitchCaption SWITCH_CAPTIONS[] = {
    {12, "MUTE", Side::Left}, {11, "MUTE", Side::Left}, {7, "SYNC", Side::Right},
    {31, "COMB", Side::Right}, {26, "SYNC", Side::Right}, {510, "LOCK", Side::Below},
};

// In the order of the trigger-mode radios.
struct RadioCaption {
    std::string_view text;
    Side side;
};
constexpr RadioCaption RADIO_CAPTIONS[3] = {{"AUDIO", Side::Right}, {"MANUAL", Side::Below}, {"HOST", Side::Right}};

struct MenuCaption {
    PanelRect menu;
    std::string_view text;
};
constexpr MenuCaption MENU_CAPTIONS[] = {
    {layout::LFO_MODE_MENU, "MODE"}, {layout::LFO_PHASE_MENU, "PHASE"}, {layout::LFO_WAVE_MENU, "WAVE"}};

// Section plates: x, y, width, height.
constexpr Box TRIGGER_PLATE{20, 381, 474, 116};
constexpr Box REVERSE_PLATE{500, 381, 348, 116};
constexpr Box FILTER_PLATE{854, 381, 222, 256};
constexpr Box LFO_PLATE{20, 501, 828, 136};

constexpr double KNOB_CAPTION_DY = 65;  // below the read-out, level with the mode captions
constexpr double CAPTION_GAP = 5;

// A title followed by a hairline rule that runs to `ruleEnd`.
void sectionTitle(cairo_t* cr, std::string_view text, double x, double y, double ruleEnd) {
    drawText(cr, text, x, y, Align::Left, TITLE_STYLE);
    rule(cr, x + textWidth(cr, text, TITLE_STYLE) + 8, ruleEnd, y);
}

// A rule that continues a section's heading switch to the right.
void ruleAfterSwitch(cairo_t* cr, const int (&onOff)[4], double ruleEnd) {
    rule(cr, onOff[1] + TITLE_SWITCH_WIDTH + 8, ruleEnd, onOff[2] + KEY_HEIGHT / 2.0);
}

void centredTitle(cairo_t* cr, std::string_view text, double centreX, double y, double ruleFrom, double ruleTo) {
    const double half = textWidth(cr, text, TITLE_STYLE) / 2;
    drawText(cr, text, centreX, y, Align::Centre, TITLE_STYLE);
    rule(cr, ruleFrom, centreX - half - 8, y);
    rule(cr, centreX + half + 8, ruleTo, y);
}

void menuField(cairo_t* cr, const Box& b) {
    recessedField(cr, b.x, b.y, b.w, b.h, 3);
    setColour(cr, TEXT_DIM);
    const double cx = b.x + b.w - 7, cy = b.y + b.h / 2;
    cairo_move_to(cr, cx - 3, cy - 1.5);
    cairo_line_to(cr, cx + 3, cy - 1.5);
    cairo_line_to(cr, cx, cy + 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void captionBeside(cairo_t* cr, std::string_view text, const Box& view, Side side) {
    switch (side) {
        case Side::Left:
            drawText(cr, text, view.x - CAPTION_GAP + 1, view.y + view.h / 2, Align::Right, LABEL_STYLE);
            break;
        case Side::Right:
            drawText(cr, text, view.x + view.w + CAPTION_GAP - 1, view.y + view.h / 2, Align::Left, LABEL_STYLE);
            break;
        case Side::Below:
            drawText(cr, text, view.x + view.w / 2, view.y + view.h + CAPTION_GAP + 1, Align::Centre, LABEL_STYLE);
            break;
    }
}

void header(cairo_t* cr) {
    drawText(cr, "PRESET", layout::PRESET_MENU.x - 6, layout::PRESET_MENU.y + 11, Align::Right, LABEL_STYLE);
    drawText(cr, "BANK", layout::BANK_PREVIOUS.x - 5, layout::BANK_MENU.y + 11, Align::Right, LABEL_STYLE);
    menuField(cr, placed(cr, layout::PRESET_MENU));
    menuField(cr, placed(cr, layout::BANK_MENU));

    // Meter wells with unlit segments; the meter pictures light them up.
    for (int pair = 0; pair < 2; ++pair) {
        const PanelRect& left = layout::VU_METERS[pair * 2];
        const PanelRect& right = layout::VU_METERS[pair * 2 + 1];
        recessedField(cr, left.x - 3, left.y - 3, right.x + right.width - left.x + 6, left.height + 6, 2);
        for (const PanelRect* meter : {&left, &right}) {
            const Box b = placed(cr, *meter);
            cairo_save(cr);
            cairo_translate(cr, b.x, b.y);
            cairo_push_group(cr);
            paintMeter(cr, b.w, b.h);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, 0.14);
            cairo_restore(cr);
        }
        const double centre = (left.x + right.x + right.width) / 2.0;
        drawText(cr, pair == 0 ? "IN" : "OUT", centre, left.y + left.height + 10, Align::Centre, SMALL_STYLE);
    }
    logo(cr, 1074, 46);
}

void reverseDisplay(cairo_t* cr) {
    const Box v = placed(cr, layout::REVERSE_DISPLAY);
    recessedField(cr, v.x - 4, v.y - 4, v.w + 8, v.h + 8, 6, rgb(3, 21, 47));
    // Lanes and zoom wells at the positions the display draws into.
    const double graphLeft = v.x + 4, graphWidth = v.w - 40;
    for (double laneTop : {v.y + 25, v.y + 155}) {
        cairo_rectangle(cr, graphLeft, laneTop, graphWidth, 100);
        setColour(cr, SCREEN_LANE);
        cairo_fill(cr);
        cairo_set_line_width(cr, 1);
        for (double edge : {laneTop + 0.5, laneTop + 99.5}) {
            cairo_move_to(cr, graphLeft, edge);
            cairo_line_to(cr, graphLeft + graphWidth, edge);
        }
        setColour(cr, DISPLAY_LINES, 0.8);
        cairo_stroke(cr);
        recessedField(cr, graphLeft + graphWidth + 12, laneTop + 4, 24, 100, 2, DISPLAY_BACK);
    }
    drawText(cr, "ZOOM", graphLeft + graphWidth + 24, v.y + 13, Align::Centre, SMALL_STYLE);
}

void sections(cairo_t* cr) {
    for (const Box& b : {TRIGGER_PLATE, REVERSE_PLATE, FILTER_PLATE, LFO_PLATE}) plate(cr, b.x, b.y, b.w, b.h);

    sectionTitle(cr, "TRIGGER", 30, 396, layout::TRIGGER_RADIOS[0].x - 8);
    centredTitle(cr, "REVERSE", 682, 396, 578, 786);
}

void knobCaptions(cairo_t* cr) {
    for (const auto& row : layout::KNOBS) {
        const int parameter = row[0];
        const double x = row[1], y = row[2];
        const bool above = parameter == layout::READ_OUT_ABOVE_PARAMETER;
        const double readOutY = y + (above ? layout::READ_OUT_DY_ABOVE : layout::READ_OUT_DY);
        const Box field = placed(cr, {int(x) + layout::READ_OUT_DX, int(readOutY), 0, 0}, layout::READ_OUT_WIDTH,
                                 layout::READ_OUT_HEIGHT);
        recessedField(cr, field.x, field.y, field.w, field.h, 2.5);
        for (const KnobCaption& caption : KNOB_CAPTIONS) {
            if (caption.parameter != parameter) continue;
            // With the read-out above, the caption takes the read-out's usual place.
            const double captionY =
                above ? y + layout::READ_OUT_DY + layout::READ_OUT_HEIGHT / 2.0 : y + KNOB_CAPTION_DY;
            drawText(cr, caption.text, x + KNOB_SIZE / 2.0, captionY, Align::Centre, LABEL_STYLE);
        }
    }
}

void switchCaptions(cairo_t* cr) {
    for (const auto& row : layout::ON_OFFS) {
        for (const SwitchCaption& caption : SWITCH_CAPTIONS) {
            if (caption.tag != row[0]) continue;
            captionBeside(cr, caption.text, placed(cr, {row[1], row[2], 0, 0}, SWITCH_SIZE, SWITCH_SIZE), caption.side);
        }
    }
    for (int i = 0; i < 3; ++i)
        captionBeside(cr, RADIO_CAPTIONS[i].text, placed(cr, layout::TRIGGER_RADIOS[i], SWITCH_SIZE, SWITCH_SIZE),
                      RADIO_CAPTIONS[i].side);
}

void lfoSection(cairo_t* cr) {
    for (const MenuCaption& caption : MENU_CAPTIONS) {
        const Box b = placed(cr, caption.menu);
        menuField(cr, b);
        drawText(cr, caption.text, b.x + b.w / 2, b.y - 6, Align::Centre, LABEL_STYLE);
    }
    const Box speed = placed(cr, layout::LFO_SPEED_TEXT);
    recessedField(cr, speed.x, speed.y, speed.w, speed.h, 3);

    const Box screen = placed(cr, layout::LFO_SCREEN);
    recessedField(cr, screen.x - 2, screen.y - 2, screen.w + 4, screen.h + 4, 4, DISPLAY_BACK);
    cairo_set_line_width(cr, 1);
    for (int i = 1; i < 4; ++i) {
        const double gx = std::floor(screen.x + screen.w * i / 4) + 0.5;
        const double gy = std::floor(screen.y + screen.h * i / 4) + 0.5;
        cairo_move_to(cr, gx, screen.y);
        cairo_line_to(cr, gx, screen.y + screen.h);
        cairo_move_to(cr, screen.x, gy);
        cairo_line_to(cr, screen.x + screen.w, gy);
    }
    setColour(cr, DISPLAY_LINES, 0.7);
    cairo_stroke(cr);

    ruleAfterSwitch(cr, layout::ON_OFFS[7], layout::LFO_SCREEN.x - 10);
    centredTitle(cr, "MODULATION", 681, 522, 527, 836);
}

void filterSection(cairo_t* cr) {
    ruleAfterSwitch(cr, layout::ON_OFFS[5], FILTER_PLATE.x + FILTER_PLATE.w - 10);
    drawText(cr, "HIGHPASS", 968, 580, Align::Centre, TITLE_STYLE);
}

}  // namespace

void paintFrontPanel(cairo_t* cr) {
    pageBackground(cr, layout::FRAME_WIDTH, layout::FRAME_HEIGHT);
    header(cr);
    reverseDisplay(cr);
    sections(cr);
    lfoSection(cr);
    filterSection(cr);
    knobCaptions(cr);
    switchCaptions(cr);
}

}  // namespace tidewalker::art
