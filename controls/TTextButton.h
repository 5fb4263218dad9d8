// A line of text that also works as a momentary button: the knob read-outs,
// the LFO speed text and the version label. The background it is given is
// not drawn; the text is, in the editor's light colour or in black.
#pragma once

#include "gui/CParamDisplay.h"

class TTextButton : public VSTGUI::CParamDisplay {
public:
    static constexpr std::size_t kTextBytes = 256;

    TTextButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag, VSTGUI::CBitmap* background,
                const char* text, bool centred, bool dark);  // control

    // Keeps the first 255 characters; null shows one blank.
    void setString(const char* text);  // control
    const char* getString() const { return text; }  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CView* newCopy() const override { return new TTextButton(*this); }  // control

private:
    char text[kTextBytes]{};
    bool centred;
    bool dark;
};
