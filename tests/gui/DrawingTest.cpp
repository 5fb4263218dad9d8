// Pixel probes on off-screen renders: the drawing rules the controls rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include <cairo.h>

#include "GuiTestSupport.h"
#include "gui/CFontDesc.h"
#include "gui/CFrame.h"
#include "gui/CView.h"
#include "gui/OffscreenRender.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

constexpr CColor kRed = kRedCColor, kGreen = kGreenCColor, kBlue = kBlueCColor, kNone = kTransparentCColor;

const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

BitmapPtr canvas(int width = 20, int height = 20) { return BitmapPtr(new CBitmap(width, height)); }

using PixelProbes = std::vector<std::tuple<int, int, CColor>>;

void expectPixels(const CBitmap& picture, const PixelProbes& probes) {
    for (const auto& [x, y, color] : probes) EXPECT_EQ(picture.getPixel(x, y), color) << x << "," << y;
}

}  // namespace

TEST(Drawing, AliasedShapesAndBitmapCopiesHitExactPixels) {
    auto strip = makeBands(4, 4, {kRed, kGreen, kBlue, kRed});
    auto target = canvas(40, 20);
    {
        CDrawContext context(target->getSurface());
        context.setDrawMode(kAliasing);
        context.setFillColor(kBlue);
        context.drawRect(CRect(2, 2, 6, 5), kDrawFilled);
        context.setFrameColor(kRed);
        context.drawRect(CRect(10, 10, 15, 14), kDrawStroked);
        context.setFrameColor(kGreen);
        context.drawLine(CPoint(3, 8), CPoint(7, 8));    // pixels 3..6 of row 8
        context.drawLine(CPoint(17, 2), CPoint(17, 6));  // rows 2..5 of column 17
        context.drawBitmap(strip.get(), CRect(25, 5, 29, 9), CPoint(0, 8));  // the blue band
        context.drawBitmap(strip.get(), CRect(32, 0, 36, 6), CPoint(0, 2));  // half red, then green
        context.drawBitmap(strip.get(), CRect(20, 12, 24, 16), CPoint(0, 8), 0.f);  // invisible
    }
    expectPixels(*target, {
        // Filled: left/top inside, right/bottom outside.
        {2, 2, kBlue}, {5, 4, kBlue}, {6, 4, kNone}, {5, 5, kNone},
        // Stroked: the outline lies on the outermost pixels inside the rectangle.
        {10, 10, kRed}, {14, 13, kRed}, {12, 10, kRed}, {12, 12, kNone}, {15, 12, kNone},
        // Lines: exactly the pixels between the ends, fully opaque.
        {3, 8, kGreen}, {4, 8, kGreen}, {5, 8, kGreen}, {6, 8, kGreen},
        {2, 8, kNone}, {7, 8, kNone}, {3, 7, kNone}, {3, 9, kNone},
        {17, 2, kGreen}, {17, 3, kGreen}, {17, 4, kGreen}, {17, 5, kGreen}, {17, 6, kNone},
        // Bitmaps: copied from their source offset, into the target rectangle only.
        {25, 5, kBlue}, {28, 8, kBlue}, {29, 8, kNone}, {28, 9, kNone}, {32, 1, kRed},
        {32, 2, kGreen}, {35, 5, kGreen}, {32, 6, kNone}, {21, 13, kNone}});
}

TEST(Drawing, AntialiasingOnlyWhenAskedFor) {
    auto count = [](int mode) {
        auto target = canvas();
        CDrawContext context(target->getSurface());
        context.setDrawMode(mode);
        context.setFrameColor(kRed);
        context.drawLine(CPoint(1, 1), CPoint(18, 7));
        context.drawPolygon({CPoint(2, 10), CPoint(17, 12), CPoint(8, 18)}, kDrawFilled);
        int partial = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const auto alpha = target->getPixel(x, y).alpha;
                if (alpha != 0 && alpha != 255) ++partial;
            }
        return partial;
    };
    EXPECT_EQ(count(kAliasing), 0);
    EXPECT_GT(count(kAntiAliasing), 0);
}

TEST(Drawing, TextIsAlignedInItsBoxAndBadBytesDoNotStopDrawing) {
    auto inkColumns = [](CHoriTxtAlign align) {
        auto target = canvas(120, 20);
        CDrawContext context(target->getSurface());
        context.setFont(kNormalFontBig);
        context.setFontColor(kRed);
        context.drawString("Wet", CRect(0, 0, 120, 20), align, false);
        int first = -1, last = -1;
        for (int x = 0; x < 120; ++x)
            for (int y = 0; y < 20; ++y)
                if (target->getPixel(x, y).alpha == 255) {
                    if (first < 0) first = x;
                    last = x;
                }
        return std::pair{first, last};
    };
    const auto left = inkColumns(kLeftText);
    const auto centre = inkColumns(kCenterText);
    const auto right = inkColumns(kRightText);
    ASSERT_GE(left.first, 0) << "no text drawn";
    EXPECT_LE(left.first, 2);
    EXPECT_GE(right.second, 115);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 60, 3);

    // An 8-bit text that is not UTF-8 is still drawn, and so is what follows.
    auto target = canvas(120, 20);
    CDrawContext context(target->getSurface());
    context.setFontColor(kRed);
    context.drawString("Caf\xe9 \xff", CRect(0, 0, 120, 20), kLeftText, false);
    context.setFillColor(kBlue);
    context.drawRect(CRect(110, 0, 120, 5), kDrawFilled);
    EXPECT_EQ(target->getPixel(115, 2), kBlue);
}

TEST(Drawing, FrameRendersToAPngFile) {
    auto background = makeBands(30, 10, {kGreen, kBlue});
    auto* frame = new CFrame(CRect(0, 0, 30, 20), nullptr);
    frame->setBackground(background.get());
    auto* view = new CView(CRect(20, 0, 30, 10));
    view->setBackground(makeBands(10, 10, {kRed}).get());  // the view keeps its own reference
    frame->addView(view);

    const std::string path = ::testing::TempDir() + "gui_frame_render.png";
    ASSERT_TRUE(renderToPng(*frame, path));
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 30);
    EXPECT_EQ(cairo_image_surface_get_height(png), 20);
    cairo_surface_destroy(png);
    std::remove(path.c_str());

    expectPixels(*BitmapPtr(renderToBitmap(*frame)), {{0, 0, kGreen}, {25, 5, kRed}, {25, 15, kBlue}});
    // One view alone renders at its own corner.
    BitmapPtr single(renderToBitmap(*view));
    EXPECT_EQ(single->getWidth(), 10);
    EXPECT_EQ(single->getPixel(0, 0), kRed);
    frame->close();
}
