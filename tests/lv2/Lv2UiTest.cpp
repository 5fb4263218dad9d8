// The editor as an LV2 UI, driven the way a host drives it: the bundle's
// binary opened with dlopen, the plug-in and its UI made through their
// descriptors, the UI inside a window of the host's on a private Xvfb.
#include <dlfcn.h>

#include <chrono>
#include <thread>
#include <tuple>
#include <vector>

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include "editor/uEditor.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/lv2/Lv2TestSupport.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/XServer.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);
const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new guitest::FontCacheRelease);

// What the UI tells its host: (port, value) writes and (port, grabbed) touches.
struct HostLog {
    std::vector<std::pair<std::uint32_t, float>> writes;
    std::vector<std::pair<std::uint32_t, bool>> touches;
};

struct UiHost : ::testing::Test {
    IsolatedHome home;
    UridMap urids;
    HostLog log;
    void* library = nullptr;
    const LV2_Descriptor* plugin = nullptr;
    const LV2UI_Descriptor* ui = nullptr;
    LV2_Handle instance = nullptr;
    Display* display = nullptr;
    Window parent = 0;
    LV2UI_Touch touch{&log, [](LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
                          static_cast<HostLog*>(handle)->touches.emplace_back(port, grabbed);
                      }};

    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display and no Xvfb";
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1200, 700, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        library = dlopen(TIDEWALKER_LV2_BUNDLE "/Tidewalker.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        using PluginEntry = const LV2_Descriptor* (*)(uint32_t);
        using UiEntry = const LV2UI_Descriptor* (*)(uint32_t);
        plugin = reinterpret_cast<PluginEntry>(dlsym(library, "lv2_descriptor"))(0);
        ui = reinterpret_cast<UiEntry>(dlsym(library, "lv2ui_descriptor"))(0);
        ASSERT_TRUE(plugin && ui);
        instance = plugin->instantiate(plugin, 44100.0, TIDEWALKER_LV2_BUNDLE "/", urids.features);
        ASSERT_NE(instance, nullptr);
    }
    void TearDown() override {
        if (instance) plugin->cleanup(instance);
        if (library) dlclose(library);
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    LV2UI_Handle openUi(bool instanceAccess, LV2UI_Widget& widget) {
        const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
        const LV2_Feature accessFeature{LV2_INSTANCE_ACCESS_URI, instance};
        const LV2_Feature touchFeature{LV2_UI__touch, &touch};
        const LV2_Feature* features[] = {&parentFeature, &touchFeature, &urids.feature,
                                         instanceAccess ? &accessFeature : nullptr, nullptr};
        auto write = [](LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                        const void* buffer) {
            if (size == sizeof(float) && format == 0)
                static_cast<HostLog*>(controller)->writes.emplace_back(port, *static_cast<const float*>(buffer));
        };
        return ui->instantiate(ui, kPluginUri, TIDEWALKER_LV2_BUNDLE "/", write, &log, &widget, features);
    }
    std::vector<Window> childrenOf(Window window) {
        XSync(display, False);
        Window root, up, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &up, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
};

TEST_F(UiHost, AKnobTurnedInTheEditorReachesTheHostAsAPortWriteInsideATouch) {
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle handle = openUi(true, widget);
    ASSERT_NE(handle, nullptr);
    const auto holder = static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget));
    ASSERT_EQ(childrenOf(parent), std::vector<Window>{holder});
    const std::vector<Window> frame = childrenOf(holder);
    ASSERT_EQ(frame.size(), 1u) << "the editor's window sits in the UI's";
    // The bundle is built from the same code as this test, so its instance
    // reads as ours, as it does for the UI.
    auto* editor = static_cast<uEditor*>(static_cast<Lv2Effect*>(instance)->effect().getEditor());
    EXPECT_EQ(editor->versionText(), "Linux LV2 x86_64 Tidewalker 1.0.0");

    // One wheel step down over the "Dry Volume" knob.
    XEvent wheel{};
    wheel.type = ButtonPress;
    wheel.xbutton.window = frame[0];
    wheel.xbutton.x = 507 + 16;
    wheel.xbutton.y = 44 + 16;
    wheel.xbutton.button = Button5;
    wheel.xbutton.same_screen = True;
    XSendEvent(display, frame[0], False, ButtonPressMask, &wheel);
    XSync(display, False);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    for (int wait = 0; wait < 100 && log.writes.empty(); ++wait) {
        idle->idle(handle);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    const std::uint32_t dryVolume = static_cast<std::uint32_t>(ports::portOfSlot(Param::DryVolume));
    ASSERT_EQ(log.writes.size(), 1u);
    EXPECT_EQ(log.writes[0].first, dryVolume);
    EXPECT_LT(log.writes[0].second, 1.0f);
    EXPECT_EQ(log.touches, (std::vector<std::pair<std::uint32_t, bool>>{{dryVolume, true}, {dryVolume, false}}));

    ui->cleanup(handle);
    EXPECT_TRUE(childrenOf(parent).empty());
    // The effect keeps its editor: a second UI opens again.
    handle = openUi(true, widget);
    ASSERT_NE(handle, nullptr);
    ui->cleanup(handle);
}

TEST_F(UiHost, WithoutInstanceAccessTheHostGetsNoEditor) {
    LV2UI_Widget widget = nullptr;
    EXPECT_EQ(openUi(false, widget), nullptr);
    EXPECT_TRUE(childrenOf(parent).empty());
}

}  // namespace
