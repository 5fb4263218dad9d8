#include "controls/TOptionMenu.h"

#include <cmath>
#include <cstring>
#include <string>

#include "controls/IControlHost.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CMenuItem.h"

using namespace VSTGUI;

TOptionMenu::TOptionMenu(const CRect& size, IControlListener* listener, long tag, CBitmap* background,
                         CBitmap* backgroundWhenClicked, long style, bool centred)
    : COptionMenu(size, listener, static_cast<std::int32_t>(tag), background, backgroundWhenClicked,
                  static_cast<std::int32_t>(style)),
      centred(centred) {}

void TOptionMenu::setString(const char* text) {
    if (!text) text = " ";
    std::strncpy(overrideText, text, kOverrideTextBytes - 1);
    overrideText[kOverrideTextBytes - 1] = 0;
    setDirty(true);
}

void TOptionMenu::setNoText() {
    noText = true;
    setDirty(true);
}

void TOptionMenu::draw(CDrawContext* context) {
    const IControlHost* host = IControlHost::of(this);
    if (context && host) {
        std::string text = overrideText;
        if (text.empty())
            if (const CMenuItem* item = getCurrent()) text = item->getTitle();
        if (background) background->draw(context, size, backOffset);
        if (!noText) {
            context->setFont(host->menuFont());
            context->setFontColor(_LIGHT_TEXT_COLOR);
            context->drawString(text, size, centred ? kCenterText : kLeftText, true);
        }
    }
    setDirty(false);
}

CMouseEventResult TOptionMenu::onMouseDown(CPoint& where, const CButtonState& buttons) {
    IControlHost* host = IControlHost::of(this);
    if (!getMouseEnabled() || !host) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (tag != IControlHost::kNoParameterTag && IControlHost::asksForMenu(buttons)) {
        host->midiLearnMenu(this, where);
        return kMouseEventHandled;
    }
    if (!buttons.isLeftButton() && tag != IControlHost::kNoParameterTag) return kMouseEventHandled;
    return COptionMenu::onMouseDown(where, buttons);
}

bool TOptionMenu::onWheel(const CPoint&, const float& distance, const CButtonState&) {
    IControlHost* host = IControlHost::of(this);
    if (!host || !host->displaySource()) return false;
    if (presetWheel && std::isfinite(distance)) host->changePresetDelta(distance < 0 ? -1 : 1);
    // Bank stepping has only one bank to go to; the wheel is still taken, so
    // it never changes an entry.
    return true;
}
