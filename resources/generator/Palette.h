// The colours of the editor's art. Everything is built around the reverse
// display's three blues so the panel and the graph read as one surface.
#pragma once

namespace tidewalker::art {

struct Colour {
    double r;
    double g;
    double b;
};

constexpr Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// The reverse display's own colours.
inline constexpr Colour DISPLAY_BACK = rgb(0, 16, 40);
inline constexpr Colour DISPLAY_LINES = rgb(0, 44, 80);
inline constexpr Colour DISPLAY_GRAPHICS = rgb(0, 102, 160);

inline constexpr Colour PANEL_TOP = rgb(22, 44, 76);
inline constexpr Colour PANEL_BOTTOM = rgb(10, 24, 46);
inline constexpr Colour PLATE_TOP = rgb(20, 42, 72);
inline constexpr Colour PLATE_BOTTOM = rgb(14, 32, 58);
inline constexpr Colour EDGE_LIGHT = rgb(48, 82, 124);
inline constexpr Colour EDGE_DARK = rgb(3, 10, 24);
inline constexpr Colour SCREEN_LANE = rgb(5, 28, 58);
inline constexpr Colour FIELD = rgb(2, 13, 31);
inline constexpr Colour FIELD_EDGE = rgb(34, 62, 98);

inline constexpr Colour TEXT_TITLE = rgb(208, 224, 244);
inline constexpr Colour TEXT_LABEL = rgb(146, 174, 208);
inline constexpr Colour TEXT_DIM = rgb(84, 110, 144);
inline constexpr Colour TEXT_BRIGHT = rgb(236, 246, 255);

inline constexpr Colour LED_OFF = rgb(16, 40, 68);
inline constexpr Colour LED_CYAN = rgb(96, 206, 255);
inline constexpr Colour LED_AMBER = rgb(255, 164, 64);
inline constexpr Colour LED_RED = rgb(255, 92, 84);

inline constexpr Colour KNOB_BODY_TOP = rgb(62, 90, 128);
inline constexpr Colour KNOB_BODY_BOTTOM = rgb(20, 36, 60);
inline constexpr Colour KNOB_POINTER = rgb(232, 242, 252);

// Knob strip accents: A general, B LFO amounts, C filter section, D spare.
inline constexpr Colour ACCENT_A = rgb(56, 178, 255);
inline constexpr Colour ACCENT_B = rgb(156, 124, 255);
inline constexpr Colour ACCENT_C = rgb(0, 216, 180);
inline constexpr Colour ACCENT_D = rgb(255, 170, 66);

inline constexpr Colour CARD = rgb(196, 212, 232);

}  // namespace tidewalker::art
