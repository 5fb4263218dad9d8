#include "controls/TOnOffButton.h"

#include "controls/IControlHost.h"

using namespace VSTGUI;

TOnOffButton::TOnOffButton(const CRect& size, IControlListener* listener, long tag, CBitmap* picture, bool midiLearn,
                           long style)
    : COnOffButton(size, listener, static_cast<std::int32_t>(tag), picture, static_cast<std::int32_t>(style)),
      midiLearn(midiLearn) {}

CMouseEventResult TOnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
    IControlHost* host = IControlHost::of(this);
    if (!getMouseEnabled() || !host) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (IControlHost::asksForMenu(buttons)) {
        // Switches that are not parameters (the settings page, the offset lock) have no menu.
        if (midiLearn) host->midiLearnMenu(this, where);
        return kMouseEventHandled;
    }
    if (buttons.isLeftButton()) {
        if (listener && buttons.getModifierState() != 0 && listener->controlModifierClicked(this, buttons) != 0)
            return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
        value = static_cast<int>(value) == 0 ? 1.0f : 0.0f;
        invalid();
        if (listener && style == 0) {
            beginEdit();
            listener->valueChanged(this);
            endEdit();
        }
        return kMouseEventHandled;
    }
    return kMouseEventHandled;
}
