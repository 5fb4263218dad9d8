#include "controls/TTextButton.h"

#include <cstring>

#include "controls/IControlHost.h"

using namespace VSTGUI;

TTextButton::TTextButton(const CRect& size, IControlListener* listener, long tag, CBitmap* background,
                         const char* text, bool centred, bool dark)
    : CParamDisplay(size, background, 0), centred(centred), dark(dark) {
    setListener(listener);
    setTag(static_cast<std::int32_t>(tag));
    setString(text);
}

void TTextButton::setString(const char* newText) {
    if (!newText) newText = " ";
    std::strncpy(text, newText, kTextBytes - 1);
    text[kTextBytes - 1] = 0;
    setDirty(true);
}

void TTextButton::draw(CDrawContext* context) {
    if (const IControlHost* host = IControlHost::of(this); context && host) {
        CRect area = size;
        area.right -= 1;
        area.bottom -= 1;
        context->setFont(host->textFont());
        context->setFontColor(dark ? kBlackCColor : _LIGHT_TEXT_COLOR);
        context->drawString(text, area, centred ? kCenterText : kLeftText, true);
    }
    setDirty(false);
}

CMouseEventResult TTextButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!getMouseEnabled() || !buttons.isLeftButton()) return kMouseEventNotHandled;
    value = 1.0f;
    setDirty(true);
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult TTextButton::onMouseUp(CPoint&, const CButtonState&) {
    value = 0.0f;
    setDirty(true);
    valueChanged();
    return kMouseEventHandled;
}
