// Painters of the two full-page backgrounds: the front panel with every
// section, caption and field laid out around the controls, and the settings
// page.
#pragma once

#include <cairo.h>

namespace tidewalker::art {

void paintFrontPanel(cairo_t* cr);
void paintSettingsPage(cairo_t* cr);

}  // namespace tidewalker::art
