#include "controls/TRadioButton.h"

#include "controls/IControlHost.h"
#include "gui/CBitmap.h"

using namespace VSTGUI;

namespace {
constexpr int kNormalPicture = 10018;
constexpr int kLitPicture = 10020;
constexpr int kSizingPicture = 10012;  // two stacked states; half its height is one state
}  // namespace

TRadioButton::TRadioButton(const CRect& size, IControlListener* listener, long tag)
    : CControl(size, listener, static_cast<std::int32_t>(tag)) {}

void TRadioButton::draw(CDrawContext* context) {
    if (const IControlHost* host = IControlHost::of(this); context && host) {
        const CBitmap* sizing = host->picture(kSizingPicture);
        const CCoord stateOffset = (value == 0.0f || !sizing) ? 0 : sizing->getHeight() / 2;
        if (CBitmap* face = host->picture(lit ? kLitPicture : kNormalPicture))
            face->draw(context, size, CPoint(0, stateOffset));
    }
    setDirty(false);
}

CMouseEventResult TRadioButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (getMouseEnabled() && buttons.isLeftButton() && value != 1.0f) {
        value = 1.0f;
        setDirty(true);
        valueChanged();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
