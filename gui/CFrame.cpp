#include "gui/CFrame.h"

#include "gui/X11FrameWindow.h"

namespace VSTGUI {

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor)
    : CViewContainer(CRect(0, 0, size.getWidth(), size.getHeight())), editor(editor) {
    frame = this;
}

CFrame::~CFrame() {
    window.reset();
    removeAll(true);
}

bool CFrame::open(void* parentWindow) {
    if (window) return true;
    window = X11FrameWindow::create(parentWindow, size);
    if (!window) return false;
    invalidFrameRect(size);
    return true;
}

void CFrame::close() {
    window.reset();
    removeAll(true);
    forget();
}

void CFrame::idle() {
    if (window) window->processEvents(*this);
    invalidateDirtyViews();
    if (window && !invalidRegion.isEmpty()) window->paint(*this, invalidRegion);
    invalidRegion = CRect();
}

void CFrame::unregisterKeyboardHook(IKeyboardHook* hook) {
    if (keyboardHook == hook) keyboardHook = nullptr;
}

std::int32_t CFrame::onKeyDown(VstKeyCode& key) {
    if (keyboardHook) {
        const std::int32_t result = keyboardHook->onKeyDown(key, this);
        if (result >= 0) return result;
    }
    return focusView ? focusView->onKeyDown(key) : -1;
}

std::int32_t CFrame::onKeyUp(VstKeyCode& key) {
    if (keyboardHook) {
        const std::int32_t result = keyboardHook->onKeyUp(key, this);
        if (result >= 0) return result;
    }
    return focusView ? focusView->onKeyUp(key) : -1;
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const {
    if (mouseLocationKnown) where = mouseLocation;
    return mouseLocationKnown;
}

void CFrame::setFocusView(CView* view) {
    if (view && view->getFrame() != this) return;
    focusView = view;
}

IMenuPresenter* CFrame::getMenuPresenter() const {
    if (menuPresenter) return menuPresenter;
    return window ? window->menuPresenter() : nullptr;
}

void CFrame::beginEdit(std::int32_t tag) {
    if (editor) editor->beginEdit(tag);
}

void CFrame::endEdit(std::int32_t tag) {
    if (editor) editor->endEdit(tag);
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons) {
    mouseLocation = where;
    mouseLocationKnown = true;
    return CViewContainer::onMouseDown(where, buttons);
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons) {
    mouseLocation = where;
    mouseLocationKnown = true;
    return CViewContainer::onMouseUp(where, buttons);
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    mouseLocation = where;
    mouseLocationKnown = true;
    return CViewContainer::onMouseMoved(where, buttons);
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) {
    mouseLocation = where;
    mouseLocationKnown = true;
    return CViewContainer::onWheel(where, distance, buttons);
}

void CFrame::invalidFrameRect(const CRect& rect) {
    CRect visible = rect;
    visible.bound(size);
    invalidRegion.unite(visible);
}

void CFrame::onViewRemoved(CView* view) {
    if (view == focusView) focusView = nullptr;
}

}  // namespace VSTGUI
