// The large graph of the front panel: input and reversed output levels over
// the current display window, with the beat grid, the take region, the
// trigger / reverse / hold markers, the recording and playback cursors, the
// window length and the two vertical zoom bars. A vertical drag in the upper
// or lower half sets the input or output lane's vertical zoom, as one gesture
// from press to release.
//
// Everything shown is read from the effect's display queries at draw time;
// the view keeps only its geometry. Without an editor or effect it draws
// nothing and ignores the mouse.
#pragma once

#include <cstdint>
#include <string>

#include "controls/IControlHost.h"
#include "gui/CColor.h"
#include "gui/CControl.h"


inline constexpr VSTGUI::CColor _REVERSE_BACK_COLOR{0, 16, 40, 255};
inline constexpr VSTGUI::CColor _REVERSE_BACK_LINES_COLOR{0, 44, 80, 255};
inline constexpr VSTGUI::CColor _REVERSE_GRAPHICS_COLOR{0, 102, 160, 255};

class TReverseDisplay : public VSTGUI::CControl {
public:
    // sizeMode: the editor's size, 0 = 100 %, 1 = 150 %, 2 = 200 % (others count as 0).
    TReverseDisplay(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, std::int32_t sizeMode);  // control

    void draw(VSTGUI::CDrawContext* context) override;  // control
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;  // control
    VSTGUI::CMouseEventResult onMouseCancel() override;  // control
    // One marker: a vertical line broken around (x, y) with the letter centred in the gap.
    void drawTextLine(VSTGUI::CDrawContext* context, double x, double y, float scale, std::string letter);  // control
    VSTGUI::CView* newCopy() const override { return new TReverseDisplay(*this); }  // control

    double graphHeight;
    double graphWidth;
    double graphLeft;
    double graphRight;
    double graphTop;
    double graphBottom;
    double inLaneTop;
    double inLaneBottom;
    double outLaneTop;
    double outLaneBottom;
    double outLaneHeight;
    double inLaneHeight;
    float scale;
    std::int32_t sizeMode;
    bool dragOutLane = false;
    bool dragging = false;  // a press began a zoom gesture that its release ends

private:
    IDisplaySource* source() const;
    IDisplaySource::Lane draggedLane() const;
    int scaled(int pixels) const;  // trunc(pixels × scale)
    void drawTakeRegion(VSTGUI::CDrawContext* context, double lengthX);
    void drawGrid(VSTGUI::CDrawContext* context, float beats);
    void drawLevels(VSTGUI::CDrawContext* context, const IDisplaySource& data);
    void drawCursors(VSTGUI::CDrawContext* context, double positionX, double lengthX, float position);
    void drawTexts(VSTGUI::CDrawContext* context, const ReverseDisplayReading& reading);
    void drawZoomBars(VSTGUI::CDrawContext* context, const ReverseDisplayReading& reading);
};
