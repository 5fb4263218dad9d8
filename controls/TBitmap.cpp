#include "controls/TBitmap.h"

#include "controls/IControlHost.h"
#include "gui/CBitmap.h"

using namespace VSTGUI;

TBitmap::TBitmap(const CRect& size, CBitmap* picture, IControlListener* listener)
    : CControl(size, listener, IControlHost::kNoParameterTag, picture) {}

void TBitmap::draw(CDrawContext* context) {
    if (context && background) background->draw(context, size, CPoint(0, 0));
    setDirty(false);
}
