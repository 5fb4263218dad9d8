// The editor's option menu: draws its own text (the editor's colour, a font
// that follows the editor's size, an optional override text or none at all),
// never changes its entry on the wheel (the preset menu steps presets with
// it), and sends a right click on a parameter's menu to the parameter menu.
#pragma once

#include "gui/COptionMenu.h"

class TOptionMenu : public VSTGUI::COptionMenu {
public:
    static constexpr std::size_t kOverrideTextBytes = 128;

    TOptionMenu(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, long tag,
                VSTGUI::CBitmap* background, VSTGUI::CBitmap* backgroundWhenClicked, long style,
                bool centred);  // control

    // Shown instead of the current entry from now on; null shows one blank.
    void setString(const char* text);  // control
    // Draws the background only.
    void setNoText();  // control
    void setPresetWheel(bool on) { presetWheel = on; }  // control
    const char* getOverrideText() const { return overrideText; }  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    bool onWheel(const VSTGUI::CPoint& where, const float& distance, const VSTGUI::CButtonState& buttons) override;  // control

private:
    char overrideText[kOverrideTextBytes]{};
    bool centred;
    bool presetWheel = false;
    bool noText = false;
};
