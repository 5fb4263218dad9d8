// The editor as an LV2 UI, driven the way a host drives it: the bundle's
// binary opened with dlopen, the plug-in and its UI made through their
// descriptors, the UI inside a window of the host's on a private Xvfb.
#include <dlfcn.h>

#include <algorithm>
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

// Inside the "Dry Volume" knob and the preset arrow, "Revert" and edited-state buttons.
constexpr struct { int x, y; } kDryVolumeKnob{507 + 16, 44 + 16}, kNextPreset{267 + 4, 42 + 4},
    kRevertButton{283 + 4, 62 + 4}, kEditedButton{287 + 4, 33 + 4};

struct UiHost : ::testing::Test {
    IsolatedHome home;
    UridMap urids;
    HostLog log;
    void* library = nullptr;
    const LV2_Descriptor* plugin = nullptr;
    const LV2UI_Descriptor* ui = nullptr;
    LV2_Handle instance = nullptr;
    // The host's side of the ports, controls in port order.
    float portValues[ports::kControlCount] = {};
    float audio[4][64] = {};
    Sequence events{urids};
    Display* display = nullptr;
    Window parent = 0;
    Time eventTime = 0;  // a second apart: never a double click
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
        const ports::ControlSlots slots = ports::controlSlots();
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
            portValues[i] = parameterRow(slots[i]).defaultValue;
            plugin->connect_port(instance, ports::kFirstControl + i, &portValues[i]);
        }
        for (std::uint32_t i = 0; i < 4; ++i) plugin->connect_port(instance, ports::kInLeft + i, audio[i]);
        plugin->connect_port(instance, ports::kEvents, events.atoms());
        plugin->activate(instance);
    }
    void TearDown() override {
        if (instance) {
            plugin->deactivate(instance);
            plugin->cleanup(instance);
        }
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
    // A click (press and release unless it is the wheel) at (x, y) of the editor's window.
    void button(Window frame, int x, int y, unsigned int number = Button1) {
        for (const int type : {ButtonPress, ButtonRelease}) {
            XEvent event{};
            XButtonEvent& press = event.xbutton;
            press.type = type;
            press.window = frame;
            press.time = eventTime += 1000;
            press.x = x;
            press.y = y;
            press.state = type == ButtonRelease ? Button1Mask : 0;
            press.button = number;
            press.same_screen = True;
            XSendEvent(display, frame, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
            if (number == Button5) break;
        }
        XSync(display, False);
    }
    // Idles the UI until it has written to the host, or for rounds × 10 ms.
    void idleUntilWritten(LV2UI_Handle handle, int rounds = 100) {
        const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
        for (int wait = 0; wait < rounds && log.writes.empty(); ++wait) {
            idle->idle(handle);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // The host takes up the UI's writes and runs a block with the events written so far.
    void takeWritesAndRun() {
        for (const auto& [port, value] : log.writes) portValues[port - ports::kFirstControl] = value;
        log = {};
        plugin->run(instance, 64);
        events.clear();
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
    button(frame[0], kDryVolumeKnob.x, kDryVolumeKnob.y, Button5);
    idleUntilWritten(handle);

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

// After a program change the host's ports must hold the effect's values, and
// their echo must neither mark the program edited nor lose the edits a revert
// can bring back.
TEST_F(UiHost, ProgramChangesReachTheHostAsWritesOfExactlyTheChangedControls) {
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle handle = openUi(true, widget);
    ASSERT_NE(handle, nullptr);
    const Window frame = childrenOf(static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget))).at(0);
    APlugin& effect = static_cast<Lv2Effect*>(instance)->effect();
    const ports::ControlSlots slots = ports::controlSlots();
    // Each control whose value the host's ports do not hold, inside its touch.
    const auto expectTheChangedControlsWritten = [&] {
        HostLog changed;
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i) {
            if (effect.getParameter(slots[i]) == portValues[i]) continue;
            changed.writes.emplace_back(ports::kFirstControl + i, effect.getParameter(slots[i]));
            changed.touches.insert(changed.touches.end(), {{ports::kFirstControl + i, true}, {ports::kFirstControl + i, false}});
        }
        EXPECT_FALSE(changed.writes.empty());
        EXPECT_EQ(log.writes, changed.writes);
        EXPECT_EQ(log.touches, changed.touches);
    };
    const auto expectTheHostInStep = [&] {
        for (std::uint32_t i = 0; i < ports::kControlCount; ++i)
            EXPECT_EQ(effect.getParameter(slots[i]), portValues[i]) << "control " << i;
    };

    // The next factory preset, once the editor takes preset steps.
    std::this_thread::sleep_for(std::chrono::milliseconds(uEditor::kPresetStepMs + 20));
    button(frame, kNextPreset.x, kNextPreset.y);
    idleUntilWritten(handle);
    char name[kVstMaxProgNameLen] = {};
    effect.getProgramName(name);
    EXPECT_STREQ(name, "Drums & Perc 01");
    expectTheChangedControlsWritten();
    takeWritesAndRun();
    expectTheHostInStep();
    EXPECT_FALSE(effect.getEditChanged());

    const std::uint32_t dryVolume = static_cast<std::uint32_t>(ports::portOfSlot(Param::DryVolume));
    const float presetDry = effect.getParameter(Param::DryVolume);
    button(frame, kDryVolumeKnob.x, kDryVolumeKnob.y, Button5);
    idleUntilWritten(handle);
    ASSERT_EQ(log.writes.size(), 1u);
    const float editedDry = log.writes[0].second;
    takeWritesAndRun();
    button(frame, kRevertButton.x, kRevertButton.y);
    idleUntilWritten(handle);
    EXPECT_EQ(log.writes, (std::vector<std::pair<std::uint32_t, float>>{{dryVolume, presetDry}}));
    takeWritesAndRun();
    button(frame, kEditedButton.x, kEditedButton.y);
    idleUntilWritten(handle);
    EXPECT_EQ(log.writes, (std::vector<std::pair<std::uint32_t, float>>{{dryVolume, editedDry}}));
    takeWritesAndRun();

    // A MIDI program change is announced at the UI's next idle. The host has
    // moved "Dry Volume" to the new program's value already and says so: the
    // UI leaves that port alone. The same program again writes nothing.
    const auto programChangeByMidi = [&](int idleRounds) {
        events.midi(0, {0xC0, 0});
        takeWritesAndRun();
        idleUntilWritten(handle, idleRounds);
    };
    portValues[dryVolume - ports::kFirstControl] = FACTORY_PRESETS[0][Param::DryVolume];
    ui->port_event(handle, dryVolume, sizeof(float), 0, &portValues[dryVolume - ports::kFirstControl]);
    programChangeByMidi(100);
    expectTheChangedControlsWritten();
    EXPECT_EQ(std::count_if(log.writes.begin(), log.writes.end(), [&](auto& write) { return write.first == dryVolume; }), 0);
    takeWritesAndRun();
    expectTheHostInStep();
    programChangeByMidi(5);
    EXPECT_TRUE(log.writes.empty());
    ui->cleanup(handle);
}

TEST_F(UiHost, WithoutInstanceAccessTheHostGetsNoEditor) {
    LV2UI_Widget widget = nullptr;
    EXPECT_EQ(openUi(false, widget), nullptr);
    EXPECT_TRUE(childrenOf(parent).empty());
}

}  // namespace
