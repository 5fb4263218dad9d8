#include "gui/CView.h"

#include "gui/CBitmap.h"
#include "gui/CFrame.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size) {}

CView::CView(const CView& other)
    : CBaseObject(other),
      size(other.size),
      background(other.background),
      visible(other.visible),
      mouseEnabled(other.mouseEnabled) {
    if (background) background->remember();
}

CView::~CView() {
    if (background) background->forget();
}

void CView::draw(CDrawContext* context) {
    if (background) background->draw(context, size);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) {
    draw(context);
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseCancel() { return kMouseEventNotImplemented; }
bool CView::onWheel(const CPoint&, const float&, const CButtonState&) { return false; }
std::int32_t CView::onKeyDown(VstKeyCode&) { return -1; }
std::int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

void CView::setDirty(bool state) { dirty = state; }

bool CView::isDirty() const { return dirty; }

void CView::invalid() { invalidRect(size); }

void CView::invalidRect(const CRect& rect) {
    if (!frame || !visible) return;
    const CPoint topLeft = localToFrame(rect.getTopLeft());
    frame->invalidFrameRect(CRect(topLeft, rect.getSize()));
}

void CView::setViewSize(const CRect& rect, bool invalidate) {
    if (rect == size) return;
    if (invalidate) invalid();
    size = rect;
    if (invalidate) invalid();
}

bool CView::hitTest(const CPoint& where, const CButtonState&) const { return size.pointInside(where); }

void CView::setVisible(bool state) {
    if (state == visible) return;
    if (!state) invalid();
    visible = state;
    if (state) invalid();
}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap == background) return;
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
    setDirty(true);
}

void CView::attached(CViewContainer* parent) {
    parentView = parent;
    frame = parent ? parent->getFrame() : nullptr;
}

void CView::removed(CViewContainer*) {
    if (frame) frame->onViewRemoved(this);
    parentView = nullptr;
    frame = nullptr;
}

VSTGUIEditorInterface* CView::getEditor() const { return frame ? frame->getEditor() : nullptr; }

CPoint CView::localToFrame(const CPoint& where) const {
    CPoint result = where;
    for (const CView* container = parentView; container; container = container->parentView)
        result = result + container->size.getTopLeft();
    return result;
}

}  // namespace VSTGUI
