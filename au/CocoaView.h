// The editor view a host shows for the unit: the view factory the host finds
// through the Cocoa-interface property, the view that hosts the effect's
// editor, the holder panel's window controller and the view's idle timer.
// They talk to the unit only through its public property calls. On this
// platform a view's native handle is the window the editor opens inside.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "au/AUPLUGINComponent.h"

namespace tidewalker::au {

// A repeating run-loop timer. The run loop (here: whoever owns the clock)
// advances it; each full interval fires the action once.
class IdleTimer {
public:
    IdleTimer(double intervalSeconds, std::function<void()> action);  // control
    void advance(double seconds);  // control
    void invalidate() noexcept { valid = false; }  // control
    bool isValid() const noexcept { return valid; }  // control
    double interval() const noexcept { return seconds; }  // control

private:
    double seconds;
    double elapsed = 0.0;
    bool valid = true;
    std::function<void()> action;
};

struct Rect {
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// The holder panel of the view: titled, closable, utility; never shown by the view.
class WindowController {
public:
    static constexpr unsigned kStyleMask = 19;  // titled | closable | utility
    // control; null when the size is no window's.
    static std::unique_ptr<WindowController> initWithSize(double width, double height);
    const Rect& contentRect() const { return content; }  // control
    const std::string& title() const { return windowTitle; }  // control
    void* contentView() const { return view; }  // control
    void setContentView(void* handle) { view = handle; }  // control

private:
    Rect content;
    std::string windowTitle = "Tidewalker";
    void* view = nullptr;
};

class CocoaView {
public:
    static constexpr double kIdleInterval = 0.02;

    explicit CocoaView(void* nativeHandle) : handle(nativeHandle) {}  // control
    ~CocoaView();  // control: closes the editor and stops the timer
    CocoaView(const CocoaView&) = delete;
    CocoaView& operator=(const CocoaView&) = delete;

    void setAU(AudioUnit unit) { mAU = unit; }  // control
    // Asks the unit for the editor's size, makes the holder panel and opens
    // the editor inside this view; false when the unit has no editor size.
    bool createWindowController();  // control
    void setupIdleTimer();  // control
    void editorIdle();  // control
    const Rect& frame() const { return viewFrame; }  // control
    IdleTimer* timer() const { return idleTimer.get(); }  // control
    const WindowController* windowController() const { return controller.get(); }  // control
    void* nativeHandle() const { return handle; }  // any

private:
    AudioUnit mAU = nullptr;
    void* handle;
    Rect viewFrame;
    std::unique_ptr<WindowController> controller;
    std::unique_ptr<IdleTimer> idleTimer;
};

class CocoaViewFactory {
public:
    static constexpr const char* kClassName = kViewFactoryClass;
    unsigned interfaceVersion() const { return 0; }  // control
    std::string description() const { return " AU_Cocoa_UI"; }  // control
    // The editor's own size decides the view's; the host's wish is not used.
    // control; null when the view cannot host the editor.
    std::unique_ptr<CocoaView> uiViewForAudioUnit(AudioUnit unit, double preferredWidth, double preferredHeight,
                                                  void* nativeHandle) const;
};

}  // namespace tidewalker::au
