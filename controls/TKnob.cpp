#include "controls/TKnob.h"

#include <cmath>

#include "controls/IControlHost.h"

using namespace VSTGUI;

TKnob::TKnob(const CRect& size, IControlListener* listener, long tag, CBitmap* strip, CPoint& offset, int frames)
    : CAnimKnob(size, listener, static_cast<std::int32_t>(tag), frames, size.getHeight(), strip, offset) {
    oldValue = 0.0f;
}

float TKnob::rangeFor(const CButtonState& buttons) {
    return (buttons.getModifierState() & kShift) ? kFineRange : kCoarseRange;
}

CMouseEventResult TKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!getMouseEnabled() || tag == IControlHost::kNoParameterTag) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    // The menu's own commands make their gestures; the click itself is none.
    if (IControlHost::asksForMenu(buttons)) {
        if (IControlHost* host = IControlHost::of(this)) host->midiLearnMenu(this, where);
        return kMouseEventHandled;
    }
    beginEdit();
    if (checkDefaultValue(buttons)) {
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (buttons == CButtonState(kLButton | kDoubleClick)) {
        value = clamped(defaultValue);
        if (isDirty() && listener) listener->valueChanged(this);
        invalid();
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    startValue = value;
    range = kCoarseRange;
    lastButtons = buttons;
    if (buttons.isLeftButton()) {
        firstPoint = where;
        range = rangeFor(buttons);
    }
    coef = getRange() / range;
    lastPoint = CPoint(-1, -1);
    return onMouseMoved(where, buttons);
}

CMouseEventResult TKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton() || !isEditing()) return kMouseEventHandled;
    if (where == lastPoint) return kMouseEventHandled;
    if (buttons != lastButtons) {
        // Continue from where the knob was last put, at the new ratio: the
        // travel since then already counts at the new one.
        const float handled = lastPoint == CPoint(-1, -1) ? 0.0f : static_cast<float>(firstPoint.y - lastPoint.y);
        range = rangeFor(buttons);
        const float newCoef = getRange() / range;
        startValue = (coef - newCoef) * handled + startValue;
        coef = newCoef;
        lastButtons = buttons;
    }
    lastPoint = where;
    const auto d = static_cast<float>(firstPoint.y - where.y);  // upward is positive
    const float before = value;
    value = coef * d + startValue;
    bounceValue();
    if (value != before) {
        if (listener) listener->valueChanged(this);
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult TKnob::onMouseUp(CPoint&, const CButtonState&) {
    if (isEditing()) endEdit();
    setDirty(true);
    return kMouseEventHandled;
}

bool TKnob::onWheel(const CPoint&, const float& distance, const CButtonState& buttons) {
    if (!getMouseEnabled()) return false;
    if (!std::isfinite(distance)) return true;
    const float step = (buttons.getModifierState() & kShift) ? distance * kFineWheel : distance;
    const float before = value;
    value += step * wheelInc;
    bounceValue();
    if (value != before) {
        if (listener) {
            beginEdit();
            listener->valueChanged(this);
            endEdit();
        }
        invalid();
    }
    return true;
}
