#include "gui/OffscreenRender.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CView.h"

namespace VSTGUI {

CBitmap* renderToBitmap(CView& view) {
    const CRect& size = view.getViewSize();
    auto* bitmap = new CBitmap(size.getWidth(), size.getHeight());
    if (!bitmap->isLoaded()) {
        bitmap->forget();
        return nullptr;
    }
    {
        CDrawContext context(bitmap->getSurface());
        // The view draws at its own place; shift that place to the bitmap's corner.
        context.setOffset(CPoint(-size.left, -size.top));
        context.setClipRect(size);
        view.drawRect(&context, size);
    }
    return bitmap;
}

bool renderToPng(CView& view, const std::string& path) {
    CBitmap* bitmap = renderToBitmap(view);
    if (!bitmap) return false;
    const bool written = bitmap->writePng(path);
    bitmap->forget();
    return written;
}

}  // namespace VSTGUI
