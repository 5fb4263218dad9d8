#include "lv2/Lv2Ui.h"

#include <cstring>
#include <string_view>

#include <lv2/instance-access/instance-access.h>

#include "editor/uEditor.h"
#include "lv2/PortLayout.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::string_view((*features)->URI) == uri) return (*features)->data;
    return nullptr;
}

Display* xDisplay(void* display) {
    return static_cast<Display*>(display);
}

}  // namespace

Lv2Ui* Lv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                     const LV2_Feature* const* features) {
    auto* glue = static_cast<Lv2Effect*>(const_cast<void*>(feature(features, LV2_INSTANCE_ACCESS_URI)));
    const void* parent = feature(features, LV2_UI__parent);
    if (!glue || !parent || !write || !widget) return nullptr;
    auto* ui = new Lv2Ui(*glue, write, controller, static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch)));
    if (!ui->open(reinterpret_cast<std::uintptr_t>(parent),
                  static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize)))) {
        delete ui;
        return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(ui->holder);
    return ui;
}

Lv2Ui::Lv2Ui(Lv2Effect& glue, LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch)
    : glue(glue), write(write), controller(controller), touch(touch) {
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i) hostValues[i] = glue.portValueSeen(i);
}

bool Lv2Ui::open(std::uintptr_t parent, const LV2UI_Resize* resize) {
    APlugin& effect = glue.effect();
    // The effect keeps its editor for its whole life, as under VST; a UI
    // opened again finds it there.
    if (!effect.getEditor()) effect.setEditor(new uEditor(&effect, "LV2"));
    editor = effect.getEditor();
    ERect* rect = nullptr;
    if (!editor->getRect(&rect) || !rect) return false;
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;

    display = XOpenDisplay(nullptr);
    if (!display) return false;
    holder = XCreateSimpleWindow(xDisplay(display), parent, 0, 0, width, height, 0, 0, 0);
    XMapWindow(xDisplay(display), holder);
    XSync(xDisplay(display), False);
    if (!editor->open(reinterpret_cast<void*>(holder))) return false;
    if (resize && resize->ui_resize) resize->ui_resize(resize->handle, width, height);
    glue.setEditorLink(this);
    return true;
}

Lv2Ui::~Lv2Ui() {
    glue.setEditorLink(nullptr);
    if (editor && editor->isOpen()) editor->close();
    if (display) {
        if (holder) XDestroyWindow(xDisplay(display), holder);
        XCloseDisplay(xDisplay(display));
    }
}

void Lv2Ui::idle() {
    // Through the effect, which announces a MIDI program change here.
    glue.effect().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
}

void Lv2Ui::portEvent(std::uint32_t port, float value) noexcept {
    if (port >= ports::kFirstControl && port < ports::kFirstControl + ports::kControlCount)
        hostValues[port - ports::kFirstControl] = value;
}

void Lv2Ui::automate(VstInt32 slot, float value) {
    const std::int64_t port = ports::portOfSlot(slot);
    if (port < 0) return;
    hostValues[port - ports::kFirstControl] = value;
    write(controller, static_cast<std::uint32_t>(port), sizeof(value), 0, &value);
}

void Lv2Ui::parametersChanged() {
    // One gesture per port written, as if each control had been moved.
    APlugin& effect = glue.effect();
    const ports::ControlSlots slots = ports::controlSlots();
    for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
        const float value = effect.getParameter(slots[i]);
        if (value == hostValues[i]) continue;
        gesture(slots[i], true);
        automate(slots[i], value);
        gesture(slots[i], false);
    }
}

void Lv2Ui::gesture(VstInt32 slot, bool begins) {
    const std::int64_t port = ports::portOfSlot(slot);
    if (port >= 0 && touch && touch->touch) touch->touch(touch->handle, static_cast<std::uint32_t>(port), begins);
}
