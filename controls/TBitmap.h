// A static picture, shown from its top-left corner at the view's size; the
// editor swaps it with setBackground.
#pragma once

#include "gui/CControl.h"

class TBitmap : public VSTGUI::CControl {
public:
    TBitmap(const VSTGUI::CRect& size, VSTGUI::CBitmap* picture, VSTGUI::IControlListener* listener);  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CView* newCopy() const override { return new TBitmap(*this); }  // control
};
