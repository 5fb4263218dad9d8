// The editor's film-strip knob: vertical drag with a coarse and a fine ratio
// (Shift) that may change in mid-drag without a jump, double-click back to
// the default, a wheel with a fine modifier, and a right click that opens the
// parameter's menu.
#pragma once

#include "gui/CAnimKnob.h"

class TKnob : public VSTGUI::CAnimKnob {
public:
    static constexpr float kCoarseRange = 200.0f;   // pixels for the whole range
    static constexpr float kFineRange = 10000.0f;
    static constexpr float kFineWheel = 0.25f;      // wheel step with Shift

    TKnob(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag, VSTGUI::CBitmap* strip,
          VSTGUI::CPoint& offset, int frames);  // control

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    bool onWheel(const VSTGUI::CPoint& where, const float& distance, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CView* newCopy() const override { return new TKnob(*this); }  // control

private:
    static float rangeFor(const VSTGUI::CButtonState& buttons);

    VSTGUI::CPoint firstPoint;
    VSTGUI::CPoint lastPoint{-1, -1};
    float startValue = 0.0f;
    float range = kCoarseRange;
    float coef = 0.0f;
    VSTGUI::CButtonState lastButtons;
};
