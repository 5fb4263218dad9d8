// Draws a view (or a whole frame with its background and views) without a
// display, for tests, previews and tools.
#pragma once

#include <string>

namespace VSTGUI {

class CBitmap;
class CView;

// A new bitmap of the view's size with the view drawn into it; the caller
// forget()s it. Null for an empty view.
CBitmap* renderToBitmap(CView& view);  // control
// Writes the same picture as a PNG file; false when it could not be written.
bool renderToPng(CView& view, const std::string& path);  // control

}  // namespace VSTGUI
