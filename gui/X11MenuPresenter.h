// Option menus on X11: each level is an override-redirect window drawn with
// cairo, run modally with the pointer and keyboard grabbed. A click outside
// or Escape dismisses; submenus open when their entry is hovered.
#pragma once

#include "gui/IMenuPresenter.h"

typedef struct _XDisplay Display;

namespace VSTGUI {

class X11MenuPresenter : public IMenuPresenter {
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kSeparatorHeight = 8;
    static constexpr int kSidePadding = 22;  // room for a check mark / submenu arrow
    // Each menu window carries its entries in this property (UTF8_STRING, one
    // NUL-terminated text per entry, in COptionMenu::addEntry's form: "-" a
    // separator, "-G" before a greyed line), so that other clients (UI
    // automation, our window tests) can read what it offers without its pixels.
    static constexpr const char* kEntriesProperty = "_TIDEWALKER_MENU_ENTRIES";

    // frameWindow: the window the anchor rectangle is relative to.
    X11MenuPresenter(Display* display, unsigned long frameWindow) : display(display), frameWindow(frameWindow) {}

    MenuChoice present(COptionMenu& menu, const CRect& anchor) override;  // control

private:
    Display* display;
    unsigned long frameWindow;
};

}  // namespace VSTGUI
