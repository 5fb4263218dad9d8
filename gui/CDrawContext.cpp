#include "gui/CDrawContext.h"

#include <cairo.h>

#include <cmath>
#include <string>

#include "gui/CBitmap.h"

namespace VSTGUI {

namespace {

// cairo refuses invalid UTF-8 and then stops drawing altogether; texts that
// arrive as 8-bit bytes are drawn with each bad byte shown as '?'.
std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size() && lead != 0;
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            if (lead == 0) break;
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

}  // namespace

CDrawContext::CDrawContext(cairo_surface_t* surface) : cairo(cairo_create(surface)), ownsCairo(true) {
    double x1, y1, x2, y2;
    cairo_clip_extents(cairo, &x1, &y1, &x2, &y2);
    fullClip = state.clip = CRect(x1, y1, x2, y2);
    applyClipAndOffset();
}

CDrawContext::CDrawContext(cairo_t* cairo) : cairo(cairo), ownsCairo(false) {
    cairo_save(cairo);
    double x1, y1, x2, y2;
    cairo_clip_extents(cairo, &x1, &y1, &x2, &y2);
    fullClip = state.clip = CRect(x1, y1, x2, y2);
    applyClipAndOffset();
}

CDrawContext::~CDrawContext() {
    if (ownsCairo)
        cairo_destroy(cairo);
    else
        cairo_restore(cairo);
}

void CDrawContext::setLineWidth(CCoord width) { state.lineWidth = std::isfinite(width) && width > 0 ? width : 1; }

void CDrawContext::setDrawMode(std::int32_t mode) { state.drawMode = mode & kAntiAliasing; }

void CDrawContext::setFont(CFontRef font, CCoord size, std::int32_t style) {
    if (!font) return;
    state.font = font;
    state.fontSize = size > 0 ? size : font->getSize();
    state.fontStyle = style >= 0 ? style : font->getStyle();
}

void CDrawContext::applyClipAndOffset() {
    cairo_reset_clip(cairo);
    cairo_identity_matrix(cairo);
    cairo_rectangle(cairo, state.clip.left, state.clip.top, std::max(0.0, state.clip.getWidth()),
                    std::max(0.0, state.clip.getHeight()));
    cairo_clip(cairo);
    cairo_translate(cairo, state.offset.x, state.offset.y);
}

void CDrawContext::applyColor(const CColor& color) {
    cairo_set_source_rgba(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0, color.alpha / 255.0);
    cairo_set_antialias(cairo, state.drawMode == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

CCoord CDrawContext::strokeShift() const {
    const long whole = std::lround(state.lineWidth);
    return (whole % 2 == 1 && std::abs(state.lineWidth - whole) < 1e-9) ? 0.5 : 0.0;
}

void CDrawContext::stroke() {
    applyColor(state.frameColor);
    cairo_set_line_width(cairo, state.lineWidth);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cairo);
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end) {
    const CCoord s = strokeShift();
    // Along a horizontal or vertical line the ends stay on pixel edges, so
    // the line covers exactly the pixels between them.
    const CCoord dx = start.y == end.y ? 0 : s;
    const CCoord dy = start.x == end.x ? 0 : s;
    cairo_move_to(cairo, start.x + dx, start.y + dy);
    cairo_line_to(cairo, end.x + dx, end.y + dy);
    stroke();
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style) {
    if (style != kDrawStroked) {
        cairo_rectangle(cairo, rect.left, rect.top, rect.getWidth(), rect.getHeight());
        applyColor(state.fillColor);
        cairo_fill(cairo);
    }
    if (style != kDrawFilled) {
        const CCoord half = state.lineWidth / 2;
        cairo_rectangle(cairo, rect.left + half, rect.top + half, rect.getWidth() - state.lineWidth,
                        rect.getHeight() - state.lineWidth);
        stroke();
    }
}

void CDrawContext::drawPolygon(const std::vector<CPoint>& points, CDrawStyle style) {
    if (points.size() < 2) return;
    auto tracePath = [&](CCoord shift) {
        cairo_move_to(cairo, points[0].x + shift, points[0].y + shift);
        for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cairo, points[i].x + shift, points[i].y + shift);
        cairo_close_path(cairo);
    };
    if (style != kDrawStroked) {
        tracePath(0);
        applyColor(state.fillColor);
        cairo_fill(cairo);
    }
    if (style != kDrawFilled) {
        tracePath(strokeShift());
        stroke();
    }
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha) {
    if (!bitmap || !bitmap->getSurface() || dest.isEmpty() || !(alpha > 0)) return;
    cairo_save(cairo);
    cairo_rectangle(cairo, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cairo);
    cairo_set_source_surface(cairo, bitmap->getSurface(), dest.left - offset.x, dest.top - offset.y);
    cairo_paint_with_alpha(cairo, std::min(1.f, alpha));
    cairo_restore(cairo);
}

void CDrawContext::applyFont(bool antialias) {
    const CFontDesc* font = state.font ? state.font : kNormalFont;
    cairo_select_font_face(cairo, font->getName().c_str(),
                           (state.fontStyle & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (state.fontStyle & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, state.fontSize);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
}

CCoord CDrawContext::getStringWidth(std::string_view text) {
    const std::string utf8 = validUtf8(text);
    applyFont(true);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, utf8.c_str(), &extents);
    return extents.x_advance;
}

void CDrawContext::drawString(std::string_view text, const CRect& rect, CHoriTxtAlign align, bool antialias) {
    const std::string utf8 = validUtf8(text);
    if (utf8.empty()) return;
    applyFont(antialias);
    cairo_text_extents_t textExtents;
    cairo_text_extents(cairo, utf8.c_str(), &textExtents);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cairo, &fontExtents);
    CCoord x = rect.left;
    if (align == kCenterText)
        x = rect.left + (rect.getWidth() - textExtents.x_advance) / 2;
    else if (align == kRightText)
        x = rect.right - textExtents.x_advance;
    const CCoord baseline = rect.top + (rect.getHeight() + fontExtents.ascent - fontExtents.descent) / 2;
    applyColor(state.fontColor);
    cairo_move_to(cairo, std::round(x), std::round(baseline));
    cairo_show_text(cairo, utf8.c_str());
    cairo_new_path(cairo);
}

void CDrawContext::setClipRect(const CRect& clip) {
    state.clip = clip;
    state.clip.offset(state.offset.x, state.offset.y);
    applyClipAndOffset();
}

CRect CDrawContext::getClipRect() const {
    CRect clip = state.clip;
    return clip.offset(-state.offset.x, -state.offset.y);
}

void CDrawContext::resetClipRect() {
    state.clip = fullClip;
    applyClipAndOffset();
}

void CDrawContext::setOffset(const CPoint& offset) {
    state.offset = offset;
    applyClipAndOffset();
}

void CDrawContext::saveGlobalState() { savedStates.push_back(state); }

void CDrawContext::restoreGlobalState() {
    if (savedStates.empty()) return;
    state = savedStates.back();
    savedStates.pop_back();
    applyClipAndOffset();
}

}  // namespace VSTGUI
