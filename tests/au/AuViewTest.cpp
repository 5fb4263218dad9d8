// The editor view a host asks the view factory for, with its idle timer.
#include "au/CocoaView.h"
#include "editor/uEditor.h"
#include "resources/FrontPanelLayout.h"
#include "tests/au/AuTestSupport.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/XServer.h"

// Last: its macros clash with names above.
#include <X11/Xlib.h>

namespace {

using namespace tidewalker::au;

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);
const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new guitest::FontCacheRelease);

class AuView : public AuTest {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display";
        for (Window& window : windows) window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
        XSync(display, False);
    }
    void TearDown() override {
        if (!display) return;
        for (Window window : windows) XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void* handle(int i) const { return reinterpret_cast<void*>(windows[i]); }

    Display* display = nullptr;
    Window windows[2] = {};
};

TEST_F(AuView, OpensTheEditorAtItsSizeTicksIdleAndClosesOnRelease) {
    auto host = openUnit();
    AUPLUGIN& adapter = adapterOf(*host);
    AudioUnitCocoaViewInfo info{};
    EXPECT_EQ(getProperty(host->unit(), kAudioUnitProperty_CocoaUI, info), fnfErr);  // bundle not installed
    TWRegisterBundle(kBundleIdentifier, "/Library/Audio/Plug-Ins/Components/Tidewalker.component");
    ASSERT_EQ(getProperty(host->unit(), kAudioUnitProperty_CocoaUI, info), noErr);
    EXPECT_EQ(text(info.mCocoaAUViewClass[0]), "Duvevudo_KTLM_CocoaViewFactory");
    CFRelease(info.mCocoaAUViewClass[0]);
    CFRelease(info.mCocoaAUViewBundleLocation);

    CocoaViewFactory factory;
    EXPECT_EQ(factory.description(), " AU_Cocoa_UI");
    for (int round = 0; round < 2; ++round) {
        auto view = factory.uiViewForAudioUnit(host->unit(), 10.0, 10.0, handle(0));
        ASSERT_TRUE(view);
        EXPECT_EQ(view->frame().width, tidewalker::layout::FRAME_WIDTH);
        EXPECT_EQ(view->frame().height, tidewalker::layout::FRAME_HEIGHT);
        EXPECT_EQ(view->windowController()->title(), "Tidewalker");
        EXPECT_TRUE(adapter.EditorIsOpen());
        const auto* editor = dynamic_cast<uEditor*>(adapter.Effect().getEditor());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->versionText(), "Linux AU x86_64 Tidewalker 1.0.0");

        // About fifty ticks a second, each one an idle of the unit's editor.
        int ticks = 0;
        IdleTimer counter(view->timer()->interval(), [&] { ++ticks; });
        counter.advance(1.0 + 1e-9);
        EXPECT_EQ(ticks, 50);
        view->timer()->advance(0.1);  // five idles through the unit
        EXPECT_TRUE(adapter.EditorIsOpen());
        view.reset();
        EXPECT_FALSE(adapter.EditorIsOpen());
    }
}

TEST_F(AuView, ASecondViewTakesTheEditorAndTheFirstLeavingDoesNotCloseIt) {
    auto host = openUnit();
    AUPLUGIN& adapter = adapterOf(*host);
    CocoaViewFactory factory;
    auto first = factory.uiViewForAudioUnit(host->unit(), 0, 0, handle(0));
    auto second = factory.uiViewForAudioUnit(host->unit(), 0, 0, handle(1));
    ASSERT_TRUE(first && second);
    void* same = handle(1);
    EXPECT_EQ(setProperty(host->unit(), kEditorViewProperty, same), noErr);  // already there: nothing reopens
    first.reset();
    EXPECT_TRUE(adapter.EditorIsOpen());
    second.reset();
    EXPECT_FALSE(adapter.EditorIsOpen());
}

TEST_F(AuView, AUnitClosedWithItsEditorOpenClosesTheEditor) {
    auto host = openUnit();
    void* view = handle(0);
    ASSERT_EQ(setProperty(host->unit(), kEditorViewProperty, view), noErr);
    ASSERT_TRUE(adapterOf(*host).EditorIsOpen());
    host.reset();  // the editor's window goes with it; nothing is left inside the view
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, windows[0], &root, &parent, &children, &count);
    if (children) XFree(children);
    EXPECT_EQ(count, 0u);
}

}  // namespace
