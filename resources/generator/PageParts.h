// Pieces shared by the two page backgrounds.
#pragma once

#include <cairo.h>

#include "resources/FrontPanelLayout.h"

namespace tidewalker::art {

struct Box {
    double x, y, w, h;
};

// A view's rectangle as the editor will place it: each coordinate scaled and
// truncated separately, then expressed back in 100 % units, so fields drawn
// behind a view line up with it to the pixel at every size.
Box placed(cairo_t* cr, const layout::PanelRect& r, double width, double height);
Box placed(cairo_t* cr, const layout::PanelRect& r);

void pageBackground(cairo_t* cr, double width, double height);

// Product name, strap line and emblem, right-aligned at `right`.
void logo(cairo_t* cr, double right, double centreY);

// A hairline rule; nothing when `to` does not lie right of `from`.
void rule(cairo_t* cr, double from, double to, double y);

}  // namespace tidewalker::art
