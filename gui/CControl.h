// A view that stands for a value: range, default, tag, and a listener told
// about every change the user makes.
#pragma once

#include <cstdint>

#include "gui/CView.h"

namespace VSTGUI {

class CControl;

class IControlListener {
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;  // control
    // A click with a modifier; non-zero when the listener took it.
    virtual std::int32_t controlModifierClicked(CControl* /*control*/, CButtonState /*buttons*/) { return 0; }  // control
    virtual void controlBeginEdit(CControl* /*control*/) {}  // control
    virtual void controlEndEdit(CControl* /*control*/) {}  // control
};

class CControl : public CView {
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, std::int32_t tag = 0,
             CBitmap* background = nullptr);  // control
    // A copy keeps value, range, tag and listener, but not an edit in progress.
    CControl(const CControl& other);

    // Clamped to [min, max]; NaN is ignored.
    virtual void setValue(float value);  // control
    float getValue() const { return value; }  // control
    // 0 … 1 across [min, max], clamped.
    virtual void setValueNormalized(float normalized);  // control
    float getValueNormalized() const;  // control
    virtual void setMin(float minimum) { vmin = minimum; }  // control
    float getMin() const { return vmin; }  // control
    virtual void setMax(float maximum) { vmax = maximum; }  // control
    float getMax() const { return vmax; }  // control
    float getRange() const { return vmax - vmin; }  // control
    virtual void setDefaultValue(float defaultValue) { this->defaultValue = defaultValue; }  // control
    float getDefaultValue() const { return defaultValue; }  // control
    void setWheelInc(float increment) { wheelInc = increment; }  // control
    float getWheelInc() const { return wheelInc; }  // control
    virtual void setTag(std::int32_t tag) { this->tag = tag; }  // control
    std::int32_t getTag() const { return tag; }  // control
    void setListener(IControlListener* listener) { this->listener = listener; }  // control
    IControlListener* getListener() const { return listener; }  // control
    // Offset into the background picture where drawing starts.
    void setBackOffset(const CPoint& offset) { backOffset = offset; }  // control
    const CPoint& getBackOffset() const { return backOffset; }  // control

    // Tells the listener the value changed.
    virtual void valueChanged();  // control
    // Gestures nest; the first begin and the last end reach the listener and
    // the editor (through the frame).
    virtual void beginEdit();  // control
    virtual void endEdit();  // control
    bool isEditing() const { return editing > 0; }  // control
    // Brings the value back into [min, max].
    void bounceValue();  // control
    // Control-click with the left button: back to the default value. True when
    // the gesture applied (whether or not the value changed).
    virtual bool checkDefaultValue(CButtonState buttons);  // control

    // Dirty also while the value differs from the one last drawn.
    void setDirty(bool state = true) override;  // control
    bool isDirty() const override;  // control

protected:
    float clamped(float candidate) const;

    float value = 0.f;
    float oldValue = 1.f;
    float defaultValue = 0.5f;
    float vmin = 0.f;
    float vmax = 1.f;
    float wheelInc = 0.1f;
    std::int32_t tag;
    IControlListener* listener;
    CPoint backOffset;
    std::int32_t editing = 0;
};

}  // namespace VSTGUI
