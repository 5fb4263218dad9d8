// Drawing helpers the GUI layer does not offer by itself.
#pragma once

namespace VSTGUI {
class CDrawContext;
}

// One straight, antialiased line from (x1, y1) to (x2, y2) at fractional
// coordinates, in the context's current line width and frame colour. The
// context's draw mode is left as it was. A null context draws nothing.
void lineAA(float x1, float y1, float x2, float y2, VSTGUI::CDrawContext* context);  // control
