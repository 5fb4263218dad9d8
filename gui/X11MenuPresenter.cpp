#include "gui/X11MenuPresenter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/CDrawContext.h"
#include "gui/COptionMenu.h"
#include "gui/X11Canvas.h"

namespace VSTGUI {

namespace {

using Presenter = X11MenuPresenter;

constexpr CColor kMenuBack{236, 236, 236};
constexpr CColor kMenuBorder{120, 120, 120};
constexpr CColor kMenuText{0, 0, 0};
constexpr CColor kMenuDisabledText{150, 150, 150};
constexpr CColor kMenuHover{52, 101, 164};
constexpr CColor kMenuHoverText{255, 255, 255};
constexpr int kGrabAttempts = 20;
constexpr long kMenuEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;

// One open menu window.
struct Level {
    COptionMenu* menu = nullptr;
    Window window = 0;
    std::shared_ptr<X11Canvas> canvas;
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<int> rowTops;  // one per entry, plus the bottom
    int hover = -1;

    int rowAt(int rootX, int rootY) const {
        if (rootX < x || rootX >= x + width || rootY < y || rootY >= y + height) return -1;
        const int local = rootY - y;
        for (std::size_t i = 0; i + 1 < rowTops.size(); ++i)
            if (local >= rowTops[i] && local < rowTops[i + 1]) return static_cast<int>(i);
        return -1;
    }
    bool contains(int rootX, int rootY) const {
        return rootX >= x && rootX < x + width && rootY >= y && rootY < y + height;
    }
};

bool selectable(const CMenuItem* item) {
    return item && item->isEnabled() && !item->isSeparator() && !item->getSubmenu();
}

class MenuSession {
public:
    MenuSession(Display* display) : display(display), screen(DefaultScreen(display)) {}
    ~MenuSession() {
        while (!levels.empty()) closeLevel();
    }

    void openLevel(COptionMenu* menu, int rootX, int rootY) {
        Level level;
        level.menu = menu;
        layout(level);
        const int screenWidth = DisplayWidth(display, screen);
        const int screenHeight = DisplayHeight(display, screen);
        level.x = std::clamp(rootX, 0, std::max(0, screenWidth - level.width));
        level.y = std::clamp(rootY, 0, std::max(0, screenHeight - level.height));
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.event_mask = kMenuEvents;
        level.window = XCreateWindow(display, RootWindow(display, screen), level.x, level.y,
                                     static_cast<unsigned>(level.width), static_cast<unsigned>(level.height), 0,
                                     CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask,
                                     &attributes);
        level.canvas = X11Canvas::create(display, level.window, DefaultVisual(display, screen),
                                         DefaultDepth(display, screen), level.width, level.height);
        publishEntries(level);
        XMapRaised(display, level.window);
        levels.push_back(level);
    }

    void closeLevel() {
        Level& level = levels.back();
        level.canvas.reset();
        XDestroyWindow(display, level.window);
        levels.pop_back();
    }

    void draw(Level& level) {
        if (!level.canvas) return;
        draw(level, level.canvas->surface());
        level.canvas->show(CRect(0, 0, level.width, level.height));
    }

    void draw(Level& level, cairo_surface_t* surface) {
        CDrawContext context(surface);
        context.setFillColor(kMenuBack);
        context.drawRect(CRect(0, 0, level.width, level.height), kDrawFilled);
        context.setFrameColor(kMenuBorder);
        context.drawRect(CRect(0, 0, level.width, level.height), kDrawStroked);
        context.setFont(kNormalFont);
        for (int i = 0; i < level.menu->getNbEntries(); ++i) {
            const CMenuItem* item = level.menu->getEntry(i);
            const CRect row(1, level.rowTops[i], level.width - 1, level.rowTops[i + 1]);
            if (item->isSeparator()) {
                context.setFrameColor(kMenuBorder);
                const CCoord middle = row.top + Presenter::kSeparatorHeight / 2;
                context.drawLine(CPoint(6, middle), CPoint(level.width - 6, middle));
                continue;
            }
            const bool hovered = i == level.hover && item->isEnabled();
            if (hovered) {
                context.setFillColor(kMenuHover);
                context.drawRect(row, kDrawFilled);
            }
            context.setFontColor(hovered ? kMenuHoverText : item->isEnabled() ? kMenuText : kMenuDisabledText);
            CRect text = row;
            text.left += Presenter::kSidePadding;
            context.drawString(item->getTitle(), text, kLeftText, true);
            if (level.menu->showsCheck(i))
                context.drawString("\xE2\x9C\x93", CRect(row.left, row.top, row.left + Presenter::kSidePadding, row.bottom));
            if (item->getSubmenu())
                context.drawString("\xE2\x96\xB8", CRect(row.right - Presenter::kSidePadding, row.top, row.right, row.bottom));
        }
    }

    // Runs until a choice or a dismissal.
    MenuChoice run() {
        if (!grab()) return {};
        bool armed = false;  // the release of the opening click does not choose
        MenuChoice result;
        for (bool done = false; !done;) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
                case Expose:
                    for (Level& level : levels)
                        if (level.window == event.xexpose.window) draw(level);
                    break;
                case MotionNotify:
                    if (hover(event.xmotion.x_root, event.xmotion.y_root)) armed = true;
                    break;
                case ButtonPress:
                    if (!inside(event.xbutton.x_root, event.xbutton.y_root)) done = true;
                    armed = true;
                    break;
                case ButtonRelease: {
                    if (!armed) {
                        armed = true;
                        break;
                    }
                    hover(event.xbutton.x_root, event.xbutton.y_root);
                    const MenuChoice hit = hovered();
                    if (hit.menu && selectable(hit.menu->getEntry(hit.index))) {
                        result = hit;
                        done = true;
                    } else if (!inside(event.xbutton.x_root, event.xbutton.y_root)) {
                        done = true;
                    }
                    break;
                }
                case KeyPress: {
                    const KeySym symbol = XLookupKeysym(&event.xkey, 0);
                    if (symbol == XK_Escape) done = true;
                    const MenuChoice hit = hovered();
                    if ((symbol == XK_Return || symbol == XK_KP_Enter) && hit.menu &&
                        selectable(hit.menu->getEntry(hit.index))) {
                        result = hit;
                        done = true;
                    }
                    break;
                }
                default: break;
            }
        }
        XUngrabKeyboard(display, CurrentTime);
        XUngrabPointer(display, CurrentTime);
        return result;
    }

private:
    void layout(Level& level) {
        // Text widths are measured on a scratch surface.
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        CDrawContext measure(scratch);
        measure.setFont(kNormalFont);
        int widest = 60;
        int top = 1;
        for (int i = 0; i < level.menu->getNbEntries(); ++i) {
            const CMenuItem* item = level.menu->getEntry(i);
            level.rowTops.push_back(top);
            top += item->isSeparator() ? Presenter::kSeparatorHeight : Presenter::kRowHeight;
            if (!item->isSeparator())
                widest = std::max(widest, static_cast<int>(measure.getStringWidth(item->getTitle())));
        }
        level.rowTops.push_back(top);
        level.width = widest + 2 * Presenter::kSidePadding;
        level.height = top + 1;
        cairo_surface_destroy(scratch);
    }

    void publishEntries(const Level& level) {
        std::string texts;
        for (int i = 0; i < level.menu->getNbEntries(); ++i) {
            const CMenuItem* item = level.menu->getEntry(i);
            if (!item->isSeparator() && !item->isEnabled()) texts += "-G";
            texts += item->getTitle();
            texts += '\0';
        }
        XChangeProperty(display, level.window, XInternAtom(display, Presenter::kEntriesProperty, False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(texts.data()), static_cast<int>(texts.size()));
    }

    bool grab() {
        XSync(display, False);
        for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
            const int pointer = XGrabPointer(display, levels.front().window, True,
                                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                                             GrabModeAsync, None, None, CurrentTime);
            if (pointer == GrabSuccess) {
                XGrabKeyboard(display, levels.front().window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
                return true;
            }
            // Another client may still hold a grab for a moment.
            usleep(10000);
        }
        return false;
    }

    bool inside(int rootX, int rootY) const {
        return std::any_of(levels.begin(), levels.end(), [&](const Level& level) { return level.contains(rootX, rootY); });
    }

    MenuChoice hovered() const {
        for (auto it = levels.rbegin(); it != levels.rend(); ++it)
            if (it->hover >= 0) return {it->menu, it->hover};
        return {};
    }

    // Moves the highlight; opens or closes submenus. True when over a menu.
    bool hover(int rootX, int rootY) {
        for (std::size_t depth = levels.size(); depth-- > 0;) {
            if (!levels[depth].contains(rootX, rootY)) continue;
            while (levels.size() > depth + 1) closeLevel();
            Level& level = levels[depth];
            const int row = level.rowAt(rootX, rootY);
            if (row != level.hover) {
                level.hover = row;
                draw(level);
                const CMenuItem* item = level.menu->getEntry(row);
                if (item && item->isEnabled() && item->getSubmenu())
                    openLevel(item->getSubmenu(), level.x + level.width - 2, level.y + level.rowTops[row]);
            }
            return true;
        }
        return false;
    }

    Display* display;
    int screen;
    std::vector<Level> levels;
};

}  // namespace

MenuChoice X11MenuPresenter::present(COptionMenu& menu, const CRect& anchor) {
    if (menu.getNbEntries() == 0) return {};
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, frameWindow, DefaultRootWindow(display), static_cast<int>(anchor.left),
                          static_cast<int>(anchor.bottom), &rootX, &rootY, &child);
    MenuChoice choice;
    {
        MenuSession session(display);
        session.openLevel(&menu, rootX, rootY);
        choice = session.run();
    }
    // The modal loop swallowed the frame's own expose events; ask for them again.
    XClearArea(display, frameWindow, 0, 0, 0, 0, True);
    return choice;
}

}  // namespace VSTGUI
