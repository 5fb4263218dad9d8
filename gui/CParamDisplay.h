// A control that shows its value as text over a background.
#pragma once

#include <string>

#include "gui/CColor.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"
#include "gui/CFontDesc.h"

namespace VSTGUI {

// Style bits of the text controls (VSTGUI's bit positions); other bits are ignored.
enum CParamDisplayStyle : std::int32_t {
    kCheckStyle = 1 << 3,   // option menus: the current entry is shown checked
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,  // draw nothing at all
    kNoFrame = 1 << 14,
};

class CParamDisplay : public CControl {
public:
    explicit CParamDisplay(const CRect& size, CBitmap* background = nullptr, std::int32_t style = 0);  // control

    // Background picture (or back colour), frame, then the text.
    void draw(CDrawContext* context) override;  // control
    CView* newCopy() const override { return new CParamDisplay(*this); }  // control

    void setFont(CFontRef font) { if (font) this->font = font; setDirty(true); }  // control
    CFontRef getFont() const { return font; }  // control
    void setFontColor(const CColor& color) { fontColor = color; setDirty(true); }  // control
    const CColor& getFontColor() const { return fontColor; }  // control
    void setBackColor(const CColor& color) { backColor = color; setDirty(true); }  // control
    const CColor& getBackColor() const { return backColor; }  // control
    void setFrameColor(const CColor& color) { frameColor = color; setDirty(true); }  // control
    const CColor& getFrameColor() const { return frameColor; }  // control
    void setHoriAlign(CHoriTxtAlign align) { horiAlign = align; setDirty(true); }  // control
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }  // control
    void setStyle(std::int32_t style) { this->style = style; setDirty(true); }  // control
    std::int32_t getStyle() const { return style; }  // control
    void setAntialias(bool state) { antialias = state; setDirty(true); }  // control
    bool getAntialias() const { return antialias; }  // control
    // Decimals of the value text (2 unless set).
    void setPrecision(std::int32_t digits) { precision = digits < 0 ? 0 : digits > 9 ? 9 : digits; setDirty(true); }  // control
    std::int32_t getPrecision() const { return precision; }  // control

protected:
    virtual std::string getDisplayText() const;
    void drawBack(CDrawContext* context, CBitmap* picture);
    void drawText(CDrawContext* context, const std::string& text);

    CFontRef font = kNormalFontSmall;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    std::int32_t style;
    bool antialias = true;
    std::int32_t precision = 2;
};

}  // namespace VSTGUI
