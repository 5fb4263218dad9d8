// The editor as an LV2 X11 UI inside the host's window. It reaches the
// running effect through the host's instance access (the displays and meters
// read it directly) and hands the editor's edits to the host as port writes,
// inside the host's touch gestures where it offers them; after a program
// change it writes the ports whose values the host has not seen. A host
// without instance access gets no editor and shows its own controls.
#pragma once

#include <cstdint>

#include <lv2/ui/ui.h>

#include "lv2/Lv2Effect.h"

class Lv2Ui final : public EditorLink {
public:
    // control: nullptr when the host offers no parent window or no instance
    // access, or the editor cannot open; the widget is the editor's holder window.
    static Lv2Ui* create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features);
    ~Lv2Ui() override;  // control
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    void idle();  // control
    // The host tells the value of a port (ignored unless a control's).
    void portEvent(std::uint32_t port, float value) noexcept;  // control

    void automate(VstInt32 slot, float value) override;  // control
    void gesture(VstInt32 slot, bool begins) override;  // control
    void parametersChanged() override;  // control

private:
    Lv2Ui(Lv2Effect& glue, LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch);
    bool open(std::uintptr_t parent, const LV2UI_Resize* resize);

    Lv2Effect& glue;
    AEffEditor* editor = nullptr;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Touch* touch;
    // What the host last saw on each control port, by control index: what
    // we wrote or it told us, at first what the effect last read from it.
    float hostValues[ports::kControlCount] = {};
    void* display = nullptr;      // the holder window's connection (an Xlib Display)
    std::uintptr_t holder = 0;    // our window inside the host's, holding the editor's
};
