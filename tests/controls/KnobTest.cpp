// TKnob's mouse: coarse and fine drags, the ratio changing in mid-drag,
// clamping, the wheel, double-click and right click.
#include <gtest/gtest.h>

#include <limits>

#include "controls/TKnob.h"
#include "tests/editor/EditorTestSupport.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

constexpr std::int32_t kLeft = kLButton;
constexpr std::int32_t kLeftShift = kLButton | kShift;

struct Knob : ::testing::Test {
    RecordingListener listener;
    CPoint offset;
    TKnob knob{CRect(0, 0, 40, 40), &listener, 2, nullptr, offset, 137};

    void press(double y, std::int32_t buttons) {
        CPoint where(20, y);
        knob.onMouseDown(where, CButtonState(buttons));
    }
    void move(double y, std::int32_t buttons) {
        CPoint where(20, y);
        knob.onMouseMoved(where, CButtonState(buttons));
    }
    void release() {
        CPoint where;
        knob.onMouseUp(where, CButtonState());
    }
};

TEST_F(Knob, CoarseAndFineDragsMoveByTheirRatios) {
    press(300, kLeft);
    move(200, kLeft);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.5f);
    release();
    EXPECT_FALSE(knob.isEditing());

    knob.setValue(0);
    press(300, kLeftShift);
    move(200, kLeftShift);
    EXPECT_NEAR(knob.getValue(), 0.01f, 1e-6);
    release();
    EXPECT_EQ(listener.begins, 2);
    EXPECT_EQ(listener.ends, 2);
}

TEST_F(Knob, PressingShiftInMidDragContinuesFromWhereTheKnobIs) {
    press(300, kLeft);
    move(200, kLeft);
    ASSERT_FLOAT_EQ(knob.getValue(), 0.5f);
    move(100, kLeftShift);  // Shift went down on the way
    EXPECT_NEAR(knob.getValue(), 0.51f, 1e-5);
    move(50, kLeft);  // and up again
    EXPECT_NEAR(knob.getValue(), 0.76f, 1e-5);
}

TEST_F(Knob, DraggingPastTheEndClampsAndStopsSending) {
    knob.setValue(0.5f);
    press(100, kLeft);
    for (double y = 110; y <= 600; y += 10) move(y, kLeft);
    EXPECT_EQ(knob.getValue(), 0.0f);
    // 100 px of travel reach 0; the 39 moves beyond it send nothing.
    EXPECT_EQ(listener.values.size(), 10u);
    EXPECT_EQ(listener.values.back(), 0.0f);
    move(600, kLeft);  // the same point again
    EXPECT_EQ(listener.values.size(), 10u);
}

TEST_F(Knob, WheelStepsCoarseOrFineAndClamps) {
    knob.setValue(0.2f);
    EXPECT_TRUE(knob.onWheel(CPoint(), 1.0f, CButtonState()));
    EXPECT_NEAR(knob.getValue(), 0.3f, 1e-6);
    knob.onWheel(CPoint(), 1.0f, CButtonState(kShift));
    EXPECT_NEAR(knob.getValue(), 0.325f, 1e-6);
    knob.onWheel(CPoint(), 20.0f, CButtonState());
    EXPECT_EQ(knob.getValue(), 1.0f);
    const auto sent = listener.values.size();
    knob.onWheel(CPoint(), 1.0f, CButtonState());  // already at the end
    knob.onWheel(CPoint(), std::numeric_limits<float>::quiet_NaN(), CButtonState());
    EXPECT_EQ(listener.values.size(), sent);
    EXPECT_EQ(knob.getValue(), 1.0f);
    EXPECT_EQ(listener.begins, listener.ends);

    knob.setMouseEnabled(false);
    EXPECT_FALSE(knob.onWheel(CPoint(), 1.0f, CButtonState()));
}

TEST_F(Knob, DoubleClickResetsButShiftDoubleClickStartsAFineDrag) {
    knob.setDefaultValue(0.8f);
    knob.setValue(0.3f);
    press(100, kLeft | kDoubleClick);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.8f);
    EXPECT_FALSE(knob.isEditing());
    ASSERT_EQ(listener.values.size(), 1u);

    knob.setValue(0.3f);
    press(100, kLeftShift | kDoubleClick);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.3f);
    move(0, kLeftShift);
    EXPECT_NEAR(knob.getValue(), 0.31f, 1e-5);
    release();
}

TEST_F(Knob, RightClickAndTagFreeKnobsLeaveTheValueAlone) {
    knob.setValue(0.4f);
    press(100, kRButton);
    move(0, kRButton);
    release();
    EXPECT_FLOAT_EQ(knob.getValue(), 0.4f);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(listener.begins, listener.ends);

    knob.setTag(uEditor::kNoParameterTag);
    press(100, kLeft);
    move(0, kLeft);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.4f);
    EXPECT_FALSE(knob.isEditing());
}

TEST(KnobDrawing, ShowsTheStripFrameOfItsValue) {
    auto strip = makeBands(4, 3, [] {
        std::vector<CColor> colors;
        for (int i = 0; i < 137; ++i) colors.push_back(frameColor(i));
        return colors;
    }());
    CPoint offset;
    TKnob knob(CRect(0, 0, 4, 3), nullptr, 2, strip.get(), offset, 137);
    for (auto [value, frame] : {std::pair{0.0f, 0}, std::pair{0.5f, 68}, std::pair{1.0f, 136}}) {
        knob.setValue(value);
        BitmapPtr shown(renderToBitmap(knob));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->getPixel(2, 1), frameColor(frame)) << value;
    }
}

}  // namespace
