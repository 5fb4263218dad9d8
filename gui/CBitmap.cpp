#include "gui/CBitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "gui/CDrawContext.h"
#include "resources/Resources.h"

namespace VSTGUI {

namespace {

std::span<const unsigned char> embeddedPicture(int id) { return tidewalker::resources::findPicture(id); }

CBitmap::PictureSource pictureSource = &embeddedPicture;

struct PngReader {
    std::span<const unsigned char> bytes;
    std::size_t position = 0;
};

cairo_status_t readPngBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->position < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->position, length);
    reader->position += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* decodePng(std::span<const unsigned char> bytes) {
    if (bytes.empty()) return nullptr;
    PngReader reader{bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(&readPngBytes, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

}  // namespace

CBitmap::CBitmap(const CResourceDescription& description)
    : surface(decodePng(pictureSource(description.getId()))), resourceId(description.getId()) {}

CBitmap::CBitmap(CCoord width, CCoord height) {
    const int w = std::max(0, static_cast<int>(width));
    const int h = std::max(0, static_cast<int>(height));
    if (w == 0 || h == 0) return;
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        surface = nullptr;
    }
}

CBitmap::~CBitmap() {
    if (surface) cairo_surface_destroy(surface);
}

CCoord CBitmap::getWidth() const { return surface ? cairo_image_surface_get_width(surface) : 0; }

CCoord CBitmap::getHeight() const { return surface ? cairo_image_surface_get_height(surface) : 0; }

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha) {
    if (context) context->drawBitmap(this, rect, offset, alpha);
}

CColor CBitmap::getPixel(int x, int y) const {
    if (!surface || x < 0 || y < 0 || x >= getWidth() || y >= getHeight()) return kTransparentCColor;
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    // Stored premultiplied; undo it so callers see the colour that was drawn.
    const unsigned a = argb >> 24;
    // Fully transparent pixels have no colour; report the one transparent value.
    if (a == 0) return kTransparentCColor;
    auto channel = [a](unsigned premultiplied) {
        return static_cast<std::uint8_t>(std::min(255u, (premultiplied * 255 + a / 2) / a));
    };
    return CColor(channel((argb >> 16) & 0xff), channel((argb >> 8) & 0xff), channel(argb & 0xff),
                  static_cast<std::uint8_t>(a));
}

bool CBitmap::writePng(const std::string& path) const {
    return surface && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void CBitmap::setPictureSource(PictureSource source) { pictureSource = source ? source : &embeddedPicture; }

}  // namespace VSTGUI
