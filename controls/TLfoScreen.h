// The LFO screen: one cycle of the selected wave, shifted by the selected
// phase, and a white line where the LFO is now. Passive: the mouse falls
// through to whatever lies below. Without an editor or effect it draws nothing.
#pragma once

#include "gui/CControl.h"

class TLfoScreen : public VSTGUI::CControl {
public:
    static constexpr int kRandomValues = 256;

    // Fills randomTable from the generator all screens share, so a second
    // screen shows a different random picture than the first.
    TLfoScreen(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener);  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CView* newCopy() const override { return new TLfoScreen(*this); }  // control

    // The "S&H" picture, values in [−1, 1); never changes after construction.
    float randomTable[kRandomValues];

private:
    // The wave's value (−1 … 1) where the cycle position is frac (0 … 1);
    // "S&H" shows one random value per column, whatever the phase.
    float waveValue(int wave, float frac, int column) const noexcept;
};
