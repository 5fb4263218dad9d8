// An effect with its editor in a private preference folder, for the editor
// and control tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "editor/uEditor.h"
#include "gui/CFrame.h"
#include "gui/OffscreenRender.h"
#include "platform/Preferences.h"
#include "plugin/APlugin.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/platform/PlatformTestSupport.h"

namespace editortest {

using namespace VSTGUI;

// The size preferences are stored before the effect builds its editor.
struct EffectWithEditor {
    IsolatedHome home;
    std::unique_ptr<APlugin> plugin;
    uEditor* editor = nullptr;

    explicit EffectWithEditor(const char* big150 = nullptr, const char* big200 = nullptr) {
        if (big150) saveStringToPrefs("Big150", big150);
        if (big200) saveStringToPrefs("Big200", big200);
        plugin.reset(static_cast<APlugin*>(createEffectInstance(nullptr)));
        editor = dynamic_cast<uEditor*>(plugin->getEditor());
    }
    CFrame* openOffscreen() { return editor && editor->openOffscreen() ? editor->getFrame() : nullptr; }
    // idle ignores calls within 10 ms of the previous one.
    void idleLater() {
        std::this_thread::sleep_for(std::chrono::milliseconds(12));
        editor->idle();
    }
};

// The frame's views of one kind, bottom to top.
template <class T>
std::vector<T*> viewsOf(CFrame& frame) {
    std::vector<T*> found;
    for (std::int32_t i = 0; i < frame.getNbViews(); ++i)
        if (auto* view = dynamic_cast<T*>(frame.getView(i))) found.push_back(view);
    return found;
}

template <class T>
T* viewWithTag(CFrame& frame, std::int32_t tag) {
    for (T* view : viewsOf<T>(frame))
        if (view->getTag() == tag) return view;
    return nullptr;
}

}  // namespace editortest
