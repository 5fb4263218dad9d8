// Helpers shared by the widget-layer tests.
#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/CBitmap.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/COptionMenu.h"
#include "gui/IMenuPresenter.h"
#include "gui/OffscreenRender.h"

namespace guitest {

using namespace VSTGUI;

struct BitmapDeleter {
    void operator()(CBitmap* bitmap) const {
        if (bitmap) bitmap->forget();
    }
};
using BitmapPtr = std::unique_ptr<CBitmap, BitmapDeleter>;

// A bitmap whose horizontal bands have the given colours, each bandHeight high.
inline BitmapPtr makeBands(CCoord width, CCoord bandHeight, const std::vector<CColor>& colors) {
    BitmapPtr bitmap(new CBitmap(width, bandHeight * static_cast<CCoord>(colors.size())));
    CDrawContext context(bitmap->getSurface());
    for (std::size_t i = 0; i < colors.size(); ++i) {
        context.setFillColor(colors[i]);
        context.drawRect(CRect(0, bandHeight * i, width, bandHeight * (i + 1)), kDrawFilled);
    }
    return bitmap;
}

// A colour that names a film-strip frame: red and green carry the index.
inline CColor frameColor(int index) {
    return CColor(static_cast<std::uint8_t>(index & 0xff), static_cast<std::uint8_t>(index >> 8), 200);
}

// One pixel of a view's off-screen render.
inline CColor pixelOf(CView& view, int x, int y) {
    BitmapPtr picture(renderToBitmap(view));
    return picture ? picture->getPixel(x, y) : kTransparentCColor;
}

// A frame without a window, closed when the test ends.
struct FrameTest : ::testing::Test {
    CFrame* frame = new CFrame(CRect(0, 0, 300, 200), nullptr);
    ~FrameTest() override { frame->close(); }

    CMouseEventResult press(CPoint where, CButtonState buttons = kLButton) { return frame->onMouseDown(where, buttons); }
    // Presses at `from`, moves along `path` and releases where it ends.
    CMouseEventResult drag(CPoint from, std::vector<CPoint> path = {}) {
        const CMouseEventResult result = press(from);
        for (CPoint& point : path) frame->onMouseMoved(point, kLButton);
        CPoint end = path.empty() ? from : path.back();
        frame->onMouseUp(end, kLButton);
        return result;
    }
};

// Counts the mouse events it takes and remembers the last buttons.
struct MouseProbe : CView {
    int downs = 0, ups = 0;
    float wheel = 0;
    CButtonState lastButtons;
    explicit MouseProbe(const CRect& size) : CView(size) {}
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
        ++downs;
        lastButtons = buttons;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override { return ++ups, kMouseEventHandled; }
    bool onWheel(const CPoint&, const float& distance, const CButtonState&) override { return wheel += distance, true; }
};

// Counts keys and answers them with `answer`.
struct KeyHook : IKeyboardHook {
    std::int32_t answer = -1;
    int downs = 0;
    unsigned char lastVirt = 0;
    std::int32_t onKeyDown(const VstKeyCode& key, CFrame*) override {
        ++downs;
        lastVirt = key.virt;
        return answer;
    }
    std::int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }
};

struct RecordingListener : IControlListener {
    std::vector<CControl*> changed;
    std::vector<float> values;
    int begins = 0;
    int ends = 0;
    std::int32_t takeModifierClicks = 0;

    void valueChanged(CControl* control) override {
        changed.push_back(control);
        values.push_back(control->getValue());
    }
    std::int32_t controlModifierClicked(CControl*, CButtonState) override { return takeModifierClicks; }
    void controlBeginEdit(CControl*) override { ++begins; }
    void controlEndEdit(CControl*) override { ++ends; }
};

// Answers every pop-up with a prepared choice (or, with answerEntry set, that
// entry of whatever menu it is shown) and remembers what it was shown: the
// entries as they were added ("-" separators, "-G" greyed lines).
struct ScriptedPresenter : IMenuPresenter {
    MenuChoice answer;
    std::int32_t answerEntry = -1;
    int shown = 0;
    CRect lastAnchor;
    std::vector<std::string> lastEntries;

    MenuChoice present(COptionMenu& menu, const CRect& anchor) override {
        ++shown;
        lastAnchor = anchor;
        lastEntries.clear();
        for (std::int32_t i = 0; i < menu.getNbEntries(); ++i) {
            const CMenuItem* item = menu.getEntry(i);
            lastEntries.push_back(item->isSeparator() ? "-" : (item->isEnabled() ? "" : "-G") + item->getTitle());
        }
        return answerEntry >= 0 ? MenuChoice{&menu, answerEntry} : answer;
    }
};

// cairo and fontconfig keep font caches for the life of the process; they
// are emptied at the end so the leak checker reports only our own leaks.
struct FontCacheRelease : ::testing::Environment {
    void TearDown() override {
        cairo_debug_reset_static_data();
        FcFini();
    }
};

}  // namespace guitest
