// The editor as a user meets it: Tidewalker.so loaded through its VST entry,
// its window opened inside a host window on the private Xvfb, and the mouse
// driven with synthetic X input (XTest). What counts is what the host hears
// back: automation inside begin/end edit, never a slot of 500 or above,
// never a value outside 0..1.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "effect/VstAbi.h"
#include "plugin/ParameterTable.h"
#include "resources/FrontPanelLayout.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/support/XServer.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

using namespace std::chrono_literals;
namespace layout = tidewalker::layout;

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);

// Sizes of the pictures at 100 %, which the panel's positions refer to.
constexpr int kKnobSize = 42;
constexpr int kSwitchSize = 22;

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    float value;
};
std::mutex hostMutex;
std::vector<HostCall> hostCalls;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) {
        std::lock_guard lock(hostMutex);
        hostCalls.push_back({opcode, index, opt});
    }
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::vector<HostCall> takeHostCalls() {
    std::lock_guard lock(hostMutex);
    return std::exchange(hostCalls, {});
}

// Synthetic input on a connection of its own; the editor's window sits at
// the root's origin, so panel and screen coordinates agree.
struct User {
    Display* display = XOpenDisplay(nullptr);
    ~User() { XCloseDisplay(display); }

    void move(int x, int y) {
        XTestFakeMotionEvent(display, -1, x, y, 0);
        settle();
    }
    void button(unsigned int number, bool down) {
        XTestFakeButtonEvent(display, number, down ? True : False, 0);
        settle();
    }
    void click(int x, int y, unsigned int number = Button1) {
        move(x, y);
        button(number, true);
        button(number, false);
    }
    void settle() {
        XFlush(display);
        std::this_thread::sleep_for(40ms);
    }
};

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        int event, error, major, minor;
        if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor))
            GTEST_SKIP() << "no X display with XTest";
        library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        effect = entry(recordingHost);
        ASSERT_NE(effect, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, layout::FRAME_WIDTH,
                                     layout::FRAME_HEIGHT, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(parent)), 1);
        act([](User&) {});  // let the window map and paint
        takeHostCalls();
    }
    void TearDown() override {
        if (effect) {
            dispatch(effEditClose);
            dispatch(effClose);
        }
        if (library) dlclose(library);
        if (display) {
            if (parent) XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    // Runs the user's steps on their own thread while this one idles the
    // editor as a host's timer would: a pop-up menu runs its loop inside idle.
    void act(const std::function<void(User&)>& steps) {
        std::atomic<bool> done{false};
        std::thread user([&] {
            User input;
            steps(input);
            done = true;
        });
        while (!done) {
            dispatch(effEditIdle);
            std::this_thread::sleep_for(10ms);
        }
        user.join();
        for (int i = 0; i < 5; ++i, std::this_thread::sleep_for(12ms)) dispatch(effEditIdle);
    }
    float value(VstInt32 index) { return effect->getParameter(effect, index); }

    // Every call names a parameter slot and a value the host can store, and
    // every automated value lies inside a begin/end edit of its parameter.
    static void expectWellFormed(const std::vector<HostCall>& calls) {
        VstInt32 open = -1;
        for (const HostCall& call : calls) {
            EXPECT_GE(call.index, 0);
            EXPECT_LT(call.index, kNumEditorSlots) << "opcode " << call.opcode;
            if (call.opcode == audioMasterBeginEdit) open = call.index;
            if (call.opcode == audioMasterEndEdit) {
                EXPECT_EQ(open, call.index);
                open = -1;
            }
            if (call.opcode == audioMasterAutomate) {
                EXPECT_EQ(open, call.index) << "automation outside a gesture";
                EXPECT_TRUE(call.value >= 0.0f && call.value <= 1.0f) << call.value;
            }
        }
        EXPECT_EQ(open, -1) << "a gesture never ended";
    }
    static std::vector<float> automated(const std::vector<HostCall>& calls, VstInt32 index) {
        std::vector<float> values;
        for (const HostCall& call : calls)
            if (call.opcode == audioMasterAutomate && call.index == index) values.push_back(call.value);
        return values;
    }

    IsolatedHome home;
    Display* display = nullptr;
    Window parent = 0;
    void* library = nullptr;
    AEffect* effect = nullptr;
};

TEST_F(RealWindow, KnobDragsAndSwitchClicksReachTheHostAsGesturesOfAutomation) {
    const int knobX = layout::KNOBS[1][1] + kKnobSize / 2, knobY = layout::KNOBS[1][2] + kKnobSize / 2;
    ASSERT_EQ(layout::KNOBS[1][0], Param::WetVolume);
    act([&](User& user) {
        user.move(knobX, knobY);
        user.button(Button1, true);
        for (int step = 1; step <= 4; ++step) user.move(knobX, knobY - 10 * step);
        user.button(Button1, false);
    });
    auto calls = takeHostCalls();
    expectWellFormed(calls);
    const auto wet = automated(calls, Param::WetVolume);
    ASSERT_FALSE(wet.empty());
    EXPECT_GT(wet.back(), 0.8f);
    EXPECT_EQ(value(Param::WetVolume), wet.back());

    ASSERT_EQ(layout::ON_OFFS[2][0], Param::Mute);
    act([&](User& user) { user.click(layout::ON_OFFS[2][1] + kSwitchSize / 2, layout::ON_OFFS[2][2] + kSwitchSize / 2); });
    calls = takeHostCalls();
    expectWellFormed(calls);
    EXPECT_EQ(automated(calls, Param::Mute), std::vector<float>{1.0f});
    EXPECT_EQ(value(Param::Mute), 1.0f);
}

TEST_F(RealWindow, HelpShowsTheInstalledManualWithTheDesktopOpener) {
    const auto manual = home.root.path / "data/doc/tidewalker/Tidewalker_Manual.html";
    writeFile(manual, "<html></html>");
    TempDir bin;
    const auto opened = bin.path / "opened";
    writeFile(bin.path / "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened.string() + "'\n", true);
    ScopedEnv path("PATH", bin.str() + ":/usr/bin:/bin");
    // The HELP key, 62 x 22 at 100 %.
    act([&](User& user) { user.click(layout::HELP_BUTTON.x + 31, layout::HELP_BUTTON.y + 11); });
    for (int i = 0; i < 200 && readFile(opened).empty(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(readFile(opened), manual.string());
    expectWellFormed(takeHostCalls());
}

}  // namespace
