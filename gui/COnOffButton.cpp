#include "gui/COnOffButton.h"

#include "gui/CBitmap.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, IControlListener* listener, std::int32_t tag, CBitmap* background,
                           std::int32_t style)
    : CControl(size, listener, tag, background), style(style) {}

void COnOffButton::draw(CDrawContext* context) {
    if (background) {
        const CCoord stateOffset = isOn() ? background->getHeight() / 2 : 0;
        background->draw(context, size, CPoint(backOffset.x, backOffset.y + stateOffset));
    }
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    value = isOn() ? vmin : vmax;
    invalid();
    valueChanged();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace VSTGUI
