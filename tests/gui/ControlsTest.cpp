// Controls: values and ranges, gestures reaching listener and editor, and
// what the picture-based controls draw for a value.
#include <gtest/gtest.h>

#include <cmath>

#include "GuiTestSupport.h"
#include "gui/CAnimKnob.h"
#include "gui/CKickButton.h"
#include "gui/COnOffButton.h"
#include "gui/CParamDisplay.h"
#include "gui/VSTGUIEditorInterface.h"

using namespace VSTGUI;
using namespace guitest;

using ControlInFrame = FrameTest;

TEST(Control, ValuesStayInsideTheRange) {
    CControl control(CRect(0, 0, 10, 10));
    control.setMin(10);
    control.setMax(20);
    for (const auto& [value, kept] : {std::pair{25.f, 20.f}, {-3.f, 10.f}, {NAN, 10.f}}) {
        control.setValue(value);
        EXPECT_EQ(control.getValue(), kept) << value;
    }
    control.setValueNormalized(0.25f);
    EXPECT_FLOAT_EQ(control.getValue(), 12.5f);
    EXPECT_FLOAT_EQ(control.getValueNormalized(), 0.25f);
    control.setValueNormalized(7.f);
    EXPECT_EQ(control.getValue(), 20);

    // Narrowing the range leaves the value until it is bounced back in.
    control.setMax(15);
    EXPECT_EQ(control.getValue(), 20);
    control.bounceValue();
    EXPECT_EQ(control.getValue(), 15);

    // An inverted range still gives defined answers.
    control.setMax(5);
    control.setValue(8);
    EXPECT_EQ(control.getValue(), 10);
    EXPECT_EQ(control.getValueNormalized(), 0.f);
}

TEST(Control, GesturesNestAndReachListenerAndEditorOnce) {
    struct RecordingEditor : VSTGUIEditorInterface {
        std::vector<std::int32_t> begun, ended;
        bool beginEdit(std::int32_t index) override { begun.push_back(index); return true; }
        bool endEdit(std::int32_t index) override { ended.push_back(index); return true; }
    } editor;
    auto* frame = new CFrame(CRect(0, 0, 20, 20), &editor);
    RecordingListener listener;
    auto* control = new CControl(CRect(0, 0, 10, 10), &listener, 42);
    frame->addView(control);

    control->endEdit();  // without a begin: nothing
    control->beginEdit();
    control->beginEdit();
    control->endEdit();
    EXPECT_TRUE(control->isEditing());
    control->endEdit();
    EXPECT_FALSE(control->isEditing());
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
    EXPECT_EQ(editor.begun, std::vector<std::int32_t>{42});
    EXPECT_EQ(editor.ended, std::vector<std::int32_t>{42});
    frame->close();
}

TEST(Control, ControlClickResetsToTheDefaultValue) {
    RecordingListener listener;
    CControl control(CRect(0, 0, 10, 10), &listener, 1);
    control.setDefaultValue(0.8f);
    control.setValue(0.2f);
    EXPECT_FALSE(control.checkDefaultValue(CButtonState(kLButton | kShift)));
    EXPECT_FALSE(control.checkDefaultValue(CButtonState(kRButton | kControl)));
    EXPECT_TRUE(listener.changed.empty());

    EXPECT_TRUE(control.checkDefaultValue(CButtonState(kLButton | kControl)));
    EXPECT_EQ(listener.values, std::vector<float>{0.8f});
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
    // Already at the default: the gesture is used but nothing changes.
    EXPECT_TRUE(control.checkDefaultValue(CButtonState(kLButton | kControl)));
    EXPECT_EQ(listener.values.size(), 1u);
}

TEST(AnimKnob, DrawsTheFilmStripFrameForItsValue) {
    constexpr int kFrames = 137;
    std::vector<CColor> colors;
    for (int i = 0; i < kFrames; ++i) colors.push_back(frameColor(i));
    auto strip = makeBands(3, 2, colors);
    CAnimKnob knob(CRect(10, 10, 13, 12), nullptr, 0, kFrames, 2, strip.get());

    const std::pair<float, int> expectations[] = {
        {0.f, 0}, {0.5f, 68}, {1.f, 136}, {0.25f, 34}, {1.f / 136 - 1e-4f, 0}, {1.f / 136 + 1e-4f, 1}};
    for (const auto& [value, frame] : expectations) {
        knob.setValue(value);
        EXPECT_EQ(knob.getFrameIndex(), frame) << value;
        EXPECT_EQ(pixelOf(knob, 1, 0), frameColor(frame)) << value;
        EXPECT_EQ(pixelOf(knob, 2, 1), frameColor(frame)) << value;
    }
}

TEST_F(ControlInFrame, AnimKnobDragsVerticallyAndTurnsWithTheWheel) {
    RecordingListener listener;
    auto* knob = new CAnimKnob(CRect(0, 0, 20, 20), &listener, 3, 137, 20, nullptr);
    frame->addView(knob);

    EXPECT_EQ(drag({10, 10}, {{10, -90}, {10, -500}}), kMouseEventHandled);
    EXPECT_FALSE(knob->isEditing());
    EXPECT_EQ(listener.values, (std::vector<float>{0.5f, 1.f}));

    EXPECT_TRUE(frame->onWheel(CPoint(5, 5), -1.f, 0));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.9f);
}

TEST_F(ControlInFrame, OnOffButtonShowsTheUpperHalfWhenOffAndTogglesOnClick) {
    RecordingListener listener;
    auto strip = makeBands(6, 5, {kGreenCColor, kRedCColor});
    auto* button = new COnOffButton(CRect(0, 0, 6, 5), &listener, 7, strip.get());
    frame->addView(button);

    EXPECT_EQ(pixelOf(*button, 3, 4), kGreenCColor);
    button->setValue(0.7f);  // read as on, like every switch
    EXPECT_EQ(pixelOf(*button, 3, 0), kRedCColor);

    EXPECT_EQ(press({2, 2}), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    press({2, 2});
    EXPECT_EQ(listener.values, (std::vector<float>{0.f, 1.f}));
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(2, 2));
}

TEST_F(ControlInFrame, KickButtonIsOnOnlyWhilePressedOverIt) {
    RecordingListener listener;
    auto strip = makeBands(8, 4, {kGreenCColor, kRedCColor});
    auto* button = new CKickButton(CRect(10, 10, 18, 14), &listener, 9, strip.get());
    frame->addView(button);

    drag({12, 12}, {{40, 40}, {12, 12}});
    EXPECT_EQ(pixelOf(*button, 0, 0), kGreenCColor);
    button->setValue(1);
    EXPECT_EQ(pixelOf(*button, 0, 0), kRedCColor);
    EXPECT_EQ(listener.values, (std::vector<float>{1.f, 0.f, 1.f, 0.f}));
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
}

TEST_F(ControlInFrame, KickButtonTakenAwayDuringItsOwnClickEndsTheGesture) {
    // The editor swaps pages from a button's press: the button leaves the
    // frame before the mouse is released.
    struct PageSwapper : RecordingListener {
        CFrame* frame = nullptr;
        void valueChanged(CControl* control) override {
            RecordingListener::valueChanged(control);
            if (control->getValue() > 0.5f) frame->removeView(control, false);
        }
    } listener;
    listener.frame = frame;
    auto* button = new CKickButton(CRect(0, 0, 8, 8), &listener, 9999, nullptr);
    frame->addView(button);

    CPoint where(4, 4);
    press(where);
    EXPECT_FALSE(frame->isChild(button));
    EXPECT_FALSE(button->isEditing());
    EXPECT_EQ(button->getValue(), 0.f);
    frame->onMouseUp(where, kLButton);  // goes nowhere
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
    button->forget();
}

TEST(ParamDisplay, DrawsBackgroundFrameAndValueText) {
    CParamDisplay display(CRect(0, 0, 60, 20));
    display.setBackColor(kBlueCColor);
    display.setFrameColor(kRedCColor);
    display.setFontColor(kWhiteCColor);
    display.setValue(0.5f);
    BitmapPtr picture(renderToBitmap(display));
    EXPECT_EQ(picture->getPixel(0, 0), kRedCColor);
    EXPECT_EQ(picture->getPixel(59, 19), kRedCColor);
    EXPECT_EQ(picture->getPixel(2, 2), kBlueCColor);
    int ink = 0;
    for (int x = 1; x < 59; ++x)
        for (int y = 1; y < 19; ++y) ink += picture->getPixel(x, y).red > 200;
    EXPECT_GT(ink, 10) << "value text missing";
}
