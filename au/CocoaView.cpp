#include "au/CocoaView.h"

#include <cmath>

namespace tidewalker::au {

IdleTimer::IdleTimer(double intervalSeconds, std::function<void()> action)
    : seconds(intervalSeconds), action(std::move(action)) {}

void IdleTimer::advance(double passed) {
    if (!valid || !(passed > 0.0) || !(seconds > 0.0)) return;
    elapsed += passed;
    while (valid && elapsed >= seconds) {
        elapsed -= seconds;
        action();
    }
}

std::unique_ptr<WindowController> WindowController::initWithSize(double width, double height) {
    if (!(width > 0.0) || !(height > 0.0) || !std::isfinite(width) || !std::isfinite(height)) return nullptr;
    auto controller = std::make_unique<WindowController>();
    controller->content = {0.0, 0.0, width, height};
    return controller;
}

bool CocoaView::createWindowController() {
    double size[2] = {};
    UInt32 bytes = sizeof(size);
    if (AudioUnitGetProperty(mAU, kEditorSizeProperty, kAudioUnitScope_Global, 0, size, &bytes) != noErr) return false;
    controller = WindowController::initWithSize(size[0], size[1]);
    if (!controller) return false;
    viewFrame = controller->contentRect();
    controller->setContentView(handle);
    void* view = handle;
    return AudioUnitSetProperty(mAU, kEditorViewProperty, kAudioUnitScope_Global, 0, &view, sizeof(view)) == noErr;
}

void CocoaView::setupIdleTimer() {
    // The timer calls back into this view but does not own it: the view ends
    // when the host lets go of it, and takes the timer along.
    idleTimer = std::make_unique<IdleTimer>(kIdleInterval, [this] { editorIdle(); });
}

void CocoaView::editorIdle() {
    void* view = handle;
    AudioUnitSetProperty(mAU, kEditorIdleProperty, kAudioUnitScope_Global, 0, &view, sizeof(view));
}

CocoaView::~CocoaView() {
    if (mAU) {
        void* leaving[2] = {nullptr, handle};
        AudioUnitSetProperty(mAU, kEditorViewProperty, kAudioUnitScope_Global, 0, leaving, sizeof(leaving));
    }
    if (idleTimer) idleTimer->invalidate();
}

std::unique_ptr<CocoaView> CocoaViewFactory::uiViewForAudioUnit(AudioUnit unit, double, double,
                                                                 void* nativeHandle) const {
    auto view = std::make_unique<CocoaView>(nativeHandle);
    view->setAU(unit);
    if (!view->createWindowController()) return nullptr;
    view->setupIdleTimer();
    return view;
}

}  // namespace tidewalker::au
