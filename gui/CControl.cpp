#include "gui/CControl.h"

#include <algorithm>
#include <cmath>

#include "gui/CBitmap.h"
#include "gui/CFrame.h"

namespace VSTGUI {

CControl::CControl(const CRect& size, IControlListener* listener, std::int32_t tag, CBitmap* background)
    : CView(size), tag(tag), listener(listener) {
    if (background) setBackground(background);
}

CControl::CControl(const CControl& other)
    : CView(other),
      value(other.value),
      oldValue(other.oldValue),
      defaultValue(other.defaultValue),
      vmin(other.vmin),
      vmax(other.vmax),
      wheelInc(other.wheelInc),
      tag(other.tag),
      listener(other.listener),
      backOffset(other.backOffset) {}

float CControl::clamped(float candidate) const {
    // max() last, so an inverted range settles on min instead of being undefined.
    return std::max(vmin, std::min(candidate, vmax));
}

void CControl::setValue(float newValue) {
    if (std::isnan(newValue)) return;
    value = clamped(newValue);
}

void CControl::setValueNormalized(float normalized) {
    if (std::isnan(normalized)) return;
    setValue(vmin + std::clamp(normalized, 0.f, 1.f) * getRange());
}

float CControl::getValueNormalized() const {
    const float range = getRange();
    return range > 0.f ? std::clamp((value - vmin) / range, 0.f, 1.f) : 0.f;
}

void CControl::valueChanged() {
    if (listener) listener->valueChanged(this);
}

void CControl::beginEdit() {
    if (editing++ > 0) return;
    if (listener) listener->controlBeginEdit(this);
    if (CFrame* frame = getFrame()) frame->beginEdit(tag);
}

void CControl::endEdit() {
    if (editing == 0) return;
    if (--editing > 0) return;
    if (CFrame* frame = getFrame()) frame->endEdit(tag);
    if (listener) listener->controlEndEdit(this);
}

void CControl::bounceValue() { value = clamped(value); }

bool CControl::checkDefaultValue(CButtonState buttons) {
    if (!buttons.isLeftButton() || buttons.getModifierState() != kControl) return false;
    const float target = clamped(defaultValue);
    if (target != value) {
        beginEdit();
        value = target;
        valueChanged();
        endEdit();
        setDirty(true);
    }
    return true;
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (!state) oldValue = value;
}

bool CControl::isDirty() const { return value != oldValue || CView::isDirty(); }

}  // namespace VSTGUI
