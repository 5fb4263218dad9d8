// The editor and the effect in step: parameter changes from anywhere shown
// on the controls, the effect's running state (meters, modes, the edited
// state, display texts) polled on the host's idle timer.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "controls/TBitmap.h"
#include "controls/TLfoScreen.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "controls/TReverseDisplay.h"
#include "controls/TTextButton.h"
#include "controls/TVu.h"
#include "editor/uEditor.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;

namespace {

constexpr std::uint32_t kIdleMinimumMs = 10;  // the effect is looked at no more often

// The label pictures by filter mode (low-pass, comb) and by trigger mode ("Audio", other).
constexpr int kFilterFrequencyLabels[2] = {10040, 10041};
constexpr int kFilterQLabels[2] = {10044, 10045};
constexpr int kLfoFilterLabels[2] = {10042, 10043};
constexpr int kTriggerMark1[2] = {10047, 10046};
constexpr int kTriggerMark2[2] = {10048, 10049};
constexpr int kEditedPicture = 10013;
constexpr int kUneditedPicture = 10014;

}  // namespace

void uEditor::showMenuEntryOf(TOptionMenu* menu) {
    if (!menu || !plugin) return;
    const std::int32_t tag = menu->getTag();
    if (tag < 0 || tag >= kNumParameters || menuEntryCount[tag] < 0.0f) return;
    const float entry = std::trunc(plugin->getParameter(tag) * menuEntryCount[tag] + 0.1f);
    if (menu->getValue() != entry) {
        menu->setValue(entry);
        menu->setDirty(true);
    }
}

// --- following the effect -------------------------------------------------

void uEditor::setParameter(VstInt32 index, float) {
    if (!frame || !plugin || index < 0 || index >= kNumEditorSlots) return;
    radioRefresh = true;
    for (TOptionMenu* menu : {lfoModeMenu, lfoPhaseMenu, lfoWaveMenu})
        if (menu && menu->getTag() == index) showMenuEntryOf(menu);
    for (std::int32_t i = 0; i < controlCount; ++i) {
        if (controlIsMenu[i] || controls[i]->getTag() != index) continue;
        controls[i]->setValue(plugin->getParameter(index));
        controls[i]->setDirty(true);
        break;
    }
}

void uEditor::resume() {
    if (!frame || !plugin) return;
    char name[256] = {};
    plugin->getProgramName(name);
    if (presetMenu) presetMenu->setString(name);
    showLoadedPreset();
    if (bankMenu) bankMenu->setString("Introduction Bank");
    for (TOptionMenu* menu : {lfoModeMenu, lfoPhaseMenu, lfoWaveMenu}) showMenuEntryOf(menu);
    for (auto& text : lastReadOutText) std::strcpy(text, kUnshownText);
    for (std::int32_t i = 0; i < controlCount; ++i) {
        const std::int32_t tag = controls[i]->getTag();
        if (controlIsMenu[i] || tag < 0 || tag >= kNumParameters) continue;
        controls[i]->invalid();
        controls[i]->setValue(plugin->getParameter(tag));
        controls[i]->setDirty(true);
    }
    radioRefresh = true;
}

void uEditor::takeMailbox() {
    EditorMailbox& mailbox = plugin->getEditorMailbox();
    if (mailbox.takeResumeRequest()) {
        resume();
        hideBacksideRequest = true;
    }
    mailbox.takeVuLevels(vuLevels);
    // Every change of a parameter, whoever made it, arrives as a mark. A
    // control under the user's hand keeps its mark until it is let go.
    const std::uint64_t changed = heldChanges | mailbox.takeChanged();
    heldChanges = 0;
    if (changed != 0) radioRefresh = true;
    for (VstInt32 i = 0; i < kNumEditorSlots; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        if (!(changed & bit)) continue;
        if (i == editedTag)
            heldChanges |= bit;
        else
            setParameter(i, plugin->getParameter(i));
    }
}

void uEditor::refreshIndicators() {
    if (reverseDisplay && currentTick - lastDisplayRefresh >= kDisplayRefreshMs) {
        reverseDisplay->setDirty(true);
        lastDisplayRefresh = currentTick;
    }
    if (lfoScreen) lfoScreen->setDirty(true);
    for (int i = 0; i < 4; ++i) {
        if (!vus[i]) continue;
        vus[i]->setInputVolume(vuLevels[i]);
        vus[i]->setDirty(true);
    }
    if (editedButton && getEditChanged() != lastEditChanged) {
        lastEditChanged = getEditChanged();
        editedButton->invalid();
        editedButton->setBackground(picture(lastEditChanged ? kEditedPicture : kUneditedPicture));
        editedButton->setDirty(true);
    }
    if (onOffs[kSwitchCount - 1]) plugin->setLockOffset(onOffs[kSwitchCount - 1]->getValue() >= 0.5f);
    const bool manual = plugin->getReverseManualTrigger();
    if (manual != lastManualTrigger) {
        lastManualTrigger = manual;
        if (radios[TriggerMode::Manual]) radios[TriggerMode::Manual]->setLit(manual);
    }
}

void uEditor::refreshParameterViews() {
    if (lfoSpeedText) {
        char text[256] = {};
        plugin->getParameterDisplay(Param::LfoSpeed, text);
        if (std::strcmp(text, lfoSpeedText->getString()) != 0) lfoSpeedText->setString(text);
    }
    const VstInt32 triggerMode = plugin->getReverseTriggerMode();
    for (int k = 0; k < TriggerMode::Count; ++k) {
        const float on = triggerMode == k ? 1.0f : 0.0f;
        if (radios[k] && radios[k]->getValue() != on) {
            radios[k]->setValue(on);
            radios[k]->setDirty(true);
        }
    }
    const VstInt32 filterMode = plugin->getFilterMode() != 0 ? 1 : 0;
    if (filterMode != lastFilterMode) {
        for (auto [label, ids] : {std::pair{filterFrequencyLabel, kFilterFrequencyLabels},
                                  std::pair{filterQLabel, kFilterQLabels}, std::pair{lfoFilterLabel, kLfoFilterLabels}})
            if (label) {
                label->setBackground(picture(ids[filterMode]));
                label->setDirty(true);
            }
        lastFilterMode = filterMode;
    }
    if (triggerMode != lastTriggerMode) {
        const int notAudio = triggerMode != TriggerMode::Audio ? 1 : 0;
        for (auto [mark, ids] : {std::pair{triggerMark1, kTriggerMark1}, std::pair{triggerMark2, kTriggerMark2}})
            if (mark) {
                mark->setBackground(picture(ids[notAudio]));
                mark->setDirty(true);
            }
        lastTriggerMode = triggerMode;
    }
    refreshReadOuts();
}

void uEditor::refreshReadOuts() {
    for (int i = 0; i < kKnobCount; ++i) {
        if (!readOuts[i] || readOutParam[i] < 0 || readOutParam[i] >= kNumEditorSlots) continue;
        char text[256] = {};
        plugin->getParameterDisplay(readOutParam[i], text);
        if (std::strcmp(text, lastReadOutText[i]) == 0) continue;
        readOuts[i]->setString(text);
        std::snprintf(lastReadOutText[i], sizeof lastReadOutText[i], "%s", text);
    }
}

void uEditor::idle() {
    if (!frame || !plugin || !isOpenFlag) return;
    // Clicks and painting are handled on every call. Only the refresh from
    // the effect is spaced, counted from the last refresh, so a host that
    // calls every 5 ms gets both.
    const std::uint32_t now = getTicks();
    const std::uint32_t sinceRefresh = now >= currentTick ? now - currentTick : currentTick - now;
    if (sinceRefresh >= kIdleMinimumMs) {
        currentTick = now;
        refreshFromEffect();
    }
    AEffGUIEditor::idle();
}

void uEditor::refreshFromEffect() {
    takeMailbox();
    plugin->refreshPreferences();
    refreshIndicators();
    // Texts, modes and marks change only with a parameter.
    if (radioRefresh) refreshParameterViews();
    radioRefresh = false;
    // The effect restored a program: back to the front panel.
    if (hideBacksideRequest) {
        hideBacksideRequest = false;
        if (backsideShown) hideBackside();
    }
}
