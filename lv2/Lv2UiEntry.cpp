// The UI entry an LV2 host looks up in the bundle's binary: the editor as an
// X11 UI. Each function only forwards; nothing may unwind into the host.
#include <cstring>

#include <lv2/ui/ui.h>

#include "lv2/HostUrids.h"
#include "lv2/Lv2Ui.h"

namespace {

Lv2Ui* self(LV2UI_Handle handle) noexcept {
    return static_cast<Lv2Ui*>(handle);
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    try {
        return Lv2Ui::create(write, controller, widget, features);
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle) {
    delete self(handle);
}

// Host automation reaches the effect through the control ports and the
// editor reads the effect; the UI only notes what the host holds.
void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format == 0 && size == sizeof(float) && buffer) {
        float value;
        std::memcpy(&value, buffer, sizeof(value));
        self(handle)->portEvent(port, value);
    }
}

int idle(LV2UI_Handle handle) {
    try {
        self(handle)->idle();
    } catch (...) {
    }
    return 0;
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface = {idle};
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idleInterface;
    return nullptr;
}

const LV2UI_Descriptor descriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}
