// TKnob's mouse: coarse and fine drags, the ratio changing in mid-drag,
// clamping, the wheel, double-click and right click.
#include <limits>
#include <utility>

#include "controls/TKnob.h"
#include "editor/uEditor.h"
#include "tests/gui/GuiTestSupport.h"

using namespace VSTGUI;

namespace {

constexpr std::int32_t kLeft = kLButton;
constexpr std::int32_t kLeftShift = kLButton | kShift;

struct Knob : ::testing::Test {
    guitest::RecordingListener listener;
    CPoint offset;
    TKnob knob{CRect(0, 0, 40, 40), &listener, 2, nullptr, offset, 137};

    void press(double y, std::int32_t buttons) { CPoint at(20, y); knob.onMouseDown(at, CButtonState(buttons)); }
    void move(double y, std::int32_t buttons) { CPoint at(20, y); knob.onMouseMoved(at, CButtonState(buttons)); }
    void release() { CPoint at; knob.onMouseUp(at, CButtonState()); }
};

TEST_F(Knob, DragsCoarseOrFineAndChangesRatioWithoutAJump) {
    press(300, kLeft);
    move(200, kLeft);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.5f);
    move(100, kLeftShift);  // Shift went down on the way
    EXPECT_NEAR(knob.getValue(), 0.51f, 1e-5);
    move(50, kLeft);  // and up again
    EXPECT_NEAR(knob.getValue(), 0.76f, 1e-5);
    release();
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
}

TEST_F(Knob, DraggingPastTheEndClampsAndStopsSending) {
    knob.setValue(0.5f);
    press(100, kLeft);
    for (double y = 110; y <= 600; y += 10) move(y, kLeft);
    EXPECT_EQ(knob.getValue(), 0.0f);
    EXPECT_EQ(listener.values.size(), 10u);  // 100 px reach 0; the 39 moves beyond send nothing
}

TEST_F(Knob, WheelStepsCoarseOrFineAndClamps) {
    knob.setValue(0.2f);
    EXPECT_TRUE(knob.onWheel(CPoint(), 1.0f, CButtonState()));
    EXPECT_NEAR(knob.getValue(), 0.3f, 1e-6);
    knob.onWheel(CPoint(), 1.0f, CButtonState(kShift));
    EXPECT_NEAR(knob.getValue(), 0.325f, 1e-6);
    knob.onWheel(CPoint(), 20.0f, CButtonState());
    const auto sent = listener.values.size();
    knob.onWheel(CPoint(), 1.0f, CButtonState());
    knob.onWheel(CPoint(), std::numeric_limits<float>::quiet_NaN(), CButtonState());
    EXPECT_EQ(knob.getValue(), 1.0f);
    EXPECT_EQ(listener.values.size(), sent);
    knob.setMouseEnabled(false);
    EXPECT_FALSE(knob.onWheel(CPoint(), 1.0f, CButtonState()));
}

TEST_F(Knob, DoubleClickResetsButShiftDoubleClickRightClickAndTag9999DoNot) {
    knob.setDefaultValue(0.8f);
    knob.setValue(0.3f);
    press(100, kLeft | kDoubleClick);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.8f);
    EXPECT_FALSE(knob.isEditing());

    knob.setValue(0.3f);
    press(100, kLeftShift | kDoubleClick);  // a fine drag from the start instead
    move(0, kLeftShift);
    EXPECT_NEAR(knob.getValue(), 0.31f, 1e-5);
    release();

    for (std::int32_t tag : {2, uEditor::kNoParameterTag}) {
        knob.setTag(tag);
        press(100, tag == 2 ? kRButton : kLeft);
        move(0, kLeft);
        release();
        EXPECT_NEAR(knob.getValue(), 0.31f, 1e-5) << tag;
    }
    EXPECT_EQ(listener.begins, listener.ends);
}

}  // namespace
