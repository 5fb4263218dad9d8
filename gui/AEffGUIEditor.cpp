#include "gui/AEffGUIEditor.h"

#include <chrono>

#include "gui/CFrame.h"

namespace VSTGUI {

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {}

AEffGUIEditor::~AEffGUIEditor() {
    if (frame) frame->close();
}

bool AEffGUIEditor::getRect(ERect** rectOut) {
    if (!rectOut) return false;
    *rectOut = &rect;
    return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
    AEffEditor::open(parentWindow);
    return true;
}

void AEffGUIEditor::close() { AEffEditor::close(); }

void AEffGUIEditor::idle() {
    if (frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key) { return frame && frame->onKeyDown(key) >= 0; }

bool AEffGUIEditor::onKeyUp(VstKeyCode& key) { return frame && frame->onKeyUp(key) >= 0; }

bool AEffGUIEditor::onWheel(float distance) {
    if (!frame) return false;
    CPoint where;
    if (!frame->getCurrentMouseLocation(where)) return false;
    return frame->onWheel(where, distance, CButtonState());
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    return true;
}

std::uint32_t AEffGUIEditor::getTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace VSTGUI
