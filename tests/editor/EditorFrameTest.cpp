// The editor frame off-screen: sizes from the preferences, scaling, the
// picture set, the front panel's views, and following the effect.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

ERect rectFromHost(APlugin& plugin) {
    ERect* rect = nullptr;
    EXPECT_EQ(plugin.dispatcher(effEditGetRect, 0, 0, &rect, 0), 1);
    return rect ? *rect : ERect{};
}

std::string displayOf(APlugin& plugin, VstInt32 index) {
    char text[256] = {};
    plugin.getParameterDisplay(index, text);
    return text;
}

TEST(EditorSize, FollowsTheSizePreferencesWith200Winning) {
    struct Case {
        const char* big150;
        const char* big200;
        VstInt16 width, height;
        float scale;
    };
    for (const Case& c : {Case{nullptr, nullptr, 1100, 641, 1.0f}, Case{"Y", nullptr, 1650, 961, 1.5f},
                          Case{"Y", "Y", 2200, 1282, 2.0f}, Case{"y", "N", 1100, 641, 1.0f}}) {
        EffectWithEditor effect(c.big150, c.big200);
        ASSERT_NE(effect.editor, nullptr);
        const ERect rect = rectFromHost(*effect.plugin);
        EXPECT_EQ(rect.right, c.width);
        EXPECT_EQ(rect.bottom, c.height);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(effect.editor->getScale(), c.scale);
        // The frame is as big as the background picture of that size.
        CFrame* frame = effect.openOffscreen();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->getWidth(), c.width);
        EXPECT_EQ(frame->getHeight(), c.height);
    }
}

TEST(EditorSize, ScalesByTruncationAndPicksPicturesOfItsSize) {
    EffectWithEditor effect("Y");
    uEditor& editor = *effect.editor;
    EXPECT_EQ(editor.getScaled(255), 382);
    EXPECT_EQ(editor.getScaled(-3), -4);
    EXPECT_FLOAT_EQ(editor.getScaled(255.0f), 382.5f);
    EXPECT_EQ(editor.getBitmap(10022), 11022);
    EXPECT_EQ(editor.picture(10022), nullptr);  // the set is loaded only while open

    effect.openOffscreen();
    CBitmap* strip = editor.picture(10022);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->getResourceId(), 11022);
    EXPECT_EQ(editor.picture(12345), nullptr);
    editor.close();
    EXPECT_EQ(editor.picture(10022), nullptr);
}

TEST(EditorPreferences, FlagsReadWithOrWithoutADefault) {
    IsolatedHome home;
    saveStringToPrefs("Yes", "Y");
    saveStringToPrefs("No", "N");
    saveStringToPrefs("Odd", "yes");
    EXPECT_TRUE(uEditor::getBackRegValue("Yes", false));
    EXPECT_FALSE(uEditor::getBackRegValue("No", true));
    EXPECT_TRUE(uEditor::getBackRegValue("Odd", true));
    EXPECT_FALSE(uEditor::getBackRegValue("Odd", false));
    EXPECT_TRUE(uEditor::getBackRegValue("Absent", true));
    EXPECT_FALSE(uEditor::getBackRegValue("Absent", false));
}

TEST(EditorOpen, BuildsTheFrontPanelAtItsPlacesAndBindsItToTheParameters) {
    EffectWithEditor effect("Y");
    CFrame* frame = effect.openOffscreen();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(effect.plugin->isEditorOpen());  // off-screen: no window to send updates to
    auto knobs = viewsOf<TKnob>(*frame);
    ASSERT_EQ(knobs.size(), 19u);
    EXPECT_EQ(viewsOf<TOnOffButton>(*frame).size(), 10u);
    EXPECT_EQ(viewsOf<TVu>(*frame).size(), 4u);
    EXPECT_EQ(viewsOf<TRadioButton>(*frame).size(), 3u);
    EXPECT_EQ(viewsOf<TTextButton>(*frame).size(), 20u);  // 19 read-outs and the LFO speed

    // "Dry Volume" at (507, 44) and its read-out 44 px below, 6 px left; at 150 %.
    TKnob* dry = viewWithTag<TKnob>(*frame, Param::DryVolume);
    ASSERT_NE(dry, nullptr);
    EXPECT_EQ(dry->getViewSize().getTopLeft(), CPoint(760, 66));
    EXPECT_EQ(dry->getWidth(), effect.editor->picture(10022)->getWidth());
    EXPECT_FLOAT_EQ(dry->getValue(), effect.plugin->getParameter(Param::DryVolume));
    EXPECT_FLOAT_EQ(dry->getDefaultValue(), parameterRow(Param::DryVolume).defaultValue);
    auto readOuts = viewsOf<TTextButton>(*frame);
    EXPECT_EQ(readOuts[0]->getViewSize(), CRect(751, 132, 751 + 79, 132 + 16));
    // "Reverse Zoom" has its read-out above the knob.
    TKnob* zoom = viewWithTag<TKnob>(*frame, Param::ReverseZoom);
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(readOuts[8]->getViewSize().top, effect.editor->getScaled(427 - 22));
    // At 150 % the ECS menu is as wide as its picture and half as high, at (528, 93).
    bool ecsFound = false;
    for (TOptionMenu* menu : viewsOf<TOptionMenu>(*frame)) {
        if (menu->getNbEntries() != 3 || std::strcmp(menu->getEntry(0)->getTitle().c_str(), "Load ECS") != 0) continue;
        ecsFound = true;
        const CBitmap* face = effect.editor->picture(10033);
        EXPECT_EQ(menu->getViewSize(), CRect(528, 93, 528 + face->getWidth(), 93 + face->getHeight() / 2));
    }
    EXPECT_TRUE(ecsFound);
}

TEST(EditorOpen, PresetMenuListsTheBankInFourSubmenus) {
    EffectWithEditor effect;
    CFrame* frame = effect.openOffscreen();
    ASSERT_NE(frame, nullptr);
    TOptionMenu* preset = viewsOf<TOptionMenu>(*frame).front();
    ASSERT_EQ(preset->getNbEntries(), 12);
    const int expected[4] = {32, 14, 0, 0};
    for (int k = 0; k < 4; ++k) {
        COptionMenu* submenu = preset->getEntry(k)->getSubmenu();
        ASSERT_NE(submenu, nullptr);
        EXPECT_EQ(submenu->getNbEntries(), expected[k]);
    }
    EXPECT_EQ(preset->getEntry(3)->getTitle(), "Preset 97 - 128");
    EXPECT_EQ(preset->getEntry(1)->getSubmenu()->getEntry(13)->getTitle(), "Voice Mad");

    // Choosing "Preset 33 - 64", entry 13, loads the last factory preset.
    ScriptedPresenter presenter;
    presenter.answer = {preset->getEntry(1)->getSubmenu(), 13};
    frame->setMenuPresenter(&presenter);
    CPoint where = preset->getViewSize().getTopLeft();
    preset->onMouseDown(where, CButtonState(kLButton));
    char name[64] = {};
    effect.plugin->getProgramName(name);
    EXPECT_STREQ(name, "Voice Mad");
    frame->setMenuPresenter(nullptr);
}

TEST(EditorOpen, CloseLeavesNoViewBehindAndOpenRebuildsThem) {
    EffectWithEditor effect;
    for (int round = 0; round < 3; ++round) {
        CFrame* frame = effect.openOffscreen();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(effect.editor->isEditorOpen());
        const std::int32_t views = frame->getNbViews();
        EXPECT_EQ(views, 76);
        TKnob* knob = viewsOf<TKnob>(*frame).front();
        knob->remember();
        // A second open without a close rebuilds rather than leaking the first frame.
        if (round == 1) {
            ASSERT_NE(effect.openOffscreen(), nullptr);
        }
        effect.editor->close();
        EXPECT_EQ(effect.editor->getFrame(), nullptr);
        EXPECT_FALSE(effect.editor->isEditorOpen());
        EXPECT_FALSE(knob->isAttached());
        EXPECT_EQ(knob->getNbReference(), 1);  // only the test's own
        knob->forget();
    }
    // Closed, the editor ignores everything.
    effect.editor->idle();
    effect.editor->setParameter(2, 0.5f);
    effect.editor->resume();
    effect.editor->close();
}

TEST(EditorFollowsTheEffect, ControlsReadOutsRadiosAndLabelsShowTheEffectsState) {
    EffectWithEditor effect;
    CFrame* frame = effect.openOffscreen();
    ASSERT_NE(frame, nullptr);
    APlugin& plugin = *effect.plugin;
    plugin.setParameter(Param::WetVolume, 0.25f);    // the host automates
    plugin.setParameter(Param::LfoWave, 0.9f);       // "Square"
    plugin.setParameter(Param::ReverseTriggerMode, 2.1f / 2.99f);  // "Host"
    plugin.setParameter(Param::FilterMode, 1.0f);    // comb
    effect.idleLater();

    EXPECT_FLOAT_EQ(viewWithTag<TKnob>(*frame, Param::WetVolume)->getValue(), 0.25f);
    TOptionMenu* wave = viewWithTag<TOptionMenu>(*frame, Param::LfoWave);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->getCurrent()->getTitle(), "Square");
    auto radios = viewsOf<TRadioButton>(*frame);
    EXPECT_EQ(radios[0]->getValue(), 0.0f);
    EXPECT_EQ(radios[2]->getValue(), 1.0f);
    auto texts = viewsOf<TTextButton>(*frame);
    EXPECT_EQ(texts[1]->getString(), displayOf(plugin, Param::WetVolume));
    EXPECT_EQ(texts[19]->getString(), displayOf(plugin, Param::LfoSpeed));
    auto labels = viewsOf<TBitmap>(*frame);
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels[0]->getBackground()->getResourceId(), 10041);
    EXPECT_EQ(labels[3]->getBackground()->getResourceId(), 10046);
    EXPECT_EQ(labels[4]->getBackground()->getResourceId(), 10049);
}

TEST(EditorFollowsTheEffect, UserChangesReachTheEffect) {
    EffectWithEditor effect;
    CFrame* frame = effect.openOffscreen();
    ASSERT_NE(frame, nullptr);
    APlugin& plugin = *effect.plugin;

    TKnob* wet = viewWithTag<TKnob>(*frame, Param::WetVolume);
    CPoint where = wet->getViewSize().getTopLeft();
    wet->setValue(0.0f);
    wet->onMouseDown(where, CButtonState(kLButton));
    where.y -= 100;
    wet->onMouseMoved(where, CButtonState(kLButton));
    wet->onMouseUp(where, CButtonState());
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), 0.5f);

    TOnOffButton* mute = viewWithTag<TOnOffButton>(*frame, Param::Mute);
    const float muteBefore = plugin.getParameter(Param::Mute);
    where = mute->getViewSize().getTopLeft();
    mute->onMouseDown(where, CButtonState(kLButton));
    EXPECT_NE(plugin.getParameter(Param::Mute), muteBefore);

    // "LFO Phase" "270 Deg" sends 1.1667, which the effect keeps as 1.
    ScriptedPresenter presenter;
    TOptionMenu* phase = viewWithTag<TOptionMenu>(*frame, Param::LfoPhase);
    presenter.answer = {phase, 3};
    frame->setMenuPresenter(&presenter);
    where = phase->getViewSize().getTopLeft();
    phase->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(plugin.getParameter(Param::LfoPhase), 1.0f);
    frame->setMenuPresenter(nullptr);

    // The "Manual" radio sets the trigger mode; the offset lock is no parameter.
    TRadioButton* manual = viewsOf<TRadioButton>(*frame)[1];
    where = manual->getViewSize().getTopLeft();
    manual->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(plugin.getReverseTriggerMode(), 1);
    TOnOffButton* lock = viewWithTag<TOnOffButton>(*frame, uEditor::kOffsetLockTag);
    where = lock->getViewSize().getTopLeft();
    lock->onMouseDown(where, CButtonState(kLButton));
    effect.idleLater();
    EXPECT_TRUE(plugin.getLockOffset());
}

TEST(EditorFollowsTheEffect, ArrowKeysStepPresetsAtMostThreeTimesASecond) {
    EffectWithEditor effect;
    ASSERT_NE(effect.openOffscreen(), nullptr);
    VstKeyCode down{0, VKEY_DOWN, 0};
    VstKeyCode right{0, VKEY_RIGHT, 0};
    // The first step waits out the gate that open started.
    std::this_thread::sleep_for(std::chrono::milliseconds(uEditor::kPresetStepMs + 5));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(effect.editor->onKeyDown(down, nullptr), 1);
    EXPECT_EQ(effect.editor->onKeyDown(right, nullptr), -1);
    char name[64] = {};
    effect.plugin->getProgramName(name);
    EXPECT_STREQ(name, effect.plugin->getPresetName(1));
}

}  // namespace
