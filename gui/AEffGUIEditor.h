// The editor base for effects whose window is a CFrame: answers the host's
// editor calls (size, idle, keys, wheel, knob mode) through the frame.
// Telling the effect about gestures is left to the derived editor, which
// overrides beginEdit/endEdit.
#pragma once

#include <cstdint>

#include "effect/AEffEditor.h"
#include "gui/VSTGUIEditorInterface.h"

namespace VSTGUI {

class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface {
public:
    explicit AEffGUIEditor(AudioEffect* effect);  // control
    // Closes a frame still held in `frame`; an editor that drops its frame
    // itself sets `frame` to null.
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;  // control
    bool open(void* parentWindow) override;  // control
    void close() override;  // control
    void idle() override;  // control
    // Keys the host passes on go to the frame (hook first, then focus view).
    bool onKeyDown(VstKeyCode& key) override;  // control
    bool onKeyUp(VstKeyCode& key) override;  // control
    // A wheel step from the host lands where the mouse was last seen.
    bool onWheel(float distance) override;  // control
    bool setKnobMode(VstInt32 mode) override;  // control
    std::int32_t getKnobMode() const override { return knobMode; }  // control

    // Milliseconds from a fixed start; wraps after about 49 days.
    static std::uint32_t getTicks();  // any

protected:
    ERect rect{};

private:
    std::int32_t knobMode = 0;
};

}  // namespace VSTGUI
