// The front panel: every view's kind, parameter, place and picture, built
// from the shared placement tables, and the order in which they are stacked.
#include <string>

#include "controls/TBitmap.h"
#include "controls/TKnob.h"
#include "controls/TLfoScreen.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "controls/TReverseDisplay.h"
#include "controls/TTextButton.h"
#include "controls/TVu.h"
#include "editor/MenuTexts.h"
#include "editor/uEditor.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;
namespace layout = tidewalker::layout;

namespace {

// Option-menu styles: the preset, bank, ECS and LFO menus, and the preset
// submenus, whose check mark the editor puts on the loaded preset itself.
constexpr long kMenuStyle = 0x100;
constexpr long kSubmenuStyle = 0x110;
constexpr int kMenuHeight = 16;

constexpr const char* _PRESET_SUB_HEADER_STRING[4] = {"Preset 1 - 32", "Preset 33 - 64", "Preset 65 -96",
                                                      "Preset 97 - 128"};

struct MenuRow {
    TOptionMenu* uEditor::*menu;
    const layout::PanelRect& place;
    std::int32_t tag;
    StepShape steps;
    const char* const* entries;
};

constexpr int kStripPictures[] = {10022, 10023, 10024, 10025};

bool isKnobStrip(int id) {
    for (int strip : kStripPictures)
        if (strip == id) return true;
    return false;
}

}  // namespace

CRect uEditor::scaledRect(int x, int y, int width, int height) const {
    const int left = getScaled(x);
    const int top = getScaled(y);
    return CRect(left, top, left + getScaled(width), top + getScaled(height));
}

CRect uEditor::pictureRect(int x, int y, int pictureId, bool twoStates) const {
    const CBitmap* bitmap = picture(pictureId);
    const CCoord height = twoStates ? bitmap->getHeight() / 2 : bitmap->getHeight();
    const int left = getScaled(x);
    const int top = getScaled(y);
    return CRect(left, top, left + bitmap->getWidth(), top + height);
}

void uEditor::createKnob(TKnob*& out, std::int32_t tag, int x, int y, int strip) {
    const CBitmap* sizing = picture(10022);
    if (!isKnobStrip(strip) || !sizing || !picture(strip)) return;
    const int left = getScaled(x);
    const int top = getScaled(y);
    const CRect size(left, top, left + sizing->getWidth(),
                     top + sizing->getHeight() / tidewalker::resources::KNOB_FRAME_COUNT);
    out = new TKnob(size, this, tag, picture(strip), offset, tidewalker::resources::KNOB_FRAME_COUNT);
    addControl(out);
}

void uEditor::createReadOut(int index, std::int32_t tag, int x, int y, int width) {
    if (index < 0 || index >= kKnobCount) return;
    readOuts[index] = new TTextButton(scaledRect(x, y, width, layout::READ_OUT_HEIGHT), this, kNoParameterTag, nullptr,
                                      "", true, false);
    readOutParam[index] = tag;
}

void uEditor::createKnobWithReadout(int index, std::int32_t tag, int x, int y, int strip) {
    if (index < 0 || index >= kKnobCount) return;
    createKnob(knobs[index], tag, x, y, strip);
    const int dy = tag == layout::READ_OUT_ABOVE_PARAMETER ? layout::READ_OUT_DY_ABOVE : layout::READ_OUT_DY;
    createReadOut(index, tag, x + layout::READ_OUT_DX, y + dy, layout::READ_OUT_WIDTH);
}

void uEditor::createOnOff(TOnOffButton*& out, std::int32_t tag, int x, int y, int pictureId, bool midiLearn) {
    if (!picture(pictureId)) return;
    out = new TOnOffButton(pictureRect(x, y, pictureId, true), this, tag, picture(pictureId), midiLearn, 0);
    addControl(out);
}

void uEditor::createKickButton(CKickButton*& out, std::int32_t tag, int x, int y, int pictureId) {
    if (!picture(pictureId)) return;
    out = new CKickButton(pictureRect(x, y, pictureId, true), this, tag, picture(pictureId), offset);
    addControl(out);
}

void uEditor::createRadio(TRadioButton*& out, int x, int y) {
    if (!picture(10012)) return;
    out = new TRadioButton(pictureRect(x, y, 10012, true), this, kNoParameterTag);
}

void uEditor::createMenu(TOptionMenu*& out, std::int32_t tag, int x, int y, int width, float entryScale, int count,
                         const char* const* entries) {
    out = new TOptionMenu(scaledRect(x, y, width, kMenuHeight), this, tag, nullptr, nullptr, kMenuStyle, true);
    for (int i = 0; i < count; ++i) out->addEntry(entries[i]);
    addControlMenu(out);
    if (tag >= 0 && tag < kRegistrySize) menuEntryCount[tag] = entryScale;
}

void uEditor::createLabel(TBitmap*& out, const layout::PanelRect& place, int pictureId) {
    out = new TBitmap(scaledRect(place.x, place.y, place.width, place.height), picture(pictureId), this);
}

void uEditor::createFrontControls() {
    if (!plugin) return;
    const auto& preset = layout::PRESET_MENU;
    presetMenu = new TOptionMenu(scaledRect(preset.x, preset.y, preset.width, preset.height), this, kNoParameterTag,
                                 nullptr, nullptr, kMenuStyle, false);
    presetMenu->setPresetWheel(true);
    int named = 0;
    for (int k = 0; k < 4; ++k) {
        auto* submenu = new TOptionMenu(presetMenu->getViewSize(), this, kNoParameterTag, nullptr, nullptr,
                                        kSubmenuStyle, true);
        for (VstInt32 n = PRESET_START[k]; n < PRESET_END[k] && named < FACTORY_PRESET_COUNT; ++n, ++named)
            submenu->addEntry(plugin->getPresetName(n));
        presetSubmenus[k] = submenu;
        presetMenu->addEntry(submenu, _PRESET_SUB_HEADER_STRING[k]);
        submenu->forget();  // the preset menu keeps it
    }
    for (const char* entry : tidewalker::menus::PRESET_MENU_TAIL) presetMenu->addEntry(entry);

    createKickButton(presetPrevious, kNoParameterTag, layout::PRESET_PREVIOUS.x, layout::PRESET_PREVIOUS.y, 10010);
    createKickButton(presetNext, kNoParameterTag, layout::PRESET_NEXT.x, layout::PRESET_NEXT.y, 10011);
    const auto& bank = layout::BANK_MENU;
    bankMenu = new TOptionMenu(scaledRect(bank.x, bank.y, bank.width, bank.height), this, kNoParameterTag, nullptr,
                               nullptr, kMenuStyle, false);
    bankMenu->addEntry("Introduction Bank");
    createKickButton(bankPrevious, kNoParameterTag, layout::BANK_PREVIOUS.x, layout::BANK_PREVIOUS.y, 10010);
    createKickButton(bankNext, kNoParameterTag, layout::BANK_NEXT.x, layout::BANK_NEXT.y, 10011);
    createKickButton(editedButton, kNoParameterTag, layout::EDITED_BUTTON.x, layout::EDITED_BUTTON.y, 10030);
    createKickButton(revertButton, kNoParameterTag, layout::REVERT_BUTTON.x, layout::REVERT_BUTTON.y, 10031);
    createKickButton(helpButton, kNoParameterTag, layout::HELP_BUTTON.x, layout::HELP_BUTTON.y, 10032);
    if (picture(10033)) {
        ecsMenu = new TOptionMenu(pictureRect(layout::ECS_MENU.x, layout::ECS_MENU.y, 10033, true), this,
                                  kNoParameterTag, picture(10033), nullptr, kMenuStyle, true);
        ecsMenu->setNoText();
        for (const char* entry : tidewalker::menus::ECS_MENU) ecsMenu->addEntry(entry);
        addControlMenu(ecsMenu);
    }
    createKickButton(resetButton, kNoParameterTag, layout::RESET_BUTTON.x, layout::RESET_BUTTON.y, 10034);
    createKickButton(settingsButton, kNoParameterTag, layout::SETTINGS_BUTTON.x, layout::SETTINGS_BUTTON.y, 10002);

    for (int i = 0; i < kKnobCount; ++i) {
        const auto& row = layout::KNOBS[i];
        createKnobWithReadout(i, row[0], row[1], row[2], row[3]);
    }
    for (int i = 0; i < kSwitchCount; ++i) {
        const auto& row = layout::ON_OFFS[i];
        // The offset lock is the editor's own switch: no parameter, so no menu.
        createOnOff(onOffs[i], row[0], row[1], row[2], row[3], row[0] < kNumEditorSlots);
    }
    for (int i = 0; i < 4; ++i) {
        const auto& place = layout::VU_METERS[i];
        vus[i] = new TVu(scaledRect(place.x, place.y, place.width, place.height), this);
    }
    for (int k = 0; k < TriggerMode::Count; ++k)
        createRadio(radios[k], layout::TRIGGER_RADIOS[k].x, layout::TRIGGER_RADIOS[k].y);
    const auto& display = layout::REVERSE_DISPLAY;
    reverseDisplay =
        new TReverseDisplay(scaledRect(display.x, display.y, display.width, display.height), this, sizeMode);

    const MenuRow lfoMenus[] = {
        {&uEditor::lfoModeMenu, layout::LFO_MODE_MENU, Param::LfoMode, kLfoModeSteps, _LFO_MODE_STRING},
        {&uEditor::lfoPhaseMenu, layout::LFO_PHASE_MENU, Param::LfoPhase, kLfoPhaseSteps, _LFO_PHASE_STRING},
        {&uEditor::lfoWaveMenu, layout::LFO_WAVE_MENU, Param::LfoWave, kLfoWaveSteps, _LFO_WAVE_STRING},
    };
    for (const MenuRow& row : lfoMenus)
        createMenu(this->*row.menu, row.tag, row.place.x, row.place.y, row.place.width, row.steps.scale,
                   row.steps.count, row.entries);
    const auto& speed = layout::LFO_SPEED_TEXT;
    lfoSpeedText = new TTextButton(scaledRect(speed.x, speed.y, speed.width, speed.height), this, kNoParameterTag,
                                   nullptr, "", true, false);
    const auto& screen = layout::LFO_SCREEN;
    lfoScreen = new TLfoScreen(scaledRect(screen.x, screen.y, screen.width, screen.height), this);

    createLabel(filterFrequencyLabel, layout::FILTER_FREQUENCY_LABEL, 10040);
    createLabel(filterQLabel, layout::FILTER_Q_LABEL, 10044);
    createLabel(lfoFilterLabel, layout::LFO_FILTER_LABEL, 10042);
    createLabel(triggerMark1, layout::TRIGGER_MARK_1, 10047);
    createLabel(triggerMark2, layout::TRIGGER_MARK_2, 10048);
}

// Bottom to top.
template <class Visit>
void uEditor::visitFrontViews(Visit&& visit) {
    visit(presetMenu);
    visit(presetPrevious);
    visit(presetNext);
    visit(bankMenu);
    visit(bankPrevious);
    visit(bankNext);
    visit(editedButton);
    visit(revertButton);
    visit(ecsMenu);
    visit(helpButton);
    visit(resetButton);
    visit(settingsButton);
    for (auto& knob : knobs) visit(knob);
    for (auto& readOut : readOuts) visit(readOut);
    for (auto& onOff : onOffs) visit(onOff);
    for (auto& vu : vus) visit(vu);
    for (auto& radio : radios) visit(radio);
    visit(reverseDisplay);
    visit(lfoModeMenu);
    visit(lfoWaveMenu);
    visit(lfoPhaseMenu);
    visit(lfoSpeedText);
    visit(lfoScreen);
    visit(filterFrequencyLabel);
    visit(filterQLabel);
    visit(lfoFilterLabel);
    visit(triggerMark1);
    visit(triggerMark2);
}

void uEditor::showFrontControls() {
    if (!frame) return;
    // The editor keeps its own reference, so a page change can take views
    // out of the frame without losing them.
    visitFrontViews([this](auto*& view) {
        if (!view) return;
        view->remember();
        if (!frame->addView(view)) view->forget();
    });
}

void uEditor::zeroFront() {
    visitFrontViews([](auto*& view) {
        if (view) view->forget();
        view = nullptr;
    });
    for (auto& submenu : presetSubmenus) submenu = nullptr;
}

void uEditor::showLoadedPreset() {
    char name[256] = {};
    plugin->getProgramName(name);
    for (TOptionMenu* submenu : presetSubmenus) {
        if (!submenu) continue;
        for (std::int32_t i = 0; i < submenu->getNbEntries(); ++i)
            submenu->checkEntry(i, submenu->getEntry(i)->getTitle() == name);
    }
}
