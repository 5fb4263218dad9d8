// Drawing onto a cairo surface with VSTGUI's drawing vocabulary.
//
// Pixel rules (so that aliased drawing hits exact pixels):
// - a filled rectangle covers pixels left..right-1, top..bottom-1;
// - a stroked rectangle draws its outline inside those pixels;
// - lines of odd whole widths run through pixel centres, so a 1-pixel line
//   from (x1, y) to (x2, y) covers pixels x1..x2-1 of row y;
// - bitmaps are copied 1:1 at whole-pixel positions.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "gui/CColor.h"
#include "gui/CFontDesc.h"
#include "gui/CRect.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CBitmap;

enum CDrawStyle : std::int32_t { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
enum CDrawModeFlags : std::int32_t { kAliasing = 0, kAntiAliasing = 1 };
enum CHoriTxtAlign : std::int32_t { kLeftText = 0, kCenterText, kRightText };

class CDrawContext {
public:
    // Draws onto `surface`; the surface's top-left pixel is (0, 0) until setOffset.
    explicit CDrawContext(cairo_surface_t* surface);  // control
    // Draws through an existing cairo context, which the caller keeps.
    explicit CDrawContext(cairo_t* cairo);  // control
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    ~CDrawContext();

    void setLineWidth(CCoord width);  // control
    CCoord getLineWidth() const { return state.lineWidth; }  // control
    void setDrawMode(std::int32_t mode);  // control
    std::int32_t getDrawMode() const { return state.drawMode; }  // control
    void setFrameColor(const CColor& color) { state.frameColor = color; }  // control
    const CColor& getFrameColor() const { return state.frameColor; }  // control
    void setFillColor(const CColor& color) { state.fillColor = color; }  // control
    const CColor& getFillColor() const { return state.fillColor; }  // control
    void setFontColor(const CColor& color) { state.fontColor = color; }  // control
    const CColor& getFontColor() const { return state.fontColor; }  // control
    // size 0 keeps the font's own size, style -1 its own style.
    void setFont(CFontRef font, CCoord size = 0, std::int32_t style = -1);  // control
    CFontRef getFont() const { return state.font; }  // control

    void drawLine(const CPoint& start, const CPoint& end);  // control
    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);  // control
    void drawPolygon(const std::vector<CPoint>& points, CDrawStyle style = kDrawStroked);  // control
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.f);  // control
    // Text vertically centred in rect and aligned horizontally; not clipped.
    void drawString(std::string_view text, const CRect& rect, CHoriTxtAlign align = kCenterText,
                    bool antialias = true);  // control
    CCoord getStringWidth(std::string_view text);  // control

    // The clip rectangle, in the current (offset) coordinates.
    void setClipRect(const CRect& clip);  // control
    CRect getClipRect() const;  // control
    void resetClipRect();  // control
    // Moves the coordinate origin: drawing at (0, 0) lands at `offset` of the surface.
    void setOffset(const CPoint& offset);  // control
    const CPoint& getOffset() const { return state.offset; }  // control
    // Saves and restores colours, widths, font, clip and offset together.
    void saveGlobalState();  // control
    void restoreGlobalState();  // control

private:
    struct State {
        CColor frameColor = kBlackCColor;
        CColor fillColor = kWhiteCColor;
        CColor fontColor = kWhiteCColor;
        CCoord lineWidth = 1;
        std::int32_t drawMode = kAliasing;
        CFontRef font = kNormalFont;
        CCoord fontSize = 12;
        std::int32_t fontStyle = kNormalFace;
        CPoint offset;
        CRect clip;  // surface coordinates
    };

    void applyClipAndOffset();
    void applyColor(const CColor& color);
    void applyFont(bool antialias);
    CCoord strokeShift() const;
    void stroke();

    cairo_t* cairo;
    bool ownsCairo;
    State state;
    CRect fullClip;
    std::vector<State> savedStates;
};

}  // namespace VSTGUI
