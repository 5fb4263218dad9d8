#include "controls/TReverseDisplay.h"

#include <algorithm>
#include <cmath>

#include <charconv>

#include "controls/IControlHost.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

using namespace VSTGUI;

namespace {

constexpr int kSizeModes = 3;
constexpr float SIZE_MODE_SCALE[kSizeModes] = {1.0f, 1.5f, 2.0f};
const CFontRef* const SIZE_MODE_FONT[kSizeModes] = {&kNormalFontSmaller, &kNormalFont, &kNormalFontBig};

constexpr int kRecordCursorPicture = 10070;
constexpr int kPlayCursorPicture = 10071;

// Grid divisions: eighths of the beat count, sixteenths below this many...
constexpr float kFewestDivisions = 16.0f;
// ...halved until no more than this many remain.
constexpr float kMostDivisions = 33.0f;
// A synced window within this many bars of a whole number shows no decimals.
constexpr float kWholeBarsTolerance = 0.02f;

// Fixed-point text that no numeric locale can change.
std::string fixedText(float value, int decimals) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

std::int32_t validSizeMode(std::int32_t mode) { return mode >= 0 && mode < kSizeModes ? mode : 0; }

// Line width of everything but the level columns.
CCoord lineWidthFor(std::int32_t sizeMode) { return sizeMode == 0 ? 1 : 2; }

}  // namespace

TReverseDisplay::TReverseDisplay(const CRect& size, IControlListener* listener, std::int32_t mode)
    : CControl(size, listener, IControlHost::kNoParameterTag),
      scale(SIZE_MODE_SCALE[validSizeMode(mode)]),
      sizeMode(validSizeMode(mode)) {
    graphHeight = size.getHeight() - scaled(34);
    graphWidth = size.getWidth() - scaled(40);
    graphLeft = size.left + scaled(4);
    graphRight = size.right - scaled(8);
    graphTop = size.top + scaled(25);
    graphBottom = size.bottom - scaled(10);
    inLaneHeight = outLaneHeight = scaled(100);
    inLaneTop = graphTop;
    inLaneBottom = graphTop + inLaneHeight;
    outLaneTop = graphTop + scaled(130);
    outLaneBottom = outLaneTop + outLaneHeight;
}

int TReverseDisplay::scaled(int pixels) const { return static_cast<int>(static_cast<float>(pixels) * scale); }

IDisplaySource* TReverseDisplay::source() const {
    IControlHost* host = IControlHost::of(this);
    return host ? host->displaySource() : nullptr;
}

void TReverseDisplay::draw(CDrawContext* context) {
    setDirty(false);
    const IDisplaySource* data = source();
    if (!context || !data) return;

    const ReverseDisplayReading reading = data->reverseDisplay();
    const float windowMS = reading.windowMS;
    // The engine keeps the window at 500 ms or more; anything else has nothing to show.
    if (!(windowMS > 0.0f) || !std::isfinite(windowMS)) return;
    const float beats = reading.beats;
    const float length = reading.takeLengthMS;
    const float hold = reading.holdMS;
    const float position = reading.recordPositionMS;
    const double lengthX = length / windowMS * graphWidth;
    const double positionX = position / windowMS * graphWidth;

    const CCoord width = lineWidthFor(sizeMode);
    context->setLineWidth(width);
    drawTakeRegion(context, lengthX);
    drawGrid(context, beats);
    drawLevels(context, *data);
    context->setLineWidth(width);

    drawTextLine(context, graphLeft, graphTop + graphHeight * 1.0 / 8.0, scale, "T");
    drawTextLine(context, graphLeft + lengthX, graphTop + graphHeight * 3.0 / 8.0, scale, "R");
    drawTextLine(context, graphLeft + graphWidth * hold / windowMS, graphTop + graphHeight * 4.0 / 8.0, scale, "H");

    if (!reading.silent) drawCursors(context, positionX, lengthX, position);
    drawTexts(context, reading);
    drawZoomBars(context, reading);
}

void TReverseDisplay::drawTakeRegion(CDrawContext* context, double lengthX) {
    const double right = graphLeft + std::max(0.0, lengthX);
    context->setFillColor(_REVERSE_BACK_COLOR);
    context->drawRect(CRect(graphLeft, inLaneTop, right, inLaneBottom), kDrawFilled);
    context->drawRect(CRect(graphLeft, outLaneTop, right, outLaneBottom), kDrawFilled);
}

void TReverseDisplay::drawGrid(CDrawContext* context, float beats) {
    float divisions = 2.0f * beats;
    if (divisions < kFewestDivisions) divisions = 4.0f * beats;
    if (!(divisions > 0.0f) || !std::isfinite(divisions)) return;
    while (divisions > kMostDivisions) divisions /= 2.0f;
    context->setFrameColor(_REVERSE_BACK_LINES_COLOR);
    const int lines = static_cast<int>(divisions + 1.0f) - 1;
    for (int i = 1; i <= lines; ++i) {
        const double x = graphLeft + std::trunc(graphWidth * i / divisions);
        context->drawLine(CPoint(x, inLaneTop), CPoint(x, inLaneBottom));
        context->drawLine(CPoint(x, outLaneTop), CPoint(x, outLaneBottom));
    }
}

void TReverseDisplay::drawLevels(CDrawContext* context, const IDisplaySource& data) {
    context->setFrameColor(_REVERSE_GRAPHICS_COLOR);
    context->setLineWidth(1);
    const auto columnWidth = static_cast<float>(graphWidth);
    // Height of a lane left empty above a column of level v; a level of 1 or
    // more fills the lane, anything not above 0 draws nothing.
    const auto emptyAbove = [](double laneHeight, float v) {
        const double shown = v > 0.0f ? std::min(1.0f, v) : 0.0f;
        return std::trunc(laneHeight * (1.0 - shown));
    };
    const int columns = static_cast<int>(graphWidth);
    for (int i = 0; i < columns; ++i) {
        const double x = graphLeft + i;
        const float in = data.displayLevel(static_cast<float>(i), columnWidth, true);
        const float out = data.displayLevel(static_cast<float>(i), columnWidth, false);
        context->drawLine(CPoint(x, inLaneBottom), CPoint(x, inLaneTop + emptyAbove(inLaneHeight, in)));
        context->drawLine(CPoint(x, outLaneBottom), CPoint(x, outLaneTop + emptyAbove(outLaneHeight, out)));
    }
}

void TReverseDisplay::drawTextLine(CDrawContext* context, double x, double y, float markerScale, std::string letter) {
    if (!context) return;
    const auto reach = static_cast<int>(8.0f * markerScale);
    context->setFrameColor(_REVERSE_GRAPHICS_COLOR);
    context->drawLine(CPoint(x, graphTop), CPoint(x, y - 8));
    context->drawLine(CPoint(x, y + 8), CPoint(x, graphBottom + reach));
    context->setFontColor(kWhiteCColor);
    context->setFont(*SIZE_MODE_FONT[sizeMode]);
    context->drawString(letter, CRect(x - 8, y - 8, x + 8, y + 8), kCenterText);
}

void TReverseDisplay::drawCursors(CDrawContext* context, double positionX, double lengthX, float position) {
    const IControlHost* host = IControlHost::of(this);
    CBitmap* recordCursor = host ? host->picture(kRecordCursorPicture) : nullptr;
    CBitmap* playCursor = host ? host->picture(kPlayCursorPicture) : nullptr;
    if (!playCursor) return;
    // Both cursors are as big as the playback cursor; their marking line sits
    // 20 pixels (at 100 %) in from the left edge. Whole pixels keep them sharp.
    const CPoint cursorSize(playCursor->getWidth(), playCursor->getHeight());
    const double pointer = 20.0 * scale;
    const double recordX = graphLeft + std::min(positionX, lengthX - scaled(20));
    if (recordCursor)
        context->drawBitmap(recordCursor, CRect(CPoint(std::floor(recordX - pointer), size.top + 1), cursorSize));
    if (position >= 0.0f && positionX >= lengthX) {
        const double playX = graphLeft + positionX;
        context->drawBitmap(playCursor,
                            CRect(CPoint(std::floor(playX - pointer), size.top + 1 + scaled(135)), cursorSize));
    }
}

void TReverseDisplay::drawTexts(CDrawContext* context, const ReverseDisplayReading& reading) {
    context->setFontColor(kGreyCColor);
    context->setFont(*SIZE_MODE_FONT[sizeMode]);
    const CPoint labelSize(scaled(50), scaled(12));
    const struct {
        const char* text;
        double top;
        double height;
    } lanes[] = {{"INPUT", inLaneTop, inLaneHeight}, {"REVERSE", outLaneTop, outLaneHeight}};
    for (const auto& lane : lanes) {
        const CPoint at(graphLeft + scaled(5), lane.top + lane.height * 0.5 - scaled(6));
        context->drawString(lane.text, CRect(at, labelSize), kLeftText);
    }

    std::string text;
    if (reading.tempoSynced) {
        const float bars = reading.beats * 0.25f + 0.001f;
        const bool whole = std::fabs(bars - std::round(bars)) <= kWholeBarsTolerance;
        text = fixedText(bars, whole ? 0 : 2) + "B";
    } else {
        text = fixedText(reading.windowMS / 1000.0f, 2) + "s";
    }
    const CPoint at(graphRight - scaled(73), size.bottom - scaled(12));
    context->drawString(text, CRect(at, CPoint(scaled(40), scaled(12))), kRightText);
}

void TReverseDisplay::drawZoomBars(CDrawContext* context, const ReverseDisplayReading& reading) {
    context->setFillColor(_REVERSE_GRAPHICS_COLOR);
    const double left = std::trunc(graphWidth) + graphLeft + scaled(13);
    const struct {
        float zoom;
        double top;
        double height;
    } bars[] = {{reading.verticalZoom[IDisplaySource::kInputLane], inLaneTop, inLaneHeight},
                {reading.verticalZoom[IDisplaySource::kOutputLane], outLaneTop, outLaneHeight}};
    for (const auto& bar : bars) {
        const double zoom = std::clamp(bar.zoom, 0.0f, 1.0f);
        const double h = bar.height - 2.0 * scale;
        const double top = bar.top + std::trunc((1.0 - zoom) * h + 5.0 * scale);
        context->drawRect(CRect(CPoint(left, top), CPoint(scaled(22), std::trunc(h * zoom))), kDrawFilled);
    }
}

IDisplaySource::Lane TReverseDisplay::draggedLane() const {
    return dragOutLane ? IDisplaySource::kOutputLane : IDisplaySource::kInputLane;
}

CMouseEventResult TReverseDisplay::onMouseDown(CPoint& where, const CButtonState& buttons) {
    IDisplaySource* data = source();
    if (!getMouseEnabled() || !data) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (!buttons.isLeftButton()) return kMouseEventHandled;
    if (dragging) data->endZoomGesture(draggedLane());
    // The half the press lands in stays the one dragged until release.
    dragOutLane = where.y - size.top > graphHeight * 0.5;
    dragging = true;
    data->beginZoomGesture(draggedLane());
    return onMouseMoved(where, buttons);
}

CMouseEventResult TReverseDisplay::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    IDisplaySource* data = source();
    if (!data) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (!buttons.isLeftButton() || !dragging) return kMouseEventHandled;
    // Each half runs from its maximum at the top to its minimum at its lower edge.
    const double half = graphHeight * 0.5;
    const double y = where.y - size.top;
    const double fromTop = dragOutLane ? y - std::trunc(half) : y;
    const double zoom = std::clamp(1.0 - fromTop / half, 0.0, 1.0);
    if (std::isnan(zoom)) return kMouseEventHandled;
    data->setVerticalZoom(draggedLane(), static_cast<float>(zoom));
    setDirty(true);
    return kMouseEventHandled;
}

CMouseEventResult TReverseDisplay::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging) return kMouseEventHandled;
    dragging = false;
    if (IDisplaySource* data = source()) data->endZoomGesture(draggedLane());
    return kMouseEventHandled;
}

CMouseEventResult TReverseDisplay::onMouseCancel() {
    CPoint unused;
    return onMouseUp(unused, CButtonState());
}
