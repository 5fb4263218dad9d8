// The editor inside a host's X11 window through the effect's dispatcher, on a
// private Xvfb when no display is set.
#include <utility>
#include <vector>

#include "tests/editor/EditorTestSupport.h"
#include "tests/support/XServer.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace VSTGUI;
using namespace editortest;

namespace {

const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);

struct EditorWindow : ::testing::Test {
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display and no Xvfb";
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1100, 641, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }
    void TearDown() override {
        if (!display) return;
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }
    std::vector<Window> children() {
        XSync(display, False);
        Window root, up, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, parent, &root, &up, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
    CColor pixel(Window window, int x, int y) {
        XSync(display, False);
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return kTransparentCColor;
        const unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return CColor((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
    }

    Display* display = nullptr;
    Window parent = 0;
};

TEST_F(EditorWindow, OpensInsideTheHostWindowRepaintsOnIdleClosesAgainAndAgainAndRefusesNoWindow) {
    EffectWithEditor effect;
    APlugin& plugin = *effect.plugin;
    void* host = reinterpret_cast<void*>(parent);
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(plugin.dispatcher(effEditOpen, 0, 0, host, 0), 1);
        EXPECT_TRUE(plugin.isEditorOpen());
        const auto inside = children();
        ASSERT_EQ(inside.size(), 1u);

        effect.idleLater();
        plugin.dispatcher(effEditIdle, 0, 0, nullptr, 0);
        // Two corners of the background, where no view sits.
        for (auto [x, y] : {std::pair{3, 3}, std::pair{1096, 637}}) {
            const CColor corner = effect.editor->picture(10000)->getPixel(x, y);
            EXPECT_EQ(pixel(inside[0], x, y), CColor(corner.red, corner.green, corner.blue)) << x;
        }
        // A control that changes is repainted by the next idle.
        effect.plugin->setParameter(Param::Mute, 1.0f - effect.plugin->getParameter(Param::Mute));
        const CColor before = pixel(inside[0], 602, 24);
        effect.idleLater();
        EXPECT_NE(pixel(inside[0], 602, 24), before);

        plugin.dispatcher(effEditClose, 0, 0, nullptr, 0);
        EXPECT_TRUE(children().empty());
        EXPECT_FALSE(plugin.isEditorOpen());
        EXPECT_EQ(effect.editor->getFrame(), nullptr);
    }
    // A parent that is no window opens nothing and leaves nothing behind.
    void* bogus = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7ffffff));
    EXPECT_EQ(plugin.dispatcher(effEditOpen, 0, 0, bogus, 0), 0);
    EXPECT_EQ(effect.editor->getFrame(), nullptr);
    EXPECT_FALSE(plugin.isEditorOpen());
    plugin.dispatcher(effEditIdle, 0, 0, nullptr, 0);
    plugin.dispatcher(effEditClose, 0, 0, nullptr, 0);
}


}  // namespace
