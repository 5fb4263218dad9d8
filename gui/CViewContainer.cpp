#include "gui/CViewContainer.h"

#include <algorithm>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() { removeAll(true); }

bool CViewContainer::addView(CView* view) {
    if (!view || view->getParentView() || view == this) return false;
    children.push_back(view);
    view->attached(this);
    view->invalid();
    return true;
}

void CViewContainer::letGo(CView* view, bool withForget) {
    if (view == mouseDownView) {
        // The click that started on it can no longer finish normally.
        mouseDownView = nullptr;
        view->onMouseCancel();
    }
    view->invalid();
    view->removed(this);
    if (withForget) view->forget();
}

bool CViewContainer::removeView(CView* view, bool withForget) {
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end()) return false;
    children.erase(it);
    letGo(view, withForget);
    return true;
}

void CViewContainer::removeAll(bool withForget) {
    while (!children.empty()) {
        CView* view = children.back();
        children.pop_back();
        letGo(view, withForget);
    }
}

bool CViewContainer::isChild(const CView* view) const {
    return std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::getView(std::int32_t index) const {
    return index >= 0 && index < getNbViews() ? children[static_cast<std::size_t>(index)] : nullptr;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor = color;
    setDirty(true);
}

void CViewContainer::draw(CDrawContext* context) { drawRect(context, size); }

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (!context) return;
    context->saveGlobalState();
    CRect clip = context->getClipRect();
    clip.bound(updateRect).bound(size);
    context->setClipRect(clip);
    if (background) {
        background->draw(context, size);
    } else if (backgroundColor.alpha > 0) {
        context->setFillColor(backgroundColor);
        context->drawRect(size, kDrawFilled);
    }
    // Children are placed relative to this container's top-left corner.
    context->setOffset(context->getOffset() + size.getTopLeft());
    CRect localUpdate = clip;
    localUpdate.offset(-size.left, -size.top);
    drawChildren(context, localUpdate);
    context->restoreGlobalState();
    setDirty(false);
}

void CViewContainer::drawChildren(CDrawContext* context, const CRect& updateRect) {
    for (CView* child : children) {
        if (!child->isVisible() || !child->getViewSize().rectOverlap(updateRect)) continue;
        context->saveGlobalState();
        CRect clip = child->getViewSize();
        clip.bound(updateRect);
        context->setClipRect(clip);
        child->drawRect(context, clip);
        context->restoreGlobalState();
    }
}

template <typename Offer>
bool CViewContainer::offerToViewsUnder(const CPoint& local, const CButtonState& buttons, Offer offer) {
    const std::vector<CView*> stack = children;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        CView* child = *it;
        if (!isChild(child) || !child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        child->remember();
        const bool taken = offer(child);
        child->forget();
        if (taken) return true;
    }
    return false;
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
    const CPoint local = where - size.getTopLeft();
    CMouseEventResult answer = kMouseEventNotHandled;
    offerToViewsUnder(local, buttons, [&](CView* child) {
        CPoint childWhere = local;
        const CMouseEventResult result = child->onMouseDown(childWhere, buttons);
        if (result == kMouseEventHandled) {
            // Taken away while pressed: the rest of the click will never reach it.
            if (isChild(child))
                mouseDownView = child;
            else
                child->onMouseCancel();
        }
        if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented) return false;
        answer = result;
        return true;
    });
    return answer;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* view = mouseDownView;
    view->remember();
    CPoint local = where - size.getTopLeft();
    const CMouseEventResult result = view->onMouseMoved(local, buttons);
    if (result == kMouseMoveEventHandledButDontNeedMoreEvents && view == mouseDownView) {
        mouseDownView = nullptr;
        CPoint upWhere = where - size.getTopLeft();
        view->onMouseUp(upWhere, buttons);
    }
    view->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* view = mouseDownView;
    mouseDownView = nullptr;
    view->remember();
    CPoint local = where - size.getTopLeft();
    const CMouseEventResult result = view->onMouseUp(local, buttons);
    view->forget();
    return result;
}

CMouseEventResult CViewContainer::onMouseCancel() {
    if (!mouseDownView) return kMouseEventNotHandled;
    CView* view = mouseDownView;
    mouseDownView = nullptr;
    return view->onMouseCancel();
}

bool CViewContainer::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) {
    const CPoint local = where - size.getTopLeft();
    return offerToViewsUnder(local, buttons, [&](CView* child) { return child->onWheel(local, distance, buttons); });
}

void CViewContainer::attached(CViewContainer* parent) {
    CView::attached(parent);
    for (CView* child : children) child->attached(this);
}

void CViewContainer::removed(CViewContainer* parent) {
    onMouseCancel();
    for (CView* child : children) child->removed(this);
    CView::removed(parent);
    // Children keep this container as their parent while it is detached.
    for (CView* child : children) child->attached(this);
}

void CViewContainer::invalidateDirtyViews() {
    for (CView* child : children) {
        if (auto* container = dynamic_cast<CViewContainer*>(child)) container->invalidateDirtyViews();
        if (child->isDirty()) child->invalid();
    }
    if (CView::isDirty()) invalid();
}

}  // namespace VSTGUI
