// The reverse display drawn from a running effect, and its zoom drag.
#include <algorithm>
#include <cmath>

#include "DisplayTestSupport.h"
#include "controls/TReverseDisplay.h"

using namespace displays;

namespace {

// The panel's place at 100 %. Views render in their own coordinates: the
// graph starts at x 4, the lanes at y 25 and 155, 100 high; 1009 columns.
const CRect kPlace(23, 115, 23 + 1049, 115 + 257);
constexpr int kLeft = 4, kInTop = 25, kOutTop = 155, kWidth = 1009, kZoomBarX = 1030;

bool hasNear(const std::vector<int>& columns, double x, double tolerance) {
    return std::any_of(columns.begin(), columns.end(), [&](int c) { return std::abs(c - x) <= tolerance; });
}

}  // namespace

TEST(ReverseDisplay, TakeLevelsMarkersAndCursorsSitAtTheEngineTimes) {
    // 100 ms at level 0.5, reversed from 100 to 200 ms, seen at 250 ms; gain 1.
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    chain::cleanTake(*panel.plugin, chain::kAudioMode);
    panel.set(Param::ReverseRetriggerHoldTime, 0.3f);
    panel.set(Param::ReverseVerticalInZoom, 1.0f / 6.0f);
    panel.set(Param::ReverseVerticalOutZoom, 1.0f / 6.0f);
    panel.run(4410, 0.5f);
    panel.run(6615, 0.0f);
    APlugin& effect = *panel.plugin;
    const auto toX = [&](float ms) { return kLeft + double(ms) / effect.getReverseDisplayLengthQuantized() * kWidth; };
    ASSERT_GT(effect.getHoldTime(), effect.getReverseLength() + 50.0f);

    const Picture moving = render(*display);
    const int inColumn = static_cast<int>(toX(50)), outColumn = static_cast<int>(toX(150));
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, inColumn, 0, 257), 50);  // half its lane
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, outColumn, kOutTop, 257), 50);
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, outColumn, kInTop, kOutTop), 0);
    EXPECT_EQ(moving.at(inColumn, kInTop + 10), _REVERSE_BACK_COLOR);  // the take region

    panel.set(Param::ReverseTriggerMode, chain::kManualMode);  // no pending take: silent
    ASSERT_TRUE(effect.getSilent());
    const Picture still = render(*display);
    const auto markers = still.columnsOf(_REVERSE_GRAPHICS_COLOR, kInTop + 2, 0, 1020);
    EXPECT_EQ(markers.size(), 3u);
    for (double x : {double(kLeft), toX(effect.getReverseLength()), toX(effect.getHoldTime())})
        EXPECT_TRUE(hasNear(markers, x, 1)) << x;  // "T", "R", "H"

    // Silence hides the cursors only: recording parked at the take's end, playback at the position.
    const auto cursorAt = [&](int row, double x) {
        std::vector<int> columns;
        for (int column = 0; column < 1049; ++column)
            if (!(moving.at(column, row) == still.at(column, row))) columns.push_back(column);
        return columns.size() <= 3 && hasNear(columns, x, 2);
    };
    EXPECT_TRUE(cursorAt(kInTop + 50, toX(effect.getReverseLength()) - 20));
    EXPECT_TRUE(cursorAt(kOutTop + 50, toX(effect.getRecordPosition())));
}

TEST(ReverseDisplay, SyncedWindowOfTwoBarsShowsSixteenGridLines) {
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    chain::cleanTake(*panel.plugin, chain::kAudioMode);
    panel.run(64, 0.0f);
    panel.set(Param::ReverseZoom, std::log2(15.0f) / 4.0f);  // 1.5 bars, raised to 2 when synced
    panel.set(Param::ReverseTempoSync, 1.0f);
    ASSERT_FLOAT_EQ(panel.plugin->getReverseDisplayLengthQB(), 8.0f);
    const Picture picture = render(*display);
    for (int row : {kInTop + 2, kOutTop + 2}) {
        const auto lines = picture.columnsOf(_REVERSE_BACK_LINES_COLOR, row, 0, 1049);
        EXPECT_EQ(lines.size(), 16u);
        EXPECT_EQ(lines.back(), kLeft + kWidth);
    }
}

TEST(ReverseDisplay, ZoomBarsFollowTheDragOfTheHalfFirstPressed) {
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    const auto mouse = [&](bool down, double y, CButtonState buttons = kLButton) {
        CPoint where(kPlace.left + 300, kPlace.top + y);
        return down ? display->onMouseDown(where, buttons) : display->onMouseMoved(where, buttons);
    };
    const auto zoom = [&](VstInt32 index) { return panel.plugin->getParameter(index); };
    EXPECT_EQ(mouse(true, 0), kMouseEventHandled);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 98);  // lane less 2
    mouse(false, 223 * 0.25);  // the middle of the upper half
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalInZoom), 0.5f);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 49);
    mouse(false, 200);  // into the lower half: still the input lane, at its minimum
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalInZoom), 0.0f);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 0);
    EXPECT_EQ(automated.back(), std::make_pair(VstInt32{Param::ReverseVerticalInZoom}, 0.0f));

    const float outZoom = zoom(Param::ReverseVerticalOutZoom);
    EXPECT_EQ(mouse(true, 200, kRButton), kMouseEventHandled);
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalOutZoom), outZoom);
    mouse(true, 112);
    mouse(false, 111 + 223 * 0.25);
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalOutZoom), 0.5f);
}
