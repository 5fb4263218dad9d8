#include "controls/TVu.h"

#include <algorithm>
#include <cmath>

#include "controls/IControlHost.h"
#include "gui/CBitmap.h"

using namespace VSTGUI;

namespace {
constexpr int kMeterPicture = 10008;
}  // namespace

TVu::TVu(const CRect& size, IControlListener* listener) : CControl(size, listener, IControlHost::kNoParameterTag) {}

void TVu::draw(CDrawContext* context) {
    if (const IControlHost* host = IControlHost::of(this); context && host) {
        // Beyond 0 … 1 the picture is simply all hidden or all shown; a level
        // that is not a number shows nothing.
        const float shown = std::isnan(level) ? 0.0f : std::clamp(level, 0.0f, 1.0f);
        const auto height = static_cast<float>(getHeight());
        const auto cut = static_cast<CCoord>(static_cast<int>((1.0f - shown) * height));
        if (CBitmap* meter = host->picture(kMeterPicture))
            meter->draw(context, CRect(size.left, size.top + cut, size.right, size.bottom), CPoint(0, cut));
    }
    setDirty(false);
}
