// A two-state switch; on the front panel a right click opens the parameter's
// menu, on the settings page it does nothing.
#pragma once

#include "gui/COnOffButton.h"

class TOnOffButton : public VSTGUI::COnOffButton {
public:
    TOnOffButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag, VSTGUI::CBitmap* picture,
                 bool midiLearn, long style);  // control

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CView* newCopy() const override { return new TOnOffButton(*this); }  // control

private:
    bool midiLearn;
};
