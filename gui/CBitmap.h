// A picture: loaded from the numbered picture resources, or blank to be drawn into.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "gui/CBaseObject.h"
#include "gui/CColor.h"
#include "gui/CRect.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;

class CResourceDescription {
public:
    explicit CResourceDescription(std::int32_t id) : id(id) {}
    std::int32_t getId() const { return id; }  // any

private:
    std::int32_t id;
};

class CBitmap : public CBaseObject {
public:
    // Where numbered pictures come from (PNG bytes, empty when there is none).
    using PictureSource = std::span<const unsigned char> (*)(int id);

    // Loads picture `description`; a missing or undecodable picture leaves a
    // bitmap of size 0 that draws nothing (isLoaded() is false).
    explicit CBitmap(const CResourceDescription& description);  // control
    // A transparent bitmap of the given size, to be drawn into.
    CBitmap(CCoord width, CCoord height);  // control
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    ~CBitmap() override;

    CCoord getWidth() const;  // control
    CCoord getHeight() const;  // control
    bool isLoaded() const { return surface != nullptr; }  // control
    std::int32_t getResourceId() const { return resourceId; }  // control

    // Draws the part of the picture starting at `offset` into `rect`; nothing
    // outside `rect` is touched.
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
              float alpha = 1.f);  // control

    // Colour of one pixel; kTransparentCColor where nothing was drawn and
    // outside the picture.
    CColor getPixel(int x, int y) const;  // control
    bool writePng(const std::string& path) const;  // control
    cairo_surface_t* getSurface() const { return surface; }  // control

    // Replaces the picture source (the embedded resources by default); null
    // restores the default. Lets tools and tests supply their own pictures.
    static void setPictureSource(PictureSource source);  // control

private:
    cairo_surface_t* surface = nullptr;
    std::int32_t resourceId = -1;
};

}  // namespace VSTGUI
