// Font descriptions and the standard fonts.
//
// The standard fonts are DejaVu Sans at fixed pixel sizes (VSTGUI's sizes):
//   kNormalFontVeryBig 18, kNormalFontBig 14, kNormalFont 12,
//   kNormalFontSmall 11, kNormalFontSmaller 10, kNormalFontVerySmall 9.
// They do not grow by themselves: a bigger editor picks a bigger font.
#pragma once

#include <cstdint>
#include <string>

#include "gui/CPoint.h"

namespace VSTGUI {

enum CTxtFace : std::int32_t {
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
};

class CFontDesc {
public:
    CFontDesc(std::string name, CCoord size, std::int32_t style = kNormalFace)
        : name(std::move(name)), size(size), style(style) {}

    const std::string& getName() const { return name; }  // any
    CCoord getSize() const { return size; }  // any
    std::int32_t getStyle() const { return style; }  // any

private:
    std::string name;
    CCoord size;
    std::int32_t style;
};

using CFontRef = const CFontDesc*;

extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;

}  // namespace VSTGUI
