// Views in containers and frames: event routing, ownership, keys, repaint
// requests, and pictures from the numbered resources.
#include <gtest/gtest.h>

#include <cairo.h>

#include "GuiTestSupport.h"
#include "gui/CView.h"
#include "gui/CViewContainer.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

// Logs "name kind x,y" for the mouse and key events it gets, answering
// mouse-down with `answer`.
struct ProbeView : CView {
    std::string name;
    std::vector<std::string>* log;
    CMouseEventResult answer;
    bool* deleted;

    ProbeView(const CRect& size, std::string name, std::vector<std::string>* log,
              CMouseEventResult answer = kMouseEventHandled, bool* deleted = nullptr)
        : CView(size), name(std::move(name)), log(log), answer(answer), deleted(deleted) {}
    ~ProbeView() override {
        if (deleted) *deleted = true;
    }
    void record(const char* kind, const CPoint& where) {
        log->push_back(name + " " + kind + " " + std::to_string(int(where.x)) + "," + std::to_string(int(where.y)));
    }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        record("down", where);
        return answer;
    }
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState&) override {
        return record("moved", where), kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override { return record("up", where), kMouseEventHandled; }
    std::int32_t onKeyDown(VstKeyCode&) override { return record("key", {}), 1; }
};

struct ViewTest : FrameTest {
    std::vector<std::string> log;
};

}  // namespace

TEST_F(ViewTest, TheTopmostWillingViewGetsTheClickAndItsFollowUps) {
    frame->addView(new ProbeView(CRect(0, 0, 100, 100), "bottom", &log));
    frame->addView(new ProbeView(CRect(50, 0, 150, 100), "passes", &log, kMouseEventNotHandled));
    auto* hidden = new ProbeView(CRect(0, 0, 200, 100), "hidden", &log);
    hidden->setVisible(false);
    frame->addView(hidden);
    auto* disabled = new ProbeView(CRect(0, 0, 200, 100), "disabled", &log);
    disabled->setMouseEnabled(false);
    frame->addView(disabled);

    EXPECT_EQ(drag({60, 10}, {{300, 300}}), kMouseEventHandled);  // moves outside still go to the pressed view
    CPoint moved(300, 300);
    frame->onMouseMoved(moved, 0);  // after release: to no one

    EXPECT_EQ(log, (std::vector<std::string>{"passes down 60,10", "bottom down 60,10", "bottom moved 300,300",
                                             "bottom up 300,300"}));

    EXPECT_EQ(press({190, 90}), kMouseEventNotHandled);
}

TEST_F(ViewTest, NestedContainersHandOnLocalCoordinates) {
    auto* panel = new CViewContainer(CRect(20, 30, 120, 90));
    panel->addView(new ProbeView(CRect(10, 10, 40, 40), "inner", &log));
    frame->addView(panel);
    auto* once = new ProbeView(CRect(150, 0, 200, 50), "once", &log, kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    frame->addView(once);

    drag({35, 45}, {{45, 55}});
    drag({160, 10}, {{160, 10}});  // "once" asked for no moves or release
    EXPECT_EQ(log, (std::vector<std::string>{"inner down 15,15", "inner moved 25,25", "inner up 25,25",
                                             "once down 160,10"}));
    EXPECT_EQ(panel->getView(0)->localToFrame(CPoint(10, 10)), CPoint(30, 40));

    CPoint last;
    ASSERT_TRUE(frame->getCurrentMouseLocation(last));
    EXPECT_EQ(last, CPoint(160, 10));
}

TEST_F(ViewTest, ContainersOwnTheirViewsAndBitmapsAreShared) {
    bool kept = false, dropped = false;
    auto* keep = new ProbeView(CRect(0, 0, 10, 10), "keep", &log, kMouseEventHandled, &kept);
    auto* drop = new ProbeView(CRect(0, 0, 10, 10), "drop", &log, kMouseEventHandled, &dropped);
    frame->addView(keep);
    frame->addView(drop);
    EXPECT_FALSE(frame->addView(keep));  // already has a parent
    EXPECT_FALSE(frame->addView(nullptr));

    EXPECT_TRUE(frame->removeView(keep, false));
    EXPECT_FALSE(kept);
    EXPECT_FALSE(keep->isAttached());
    EXPECT_EQ(keep->getFrame(), nullptr);
    EXPECT_TRUE(frame->removeView(drop));
    EXPECT_TRUE(dropped);
    EXPECT_FALSE(frame->removeView(drop));

    auto* bitmap = new CBitmap(4, 4);
    keep->setBackground(bitmap);
    keep->setBackground(bitmap);  // the same picture again: no second reference
    EXPECT_EQ(bitmap->getNbReference(), 2);
    frame->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 3);
    bitmap->forget();
    keep->forget();  // releases its reference; LeakSanitizer checks the rest
    EXPECT_TRUE(kept);
    EXPECT_EQ(bitmap->getNbReference(), 1);  // the frame's
}

TEST_F(ViewTest, KeysGoToTheHookThenToTheFocusView) {
    KeyHook hook;
    auto* focus = new ProbeView(CRect(0, 0, 10, 10), "focus", &log);
    frame->addView(focus);
    frame->registerKeyboardHook(&hook);
    VstKeyCode key{0, VKEY_UP, 0};

    EXPECT_EQ(frame->onKeyDown(key), -1);  // no focus yet
    frame->setFocusView(focus);
    EXPECT_EQ(frame->onKeyDown(key), 1);
    hook.answer = 1;
    EXPECT_EQ(frame->onKeyDown(key), 1);  // taken by the hook: the view never sees it
    EXPECT_EQ(log, std::vector<std::string>{"focus key 0,0"});
    EXPECT_EQ(hook.downs, 3);

    hook.answer = -1;
    frame->removeView(focus);  // a removed view never keeps the focus
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(frame->onKeyDown(key), -1);
    frame->unregisterKeyboardHook(&hook);
    frame->onKeyDown(key);
    EXPECT_EQ(hook.downs, 4);
}

TEST_F(ViewTest, DirtyViewsBecomeRepaintRequests) {
    auto* view = new CView(CRect(10, 20, 30, 40));
    auto* panel = new CViewContainer(CRect(100, 0, 200, 100));
    auto* inner = new CView(CRect(5, 5, 10, 10));
    panel->addView(inner);
    frame->addView(view);
    frame->addView(panel);
    frame->idle();  // no window: requests are dropped
    EXPECT_TRUE(frame->getInvalidRegion().isEmpty());

    view->setDirty(true);
    inner->setDirty(true);
    frame->invalidateDirtyViews();
    EXPECT_EQ(frame->getInvalidRegion(), CRect(10, 5, 110, 40));
}

TEST(Bitmap, NumberedPicturesComeFromThePictureSource) {
    // The real pictures: the front panel background is the frame size.
    BitmapPtr panel(new CBitmap(CResourceDescription(10000)));
    ASSERT_TRUE(panel->isLoaded());
    EXPECT_EQ(panel->getWidth(), 1100);
    EXPECT_EQ(panel->getHeight(), 641);
    EXPECT_EQ(panel->getResourceId(), 10000);

    BitmapPtr missing(new CBitmap(CResourceDescription(4242)));
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_EQ(missing->getWidth(), 0);

    // A substitute source: valid PNG bytes for one id, garbage for another.
    static std::vector<unsigned char> png;
    auto append = [](void*, const unsigned char* data, unsigned int length) {
        return png.insert(png.end(), data, data + length), CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_write_to_png_stream(makeBands(3, 2, {kRedCColor})->getSurface(), append, nullptr);
    static const unsigned char garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    CBitmap::setPictureSource([](int id) -> std::span<const unsigned char> {
        if (id == 1) return png;
        if (id == 2) return garbage;
        return {};
    });
    BitmapPtr red(new CBitmap(CResourceDescription(1)));
    BitmapPtr broken(new CBitmap(CResourceDescription(2)));
    CBitmap::setPictureSource(nullptr);
    ASSERT_TRUE(red->isLoaded());
    EXPECT_EQ(red->getWidth(), 3);
    EXPECT_EQ(red->getPixel(2, 1), kRedCColor);
    EXPECT_EQ(red->getPixel(3, 1), kTransparentCColor);
    EXPECT_FALSE(broken->isLoaded());
}
