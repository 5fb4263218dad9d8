// The entry an LV2 host looks up in the bundle's binary. Each function only
// forwards to the instance; nothing may unwind into the host's C code.
#include <cstring>
#include <new>

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include "lv2/Lv2Effect.h"

namespace {

Lv2Effect* self(LV2_Handle instance) noexcept {
    return static_cast<Lv2Effect*>(instance);
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features) {
    try {
        return new Lv2Effect(sampleRate, features);
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) {
    self(instance)->connect(port, data);
}

void activate(LV2_Handle instance) {
    self(instance)->activate();
}

void run(LV2_Handle instance, uint32_t frames) {
    self(instance)->run(frames);
}

void deactivate(LV2_Handle instance) {
    self(instance)->deactivate();
}

void cleanup(LV2_Handle instance) {
    delete self(instance);
}

LV2_State_Status saveState(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                           const LV2_Feature* const*) {
    try {
        return self(instance)->save(store, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restoreState(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                              uint32_t, const LV2_Feature* const*) {
    try {
        return self(instance)->restore(retrieve, handle);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const void* extensionData(const char* uri) {
    static const LV2_State_Interface state = {saveState, restoreState};
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &state;
    return nullptr;
}

const LV2_Descriptor descriptor = {kPluginUri, instantiate, connectPort, activate, run,
                                   deactivate, cleanup,     extensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}
