#include "gui/CKickButton.h"

#include "gui/CBitmap.h"

namespace VSTGUI {

CKickButton::CKickButton(const CRect& size, IControlListener* listener, std::int32_t tag, CBitmap* background,
                         const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {}

void CKickButton::draw(CDrawContext* context) {
    if (background) {
        const CCoord stateOffset = value == vmax ? getHeight() : 0;
        background->draw(context, size, CPoint(offset.x, offset.y + stateOffset));
    }
    setDirty(false);
}

void CKickButton::changeTo(float newValue) {
    if (newValue == value) return;
    value = newValue;
    valueChanged();
    invalid();
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (isEditing() && buttons.isLeftButton()) changeTo(size.pointInside(where) ? vmax : vmin);
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (!isEditing()) return kMouseEventHandled;
    changeTo(vmin);
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseCancel() {
    CPoint unused;
    return onMouseUp(unused, CButtonState());
}

}  // namespace VSTGUI
