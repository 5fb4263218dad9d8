// The frame's window on Linux: an X11 child window of the host's window,
// painted with cairo. Events are read only when the frame idles, so
// everything runs on the thread that drives the editor.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/CRect.h"

namespace VSTGUI {

class CFrame;
class IMenuPresenter;

class X11FrameWindow {
public:
    // Null when there is no display or parentWindow is not a window there.
    static std::unique_ptr<X11FrameWindow> create(void* parentWindow, const CRect& size);  // control
    ~X11FrameWindow();
    X11FrameWindow(const X11FrameWindow&) = delete;
    X11FrameWindow& operator=(const X11FrameWindow&) = delete;

    // Hands pending mouse, wheel and key events to the frame; exposed areas
    // become repaint requests.
    void processEvents(CFrame& frame);  // control
    void paint(CFrame& frame, const CRect& area);  // control
    std::uintptr_t windowId() const;  // control
    IMenuPresenter* menuPresenter();  // control

private:
    struct Impl;
    explicit X11FrameWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl;
};

}  // namespace VSTGUI
