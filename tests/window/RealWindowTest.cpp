// The editor as a user meets it: Tidewalker.so loaded through its VST entry,
// its window opened inside a host window on the private Xvfb, and the mouse
// driven with synthetic X input (XTest). What counts is what the host hears
// back: automation inside begin/end edit, never a slot of 500 or above,
// never a value outside 0..1.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "effect/VstAbi.h"
#include "gui/X11MenuPresenter.h"
#include "plugin/ParameterTable.h"
#include "resources/FrontPanelLayout.h"
#include "resources/SettingsPageLayout.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/platform/PlatformTestSupport.h"
#include "tests/plugin/PluginTestSupport.h"
#include "tests/support/XServer.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using namespace std::chrono_literals;
namespace layout = tidewalker::layout;

// Synthetic input must never reach a desktop, nor a server another test
// drives at the same time: always a private Xvfb of this process.
const int ownDisplay = unsetenv("DISPLAY");
const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);
// The plug-in's fonts stay in cairo's and fontconfig's caches, in the copies
// of those libraries this process shares with it. fontconfig keeps a
// pattern's elements behind an offset rather than a pointer, so the leak
// checker takes the live caches for lost blocks unless they are emptied.
const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new guitest::FontCacheRelease);

// Sizes of the pictures at 100 %, which the panel's positions refer to.
constexpr int kKnobSize = 42;
constexpr int kSwitchSize = 22;
constexpr int kGearSize = 28;

using Presenter = VSTGUI::X11MenuPresenter;

// A pop-up menu as another client sees it: its place on the screen and the
// entries its window publishes.
struct MenuOnScreen {
    int x = 0, y = 0;
    std::vector<std::string> entries;

    // The middle of the entry reading `text`, in screen coordinates.
    std::optional<std::pair<int, int>> centreOf(const std::string& text) const {
        int top = 1;  // below the border
        for (const std::string& entry : entries) {
            const int height = entry == "-" ? Presenter::kSeparatorHeight : Presenter::kRowHeight;
            if (entry == text) return std::pair{x + Presenter::kSidePadding + 10, y + top + height / 2};
            top += height;
        }
        return std::nullopt;
    }
};

std::optional<MenuOnScreen> menuOnScreen(Display* display) {
    const Atom property = XInternAtom(display, Presenter::kEntriesProperty, False);
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    std::optional<MenuOnScreen> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        Atom type;
        int format;
        unsigned long length, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], property, 0, 1 << 16, False, AnyPropertyType, &type, &format,
                               &length, &after, &data) == Success &&
            data) {
            found = MenuOnScreen{attributes.x, attributes.y, {}};
            for (unsigned long at = 0; at < length;) {
                found->entries.emplace_back(reinterpret_cast<const char*>(data + at));
                at += found->entries.back().size() + 1;
            }
        }
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

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
    void key(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(display, symbol);
        XTestFakeKeyEvent(display, code, True, 0);
        XTestFakeKeyEvent(display, code, False, 0);
        settle();
    }
    // Right-clicks at (x, y) and, when a menu opens, chooses `choice` in it
    // or dismisses it with Escape. Returns the entries it showed, if any.
    std::optional<std::vector<std::string>> useMenu(int x, int y, const std::string& choice = "") {
        click(x, y, Button3);
        std::optional<MenuOnScreen> menu;
        for (int wait = 0; wait < 50 && !(menu = menuOnScreen(display)); ++wait) std::this_thread::sleep_for(20ms);
        if (!menu) return std::nullopt;
        if (const auto entry = menu->centreOf(choice)) {
            click(entry->first, entry->second);
        } else {
            key(XK_Escape);
        }
        return menu->entries;
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
    // One controller message through the host's event route, applied by the next block.
    void controller(int number, int amount) {
        EventBlock block({midiEvent(0xB0, number, amount)});
        dispatch(effProcessEvents, 0, block.block());
        std::vector<float> buffer(4 * 64);
        float* in[2] = {&buffer[0], &buffer[64]};
        float* out[2] = {&buffer[128], &buffer[192]};
        effect->processReplacing(effect, in, out, 64);
    }
    std::string parameterText(VstInt32 opcode, VstInt32 index) {
        char text[64] = {};
        effect->dispatcher(effect, opcode, index, 0, text, 0.0f);
        return text;
    }
    // A preference as the file holds it, as text; "" when absent.
    std::string preference(const char* key) {
        const auto stored = nlohmann::json::parse(readFile(home.userFile()), nullptr, false);
        if (!stored.is_object() || !stored.contains(key)) return "";
        return stored[key].is_string() ? stored[key].get<std::string>() : stored[key].dump();
    }

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

// The "Wet Volume" knob's middle.
constexpr int knobX = layout::KNOBS[1][1] + kKnobSize / 2, knobY = layout::KNOBS[1][2] + kKnobSize / 2;
static_assert(layout::KNOBS[1][0] == Param::WetVolume);

TEST_F(RealWindow, KnobDragsAndSwitchClicksReachTheHostAsGesturesOfAutomation) {
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

// The parameter menu, read from the menu window's published entries and
// driven by clicks on its rows; the controller messages come through the
// host's event route.
TEST_F(RealWindow, TheParameterMenuSetsTheDefaultAndLearnsTypesUnlatchesAndClearsControllers) {
    dispatch(effMainsChanged, 1);
    effect->setParameter(effect, Param::WetVolume, 0.3f);
    const auto menuOn = [&](int x, int y, const std::string& choice = "") {
        std::optional<std::vector<std::string>> shown;
        act([&](User& user) { shown = user.useMenu(x, y, choice); });
        return shown.value_or(std::vector<std::string>{"no menu"});
    };
    const auto menuOnWet = [&](const std::string& choice = "") { return menuOn(knobX, knobY, choice); };

    const std::vector<std::string> expected = {
        "-G" + parameterText(effGetParamName, Param::WetVolume), "-G" + parameterText(effGetParamDisplay, Param::WetVolume),
        "-", "-GNot Latched", "-", "Set to Default", "Set to Minimum", "Set to Maximum", "Set to Mid", "Set to Value",
        "Set to Random", "Increase", "Decrease", "-", "Latch to MIDI", "Unlatch MIDI", "Set MIDI CC", "Clear MIDI"};
    ASSERT_EQ(expected[0], "-GWet Volume");
    EXPECT_EQ(menuOnWet("Set to Default"), expected);
    auto calls = takeHostCalls();
    expectWellFormed(calls);
    EXPECT_EQ(automated(calls, Param::WetVolume), std::vector<float>{0.8f});
    EXPECT_EQ(value(Param::WetVolume), 0.8f);

    // Latched, the next controller is learned and drives the knob from then on.
    menuOnWet("Latch to MIDI");
    controller(74, 64);
    EXPECT_EQ(value(Param::WetVolume), 0.5f);
    EXPECT_EQ(menuOnWet().at(3), "-GMidi CC : 74");
    for (int wait = 0; wait < 100 && preference("74").empty(); ++wait) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(preference("74"), std::to_string(Param::WetVolume));

    // A typed controller, answered by a stand-in dialog.
    TempDir bin;
    writeFile(bin.path / "zenity", "#!/bin/sh\necho 100\n", true);
    ScopedEnv path("PATH", bin.str() + ":/usr/bin:/bin");
    menuOnWet("Set MIDI CC");
    EXPECT_EQ(menuOnWet().at(3), "-GMidi CC : 100");  // the highest of 74 and 100
    controller(100, 32);
    EXPECT_EQ(value(Param::WetVolume), 0.25f);

    // Unlatching frees both controllers of the knob.
    menuOnWet("Unlatch MIDI");
    EXPECT_EQ(menuOnWet().at(3), "-GNot Latched");
    controller(74, 127);
    controller(100, 127);
    EXPECT_EQ(value(Param::WetVolume), 0.25f);

    // Clearing frees every controller, this knob's and another's.
    menuOnWet("Latch to MIDI");
    controller(74, 0);
    EXPECT_EQ(value(Param::WetVolume), 0.0f);
    ASSERT_EQ(layout::KNOBS[0][0], Param::DryVolume);
    menuOn(layout::KNOBS[0][1] + kKnobSize / 2, layout::KNOBS[0][2] + kKnobSize / 2, "Set MIDI CC");
    controller(100, 0);
    EXPECT_EQ(value(Param::DryVolume), 0.0f);
    menuOnWet("Clear MIDI");
    EXPECT_EQ(menuOnWet().at(3), "-GNot Latched");
    controller(74, 127);
    controller(100, 127);
    EXPECT_EQ(value(Param::WetVolume), 0.0f);
    EXPECT_EQ(value(Param::DryVolume), 0.0f);
    EXPECT_EQ(preference("74"), "0");
    EXPECT_EQ(preference("100"), "0");
    expectWellFormed(takeHostCalls());
}

// Switches that are not parameters have no menu; the settings page's
// switches write the preferences and nothing reaches the host.
TEST_F(RealWindow, TheOffsetLockAndTheSettingsSwitchesOpenNoMenuAndTheSwitchesStoreThePreferences) {
    ASSERT_EQ(layout::ON_OFFS[9][0], 510);
    const int lockX = layout::ON_OFFS[9][1] + kSwitchSize / 2, lockY = layout::ON_OFFS[9][2] + kSwitchSize / 2;
    const auto settingsSwitch = [](int i) {
        return std::pair{layout::SETTINGS_SWITCHES[i].x + kSwitchSize / 2, layout::SETTINGS_SWITCHES[i].y + kSwitchSize / 2};
    };
    std::optional<std::vector<std::string>> onLock, onKey, onWet;
    act([&](User& user) {
        onLock = user.useMenu(lockX, lockY);
        user.click(layout::SETTINGS_BUTTON.x + kGearSize / 2, layout::SETTINGS_BUTTON.y + kGearSize / 2);
        const auto [keyX, keyY] = settingsSwitch(0);
        onKey = user.useMenu(keyX, keyY);
        for (int i : {0, 1, 5}) {  // "Key" and "MidiPreset" off, 150 % on
            const auto [x, y] = settingsSwitch(i);
            user.click(x, y);
        }
        user.click(40, 40);  // the page turns back
        onWet = user.useMenu(knobX, knobY);
    });
    EXPECT_EQ(onLock, std::nullopt);
    EXPECT_EQ(onKey, std::nullopt);
    EXPECT_TRUE(onWet.has_value()) << "the front panel is back";
    for (auto [key, stored] : {std::pair{"Key", "N"}, {"MidiPreset", "N"}, {"MidiBank", ""}, {"MuteReverse", ""},
                               {"Big100", "N"}, {"Big150", "Y"}, {"Big200", "N"}})
        EXPECT_EQ(preference(key), stored) << key;
    const auto calls = takeHostCalls();
    expectWellFormed(calls);
    EXPECT_TRUE(automated(calls, 510).empty());
}

}  // namespace
