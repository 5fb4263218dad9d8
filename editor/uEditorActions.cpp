// The user's side of the front panel: what each menu command, button, switch
// and key does, and the gestures the controls pass on to the host.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "editor/MenuTexts.h"
#include "editor/uEditor.h"
#include "gui/CFrame.h"
#include "gui/CKickButton.h"
#include "platform/Dialogs.h"
#include "plugin/APlugin.h"

using namespace VSTGUI;
namespace menus = tidewalker::menus;

namespace {

constexpr int kScreenSizeMessage = 2;  // the plain message window

constexpr bool isEditorParameter(std::int32_t tag) { return tag >= 0 && tag < kNumEditorSlots; }

}  // namespace

void uEditor::valueChanged(CControl* control) {
    if (!frame || !plugin || !control) return;
    if (control == presetMenu) {
        presetMenuCommand();
        return;
    }
    for (int k = 0; k < 4; ++k) {
        if (control != presetSubmenus[k]) continue;
        plugin->setFactoryProgram(static_cast<VstInt32>(control->getValue()) + PRESET_START[k]);
        afterProgramChange();
        return;
    }
    if (control == ecsMenu) {
        switch (ecsMenu->getCurrentIndex()) {
        case 0: plugin->LoadECS(); break;
        case 1: plugin->SaveECS(); break;
        case 2: plugin->resetMidi(); break;
        default: break;
        }
        return;
    }
    if (kickButtonPressed(control)) return;
    for (TOptionMenu* menu : {lfoModeMenu, lfoPhaseMenu, lfoWaveMenu}) {
        if (control != menu) continue;
        // The last entry of a menu may stand past 1 ("270 Deg" is 1.1667);
        // the host only ever hears values within 0 … 1.
        const std::int32_t tag = menu->getTag();
        if (isEditorParameter(tag) && menuEntryCount[tag] >= 0.00001f)
            plugin->setParameterAutomated(tag, std::min(1.0f, (menu->getValue() + 0.5f) / menuEntryCount[tag]));
        return;
    }
    for (int k = 0; k < TriggerMode::Count; ++k) {
        if (control != radios[k]) continue;
        if (control->getValue() > 0.5f) plugin->setParameterAutomated(Param::ReverseTriggerMode, triggerModeValue(k));
        return;
    }
    if (settingsPageChanged(control)) return;
    // Only real parameters reach the host; the offset lock (510) is read in idle.
    const std::int32_t tag = control->getTag();
    if (isEditorParameter(tag)) plugin->setParameterAutomated(tag, control->getValue());
}

bool uEditor::kickButtonPressed(CControl* control) {
    // A kick button reports its press, its release and a cancelled press; only the press acts.
    const bool pressed = control->getValue() > 0.5f;
    if (control == presetPrevious || control == presetNext) {
        if (pressed) changePresetDelta(control == presetPrevious ? -1 : 1);
    } else if (control == editedButton || control == revertButton) {
        if (!pressed) return true;
        if (control == editedButton)
            plugin->editProgram();
        else
            plugin->origProgram();
        afterProgramChange();
    } else if (control == resetButton) {
        if (pressed) plugin->resetEverything();
    } else if (control == helpButton) {
        if (pressed) plugin->openManual();  // no manual installed: nothing happens
    } else if (control == settingsButton) {
        if (pressed) showBackside();
    } else if (control == backsideButton) {
        if (pressed) hideBackside();
    } else {
        return false;
    }
    return true;
}

void uEditor::presetMenuCommand() {
    char text[64] = {};
    presetMenu->getCurrent(text);
    for (std::int32_t mode = 0; mode < 3; ++mode) {
        if (std::strcmp(text, menus::SET_SCREEN_SIZE[mode]) != 0) continue;
        chooseScreenSize(mode, true);
        return;
    }
    if (std::strcmp(text, menus::REVERT_TO_ORIGINAL) == 0) {
        plugin->origProgram();
    } else if (std::strcmp(text, menus::REVERT_TO_EDITED) == 0) {
        plugin->editProgram();
    } else if (std::strcmp(text, menus::DEFAULT_PRESET) == 0) {
        plugin->defaultProgram();
    } else {
        resume();  // nothing changed: the host need not look again
        return;
    }
    afterProgramChange();
}

void uEditor::chooseScreenSize(std::int32_t mode, bool announce) {
    // The window keeps its size: a new size needs a new editor.
    if (!saveSizeMode(mode)) {
        messageBox("Tidewalker could not store the screen size in its preferences; it will open as before.",
                   kScreenSizeMessage);
        return;
    }
    if (!announce) return;
    char message[128];
    std::snprintf(message, sizeof message,
                  "Next time you reload your project, Tidewalker will open in %d%% Screen Size Mode",
                  menus::SCREEN_SIZE_PERCENT[mode]);
    messageBox(message, kScreenSizeMessage);
}

void uEditor::afterProgramChange() {
    // The new values are in place already: show them now, not when audio next
    // runs, and have the host read the program's name and values again, as it
    // does after a MIDI program change.
    resume();
    plugin->updateDisplay();
}

void uEditor::changePresetDelta(int delta) {
    if (!plugin) return;
    const std::uint32_t now = getTicks();
    lastStepRequest = now;
    if (now < lastPresetStep) lastPresetStep = now - (kPresetStepMs + 1);  // the tick counter wrapped
    if (now - lastPresetStep < kPresetStepMs) return;
    lastPresetStep = now;
    plugin->changeFactoryProgramDelta(delta);
    afterProgramChange();
}

std::int32_t uEditor::onKeyDown(const VstKeyCode& key, CFrame*) {
    if (!keyboardEnabled || !plugin) return -1;
    switch (key.virt) {
    case VKEY_UP: changePresetDelta(-1); return 1;
    case VKEY_DOWN: changePresetDelta(1); return 1;
    case VKEY_PAGEUP:
    case VKEY_PAGEDOWN: return 1;
    default: return -1;
    }
}

std::int32_t uEditor::onKeyUp(const VstKeyCode&, CFrame*) { return -1; }

bool uEditor::beginEdit(std::int32_t index) {
    if (!plugin || !isEditorParameter(index)) return false;
    return plugin->beginEdit(index);
}

bool uEditor::endEdit(std::int32_t index) {
    if (!plugin || !isEditorParameter(index)) return false;
    return plugin->endEdit(index);
}

void uEditor::setEditTag(VstInt32 tag) {
    if (tag < 0 || tag == kNoParameterTag) {
        editedTag = -1;
        return;
    }
    for (std::int32_t i = 0; i < controlCount; ++i) {
        if (controls[i]->getTag() != tag) continue;
        editedTag = tag;
        return;
    }
}
