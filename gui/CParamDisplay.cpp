#include "gui/CParamDisplay.h"

#include <cstdio>

#include "gui/CBitmap.h"

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, std::int32_t style)
    : CControl(size, nullptr, -1, background), style(style) {}

std::string CParamDisplay::getDisplayText() const {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", precision, static_cast<double>(value));
    return text;
}

void CParamDisplay::drawBack(CDrawContext* context, CBitmap* picture) {
    if (picture) {
        picture->draw(context, size, backOffset);
    } else if (backColor.alpha > 0) {
        context->setFillColor(backColor);
        context->drawRect(size, kDrawFilled);
    }
    if (!(style & kNoFrame)) {
        context->setLineWidth(1);
        context->setFrameColor(frameColor);
        context->drawRect(size, kDrawStroked);
    }
}

void CParamDisplay::drawText(CDrawContext* context, const std::string& text) {
    if (style & kNoTextStyle) return;
    context->setFont(font);
    context->setFontColor(fontColor);
    context->drawString(text, size, horiAlign, antialias);
}

void CParamDisplay::draw(CDrawContext* context) {
    if (context && !(style & kNoDrawStyle)) {
        drawBack(context, background);
        drawText(context, getDisplayText());
    }
    setDirty(false);
}

}  // namespace VSTGUI
