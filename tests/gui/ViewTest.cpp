// Views in containers and frames: event routing, ownership, keys, repaint
// requests, and pictures from the numbered resources.
#include <gtest/gtest.h>

#include <cairo.h>

#include <vector>

#include "GuiTestSupport.h"
#include "gui/CFrame.h"
#include "gui/CView.h"
#include "gui/CViewContainer.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

struct Event {
    std::string view;
    std::string kind;
    CPoint where;
};

// Records the mouse events it gets, answering mouse-down with `answer`.
struct ProbeView : CView {
    std::string name;
    std::vector<Event>* log;
    CMouseEventResult answer;
    bool* deleted = nullptr;

    ProbeView(const CRect& size, std::string name, std::vector<Event>* log,
              CMouseEventResult answer = kMouseEventHandled)
        : CView(size), name(std::move(name)), log(log), answer(answer) {}
    ~ProbeView() override {
        if (deleted) *deleted = true;
    }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        log->push_back({name, "down", where});
        return answer;
    }
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState&) override {
        log->push_back({name, "moved", where});
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override {
        log->push_back({name, "up", where});
        return kMouseEventHandled;
    }
    std::int32_t onKeyDown(VstKeyCode&) override {
        log->push_back({name, "key", {}});
        return 1;
    }
};

struct Hook : IKeyboardHook {
    std::int32_t answer = -1;
    int downs = 0;
    std::int32_t onKeyDown(const VstKeyCode&, CFrame*) override { ++downs; return answer; }
    std::int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }
};

struct FrameFixture : ::testing::Test {
    std::vector<Event> log;
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
    ~FrameFixture() override { frame->close(); }
};

}  // namespace

TEST_F(FrameFixture, TheTopmostWillingViewGetsTheClickAndItsFollowUps) {
    frame->addView(new ProbeView(CRect(0, 0, 100, 100), "bottom", &log));
    frame->addView(new ProbeView(CRect(50, 0, 150, 100), "passes", &log, kMouseEventNotHandled));
    auto* hidden = new ProbeView(CRect(0, 0, 200, 100), "hidden", &log);
    hidden->setVisible(false);
    frame->addView(hidden);
    auto* disabled = new ProbeView(CRect(0, 0, 200, 100), "disabled", &log);
    disabled->setMouseEnabled(false);
    frame->addView(disabled);

    CPoint where(60, 10);
    EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
    CPoint moved(300, 300);
    frame->onMouseMoved(moved, kLButton);  // outside, still to the pressed view
    frame->onMouseUp(moved, kLButton);
    frame->onMouseMoved(moved, 0);  // after release: to no one

    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].view, "passes");
    EXPECT_EQ(log[1].view + log[1].kind, "bottomdown");
    EXPECT_EQ(log[2].view + log[2].kind, "bottommoved");
    EXPECT_EQ(log[3].view + log[3].kind, "bottomup");

    CPoint nowhere(190, 90);
    EXPECT_EQ(frame->onMouseDown(nowhere, kLButton), kMouseEventNotHandled);
}

TEST_F(FrameFixture, NestedContainersHandOnLocalCoordinates) {
    auto* panel = new CViewContainer(CRect(20, 30, 120, 90));
    panel->addView(new ProbeView(CRect(10, 10, 40, 40), "inner", &log));
    frame->addView(panel);
    auto* once = new ProbeView(CRect(150, 0, 200, 50), "once", &log, kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    frame->addView(once);

    CPoint where(35, 45);
    frame->onMouseDown(where, kLButton);
    CPoint moved(45, 55);
    frame->onMouseMoved(moved, kLButton);
    frame->onMouseUp(moved, kLButton);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].where, CPoint(15, 15));
    EXPECT_EQ(log[1].where, CPoint(25, 25));
    EXPECT_EQ(panel->getView(0)->localToFrame(CPoint(10, 10)), CPoint(30, 40));

    log.clear();
    CPoint tap(160, 10);
    frame->onMouseDown(tap, kLButton);
    frame->onMouseMoved(tap, kLButton);
    frame->onMouseUp(tap, kLButton);
    EXPECT_EQ(log.size(), 1u);  // it asked for no moves or release

    CPoint last;
    ASSERT_TRUE(frame->getCurrentMouseLocation(last));
    EXPECT_EQ(last, tap);
}

TEST_F(FrameFixture, ContainersOwnTheirViewsAndBitmapsAreShared) {
    bool kept = false, dropped = false;
    auto* keep = new ProbeView(CRect(0, 0, 10, 10), "keep", &log);
    keep->deleted = &kept;
    auto* drop = new ProbeView(CRect(0, 0, 10, 10), "drop", &log);
    drop->deleted = &dropped;
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
    EXPECT_EQ(bitmap->getNbReference(), 2);
    keep->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2);
    frame->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 3);
    bitmap->forget();
    keep->forget();  // releases its reference; LeakSanitizer checks the rest
    EXPECT_TRUE(kept);
    EXPECT_EQ(bitmap->getNbReference(), 1);  // the frame's
}

TEST_F(FrameFixture, KeysGoToTheHookThenToTheFocusView) {
    Hook hook;
    auto* focus = new ProbeView(CRect(0, 0, 10, 10), "focus", &log);
    frame->addView(focus);
    frame->registerKeyboardHook(&hook);
    VstKeyCode key{0, VKEY_UP, 0};

    EXPECT_EQ(frame->onKeyDown(key), -1);  // no focus yet
    frame->setFocusView(focus);
    EXPECT_EQ(frame->onKeyDown(key), 1);
    EXPECT_EQ(log.back().kind, "key");
    hook.answer = 1;
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(hook.downs, 3);

    hook.answer = -1;
    frame->removeView(focus);  // a removed view never keeps the focus
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(frame->onKeyDown(key), -1);
    frame->unregisterKeyboardHook(&hook);
    frame->onKeyDown(key);
    EXPECT_EQ(hook.downs, 4);
}

TEST_F(FrameFixture, DirtyViewsBecomeRepaintRequests) {
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
    {
        BitmapPtr source = makeBands(3, 2, {kRedCColor});
        cairo_surface_write_to_png_stream(
            source->getSurface(),
            [](void*, const unsigned char* data, unsigned int length) {
                png.insert(png.end(), data, data + length);
                return CAIRO_STATUS_SUCCESS;
            },
            nullptr);
    }
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
