// A level meter: the meter picture revealed from the bottom by the level
// (0 shows nothing, 1 and above the whole picture).
#pragma once

#include "gui/CControl.h"

class TVu : public VSTGUI::CControl {
public:
    TVu(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener);  // control

    void setInputVolume(float level) { this->level = level; }  // control
    float getInputVolume() const { return level; }  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CView* newCopy() const override { return new TVu(*this); }  // control

private:
    float level = 0.0f;
};
