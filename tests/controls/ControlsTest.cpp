// The small controls inside an editor's frame: what they draw (pixel probes
// against the editor's own pictures) and how they answer the mouse.
#include <limits>

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
    auto* vu = add(new TVu(CRect(0, 0, 7, 54), nullptr));
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
    const CBitmap* label = effect.editor->picture(10040);
    ASSERT_TRUE(label && label->getWidth() > 2 && label->getHeight() > 6);
    EXPECT_TRUE(rowsShow(*add(new TBitmap(CRect(10, 10, 12, 16), effect.editor->picture(10040), nullptr)), 0, 6,
                         label, 0));
}

// How the switch draws and toggles is its base's; its own is the right click.
TEST_F(InEditor, SwitchTogglesOnlyOnALeftClick) {
    auto* button = add(new TOnOffButton(CRect(0, 0, 6, 4), &listener, 12, nullptr, false, 0));
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
    auto* radio = add(new TRadioButton(CRect(0, 0, sizing->getWidth(), half), &listener, 9999));
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
    auto* text = add(new TTextButton(CRect(0, 0, 53, 11), &listener, 9999, effect.editor->picture(10040),
                                     longText.c_str(), true, false));
    EXPECT_EQ(std::string(text->getString()), std::string(255, 'x'));
    text->setString(nullptr);
    EXPECT_TRUE(rowsShow(*text, 0, 11, nullptr, 0));
}

TEST_F(InEditor, WheelNeverChangesAMenuEntryAndRightClickPopsUpOnlyTag9999Menus) {
    ScriptedPresenter presenter;
    frame->setMenuPresenter(&presenter);
    auto* preset = add(new TOptionMenu(CRect(0, 0, 79, 16), &listener, 9999, nullptr, nullptr, 0x100, false));
    auto* wave = add(new TOptionMenu(CRect(0, 20, 79, 36), &listener, 23, nullptr, nullptr, 0x100, true));
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
    EXPECT_EQ(presenter.shown, 1);
    wave->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(presenter.shown, 2);
    EXPECT_TRUE(listener.values.empty());
    frame->setMenuPresenter(nullptr);
}

}  // namespace
