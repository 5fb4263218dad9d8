// The small controls inside an editor's frame: what they draw (pixel probes
// against the editor's own pictures) and how they answer the mouse.
#include <limits>
#include <utility>

#include "controls/TBitmap.h"
#include "controls/TKnob.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "controls/TTextButton.h"
#include "controls/TVu.h"
#include "tests/editor/EditorTestSupport.h"

using namespace VSTGUI;
using namespace guitest;
using namespace editortest;

namespace {

// Rows [from, to) of what view draws equal the picture's rows from pictureTop
// on; a null picture means nothing drawn.
bool rowsShow(CView& view, int from, int to, const CBitmap* picture, int pictureTop) {
    BitmapPtr shown(renderToBitmap(view));
    for (int y = from; y < to; ++y)
        for (int x = 0; x < shown->getWidth(); ++x)
            if (shown->getPixel(x, y) != (picture ? picture->getPixel(x, pictureTop + y - from) : kTransparentCColor))
                return false;
    return true;
}

TEST_F(InEditor, MeterRevealsItsPictureFromTheBottom) {
    const CBitmap* meter = effect.editor->picture(10008);
    ASSERT_TRUE(meter && meter->getHeight() >= 54);
    auto* vu = effect.add(new TVu(CRect(0, 0, 7, 54), nullptr));
    vu->setInputVolume(0.5f);
    EXPECT_TRUE(rowsShow(*vu, 0, 27, nullptr, 0));
    EXPECT_TRUE(rowsShow(*vu, 27, 54, meter, 27));
    vu->setInputVolume(1.3f);
    EXPECT_TRUE(rowsShow(*vu, 0, 54, meter, 0));
    for (float nothing : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        vu->setInputVolume(nothing);
        EXPECT_TRUE(rowsShow(*vu, 0, 54, nullptr, 0)) << nothing;
    }
}

TEST_F(InEditor, LabelShowsOnlyTheTopLeftCornerOfItsPicture) {
    auto* label = effect.editor->picture(10040);
    ASSERT_TRUE(label && label->getWidth() > 2 && label->getHeight() > 6);
    EXPECT_TRUE(rowsShow(*effect.add(new TBitmap(CRect(10, 10, 12, 16), label, nullptr)), 0, 6, label, 0));
}

// How the switch draws and toggles is its base's; its own is the right click.
TEST_F(InEditor, SwitchTogglesOnlyOnALeftClick) {
    auto* button = effect.add(new TOnOffButton(CRect(0, 0, 6, 4), &listener, 12, nullptr, false, 0));
    button->onMouseDown(where, CButtonState(kLButton));
    button->onMouseDown(where, CButtonState(kRButton));  // no parameter menu on this switch
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
}

TEST_F(InEditor, RadioDrawsStateAndLightAndNeverSwitchesItselfOff) {
    const CBitmap* normal = effect.editor->picture(10018);
    const CBitmap* lit = effect.editor->picture(10020);
    const CBitmap* sizing = effect.editor->picture(10012);
    ASSERT_TRUE(normal && lit && sizing);
    const int half = static_cast<int>(sizing->getHeight() / 2);
    auto* radio = effect.add(new TRadioButton(CRect(0, 0, sizing->getWidth(), half), &listener, 9999));
    EXPECT_TRUE(rowsShow(*radio, 0, half, normal, 0));
    radio->onMouseDown(where, CButtonState(kLButton));
    EXPECT_TRUE(rowsShow(*radio, 0, half, normal, half));
    radio->setLit(true);
    EXPECT_TRUE(rowsShow(*radio, 0, half, lit, half));
    radio->onMouseDown(where, CButtonState(kLButton));  // already on
    EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(InEditor, TextButtonKeeps255CharactersAndDrawsNoBackground) {
    const std::string longText(300, 'x');
    auto* text = effect.add(new TTextButton(CRect(0, 0, 53, 11), &listener, 9999, effect.editor->picture(10040),
                                     longText.c_str(), true, false));
    EXPECT_EQ(std::string(text->getString()), std::string(255, 'x'));
    text->setString(nullptr);
    EXPECT_TRUE(rowsShow(*text, 0, 11, nullptr, 0));
}

TEST_F(InEditor, WheelNeverChangesAMenuEntryAndRightClickOnAParameterMenuOpensItsParameterMenu) {
    ScriptedPresenter presenter;
    frame->setMenuPresenter(&presenter);
    auto* preset = effect.add(new TOptionMenu(CRect(0, 0, 79, 16), &listener, 9999, nullptr, nullptr, 0x100, false));
    auto* wave = effect.add(new TOptionMenu(CRect(0, 20, 79, 36), &listener, 23, nullptr, nullptr, 0x100, true));
    for (auto* menu : {preset, wave}) {
        for (const char* entry : _LFO_WAVE_STRING) menu->addEntry(entry);
        menu->setValue(2);
        EXPECT_TRUE(menu->onWheel(where, 1.0f, CButtonState()));
        EXPECT_TRUE(menu->onWheel(where, -3.0f, CButtonState(kShift)));
        EXPECT_EQ(menu->getValue(), 2.0f);
    }
    preset->onMouseDown(where, CButtonState(kRButton));
    EXPECT_EQ(presenter.shown, 1);
    wave->onMouseDown(where, CButtonState(kRButton));
    EXPECT_EQ(presenter.lastEntries.front(), "-GLFO Wave");
    wave->onMouseDown(where, CButtonState(kLButton | kApple));
    EXPECT_EQ(presenter.shown, 3);
    wave->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(presenter.lastEntries.front(), "Sine");
    EXPECT_TRUE(listener.values.empty());
    frame->setMenuPresenter(nullptr);
}

// TKnob's mouse: coarse and fine drags, the ratio changing in mid-drag,
// clamping, the wheel, double-click and right click.

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
