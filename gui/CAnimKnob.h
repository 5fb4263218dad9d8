// A knob drawn from a film strip: N pictures of equal height stacked
// vertically, one per position.
//
// Frame choice: frame = floor(normalized value × (N − 1)), so frame k shows
// from the value k / (N − 1) up to just below (k + 1) / (N − 1): 0 shows the
// first picture, 1 the last, 0.5 with 137 frames shows frame 68.
#pragma once

#include "gui/CControl.h"

namespace VSTGUI {

class CAnimKnob : public CControl {
public:
    CAnimKnob(const CRect& size, IControlListener* listener, std::int32_t tag, std::int32_t subPixmaps,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));  // control

    void draw(CDrawContext* context) override;  // control
    // Vertical drag: kDragRange pixels sweep the whole range; Shift drags ten times finer.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseCancel() override;  // control
    // One step of the wheel moves the value by the wheel increment.
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;  // control
    CView* newCopy() const override { return new CAnimKnob(*this); }  // control

    std::int32_t getNumSubPixmaps() const { return numSubPixmaps; }  // control
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }  // control
    // The picture of the strip the current value shows.
    std::int32_t getFrameIndex() const;  // control

    static constexpr CCoord kDragRange = 200;

protected:
    std::int32_t numSubPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;

private:
    void changeTo(float newValue);

    CCoord dragStartY = 0;
    float dragStartValue = 0;
};

}  // namespace VSTGUI
