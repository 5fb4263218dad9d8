#include "resources/generator/Catalogue.h"

#include "resources/FrontPanelLayout.h"
#include "resources/PictureIds.h"
#include "resources/generator/ControlArt.h"
#include "resources/generator/PageArt.h"

namespace tidewalker::art {

namespace {

constexpr double PAGE_W = layout::FRAME_WIDTH;
constexpr double PAGE_H = layout::FRAME_HEIGHT;
constexpr int STRIP = resources::KNOB_FRAME_COUNT;
constexpr double SWITCH = SWITCH_SIZE;

PictureArt key(int id, double width, const char* label) {
    return {id, width, KEY_HEIGHT, 2, [=](cairo_t* cr, int s) { paintKey(cr, s, width, label); }};
}

PictureArt knob(int id, Colour accent) {
    return {id, KNOB_SIZE, KNOB_SIZE, STRIP, [=](cairo_t* cr, int f) { paintKnobFrame(cr, f, STRIP, accent); }};
}

PictureArt labelledSwitch(int id, double width, const char* label, Colour led) {
    return {id, width, KEY_HEIGHT, 2, [=](cairo_t* cr, int s) { paintLabelledSwitch(cr, s, width, label, led); }};
}

PictureArt edited(int id, bool isEdited) {
    return {id, 52, KEY_HEIGHT, 2, [=](cairo_t* cr, int s) { paintEditedKey(cr, s, 52, isEdited); }};
}

PictureArt caption(int id, double width, const char* text) {
    return {id, width, 12, 1, [=](cairo_t* cr, int) { paintCaption(cr, width, 12, text); }};
}

PictureArt mark(int id, double width, double height, bool lit) {
    return {id, width, height, 1, [=](cairo_t* cr, int) { paintMark(cr, width, height, lit); }};
}

PictureArt badge(int id, const char* text) {
    return {id, 40, 16, 1, [=](cairo_t* cr, int) { paintSizeBadge(cr, 40, 16, text); }};
}

std::vector<PictureArt> buildCatalogue() {
    const auto& f = layout::FILTER_FREQUENCY_LABEL;
    const auto& q = layout::FILTER_Q_LABEL;
    const auto& lfo = layout::LFO_FILTER_LABEL;
    const auto& m1 = layout::TRIGGER_MARK_1;
    const auto& m2 = layout::TRIGGER_MARK_2;
    return {
        {10000, PAGE_W, PAGE_H, 1, [](cairo_t* cr, int) { paintFrontPanel(cr); }},
        {10001, PAGE_W, PAGE_H, 1, [](cairo_t* cr, int) { paintSettingsPage(cr); }},
        {10002, 28, 28, 2, [](cairo_t* cr, int s) { paintGearKey(cr, s); }},
        {10008, 7, 54, 1, [](cairo_t* cr, int) { paintMeter(cr, 7, 54); }},
        {10010, 10, 14, 2, [](cairo_t* cr, int s) { paintArrowKey(cr, s, true); }},
        {10011, 10, 14, 2, [](cairo_t* cr, int s) { paintArrowKey(cr, s, false); }},
        {10012, SWITCH, SWITCH, 2, [](cairo_t* cr, int s) { paintLedSwitch(cr, s); }},
        edited(10013, true),
        edited(10014, false),
        {10016, 56, 36, 2, [](cairo_t* cr, int s) { paintTriggerPad(cr, s, 56, 36); }},
        {10017, SWITCH, SWITCH, 2, [](cairo_t* cr, int s) { paintLockSwitch(cr, s); }},
        {10018, SWITCH, SWITCH, 2, [](cairo_t* cr, int s) { paintRadio(cr, s, false); }},
        {10020, SWITCH, SWITCH, 2, [](cairo_t* cr, int s) { paintRadio(cr, s, true); }},
        knob(10022, ACCENT_A),
        knob(10023, ACCENT_B),
        knob(10024, ACCENT_C),
        knob(10025, ACCENT_D),
        edited(10030, false),
        key(10031, KEY_WIDTH, "REVERT"),
        key(10032, KEY_WIDTH, "HELP"),
        {10033, 56, KEY_HEIGHT, 2, [](cairo_t* cr, int s) { paintMenuKey(cr, s, 56, "MIDI"); }},
        key(10034, KEY_WIDTH, "RESET"),
        labelledSwitch(10035, KEY_WIDTH, "BYPASS", LED_AMBER),
        {10036, SWITCH, SWITCH, 2, [](cairo_t* cr, int s) { paintLedSwitch(cr, s); }},
        labelledSwitch(10037, TITLE_SWITCH_WIDTH, "FILTER", LED_CYAN),
        labelledSwitch(10038, TITLE_SWITCH_WIDTH, "LFO", LED_CYAN),
        caption(10040, f.width, "LP FREQ"),
        caption(10041, f.width, "COMB FREQ"),
        caption(10042, lfo.width, "LOWPASS"),
        caption(10043, lfo.width, "COMB"),
        caption(10044, q.width, "LP Q"),
        caption(10045, q.width, "FEEDBACK"),
        mark(10046, m1.width, m1.height, true),
        mark(10047, m1.width, m1.height, false),
        mark(10048, m2.width, m2.height, true),
        mark(10049, m2.width, m2.height, false),
        {10070, 40, 124, 1, [](cairo_t* cr, int) { paintCursor(cr, true); }},
        {10071, 40, 124, 1, [](cairo_t* cr, int) { paintCursor(cr, false); }},
        badge(10100, "100%"),
        badge(10101, "150%"),
        badge(10102, "200%"),
    };
}

}  // namespace

const std::vector<PictureArt>& pictureCatalogue() {
    static const std::vector<PictureArt> catalogue = buildCatalogue();
    return catalogue;
}

}  // namespace tidewalker::art
