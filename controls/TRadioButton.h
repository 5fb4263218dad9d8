// One button of the trigger-mode group. It switches itself on when clicked
// but never off: the editor sets the group from the effect's mode. The
// "Manual" button lights while a manual take runs.
#pragma once

#include "gui/CControl.h"

class TRadioButton : public VSTGUI::CControl {
public:
    TRadioButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag);  // control

    void setLit(bool on) { if (lit != on) { lit = on; setDirty(true); } }  // control
    bool isLit() const { return lit; }  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CView* newCopy() const override { return new TRadioButton(*this); }  // control

private:
    bool lit = false;
};
