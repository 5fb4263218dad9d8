// An effect with its editor in a private preference folder, for the editor,
// control and display tests.
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

inline const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new guitest::FontCacheRelease);

using namespace VSTGUI;

// The size preferences are stored before the effect builds its editor.
struct EffectWithEditor {
    IsolatedHome home;
    std::unique_ptr<APlugin> plugin;
    uEditor* editor = nullptr;

    explicit EffectWithEditor(const char* big150 = nullptr, const char* big200 = nullptr,
                              audioMasterCallback host = nullptr) {
        if (big150) saveStringToPrefs("Big150", big150);
        if (big200) saveStringToPrefs("Big200", big200);
        plugin.reset(static_cast<APlugin*>(createEffectWithEditor(host, "VST")));
        editor = dynamic_cast<uEditor*>(plugin->getEditor());
    }
    CFrame* openOffscreen() { return editor && editor->openOffscreen() ? editor->getFrame() : nullptr; }
    template <class View>
    View* add(View* view) {  // the frame owns it
        editor->getFrame()->addView(view);
        return view;
    }
    // idle ignores calls within 10 ms of the previous one.
    void idleLater() {
        std::this_thread::sleep_for(std::chrono::milliseconds(12));
        editor->idle();
    }
};

// An effect whose editor is open at its default size.
struct InEditor : ::testing::Test {
    EffectWithEditor effect;
    APlugin& plugin = *effect.plugin;
    CFrame* frame = nullptr;
    guitest::RecordingListener listener;
    CPoint where{1, 1};

    void SetUp() override { ASSERT_NE(frame = effect.openOffscreen(), nullptr); }
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
