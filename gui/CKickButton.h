// A momentary button: the value is max while pressed with the pointer over
// it, and min otherwise. The picture holds both states stacked, released on
// top, each as high as the view.
#pragma once

#include "gui/CControl.h"

namespace VSTGUI {

class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, IControlListener* listener = nullptr, std::int32_t tag = 0,
                CBitmap* background = nullptr, const CPoint& offset = CPoint(0, 0));  // control

    void draw(CDrawContext* context) override;  // control
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseCancel() override;  // control
    CView* newCopy() const override { return new CKickButton(*this); }  // control

protected:
    CPoint offset;

private:
    void changeTo(float newValue);
};

}  // namespace VSTGUI
