// The plug-in's editor: one per effect, for the effect's whole life. Its
// window (a CFrame with the front panel's views) exists from open to close;
// the size (100, 150 or 200 %) is read from the preferences at construction
// and fixed until the next one.
//
// Every operation runs on the thread that drives the editor (the host's main
// thread). No other thread calls in here: the effect leaves resume requests,
// meter levels and a mark for every parameter change in its mailbox, and
// idle takes them from there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/IControlHost.h"
#include "editor/EffectDisplaySource.h"
#include "gui/AEffGUIEditor.h"
#include "gui/CControl.h"
#include "gui/CFontDesc.h"
#include "gui/CPoint.h"
#include "gui/IKeyboardHook.h"
#include "plugin/EditorGestureLink.h"
#include "plugin/ParameterTable.h"
#include "resources/FrontPanelLayout.h"
#include "resources/PictureIds.h"
#include "resources/SettingsPageLayout.h"

class APlugin;
class TBitmap;
class TKnob;
class TLfoScreen;
class TReverseDisplay;
class TOnOffButton;
class TOptionMenu;
class TRadioButton;
class TTextButton;
class TVu;

namespace VSTGUI {
class CBitmap;
class CKickButton;
class CView;
}  // namespace VSTGUI

class uEditor : public VSTGUI::AEffGUIEditor,
                public VSTGUI::IControlListener,
                public VSTGUI::IKeyboardHook,
                public IControlHost,
                public EditorGestureLink {
public:
    static constexpr std::int32_t kOffsetLockTag = 510;
    static constexpr std::int32_t kRegistrySize = 10000;
    static constexpr int kWidth = tidewalker::layout::FRAME_WIDTH;
    static constexpr int kHeight = tidewalker::layout::FRAME_HEIGHT;
    static constexpr int kKnobCount = tidewalker::layout::KNOB_COUNT;
    static constexpr int kSwitchCount = tidewalker::layout::ON_OFF_COUNT;
    static constexpr int kSettingsSwitchCount = tidewalker::layout::SETTINGS_SWITCH_COUNT;

    // The effect must be an APlugin; any other effect (or null) leaves an
    // editor that never opens. format: the plug-in format the effect is
    // shown to the host in ("VST", "AU", "LV2"), named on the settings page.
    uEditor(AudioEffect* effect, const char* format);  // control
    ~uEditor() override;  // control

    // parent: the host's X11 window. False without an effect, without a
    // parent, or when the window cannot be made inside parent.
    bool open(void* parent) override;  // control
    // The same editor without a window (tests, previews): every view exists
    // and draws; idle works; nothing is shown.
    bool openOffscreen();  // control
    void close() override;  // control
    void idle() override;  // control
    // Shows the effect's current value of parameter index (value is not used:
    // the effect's own value is what is shown).
    virtual void setParameter(VstInt32 index, float value);  // control
    // Loads every control from the effect's current values.
    virtual void resume();  // control

    void valueChanged(VSTGUI::CControl* control) override;  // control
    // Up / down arrows step through the factory presets while the "Key"
    // preference allows; page up / down are taken and ignored.
    std::int32_t onKeyDown(const VstKeyCode& key, VSTGUI::CFrame* frame) override;  // control
    std::int32_t onKeyUp(const VstKeyCode& key, VSTGUI::CFrame* frame) override;  // control
    // Gestures of parameter controls reach the host as begin/end edit.
    bool beginEdit(std::int32_t index) override;  // control
    bool endEdit(std::int32_t index) override;  // control
    // The parameter whose gesture the effect passed on (−1 or 9999: none);
    // while it lasts, idle leaves that parameter's control to the user.
    void setEditTag(VstInt32 tag) override;  // control
    std::int32_t getEditTag() const { return editedTag; }  // control

    // Picture set, by the 100 % id; the set exists while the editor is open.
    void createBitmaps();  // control
    void removeBitmaps();  // control
    int getBitmap(int id) const;  // control; the resource id at this editor's size
    VSTGUI::CBitmap* picture(int id) const override;  // control; null while closed or for an unknown id

    int getScaled(int value) const;  // control; truncated toward zero
    float getScaled(float value) const;  // control
    std::int32_t getSizeMode() const override { return sizeMode; }  // control
    float getScale() const { return scale; }  // control
    bool isEditorOpen() const { return isOpenFlag; }  // control
    // Fonts of the option menus and of the text buttons at this editor's size.
    VSTGUI::CFontRef menuFont() const override;  // control
    VSTGUI::CFontRef textFont() const override;  // control
    IDisplaySource* displaySource() override { return displays.get(); }  // control

    // A preference flag: with defaultOn, on unless "N"; without, on only when "Y".
    static bool getBackRegValue(const char* key, bool defaultOn);  // control
    // The size mode the next editor will open in ("Big200" wins over "Big150").
    static std::int32_t sizeModeFromPrefs();  // control
    // Stores sizeMode for the next editor: the three size flags in one write.
    static bool saveSizeMode(std::int32_t sizeMode);  // control
    bool getEditChanged() const;  // control

    // A right click (or Super-click) on a parameter's control: the parameter
    // menu (name, value and controller, value shortcuts, MIDI learn), built
    // afresh and popped up at the mouse; the chosen entry acts at once.
    void midiLearnMenu(VSTGUI::CControl* control, VSTGUI::CPoint& where) override;  // control
    // One preset step from the arrows, keys or the preset menu's wheel; steps
    // closer than kPresetStepMs to the last one are dropped.
    void changePresetDelta(int delta) override;  // control

    static constexpr std::uint32_t kPresetStepMs = 333;
    // The reverse display is redrawn at most this often.
    static constexpr std::uint32_t kDisplayRefreshMs = 101;

    // When set, the next idle returns from the settings page to the front panel.
    bool hideBacksideRequest = false;

    // The settings page (uEditorBackside.cpp): made with the front panel,
    // shown in its place, released at close.
    void initBackside();  // control
    void showBackside();  // control
    void hideBackside();  // control
    bool isBacksideShown() const { return backsideShown; }  // control
    // "Linux VST x86_64 Tidewalker 1.0.0": the build's system, the editor's
    // format and the build's architecture, the product and the effect's version.
    std::string versionText() const;  // control

protected:
    // Front panel (uEditorFront.cpp).
    void createFrontControls();
    void showFrontControls();
    void zeroFront();
    template <class Visit>
    void visitFrontViews(Visit&& visit);

    // Creation helpers; each hands the new view back through out.
    void createKnob(TKnob*& out, std::int32_t tag, int x, int y, int strip);
    void createReadOut(int index, std::int32_t tag, int x, int y, int width);
    void createKnobWithReadout(int index, std::int32_t tag, int x, int y, int strip);
    void createOnOff(TOnOffButton*& out, std::int32_t tag, int x, int y, int pictureId, bool midiLearn);
    void createKickButton(VSTGUI::CKickButton*& out, std::int32_t tag, int x, int y, int pictureId);
    void createRadio(TRadioButton*& out, int x, int y);
    void createMenu(TOptionMenu*& out, std::int32_t tag, int x, int y, int width, float entryScale, int count,
                    const char* const* entries);
    void createLabel(TBitmap*& out, const tidewalker::layout::PanelRect& place, int pictureId);
    void addControl(VSTGUI::CControl* control);
    void addControlMenu(VSTGUI::CControl* control);

    VSTGUI::CRect scaledRect(int x, int y, int width, int height) const;
    VSTGUI::CRect pictureRect(int x, int y, int pictureId, bool twoStates) const;

private:
    // The user's side (uEditorActions.cpp).
    void presetMenuCommand();
    // Stores the size for the next editor; announce says so in a message.
    void chooseScreenSize(std::int32_t mode, bool announce);
    void afterProgramChange();
    bool kickButtonPressed(VSTGUI::CControl* control);
    void showLoadedPreset();
    // The parameter menu (uEditorControlMenu.cpp).
    void runControlMenuCommand(VstInt32 tag, const char* command);
    // The settings page.
    bool settingsPageChanged(VSTGUI::CControl* control);
    void loadSettingsSwitches();
    void zeroBackside();
    template <class Visit>
    void visitBacksideViews(Visit&& visit);

    bool build(void* parent);
    void registerControl(VSTGUI::CControl* control, bool isMenu);
    void showMenuEntryOf(TOptionMenu* menu);
    // The effect looked at (uEditorSync.cpp).
    void refreshFromEffect();
    void takeMailbox();
    void refreshIndicators();
    void refreshParameterViews();
    void refreshReadOuts();

    APlugin* plugin = nullptr;
    std::string formatName;
    std::unique_ptr<EffectDisplaySource> displays;  // while there is an effect
    std::int32_t sizeMode = 0;
    float scale = 1.0f;
    bool isOpenFlag = false;
    bool backsideShown = false;
    bool keyboardEnabled = true;
    bool lastEditChanged = false;
    bool lastManualTrigger = false;
    // A parameter changed since the last idle: re-read what follows from the values.
    bool radioRefresh = false;
    // Marks taken from the effect's mailbox while their control was being edited.
    std::uint64_t heldChanges = 0;
    std::uint32_t currentTick = 0;  // of the last refresh from the effect
    std::uint32_t lastDisplayRefresh = 0;
    std::uint32_t lastPresetStep = 0;
    std::uint32_t lastStepRequest = 0;
    std::int32_t editedTag = -1;
    // Never a display text, so the first idle writes every read-out.
    static constexpr char kUnshownText[] = "!";

    VSTGUI::CControl* controls[kRegistrySize]{};
    std::uint8_t controlIsMenu[kRegistrySize]{};
    std::int32_t controlCount = 0;
    float menuEntryCount[kRegistrySize];

    TKnob* knobs[kKnobCount]{};
    TTextButton* readOuts[kKnobCount]{};
    std::int32_t readOutParam[kKnobCount];
    char lastReadOutText[kKnobCount][256];
    float vuLevels[4]{};
    std::int32_t lastFilterMode = -1;
    std::int32_t lastTriggerMode = -1;
    VSTGUI::CPoint offset;

    // Front-panel views.
    TOptionMenu* presetMenu = nullptr;
    TOptionMenu* presetSubmenus[4]{};  // to recognise them; the preset menu owns them
    TOptionMenu* bankMenu = nullptr;
    TOptionMenu* ecsMenu = nullptr;
    VSTGUI::CKickButton* presetPrevious = nullptr;
    VSTGUI::CKickButton* presetNext = nullptr;
    VSTGUI::CKickButton* bankPrevious = nullptr;
    VSTGUI::CKickButton* bankNext = nullptr;
    VSTGUI::CKickButton* editedButton = nullptr;
    VSTGUI::CKickButton* revertButton = nullptr;
    VSTGUI::CKickButton* helpButton = nullptr;
    VSTGUI::CKickButton* resetButton = nullptr;
    VSTGUI::CKickButton* settingsButton = nullptr;
    TOnOffButton* onOffs[kSwitchCount]{};
    TVu* vus[4]{};
    TRadioButton* radios[TriggerMode::Count]{};  // by trigger mode: "Audio", "Manual", "Host"
    TReverseDisplay* reverseDisplay = nullptr;
    TOptionMenu* lfoModeMenu = nullptr;
    TOptionMenu* lfoPhaseMenu = nullptr;
    TOptionMenu* lfoWaveMenu = nullptr;
    TTextButton* lfoSpeedText = nullptr;
    TLfoScreen* lfoScreen = nullptr;
    TBitmap* filterFrequencyLabel = nullptr;
    TBitmap* filterQLabel = nullptr;
    TBitmap* lfoFilterLabel = nullptr;
    TBitmap* triggerMark1 = nullptr;
    TBitmap* triggerMark2 = nullptr;

    // Settings-page views.
    VSTGUI::CKickButton* backsideButton = nullptr;  // the whole page: a click turns back
    TOnOffButton* settingsSwitches[kSettingsSwitchCount]{};
    TTextButton* versionLabel = nullptr;

    VSTGUI::CBitmap* bitmaps[tidewalker::resources::PICTURE_COUNT]{};
};

// control: a new effect with its editor attached, as hosts get it in format
// ("VST", "AU"). The effect owns the editor; throws what creating either throws.
AudioEffect* createEffectWithEditor(audioMasterCallback audioMaster, const char* format);
