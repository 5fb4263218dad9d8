// A cairo image the size of an X window, copied to the window with
// XPutImage. Drawing stays in the image backend, so nothing of cairo's is
// tied to the X connection.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "gui/CRect.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class X11Canvas {
public:
    // Null for visuals other than 24-bit true colour (depth 24 or 32).
    static std::unique_ptr<X11Canvas> create(Display* display, unsigned long window, Visual* visual, int depth,
                                             int width, int height);  // control
    ~X11Canvas();
    X11Canvas(const X11Canvas&) = delete;
    X11Canvas& operator=(const X11Canvas&) = delete;

    cairo_surface_t* surface() const { return image; }  // control
    // Copies this part of the image to the window.
    void show(const CRect& area);  // control

private:
    X11Canvas() = default;

    Display* display = nullptr;
    unsigned long window = 0;
    cairo_surface_t* image = nullptr;
    XImage* ximage = nullptr;
    GC gc = nullptr;
};

}  // namespace VSTGUI
