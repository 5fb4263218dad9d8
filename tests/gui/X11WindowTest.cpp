// The frame's X11 window inside a host window, on a private Xvfb server when
// no display is set. Skipped when neither is available.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <set>
#include <thread>

#include "GuiTestSupport.h"
#include "gui/COptionMenu.h"
#include "gui/X11MenuPresenter.h"
#include "tests/support/XServer.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root, up, *list = nullptr;
    unsigned int count = 0;
    XQueryTree(display, window, &root, &up, &list, &count);
    std::vector<Window> result(list, list + count);
    if (list) XFree(list);
    return result;
}

void sendTo(Display* display, Window window, XEvent event, long mask) {
    event.xany.window = window;
    event.xany.display = display;
    XSendEvent(display, window, False, mask, &event);
    XSync(display, False);
}

void pressKey(Display* display, Window window, KeySym symbol) {
    XEvent key{};
    key.type = KeyPress;
    key.xkey.keycode = XKeysymToKeycode(display, symbol);
    key.xkey.same_screen = True;
    sendTo(display, window, key, KeyPressMask);
}

struct X11Window : ::testing::Test {
    void SetUp() override {
        if (!(display = XOpenDisplay(nullptr))) GTEST_SKIP() << "no X display and no Xvfb";
        parent = makeParent();
    }
    void TearDown() override {
        if (!display) return;
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }
    Window makeParent() {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }

    Display* display = nullptr;
    Window parent = 0;
};

// Plays the user for a pop-up menu from a second connection, as a second
// program would. Each step waits for the next menu window, then clicks its
// row (or presses Escape when row < 0); all steps but the last only hover,
// which opens a submenu.
class MenuUser {
public:
    explicit MenuUser(std::vector<int> rows) : display(XOpenDisplay(nullptr)) {
        for (Window window : childrenOf(display, DefaultRootWindow(display))) known.insert(window);
        thread = std::thread([this, rows] {
            for (std::size_t step = 0; step < rows.size(); ++step) {
                const Window menu = nextMenuWindow();
                if (!menu) return;
                if (rows[step] < 0) {
                    pressKey(display, menu, XK_Escape);
                    continue;
                }
                XWindowAttributes at;
                XGetWindowAttributes(display, menu, &at);
                XEvent event{};
                event.type = MotionNotify;
                event.xmotion.x_root = at.x + 30;
                event.xmotion.y_root = at.y + 1 + rows[step] * X11MenuPresenter::kRowHeight + X11MenuPresenter::kRowHeight / 2;
                sendTo(display, menu, event, PointerMotionMask);
                if (step + 1 < rows.size()) continue;
                event.xbutton.button = Button1;  // x_root and y_root lie at the same place in both events
                for (int type : {ButtonPress, ButtonRelease}) {
                    event.type = type;
                    sendTo(display, menu, event, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
                }
            }
        });
    }
    ~MenuUser() {
        thread.join();
        XCloseDisplay(display);
    }

private:
    Window nextMenuWindow() {
        for (int wait = 0; wait < 300; ++wait) {
            for (Window window : childrenOf(display, DefaultRootWindow(display))) {
                XWindowAttributes at;
                if (!known.count(window) && XGetWindowAttributes(display, window, &at) && at.override_redirect &&
                    at.map_state == IsViewable)
                    return *known.insert(window).first;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

    Display* display;
    std::set<Window> known;
    std::thread thread;
};

}  // namespace

TEST_F(X11Window, IdleHandsWindowEventsToTheViews) {
    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    auto* probe = new MouseProbe(CRect(0, 0, 100, 100));
    frame->addView(probe);
    KeyHook hook;
    frame->registerKeyboardHook(&hook);
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(parent)));
    const Window window = childrenOf(display, parent).at(0);
    // The second left press comes soon after the first: a double click.
    for (auto [type, button, time] : {std::tuple{ButtonPress, Button1, 1000}, {ButtonRelease, Button1, 1000},
                                      {ButtonPress, Button1, 1100}, {ButtonPress, Button5, 1100}}) {
        XEvent event{};
        event.type = type;
        event.xbutton.time = time;
        event.xbutton.x = event.xbutton.y = 10;
        event.xbutton.state = ShiftMask;
        event.xbutton.button = button;
        sendTo(display, window, event, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
    }
    pressKey(display, window, XK_Down);

    frame->idle();
    EXPECT_EQ(probe->downs, 2);
    EXPECT_EQ(probe->ups, 1);
    EXPECT_TRUE(probe->lastButtons.isLeftButton());
    EXPECT_TRUE(probe->lastButtons.isDoubleClick());
    EXPECT_EQ(probe->lastButtons.getModifierState(), kShift);
    EXPECT_EQ(probe->wheel, -1.f);
    EXPECT_EQ(hook.lastVirt, VKEY_DOWN);
    frame->close();
}

TEST_F(X11Window, BadParentsAreRefusedAndAVanishedHostWindowIsSurvived) {
    auto* frame = new CFrame(CRect(0, 0, 50, 50), nullptr);
    EXPECT_FALSE(frame->open(nullptr));
    EXPECT_FALSE(frame->open(reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7ffffff))));
    EXPECT_FALSE(frame->isWindowOpen());

    const Window doomed = makeParent();
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(doomed)));
    XDestroyWindow(display, doomed);  // the host closes its window first
    XSync(display, False);
    frame->invalidFrameRect(CRect(0, 0, 50, 50));
    frame->idle();
    frame->close();  // still here: X errors are absorbed
}

TEST_F(X11Window, MenusPopUpChooseAndDismiss) {
    RecordingListener listener, subListener;
    auto* frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
    auto* menu = new COptionMenu(CRect(10, 10, 110, 26), &listener, 23);
    auto* presets = new COptionMenu(CRect(10, 10, 110, 26), &subListener, 9999, nullptr, nullptr, 0x118);
    for (const char* text : {"Default", "Drums & Perc 01"}) presets->addEntry(text);
    menu->addEntry(presets, "Preset 1 - 32");
    presets->forget();
    for (const char* text : {"-GNot Latched", "Saw Up"}) menu->addEntry(text);
    frame->addView(menu);
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(parent)));
    ASSERT_NE(frame->getMenuPresenter(), nullptr);
    frame->idle();
    auto popUpFor = [&](std::vector<int> rows) {
        MenuUser user(std::move(rows));
        return menu->popup();
    };

    EXPECT_TRUE(popUpFor({2}));
    EXPECT_EQ(menu->getValue(), 2.f);
    EXPECT_FALSE(popUpFor({-1}));
    EXPECT_TRUE(popUpFor({0, 1}));  // into the submenu, second entry
    EXPECT_EQ(presets->getValue(), 1.f);
    EXPECT_EQ(subListener.changed.size(), 1u);
    EXPECT_EQ(listener.changed.size(), 1u);
    frame->close();
}
