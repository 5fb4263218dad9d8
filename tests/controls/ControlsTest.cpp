// The small controls inside an editor's frame: what they draw (pixel probes
// against the editor's own pictures) and how they answer the mouse.
#include <gtest/gtest.h>

#include <string>

#include "controls/TBitmap.h"
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

const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

struct InEditor : ::testing::Test {
    EffectWithEditor effect;
    CFrame* frame = nullptr;
    RecordingListener listener;

    void SetUp() override {
        frame = effect.openOffscreen();
        ASSERT_NE(frame, nullptr);
    }
    template <class T>
    T* add(T* view) {
        frame->addView(view);
        return view;
    }
    // Rows [from, to) of a rendered view equal the picture's rows from pictureTop on.
    static bool rowsMatch(CBitmap& shown, int from, int to, const CBitmap& picture, int pictureTop) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < shown.getWidth(); ++x)
                if (shown.getPixel(x, y) != picture.getPixel(x, pictureTop + y - from)) return false;
        return true;
    }
    static bool rowsEmpty(CBitmap& shown, int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < shown.getWidth(); ++x)
                if (shown.getPixel(x, y).alpha != 0) return false;
        return true;
    }
};

TEST_F(InEditor, MeterRevealsItsPictureFromTheBottom) {
    CBitmap* meter = effect.editor->picture(10008);
    ASSERT_TRUE(meter && meter->getHeight() >= 54);
    auto* vu = add(new TVu(CRect(0, 0, 7, 54), nullptr));
    vu->setInputVolume(0.5f);
    BitmapPtr half(renderToBitmap(*vu));
    EXPECT_TRUE(rowsEmpty(*half, 0, 27));
    EXPECT_TRUE(rowsMatch(*half, 27, 54, *meter, 27));

    for (float over : {1.3f, 1.0f}) {
        vu->setInputVolume(over);
        BitmapPtr full(renderToBitmap(*vu));
        EXPECT_TRUE(rowsMatch(*full, 0, 54, *meter, 0)) << over;
    }
    for (float nothing : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        vu->setInputVolume(nothing);
        BitmapPtr empty(renderToBitmap(*vu));
        EXPECT_TRUE(rowsEmpty(*empty, 0, 54)) << nothing;
    }
}

TEST_F(InEditor, LabelBitmapShowsOnlyItsTopLeftCorner) {
    CBitmap* mark = effect.editor->picture(10040);
    ASSERT_TRUE(mark && mark->getWidth() > 2 && mark->getHeight() > 6);
    auto* label = add(new TBitmap(CRect(10, 10, 12, 16), mark, nullptr));
    BitmapPtr shown(renderToBitmap(*label));
    ASSERT_EQ(shown->getWidth(), 2);
    EXPECT_TRUE(rowsMatch(*shown, 0, 6, *mark, 0));
}

TEST_F(InEditor, SwitchShowsUpperHalfOffLowerHalfOnAndRightClickLeavesIt) {
    auto face = makeBands(6, 4, {kRedCColor, kGreenCColor});
    auto* button = add(new TOnOffButton(CRect(0, 0, 6, 4), &listener, 12, face.get(), false, 0));
    BitmapPtr off(renderToBitmap(*button));
    EXPECT_EQ(off->getPixel(3, 2), kRedCColor);

    CPoint where(1, 1);
    button->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(button->getValue(), 1.0f);
    BitmapPtr on(renderToBitmap(*button));
    EXPECT_EQ(on->getPixel(3, 2), kGreenCColor);
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
    EXPECT_EQ(listener.begins, 1);

    button->onMouseDown(where, CButtonState(kRButton));
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(InEditor, RadioDrawsItsStateAndLitPicturesAndNeverSwitchesOff) {
    CBitmap* normal = effect.editor->picture(10018);
    CBitmap* lit = effect.editor->picture(10020);
    CBitmap* sizing = effect.editor->picture(10012);
    ASSERT_TRUE(normal && lit && sizing);
    const int half = static_cast<int>(sizing->getHeight() / 2);
    auto* radio = add(new TRadioButton(CRect(0, 0, sizing->getWidth(), half), &listener, 9999));

    BitmapPtr offShown(renderToBitmap(*radio));
    EXPECT_TRUE(rowsMatch(*offShown, 0, half, *normal, 0));
    CPoint where(1, 1);
    radio->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(radio->getValue(), 1.0f);
    BitmapPtr onShown(renderToBitmap(*radio));
    EXPECT_TRUE(rowsMatch(*onShown, 0, half, *normal, half));
    radio->setLit(true);
    BitmapPtr litShown(renderToBitmap(*radio));
    EXPECT_TRUE(rowsMatch(*litShown, 0, half, *lit, half));

    radio->onMouseDown(where, CButtonState(kLButton));  // already on
    EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(InEditor, TextButtonKeepsTheFirst255CharactersAndDrawsOnlyText) {
    const std::string longText(300, 'x');
    auto* text = add(new TTextButton(CRect(0, 0, 53, 11), &listener, 9999, nullptr, longText.c_str(), true, false));
    EXPECT_EQ(std::string(text->getString()), std::string(255, 'x'));
    text->setString(nullptr);
    EXPECT_STREQ(text->getString(), " ");
    BitmapPtr blank(renderToBitmap(*text));
    EXPECT_TRUE(rowsEmpty(*blank, 0, 11));  // no background, no frame

    text->setString("-6dB");
    BitmapPtr shown(renderToBitmap(*text));
    bool grey = false;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 53; ++x)
            if (shown->getPixel(x, y) == _LIGHT_TEXT_COLOR) grey = true;
    EXPECT_TRUE(grey);

    CPoint where(1, 1);
    text->onMouseDown(where, CButtonState(kLButton));
    text->onMouseUp(where, CButtonState());
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
}

TEST_F(InEditor, WheelNeverChangesAMenuEntry) {
    auto* menu = add(new TOptionMenu(CRect(0, 0, 79, 16), &listener, 23, nullptr, nullptr, 0x100, true));
    for (const char* entry : _LFO_WAVE_STRING) menu->addEntry(entry);
    menu->setValue(2);
    EXPECT_TRUE(menu->onWheel(CPoint(5, 5), 1.0f, CButtonState()));
    EXPECT_TRUE(menu->onWheel(CPoint(5, 5), -3.0f, CButtonState(kShift)));
    EXPECT_EQ(menu->getValue(), 2.0f);
    EXPECT_TRUE(listener.values.empty());

    auto* loose = new TOptionMenu(CRect(0, 0, 79, 16), &listener, 23, nullptr, nullptr, 0x100, true);
    EXPECT_FALSE(loose->onWheel(CPoint(), 1.0f, CButtonState()));  // no editor
    loose->forget();
}

TEST_F(InEditor, RightClickPopsUpOnlyMenusThatStandForNoParameter) {
    ScriptedPresenter presenter;
    frame->setMenuPresenter(&presenter);
    auto* preset = add(new TOptionMenu(CRect(0, 0, 79, 16), &listener, 9999, nullptr, nullptr, 0x100, false));
    auto* wave = add(new TOptionMenu(CRect(0, 20, 79, 36), &listener, 23, nullptr, nullptr, 0x100, true));
    for (auto* menu : {preset, wave}) menu->addEntry("Sine");
    CPoint where(5, 5);
    preset->onMouseDown(where, CButtonState(kRButton));
    EXPECT_EQ(presenter.shown, 1);
    where = CPoint(5, 25);
    wave->onMouseDown(where, CButtonState(kRButton));
    EXPECT_EQ(presenter.shown, 1);
    wave->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(presenter.shown, 2);
    frame->setMenuPresenter(nullptr);
}

TEST_F(InEditor, MenuDrawsOverrideTextOrItsEntryUnlessHidden) {
    auto* menu = add(new TOptionMenu(CRect(0, 0, 79, 16), &listener, 22, nullptr, nullptr, 0x100, true));
    menu->addEntry("Free");
    menu->setValue(0);
    auto inkOf = [&] {
        BitmapPtr shown(renderToBitmap(*menu));
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 79; ++x) ink += shown->getPixel(x, y).alpha != 0;
        return ink;
    };
    const int entryInk = inkOf();
    EXPECT_GT(entryInk, 0);
    menu->setString("A much longer override text");
    EXPECT_GT(inkOf(), entryInk);
    menu->setNoText();
    EXPECT_EQ(inkOf(), 0);
    EXPECT_EQ(std::string(menu->getOverrideText()), "A much longer override text");
}

}  // namespace
