// A two-state switch. Its picture holds both states stacked: the upper half
// is drawn while off, the lower half while on. On means the value lies in the
// upper half of the range (>= 0.5 for 0 … 1), as switches are read elsewhere.
#pragma once

#include "gui/CControl.h"

namespace VSTGUI {

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, IControlListener* listener = nullptr, std::int32_t tag = 0,
                 CBitmap* background = nullptr, std::int32_t style = 0);  // control

    void draw(CDrawContext* context) override;  // control
    // A left click switches over and tells the listener.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CView* newCopy() const override { return new COnOffButton(*this); }  // control

    bool isOn() const { return value >= vmin + getRange() / 2; }  // control
    std::int32_t getStyle() const { return style; }  // control

protected:
    std::int32_t style;
};

}  // namespace VSTGUI
