// Shows an option menu and reports the user's choice. The X11 frame brings
// one; tools and tests can install their own (a scripted choice).
#pragma once

#include <cstdint>

#include "gui/CRect.h"

namespace VSTGUI {

class COptionMenu;

struct MenuChoice {
    COptionMenu* menu = nullptr;  // the menu or submenu holding the chosen entry; null: dismissed
    std::int32_t index = -1;      // entry index in that menu, separators counted
};

class IMenuPresenter {
public:
    virtual ~IMenuPresenter() = default;
    // Runs modally; `anchor` is the menu control's rectangle in frame coordinates.
    virtual MenuChoice present(COptionMenu& menu, const CRect& anchor) = 0;  // control
};

}  // namespace VSTGUI
