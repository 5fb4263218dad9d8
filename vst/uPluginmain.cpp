// The entry points a host looks up in Tidewalker.so. They only translate:
// ask the host's version, create the effect with its editor, hand back its
// record.
#include "editor/uEditor.h"
#include "effect/AudioEffect.h"

#define TIDEWALKER_EXPORT extern "C" __attribute__((visibility("default")))

TIDEWALKER_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster);
// Old Linux hosts look the entry up as "main"; C++ will not let us define a
// function by that name with this signature, so the symbol is set by label.
TIDEWALKER_EXPORT AEffect* tidewalkerMain(audioMasterCallback audioMaster) __asm__("main");

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    // A host that cannot answer the version call cannot drive us either.
    if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        return createEffectWithEditor(audioMaster, "VST")->getAeffect();
    } catch (...) {
        // Nothing may unwind into the host's C code.
        return nullptr;
    }
}

AEffect* tidewalkerMain(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}
