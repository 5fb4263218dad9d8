#include "gui/X11FrameWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "effect/VstAbi.h"
#include "gui/CButtonState.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/X11Canvas.h"
#include "gui/X11MenuPresenter.h"

namespace VSTGUI {

namespace {

// Xlib's default error handler ends the process. A host may destroy its
// window (and ours with it) before closing the editor, so every call we make
// runs under a handler that only records the error.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

class XErrorTrap {
public:
    explicit XErrorTrap(Display* display) : display(display) {
        XSync(display, False);
        lastXError = 0;
        previous = XSetErrorHandler(&recordXError);
    }
    ~XErrorTrap() {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    bool failed() {
        XSync(display, False);
        return lastXError != 0;
    }

private:
    Display* display;
    int (*previous)(Display*, XErrorEvent*);
};

struct KeyMapping {
    KeySym symbol;
    unsigned char virt;
};

constexpr KeyMapping KEY_MAP[] = {
    {XK_BackSpace, VKEY_BACK}, {XK_Tab, VKEY_TAB}, {XK_Clear, VKEY_CLEAR}, {XK_Return, VKEY_RETURN},
    {XK_Pause, VKEY_PAUSE}, {XK_Escape, VKEY_ESCAPE}, {XK_space, VKEY_SPACE}, {XK_End, VKEY_END},
    {XK_Home, VKEY_HOME}, {XK_Left, VKEY_LEFT}, {XK_Up, VKEY_UP}, {XK_Right, VKEY_RIGHT},
    {XK_Down, VKEY_DOWN}, {XK_Page_Up, VKEY_PAGEUP}, {XK_Page_Down, VKEY_PAGEDOWN},
    {XK_Select, VKEY_SELECT}, {XK_Print, VKEY_PRINT}, {XK_KP_Enter, VKEY_ENTER},
    {XK_Insert, VKEY_INSERT}, {XK_Delete, VKEY_DELETE}, {XK_Help, VKEY_HELP},
    {XK_KP_0, VKEY_NUMPAD0}, {XK_KP_1, VKEY_NUMPAD1}, {XK_KP_2, VKEY_NUMPAD2}, {XK_KP_3, VKEY_NUMPAD3},
    {XK_KP_4, VKEY_NUMPAD4}, {XK_KP_5, VKEY_NUMPAD5}, {XK_KP_6, VKEY_NUMPAD6}, {XK_KP_7, VKEY_NUMPAD7},
    {XK_KP_8, VKEY_NUMPAD8}, {XK_KP_9, VKEY_NUMPAD9}, {XK_KP_Multiply, VKEY_MULTIPLY},
    {XK_KP_Add, VKEY_ADD}, {XK_KP_Separator, VKEY_SEPARATOR}, {XK_KP_Subtract, VKEY_SUBTRACT},
    {XK_KP_Decimal, VKEY_DECIMAL}, {XK_KP_Divide, VKEY_DIVIDE},
    {XK_F1, VKEY_F1}, {XK_F2, VKEY_F2}, {XK_F3, VKEY_F3}, {XK_F4, VKEY_F4}, {XK_F5, VKEY_F5},
    {XK_F6, VKEY_F6}, {XK_F7, VKEY_F7}, {XK_F8, VKEY_F8}, {XK_F9, VKEY_F9}, {XK_F10, VKEY_F10},
    {XK_F11, VKEY_F11}, {XK_F12, VKEY_F12}, {XK_Num_Lock, VKEY_NUMLOCK}, {XK_Scroll_Lock, VKEY_SCROLL},
    {XK_Shift_L, VKEY_SHIFT}, {XK_Shift_R, VKEY_SHIFT}, {XK_Control_L, VKEY_CONTROL},
    {XK_Control_R, VKEY_CONTROL}, {XK_Alt_L, VKEY_ALT}, {XK_Alt_R, VKEY_ALT}, {XK_KP_Equal, VKEY_EQUALS},
};

struct ButtonMapping {
    unsigned int mask;
    std::int32_t flag;
};

constexpr ButtonMapping MODIFIER_MAP[] = {
    {ShiftMask, kShift}, {ControlMask, kControl}, {Mod1Mask, kAlt}, {Mod4Mask, kApple},
    {Button1Mask, kLButton}, {Button2Mask, kMButton}, {Button3Mask, kRButton},
};

constexpr ButtonMapping KEY_MODIFIER_MAP[] = {
    {ShiftMask, MODIFIER_SHIFT}, {Mod1Mask, MODIFIER_ALTERNATE},
    {ControlMask, MODIFIER_COMMAND}, {Mod4Mask, MODIFIER_CONTROL},
};

// Buttons and modifiers held while an event happened.
std::int32_t heldState(unsigned int xState) {
    std::int32_t state = 0;
    for (const auto& mapping : MODIFIER_MAP)
        if (xState & mapping.mask) state |= mapping.flag;
    return state;
}

std::int32_t pressedButton(unsigned int xButton) {
    switch (xButton) {
        case Button1: return kLButton;
        case Button2: return kMButton;
        case Button3: return kRButton;
        default: return 0;
    }
}

VstKeyCode translateKey(XKeyEvent& event) {
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text - 1, &symbol, nullptr);
    VstKeyCode key{};
    for (const auto& mapping : KEY_MAP)
        if (mapping.symbol == symbol) key.virt = mapping.virt;
    if (key.virt == 0 && length == 1) key.character = static_cast<unsigned char>(text[0]);
    if (key.virt == VKEY_SPACE) key.character = ' ';
    for (const auto& mapping : KEY_MODIFIER_MAP)
        if (event.state & mapping.mask) key.modifier |= static_cast<unsigned char>(mapping.flag);
    return key;
}

constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;

}  // namespace

struct X11FrameWindow::Impl {
    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<X11Canvas> canvas;
    std::unique_ptr<X11MenuPresenter> menus;
    Time lastPressTime = 0;
    unsigned int lastPressButton = 0;
    int lastPressX = 0;
    int lastPressY = 0;

    ~Impl() {
        canvas.reset();
        if (window) {
            XErrorTrap trap(display);
            XDestroyWindow(display, window);
        }
        if (display) XCloseDisplay(display);
    }

    bool isDoubleClick(const XButtonEvent& event) {
        const bool doubleClick = event.button == lastPressButton && event.time - lastPressTime <= kDoubleClickMs &&
                                 std::abs(event.x - lastPressX) <= kDoubleClickDistance &&
                                 std::abs(event.y - lastPressY) <= kDoubleClickDistance;
        // A third click starts a new pair.
        lastPressTime = doubleClick ? 0 : event.time;
        lastPressButton = event.button;
        lastPressX = event.x;
        lastPressY = event.y;
        return doubleClick;
    }
};

X11FrameWindow::X11FrameWindow(std::unique_ptr<Impl> impl) : impl(std::move(impl)) {}

X11FrameWindow::~X11FrameWindow() = default;

std::unique_ptr<X11FrameWindow> X11FrameWindow::create(void* parentWindow, const CRect& size) {
    const int width = static_cast<int>(size.getWidth());
    const int height = static_cast<int>(size.getHeight());
    if (!parentWindow || width <= 0 || height <= 0) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->display = XOpenDisplay(nullptr);
    if (!impl->display) return nullptr;
    const Window parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow));

    XErrorTrap trap(impl->display);
    XWindowAttributes parentAttributes;
    if (!XGetWindowAttributes(impl->display, parent, &parentAttributes) || trap.failed()) return nullptr;
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask;
    attributes.background_pixmap = None;  // we paint everything; no flash of a background colour
    impl->window = XCreateWindow(impl->display, parent, 0, 0, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWEventMask | CWBackPixmap, &attributes);
    XMapWindow(impl->display, impl->window);
    if (trap.failed()) {
        impl->window = 0;  // never created
        return nullptr;
    }
    impl->canvas = X11Canvas::create(impl->display, impl->window, parentAttributes.visual, parentAttributes.depth,
                                     width, height);
    if (!impl->canvas) return nullptr;
    impl->menus = std::make_unique<X11MenuPresenter>(impl->display, impl->window);
    return std::unique_ptr<X11FrameWindow>(new X11FrameWindow(std::move(impl)));
}

std::uintptr_t X11FrameWindow::windowId() const { return impl->window; }

IMenuPresenter* X11FrameWindow::menuPresenter() { return impl->menus.get(); }

void X11FrameWindow::processEvents(CFrame& frame) {
    XErrorTrap trap(impl->display);
    while (XPending(impl->display) > 0) {
        XEvent event;
        XNextEvent(impl->display, &event);
        if (event.xany.window != impl->window) continue;
        switch (event.type) {
            case Expose: {
                const XExposeEvent& e = event.xexpose;
                frame.invalidFrameRect(CRect(e.x, e.y, e.x + e.width, e.y + e.height));
                break;
            }
            case ButtonPress: {
                const XButtonEvent& e = event.xbutton;
                const CPoint where(e.x, e.y);
                // X reports wheel steps as presses of buttons 4 (up) and 5 (down).
                if (e.button == Button4 || e.button == Button5) {
                    frame.onWheel(where, e.button == Button4 ? 1.f : -1.f, CButtonState(heldState(e.state)));
                    break;
                }
                const std::int32_t button = pressedButton(e.button);
                if (button == 0) break;
                // Hosts rarely pass keys on; after a click the frame takes them itself.
                XSetInputFocus(impl->display, impl->window, RevertToParent, e.time);
                std::int32_t state = (heldState(e.state) & kAllModifiers) | button;
                if (impl->isDoubleClick(e)) state |= kDoubleClick;
                CPoint point = where;
                frame.onMouseDown(point, CButtonState(state));
                break;
            }
            case ButtonRelease: {
                const XButtonEvent& e = event.xbutton;
                const std::int32_t button = pressedButton(e.button);
                if (button == 0) break;
                CPoint point(e.x, e.y);
                frame.onMouseUp(point, CButtonState((heldState(e.state) & kAllModifiers) | button));
                break;
            }
            case MotionNotify: {
                // Only the latest of consecutive moves matters; a move after a
                // release must stay after it.
                XEvent next;
                while (XPending(impl->display) > 0 && (XPeekEvent(impl->display, &next), next.type == MotionNotify) &&
                       next.xany.window == impl->window)
                    XNextEvent(impl->display, &event);
                CPoint point(event.xmotion.x, event.xmotion.y);
                frame.onMouseMoved(point, CButtonState(heldState(event.xmotion.state)));
                break;
            }
            case KeyPress: {
                VstKeyCode key = translateKey(event.xkey);
                frame.onKeyDown(key);
                break;
            }
            case KeyRelease: {
                VstKeyCode key = translateKey(event.xkey);
                frame.onKeyUp(key);
                break;
            }
            default: break;
        }
    }
}

void X11FrameWindow::paint(CFrame& frame, const CRect& area) {
    XErrorTrap trap(impl->display);
    {
        CDrawContext context(impl->canvas->surface());
        context.setClipRect(area);
        // Whatever no view covers shows black rather than an older picture.
        context.setFillColor(kBlackCColor);
        context.drawRect(area, kDrawFilled);
        frame.drawRect(&context, area);
    }
    impl->canvas->show(area);
}

}  // namespace VSTGUI
