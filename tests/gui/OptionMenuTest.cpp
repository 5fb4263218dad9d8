// Option menus: the "-G" and "-" entry texts, reading the current entry with
// its title, and pop-ups with a scripted choice.
#include <gtest/gtest.h>

#include <cstring>

#include "GuiTestSupport.h"
#include "gui/COptionMenu.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

struct MenuFixture : FrameTest {
    RecordingListener listener;
    ScriptedPresenter presenter;
    COptionMenu* menu = new COptionMenu(CRect(50, 40, 150, 56), &listener, 24);

    MenuFixture() {
        frame->setMenuPresenter(&presenter);
        frame->addView(menu);
    }
};

}  // namespace

TEST(OptionMenuEntries, DisabledAndSeparatorTextsAndCurrentTitleEvenWhenEmpty) {
    COptionMenu menu(CRect(0, 0, 16, 16), nullptr, 9999);
    for (const char* text : {"-GDry Volume", "-G-12.0dB", "-", "Set to Default", "-Gx-"}) menu.addEntry(text);
    ASSERT_EQ(menu.getNbEntries(), 5);
    EXPECT_FALSE(menu.getEntry(0)->isEnabled());
    EXPECT_EQ(menu.getEntry(1)->getTitle(), "-12.0dB");
    EXPECT_TRUE(menu.getEntry(2)->isSeparator());
    EXPECT_TRUE(menu.getEntry(3)->isEnabled());
    EXPECT_EQ(menu.getMax(), 4.f);

    char text[64] = "junk";
    EXPECT_EQ(menu.getCurrent(text), 0);
    EXPECT_STREQ(text, "Dry Volume");
    ASSERT_TRUE(menu.setCurrent(3));
    EXPECT_EQ(menu.getCurrent(text, false), 2);  // separators not counted
    EXPECT_EQ(menu.getCurrentIndex(), 2);

    // A short buffer gets a terminated prefix, never more.
    char tiny[5];
    std::memset(tiny, 'z', sizeof tiny);
    EXPECT_EQ(menu.getCurrent(tiny), 3);
    EXPECT_STREQ(tiny, "Set ");

    EXPECT_TRUE(menu.setCurrent(3, false));  // the fourth non-separator entry
    EXPECT_EQ(menu.getCurrent()->getTitle(), "x-");
    EXPECT_FALSE(menu.setCurrent(9));
    EXPECT_FALSE(menu.setCurrent(-1));

    COptionMenu empty(CRect(0, 0, 16, 16), nullptr, 1);
    EXPECT_EQ(empty.getCurrent(text), -1);
    EXPECT_STREQ(text, "");
    empty.setValue(3);
    EXPECT_EQ(empty.getCurrent(), nullptr);
}

TEST_F(MenuFixture, ChoosingAnEntrySetsTheValueAndTellsTheListener) {
    for (const char* text : {"0 Deg", "90 Deg", "180 Deg"}) menu->addEntry(text);
    presenter.answer = {menu, 2};
    press({60, 45});
    EXPECT_EQ(presenter.shown, 1);
    EXPECT_EQ(presenter.lastAnchor, CRect(50, 40, 150, 56));
    EXPECT_EQ(menu->getValue(), 2.f);
    EXPECT_EQ(listener.changed, std::vector<CControl*>{menu});
    EXPECT_EQ(std::pair(listener.begins, listener.ends), std::pair(1, 1));
}

TEST_F(MenuFixture, DismissedUnselectableOrForeignChoicesChangeNothing) {
    for (const char* text : {"-GNot Latched", "-", "Clear MIDI"}) menu->addEntry(text);
    menu->setCurrent(2);
    COptionMenu stranger(CRect(), nullptr, 5);  // not part of this menu
    stranger.addEntry("Load ECS");
    for (MenuChoice choice :
         {MenuChoice{}, MenuChoice{menu, 0}, MenuChoice{menu, 1}, MenuChoice{menu, 7}, MenuChoice{&stranger, 0}}) {
        presenter.answer = choice;
        EXPECT_FALSE(menu->popup());
    }
    EXPECT_EQ(menu->getValue(), 2.f);
    EXPECT_TRUE(listener.changed.empty());
}

TEST_F(MenuFixture, ChoiceInASubmenuGoesToTheSubmenuAndMenusCannotContainThemselves) {
    RecordingListener subListener;
    auto* presets = new COptionMenu(CRect(50, 40, 150, 56), &subListener, 9999, nullptr, nullptr, 0x118);
    presets->addEntry("Default");
    presets->addEntry("Drums & Perc 01");
    ASSERT_NE(menu->addEntry(presets, "Preset 1 - 32"), nullptr);
    presets->forget();  // the menu keeps its own reference
    menu->addEntry("Default Preset");

    presenter.answer = {presets, 1};
    EXPECT_TRUE(menu->popup());
    EXPECT_EQ(presets->getValue(), 1.f);
    EXPECT_EQ(subListener.changed, std::vector<CControl*>{presets});
    EXPECT_TRUE(listener.changed.empty());
    presenter.answer = {menu, 0};  // the submenu entry itself is not a choice
    EXPECT_FALSE(menu->popup());

    EXPECT_EQ(presets->addEntry(menu, "loop"), nullptr);
    EXPECT_EQ(menu->addEntry(menu, "self"), nullptr);
}

TEST_F(MenuFixture, WithoutPresenterOrFrameTheMenuStaysClosed) {
    menu->addEntry("Load ECS");
    frame->setMenuPresenter(nullptr);
    EXPECT_FALSE(menu->popup());  // no window, so no presenter of its own
    COptionMenu loose(CRect(0, 0, 10, 10), nullptr, 1);
    loose.addEntry("Save ECS");
    EXPECT_FALSE(loose.popup());
}

TEST_F(MenuFixture, ModifierClicksGoToTheListenerFirst) {
    menu->addEntry("Sine");
    listener.takeModifierClicks = 1;
    EXPECT_EQ(press({60, 45}, kLButton | kShift), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(presenter.shown, 0);
    listener.takeModifierClicks = 0;
    press({60, 45}, kLButton | kShift);
    EXPECT_EQ(presenter.shown, 1);
}
