#include "gui/CAnimKnob.h"

#include <algorithm>
#include <cmath>

#include "gui/CBitmap.h"

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, std::int32_t tag, std::int32_t subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      numSubPixmaps(std::max<std::int32_t>(subPixmaps, 1)),
      heightOfOneImage(heightOfOneImage),
      offset(offset) {}

std::int32_t CAnimKnob::getFrameIndex() const {
    if (!(heightOfOneImage > 0)) return 0;
    // Through the pixel offset, as the strip is addressed, then down to the
    // picture that offset falls in.
    const double pixelOffset = std::floor(getValueNormalized() * (numSubPixmaps - 1) * heightOfOneImage);
    const auto frame = static_cast<std::int32_t>(pixelOffset / heightOfOneImage);
    return std::clamp(frame, 0, numSubPixmaps - 1);
}

void CAnimKnob::draw(CDrawContext* context) {
    if (background && heightOfOneImage > 0)
        background->draw(context, size, CPoint(offset.x, offset.y + getFrameIndex() * heightOfOneImage));
    setDirty(false);
}

void CAnimKnob::changeTo(float newValue) {
    const float before = value;
    setValue(newValue);
    if (value != before) {
        valueChanged();
        invalid();
    }
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    dragStartY = where.y;
    dragStartValue = value;
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!isEditing() || !buttons.isLeftButton()) return kMouseEventHandled;
    const CCoord range = (buttons.getModifierState() & kShift) ? kDragRange * 10 : kDragRange;
    changeTo(dragStartValue + static_cast<float>((dragStartY - where.y) / range) * getRange());
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint&, const CButtonState&) {
    if (isEditing()) endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseCancel() {
    if (isEditing()) endEdit();
    return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint&, const float& distance, const CButtonState&) {
    if (!getMouseEnabled()) return false;
    beginEdit();
    changeTo(value + distance * wheelInc * getRange());
    endEdit();
    return true;
}

}  // namespace VSTGUI
