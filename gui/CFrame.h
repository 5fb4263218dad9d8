// The root of an editor's views: owns them, paints them into its window (an
// X11 child of the host's window) and turns window events into view events.
#pragma once

#include <memory>

#include "gui/CViewContainer.h"
#include "gui/IKeyboardHook.h"
#include "gui/IMenuPresenter.h"
#include "gui/VSTGUIEditorInterface.h"

namespace VSTGUI {

class X11FrameWindow;

class CFrame final : public CViewContainer {
public:
    // The frame always sits at (0, 0): only the size of `size` is used.
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);  // control

    // Opens the frame's window inside parentWindow (an X11 window id). False
    // when there is no display or the parent is not a window.
    bool open(void* parentWindow);  // control
    // Closes the window, removes all views and drops the frame's own
    // reference (the one it was created with).
    void close();  // control
    bool isWindowOpen() const { return window != nullptr; }  // control
    // Handles pending window events and repaints what changed.
    void idle();  // control

    VSTGUIEditorInterface* getEditor() const { return editor; }  // control
    void registerKeyboardHook(IKeyboardHook* hook) { keyboardHook = hook; }  // control
    void unregisterKeyboardHook(IKeyboardHook* hook);  // control
    std::int32_t onKeyDown(VstKeyCode& key) override;  // control
    std::int32_t onKeyUp(VstKeyCode& key) override;  // control

    bool getCurrentMouseLocation(CPoint& where) const;  // control
    void setFocusView(CView* view);  // control
    CView* getFocusView() const { return focusView; }  // control
    void looseFocus() { setFocusView(nullptr); }  // control

    // Menus pop up through the installed presenter, else the window's own.
    void setMenuPresenter(IMenuPresenter* presenter) { menuPresenter = presenter; }  // control
    IMenuPresenter* getMenuPresenter() const;  // control

    // Passed on to the editor by controls that start and end a gesture.
    void beginEdit(std::int32_t tag);  // control
    void endEdit(std::int32_t tag);  // control

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;  // control
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;  // control

    // Region (frame coordinates) to repaint at the next idle.
    void invalidFrameRect(const CRect& rect);  // control
    const CRect& getInvalidRegion() const { return invalidRegion; }  // control
    // A view left the frame: forget it as focus.
    void onViewRemoved(CView* view);  // control

private:
    ~CFrame() override;

    VSTGUIEditorInterface* editor;
    IKeyboardHook* keyboardHook = nullptr;
    IMenuPresenter* menuPresenter = nullptr;
    CView* focusView = nullptr;
    CPoint mouseLocation;
    bool mouseLocationKnown = false;
    CRect invalidRegion;
    std::unique_ptr<X11FrameWindow> window;
};

}  // namespace VSTGUI
