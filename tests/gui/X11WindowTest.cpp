// The frame's X11 window inside a host window, on a private Xvfb server when
// no display is set. Skipped when neither is available.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "GuiTestSupport.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/CView.h"
#include "gui/X11MenuPresenter.h"
#include "platform/Process.h"

extern char** environ;

using namespace VSTGUI;
using namespace guitest;

namespace {

// Starts Xvfb on a display number it picks itself (-displayfd) and stops it
// when the tests are done.
class XServer : public ::testing::Environment {
public:
    void SetUp() override {
        if (std::getenv("DISPLAY")) return;
        const std::string xvfb = findExecutable("Xvfb");
        if (xvfb.empty()) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        // -noreset: the server must not restart each time the last test client leaves.
        const char* argv[] = {xvfb.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "640x480x24",
                              "-nolisten",  "tcp",        "-noreset",  nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawn(&pid, xvfb.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (spawned != 0) {
            close(fds[0]);
            pid = 0;
            return;
        }
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) setenv("DISPLAY", (":" + number).c_str(), 1);
    }
    void TearDown() override {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

private:
    pid_t pid = 0;
};

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new XServer);

struct Probe : CView {
    int downs = 0, ups = 0;
    float wheel = 0;
    CButtonState lastButtons;
    explicit Probe(const CRect& size) : CView(size) {}
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
        ++downs;
        lastButtons = buttons;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
        ++ups;
        return kMouseEventHandled;
    }
    bool onWheel(const CPoint&, const float& distance, const CButtonState&) override {
        wheel += distance;
        return true;
    }
};

struct Hook : IKeyboardHook {
    unsigned char lastVirt = 0;
    std::int32_t onKeyDown(const VstKeyCode& key, CFrame*) override {
        lastVirt = key.virt;
        return 1;
    }
    std::int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }
};

class X11Window : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display and no Xvfb";
        parent = makeParent();
    }
    void TearDown() override {
        if (!display) return;
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    Window makeParent() {
        const Window window =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }
    std::vector<Window> children(Window window) {
        Window root, up, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &up, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
    unsigned long pixel(Window window, int x, int y) {
        XSync(display, False);
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return ~0ul;
        const unsigned long value = XGetPixel(image, 0, 0) & 0xffffff;
        XDestroyImage(image);
        return value;
    }
    void send(Window window, XEvent event, long mask) {
        event.xany.window = window;
        event.xany.display = display;
        XSendEvent(display, window, False, mask, &event);
        XSync(display, False);
    }

    Display* display = nullptr;
    Window parent = 0;
};

}  // namespace

TEST_F(X11Window, OpensInsideTheHostWindowPaintsAndCloses) {
    auto background = makeBands(120, 40, {kGreenCColor, kBlueCColor});
    auto red = makeBands(20, 20, {kRedCColor});
    for (int round = 0; round < 3; ++round) {
        auto* frame = new CFrame(CRect(0, 0, 120, 80), nullptr);
        frame->setBackground(background.get());
        auto* view = new CView(CRect(100, 0, 120, 20));
        frame->addView(view);
        ASSERT_TRUE(frame->open(reinterpret_cast<void*>(parent)));
        const auto inside = children(parent);
        ASSERT_EQ(inside.size(), 1u);

        frame->idle();
        EXPECT_EQ(pixel(inside[0], 5, 5), 0x00ff00ul);
        EXPECT_EQ(pixel(inside[0], 5, 60), 0x0000fful);
        EXPECT_EQ(pixel(inside[0], 110, 10), 0x00ff00ul);

        // A view that changes is repainted by the next idle.
        view->setBackground(red.get());
        frame->idle();
        EXPECT_EQ(pixel(inside[0], 110, 10), 0xff0000ul);

        frame->close();
        XSync(display, False);
        EXPECT_TRUE(children(parent).empty());
    }
}

TEST_F(X11Window, IdleHandsWindowEventsToTheViews) {
    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    auto* probe = new Probe(CRect(0, 0, 100, 100));
    frame->addView(probe);
    Hook hook;
    frame->registerKeyboardHook(&hook);
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(parent)));
    const Window window = children(parent).at(0);

    XEvent press{};
    press.type = ButtonPress;
    press.xbutton.x = 10;
    press.xbutton.y = 10;
    press.xbutton.button = Button1;
    press.xbutton.state = ShiftMask;
    press.xbutton.time = 1000;
    send(window, press, ButtonPressMask);
    XEvent release = press;
    release.type = ButtonRelease;
    send(window, release, ButtonReleaseMask);
    press.xbutton.time = 1100;  // a second press soon after: a double click
    send(window, press, ButtonPressMask);
    XEvent wheel = press;
    wheel.xbutton.button = Button5;
    send(window, wheel, ButtonPressMask);
    XEvent key{};
    key.type = KeyPress;
    key.xkey.keycode = XKeysymToKeycode(display, XK_Down);
    key.xkey.same_screen = True;
    send(window, key, KeyPressMask);

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
    SUCCEED();
}

namespace {

// Plays the user for a pop-up menu from a second connection, as a second
// program would: waits for each new menu window and acts on it.
class MenuUser {
public:
    MenuUser() : display(XOpenDisplay(nullptr)) { known = topWindows(); }
    ~MenuUser() {
        if (thread.joinable()) thread.join();
        XCloseDisplay(display);
    }

    // Each step: wait for the next menu window, then click its row (or press
    // Escape when row < 0). Hovering a submenu's row opens the next window.
    void start(std::vector<int> rows) {
        thread = std::thread([this, rows] {
            for (std::size_t step = 0; step < rows.size(); ++step) {
                const int row = rows[step];
                const Window menu = nextMenuWindow();
                if (!menu) return;
                XWindowAttributes at;
                XGetWindowAttributes(display, menu, &at);
                if (row < 0) {
                    XEvent key{};
                    key.type = KeyPress;
                    key.xkey.keycode = XKeysymToKeycode(display, XK_Escape);
                    key.xkey.same_screen = True;
                    send(menu, key, KeyPressMask);
                    continue;
                }
                const int x = at.x + 30;
                const int y = at.y + 1 + row * X11MenuPresenter::kRowHeight + X11MenuPresenter::kRowHeight / 2;
                XEvent event{};
                event.type = MotionNotify;
                event.xmotion.x_root = x;
                event.xmotion.y_root = y;
                send(menu, event, PointerMotionMask);
                if (step + 1 < rows.size()) continue;  // only hovering, towards a submenu
                event = {};
                event.type = ButtonPress;
                event.xbutton.button = Button1;
                event.xbutton.x_root = x;
                event.xbutton.y_root = y;
                send(menu, event, ButtonPressMask);
                event.type = ButtonRelease;
                send(menu, event, ButtonReleaseMask);
            }
        });
    }

private:
    std::set<Window> topWindows() {
        Window root, up, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &up, &list, &count);
        std::set<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
    Window nextMenuWindow() {
        for (int wait = 0; wait < 300; ++wait) {
            for (Window window : topWindows()) {
                if (known.count(window)) continue;
                XWindowAttributes at;
                if (XGetWindowAttributes(display, window, &at) && at.override_redirect && at.map_state == IsViewable) {
                    known.insert(window);
                    return window;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }
    void send(Window window, XEvent event, long mask) {
        event.xany.window = window;
        XSendEvent(display, window, False, mask, &event);
        XSync(display, False);
    }

    Display* display;
    std::set<Window> known;
    std::thread thread;
};

}  // namespace

TEST_F(X11Window, MenusPopUpChooseAndDismiss) {
    RecordingListener listener, subListener;
    auto* frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
    auto* menu = new COptionMenu(CRect(10, 10, 110, 26), &listener, 23);
    auto* presets = new COptionMenu(CRect(10, 10, 110, 26), &subListener, 9999, nullptr, nullptr, 0x118);
    presets->addEntry("Default");
    presets->addEntry("Drums & Perc 01");
    menu->addEntry(presets, "Preset 1 - 32");
    presets->forget();
    menu->addEntry("-GNot Latched");
    menu->addEntry("Saw Up");
    frame->addView(menu);
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(parent)));
    ASSERT_NE(frame->getMenuPresenter(), nullptr);
    frame->idle();

    {
        MenuUser user;
        user.start({2});
        EXPECT_TRUE(menu->popup());
    }
    EXPECT_EQ(menu->getValue(), 2.f);
    EXPECT_EQ(listener.changed.size(), 1u);

    {
        MenuUser user;
        user.start({-1});
        EXPECT_FALSE(menu->popup());
    }
    {
        MenuUser user;
        user.start({0, 1});  // into the submenu, second entry
        EXPECT_TRUE(menu->popup());
    }
    EXPECT_EQ(presets->getValue(), 1.f);
    EXPECT_EQ(subListener.changed.size(), 1u);
    EXPECT_EQ(listener.changed.size(), 1u);
    frame->close();
}
