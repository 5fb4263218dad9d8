// What the user does with the editor: the preset and ECS menus, the buttons,
// the parameter menu, the settings page and the gestures, checked by what the
// host hears, what the effect holds and what the preferences store.
#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "controls/TKnob.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TTextButton.h"
#include "gui/CKickButton.h"
#include "resources/SettingsPageLayout.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/PluginTestSupport.h"

using namespace VSTGUI;
using namespace guitest;
using namespace editortest;
namespace layout = tidewalker::layout;

namespace {

// What the host heard: "begin 3", "set 3 0.8", "end 3", "display" (read the program again).
std::vector<std::string> heard;

VstIntPtr listeningHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float value) {
    if (opcode == audioMasterAutomate) heard.push_back("set " + std::to_string(index) + " " + std::to_string(value));
    if (opcode == audioMasterBeginEdit) heard.push_back("begin " + std::to_string(index));
    if (opcode == audioMasterEndEdit) heard.push_back("end " + std::to_string(index));
    if (opcode == audioMasterUpdateDisplay) heard.push_back("display");
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct EditorInHost : ::testing::Test {
    EffectWithEditor effect{nullptr, nullptr, listeningHost};
    APlugin& plugin = *effect.plugin;
    CFrame* frame = nullptr;
    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;

    void SetUp() override {
        heard.clear();
        ASSERT_NE(frame = effect.openOffscreen(), nullptr);
        frame->setMenuPresenter(&presenter);
    }
    void TearDown() override { effect.editor->close(); }

    // The view of class T placed at place (100 % coordinates).
    template <class T>
    T* at(const layout::PanelRect& place) {
        const CPoint corner(effect.editor->getScaled(place.x), effect.editor->getScaled(place.y));
        for (T* view : viewsOf<T>(*frame))
            if (view->getViewSize().getTopLeft() == corner) return view;
        return nullptr;
    }
    void click(CControl* control, CButtonState buttons = kLButton) {
        ASSERT_NE(control, nullptr);
        CPoint where = control->getViewSize().getTopLeft();
        control->onMouseDown(where, buttons);
        if (buttons.isLeftButton()) control->onMouseUp(where, CButtonState());
    }
    TOptionMenu* presetMenu() { return viewsOf<TOptionMenu>(*frame).front(); }
    void choosePresetEntry(const char* text) {
        TOptionMenu* menu = presetMenu();
        for (std::int32_t i = 0; i < menu->getNbEntries(); ++i)
            if (menu->getEntry(i)->getTitle() == text) presenter.answer = {menu, i};
        click(menu);
    }
    // One controller message, applied by a block of audio.
    void controller(int cc) {
        send(plugin, {midiEvent(0xB0, cc, 64)});
        std::vector<float> left(64), right(64);
        float* io[2] = {left.data(), right.data()};
        plugin.processReplacing(io, io, 64);
    }
    long hostRefreshes() const { return std::count(heard.begin(), heard.end(), "display"); }
    std::string preference(const char* key) {
        char text[16] = {};
        loadStringFromPrefs(key, text, sizeof text);
        return text;
    }
};

TEST_F(EditorInHost, PresetMenuRevertsAndChoosesTheNextScreenSize) {
    plugin.setFactoryProgram(3);
    const float original = plugin.getParameter(Param::WetVolume);
    plugin.setParameter(Param::WetVolume, 0.1f);
    choosePresetEntry("Revert to Original Preset");
    EXPECT_EQ(hostRefreshes(), 1);
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), original);
    EXPECT_FLOAT_EQ(viewWithTag<TKnob>(*frame, Param::WetVolume)->getValue(), original);  // at once, no idle
    EXPECT_FALSE(plugin.getEditChanged());
    choosePresetEntry("Revert to Edited Preset");
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), 0.1f);
    choosePresetEntry("Default Preset");
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), parameterRow(Param::WetVolume).defaultValue);
    EXPECT_EQ(hostRefreshes(), 3);  // one for each command

    choosePresetEntry("Set To 150% Screen");
    EXPECT_EQ(preference("Big100") + preference("Big150") + preference("Big200"), "NYN");
    EXPECT_EQ(dialogs.messages.back(),
              "Tidewalker|Next time you reload your project, Tidewalker will open in 150% Screen Size Mode");
    EXPECT_EQ(frame->getViewSize().getWidth(), 1100);  // until the next editor
    EXPECT_EQ(uEditor::sizeModeFromPrefs(), 1);
    EXPECT_EQ(hostRefreshes(), 3);  // no program changed

    // A store that cannot be written: said so, not announced.
    const std::filesystem::path blocked = effect.home.root.path / "blocked";
    writeFile(blocked, "a file, not a folder");
    ScopedEnv unwritable("XDG_CONFIG_HOME", (blocked / "config").string());
    choosePresetEntry("Set To 200% Screen");
    EXPECT_NE(dialogs.messages.back().find("could not store"), std::string::npos);
}

TEST_F(EditorInHost, SubmenusArrowsAndButtonsActOnPressAndShowTheProgramAtOnce) {
    COptionMenu* second = presetMenu()->getEntry(1)->getSubmenu();
    presenter.answer = {second, 2};  // preset 34
    click(presetMenu());
    EXPECT_STREQ(presetMenu()->getOverrideText(), plugin.getPresetName(34));
    EXPECT_TRUE(second->isCheckedEntry(2));
    EXPECT_FALSE(presetMenu()->getEntry(0)->getSubmenu()->isCheckedEntry(0));

    auto* previous = at<CKickButton>(layout::PRESET_PREVIOUS);
    std::this_thread::sleep_for(std::chrono::milliseconds(uEditor::kPresetStepMs + 5));
    click(previous);  // press and release: one step
    EXPECT_STREQ(presetMenu()->getOverrideText(), plugin.getPresetName(33));
    EXPECT_TRUE(second->isCheckedEntry(1));
    EXPECT_EQ(hostRefreshes(), 2);

    plugin.setParameter(Param::WetVolume, 0.1f);
    previous->setValue(0.0f);  // a release alone does nothing
    effect.editor->valueChanged(at<CKickButton>(layout::REVERT_BUTTON));
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), 0.1f);
    click(at<CKickButton>(layout::REVERT_BUTTON));
    EXPECT_NE(plugin.getParameter(Param::WetVolume), 0.1f);
    click(at<CKickButton>(layout::EDITED_BUTTON));
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), 0.1f);
    EXPECT_TRUE(plugin.getEditChanged());
    std::this_thread::sleep_for(std::chrono::milliseconds(uEditor::kPresetStepMs + 5));
    effect.editor->onKeyDown(VstKeyCode{0, VKEY_DOWN, 0}, frame);
    EXPECT_STREQ(presetMenu()->getOverrideText(), plugin.getPresetName(34));
    EXPECT_EQ(hostRefreshes(), 5);  // each program change once, the lone release never
}

TEST_F(EditorInHost, EcsMenuRunsItsThreeCommands) {
    plugin.setMidiLatch(Param::Distort, true);
    controller(20);
    ASSERT_EQ(plugin.getControllerAssignment(20), Param::Distort);
    TOptionMenu* ecs = at<TOptionMenu>(layout::ECS_MENU);
    dialogs.files = {std::nullopt, std::nullopt};
    for (std::int32_t entry : {0, 1, 2}) {
        presenter.answer = {ecs, entry};
        click(ecs);
    }
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_FALSE(dialogs.requests[0].save);
    EXPECT_TRUE(dialogs.requests[1].save);
    EXPECT_EQ(plugin.getControllerAssignment(20), 0);  // "Clear MIDI"
}
TEST_F(EditorInHost, ParameterMenuShowsTheParameterAndActsOnTheChosenText) {
    TKnob* wet = viewWithTag<TKnob>(*frame, Param::WetVolume);
    const auto choose = [&](std::int32_t entry, CButtonState buttons = kRButton) {
        heard.clear();
        presenter.answerEntry = entry;
        click(wet, buttons);
    };
    choose(7);  // "Set to Maximum"
    EXPECT_EQ(presenter.lastEntries,
              (std::vector<std::string>{"-GWet Volume", "-G0dB", "-", "-GNot Latched", "-", "Set to Default",
                                        "Set to Minimum", "Set to Maximum", "Set to Mid", "Set to Value",
                                        "Set to Random", "Increase", "Decrease", "-", "Latch to MIDI",
                                        "Unlatch MIDI", "Set MIDI CC", "Clear MIDI"}));
    choose(5, CButtonState(kLButton | kApple));  // "Set to Default", by Super-click
    EXPECT_EQ(heard, (std::vector<std::string>{"begin 3", "set 3 0.800000", "end 3"}));
    EXPECT_FLOAT_EQ(wet->getValue(), 0.8f);
    for (std::int32_t nothing : {-1, 0, 3}) {  // dismissed, the greyed name, a separator
        choose(nothing);
        EXPECT_TRUE(heard.empty()) << nothing;
    }
    choose(12);  // "Decrease" goes through the effect, then to the host
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[1], "set 3 " + std::to_string(plugin.getParameter(Param::WetVolume)));

    choose(14);  // "Latch to MIDI"
    controller(74);
    choose(-1);
    EXPECT_EQ(presenter.lastEntries[3], "-GMidi CC : 74");
    choose(15);  // "Unlatch MIDI"
    choose(-1);
    EXPECT_EQ(presenter.lastEntries[3], "-GNot Latched");
    dialogs.texts = {"21"};
    choose(16);  // "Set MIDI CC"
    choose(-1);
    EXPECT_EQ(presenter.lastEntries[3], "-GMidi CC : 21");
    choose(17);  // "Clear MIDI"
    choose(-1);
    EXPECT_EQ(presenter.lastEntries[3], "-GNot Latched");

    // The offset lock and the settings page's switches are no parameters: no menu.
    const int shown = presenter.shown;
    click(viewWithTag<TOnOffButton>(*frame, uEditor::kOffsetLockTag), kRButton);
    effect.editor->showBackside();
    click(viewsOf<TOnOffButton>(*frame).front(), kRButton);
    EXPECT_EQ(presenter.shown, shown);
    EXPECT_TRUE(heard.empty());
}

TEST_F(EditorInHost, MenuValuesReachTheHostWithinZeroToOne) {
    TOptionMenu* phase = viewWithTag<TOptionMenu>(*frame, Param::LfoPhase);
    presenter.answer = {phase, 3};  // "270 Deg"
    click(phase);
    EXPECT_EQ(heard, (std::vector<std::string>{"begin 24", "set 24 1.000000", "end 24"}));
    EXPECT_EQ(phase->getCurrent()->getTitle(), "270 Deg");
}

TEST_F(EditorInHost, SettingsPageSwitchesWritePreferencesAndTheSizesActAsOneChoice) {
    click(at<CKickButton>(layout::SETTINGS_BUTTON));
    ASSERT_TRUE(effect.editor->isBacksideShown());
    EXPECT_EQ(frame->getBackground()->getResourceId(), 10001);
    const auto switches = viewsOf<TOnOffButton>(*frame);
    ASSERT_EQ(switches.size(), 7u);
    const auto shown = [&] {
        std::string on;
        for (auto* view : switches) on += view->getValue() > 0.5f ? '1' : '0';
        return on;
    };
    EXPECT_EQ(shown(), "1111100");  // a fresh configuration
    EXPECT_STREQ(viewsOf<TTextButton>(*frame).front()->getString(), "Linux VST x86_64 Tidewalker 1.0.0");

    click(switches[6]);  // 200 %
    EXPECT_EQ(shown(), "1111001");
    EXPECT_EQ(preference("Big100") + preference("Big150") + preference("Big200"), "NNY");
    click(switches[6]);  // the lit size cannot be switched off
    EXPECT_EQ(shown(), "1111001");
    click(switches[2]);  // "MidiBank"
    EXPECT_EQ(preference("MidiBank"), "N");
    click(switches[0]);  // "Key": the arrows go to the host at once
    VstKeyCode down{0, VKEY_DOWN, 0};
    EXPECT_EQ(effect.editor->onKeyDown(down, frame), -1);
    EXPECT_EQ(dialogs.messages.size(), 0u);

    plugin.setFactoryProgram(7);  // changed while the page shows
    click(viewsOf<CKickButton>(*frame).front());  // anywhere on the page
    EXPECT_FALSE(effect.editor->isBacksideShown());
    EXPECT_STREQ(presetMenu()->getOverrideText(), plugin.getPresetName(7));
    effect.editor->showBackside();  // closed while showing: every view let go once (the leak checker sees)
}

TEST_F(EditorInHost, GesturesNameTheEditedParameterAndReachTheHostWithoutAnEditor) {
    TKnob* decay = viewWithTag<TKnob>(*frame, Param::ReverseDecay);
    CPoint where = decay->getViewSize().getTopLeft();
    decay->onMouseDown(where, kLButton);
    EXPECT_EQ(effect.editor->getEditTag(), Param::ReverseDecay);
    decay->onMouseUp(where, CButtonState());
    EXPECT_EQ(effect.editor->getEditTag(), -1);
    EXPECT_EQ(heard.front(), "begin 4");
    EXPECT_EQ(heard.back(), "end 4");

    // The offset lock is the editor's own: the host never hears of it, and it
    // shows the effect's lock when the window opens again.
    heard.clear();
    click(viewWithTag<TOnOffButton>(*frame, uEditor::kOffsetLockTag));
    effect.idleLater();
    EXPECT_TRUE(heard.empty());
    effect.editor->close();
    ASSERT_NE(frame = effect.openOffscreen(), nullptr);
    EXPECT_EQ(viewWithTag<TOnOffButton>(*frame, uEditor::kOffsetLockTag)->getValue(), 1.0f);

    AEffEditor* editor = plugin.getEditor();
    editor->close();
    plugin.setEditor(nullptr);
    heard.clear();
    plugin.beginEdit(8);
    plugin.endEdit(8);
    EXPECT_EQ(heard, (std::vector<std::string>{"begin 8", "end 8"}));
    plugin.setEditor(editor);
}

TEST_F(EditorInHost, AHostIdlingEvery5MsStillSeesChangesAndARestoredProgramTurnsThePageBack) {
    effect.editor->showBackside();
    plugin.setParameter(Param::WetVolume, 0.3f);
    plugin.origProgram();  // the effect asks for the front panel
    for (int call = 0; call < 10; ++call) {
        effect.editor->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(effect.editor->isBacksideShown());
    EXPECT_FLOAT_EQ(viewWithTag<TKnob>(*frame, Param::WetVolume)->getValue(), plugin.getParameter(Param::WetVolume));
}

}  // namespace
