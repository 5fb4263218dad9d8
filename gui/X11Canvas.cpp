#include "gui/X11Canvas.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>
#include <bit>
#include <cmath>

namespace VSTGUI {

std::unique_ptr<X11Canvas> X11Canvas::create(Display* display, unsigned long window, Visual* visual, int depth,
                                             int width, int height) {
    // cairo's 32-bit pixels are 0xAARRGGBB in native order, which is what
    // such a visual takes; anything else would show wrong colours.
    if (!visual || visual->c_class != TrueColor || visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 ||
        visual->blue_mask != 0xff || (depth != 24 && depth != 32) || width <= 0 || height <= 0)
        return nullptr;
    std::unique_ptr<X11Canvas> canvas(new X11Canvas);
    canvas->display = display;
    canvas->window = window;
    canvas->image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(canvas->image) != CAIRO_STATUS_SUCCESS) return nullptr;
    canvas->ximage = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                  reinterpret_cast<char*>(cairo_image_surface_get_data(canvas->image)),
                                  static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                                  cairo_image_surface_get_stride(canvas->image));
    if (!canvas->ximage) return nullptr;
    canvas->ximage->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    canvas->gc = XCreateGC(display, window, 0, nullptr);
    return canvas;
}

X11Canvas::~X11Canvas() {
    if (gc) XFreeGC(display, gc);
    if (ximage) {
        ximage->data = nullptr;  // the pixels belong to the cairo image
        XDestroyImage(ximage);
    }
    if (image) cairo_surface_destroy(image);
}

void X11Canvas::show(const CRect& area) {
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int left = std::clamp(static_cast<int>(area.left), 0, width);
    const int top = std::clamp(static_cast<int>(area.top), 0, height);
    const int right = std::clamp(static_cast<int>(std::ceil(area.right)), left, width);
    const int bottom = std::clamp(static_cast<int>(std::ceil(area.bottom)), top, height);
    if (right == left || bottom == top) return;
    cairo_surface_flush(image);
    XPutImage(display, window, gc, ximage, left, top, left, top, static_cast<unsigned>(right - left),
              static_cast<unsigned>(bottom - top));
    XFlush(display);
}

}  // namespace VSTGUI
