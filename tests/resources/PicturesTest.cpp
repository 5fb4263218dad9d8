// The embedded picture set: every picture at every size, sizes that the
// editor's geometry relies on, strips and two-state pictures that actually
// change, and PNG bytes that decode.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "resources/FrontPanelLayout.h"
#include "resources/SettingsPageLayout.h"
#include "resources/Resources.h"

namespace {

using tidewalker::resources::findPicture;
namespace layout = tidewalker::layout;

constexpr int FRAMES = 137;
constexpr int SIZE_STEPS[] = {0, 1000, 2000};
constexpr double SCALES[] = {1.0, 1.5, 2.0};

const std::vector<int> KNOB_STRIPS = {10022, 10023, 10024, 10025};
const std::vector<int> TWO_STATE = {10002, 10010, 10011, 10012, 10013, 10014, 10016, 10017, 10018, 10020,
                                    10030, 10031, 10032, 10033, 10034, 10035, 10037, 10038};
const std::vector<int> SINGLE = {10000, 10001, 10008, 10036, 10040, 10041, 10042, 10043, 10044, 10045,
                                 10046, 10047, 10048, 10049, 10070, 10071, 10100, 10101, 10102};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct ByteReader {
    std::span<const unsigned char> bytes;
    std::size_t offset = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<ByteReader*>(closure);
    if (reader->bytes.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

Surface decode(int id) {
    ByteReader reader{findPicture(id)};
    Surface surface(cairo_image_surface_create_from_png_stream(readBytes, &reader));
    EXPECT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS) << "picture " << id;
    return surface;
}

struct Size {
    int width;
    int height;
};

Size sizeOf(int id) {
    Surface s = decode(id);
    return {cairo_image_surface_get_width(s.get()), cairo_image_surface_get_height(s.get())};
}

// True when rows [top, top + height) of the picture differ from rows [otherTop, ...).
bool bandsDiffer(cairo_surface_t* s, int top, int otherTop, int height) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    const std::size_t rowBytes = std::size_t(cairo_image_surface_get_width(s)) * 4;
    for (int y = 0; y < height; ++y)
        if (std::memcmp(data + (top + y) * stride, data + (otherTop + y) * stride, rowBytes) != 0) return true;
    return false;
}

// Summed brightness of a rectangle (premultiplied, so transparent counts as dark).
double brightness(cairo_surface_t* s, int left, int top, int width, int height) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    double sum = 0;
    for (int y = top; y < top + height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = left; x < left + width; ++x)
            sum += ((row[x] >> 16) & 0xff) + ((row[x] >> 8) & 0xff) + (row[x] & 0xff);
    }
    return sum;
}

double halfBrightness(cairo_surface_t* s, bool lower) {
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s) / 2;
    return brightness(s, 0, lower ? h : 0, w, h);
}

std::vector<int> allIds() {
    std::vector<int> ids = SINGLE;
    ids.insert(ids.end(), TWO_STATE.begin(), TWO_STATE.end());
    ids.insert(ids.end(), KNOB_STRIPS.begin(), KNOB_STRIPS.end());
    return ids;
}

TEST(Pictures, EveryPictureIsEmbeddedAtEverySizeAndDecodes) {
    ASSERT_EQ(allIds().size(), 41u);
    for (int id : allIds()) {
        for (int step : SIZE_STEPS) {
            ASSERT_FALSE(findPicture(id + step).empty()) << "picture " << id + step;
            const Size size = sizeOf(id + step);
            EXPECT_GT(size.width, 0);
            EXPECT_GT(size.height, 0);
        }
    }
}

TEST(Pictures, LargerSizesAreTheTruncatedMultipleOfTheSmallest) {
    for (int id : allIds()) {
        const Size base = sizeOf(id);
        for (int i = 1; i < 3; ++i) {
            const Size scaled = sizeOf(id + SIZE_STEPS[i]);
            EXPECT_EQ(scaled.width, int(std::trunc(base.width * SCALES[i]))) << "picture " << id + SIZE_STEPS[i];
            EXPECT_EQ(scaled.height, int(std::trunc(base.height * SCALES[i]))) << "picture " << id + SIZE_STEPS[i];
        }
    }
}

TEST(Pictures, PageBackgroundsHaveTheFrameSize) {
    const Size expected[] = {{1100, 641}, {1650, 961}, {2200, 1282}};
    for (int page : {10000, 10001}) {
        for (int i = 0; i < 3; ++i) {
            const Size size = sizeOf(page + SIZE_STEPS[i]);
            EXPECT_EQ(size.width, expected[i].width);
            EXPECT_EQ(size.height, expected[i].height);
        }
    }
}

TEST(Pictures, KnobStripsShareOneFrameSizeAndEveryFrameMoves) {
    for (int step : SIZE_STEPS) {
        const Size reference = sizeOf(10022 + step);
        ASSERT_EQ(reference.height % FRAMES, 0) << "strip " << 10022 + step;
        const int frame = reference.height / FRAMES;
        for (int strip : KNOB_STRIPS) {
            Surface s = decode(strip + step);
            // Every knob is sized from strip A, whichever strip it shows.
            ASSERT_EQ(cairo_image_surface_get_width(s.get()), reference.width) << "strip " << strip + step;
            ASSERT_EQ(cairo_image_surface_get_height(s.get()), reference.height) << "strip " << strip + step;
            for (int f = 1; f < FRAMES; ++f)
                EXPECT_TRUE(bandsDiffer(s.get(), f * frame, (f - 1) * frame, frame))
                    << "strip " << strip + step << " frame " << f;
        }
    }
}

TEST(Pictures, TwoStatePicturesSplitIntoDifferentHalves) {
    for (int id : TWO_STATE) {
        for (int step : SIZE_STEPS) {
            Surface s = decode(id + step);
            const int height = cairo_image_surface_get_height(s.get());
            ASSERT_EQ(height % 2, 0) << "picture " << id + step;
            EXPECT_TRUE(bandsDiffer(s.get(), 0, height / 2, height / 2)) << "picture " << id + step;
        }
    }
}

TEST(Pictures, KnobPointerTurnsClockwiseThroughThreeQuarters) {
    // Frame 0 points lower left, the middle frame straight up, the last lower right.
    const std::pair<int, double> expected[] = {{0, 135}, {68, 270}, {136, 45}};
    for (int strip : KNOB_STRIPS) {
        Surface s = decode(strip);
        cairo_surface_flush(s.get());
        const int size = cairo_image_surface_get_width(s.get());
        const unsigned char* data = cairo_image_surface_get_data(s.get());
        const int stride = cairo_image_surface_get_stride(s.get());
        for (const auto& [frame, degrees] : expected) {
            double sx = 0, sy = 0, n = 0;
            for (int y = 0; y < size; ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(data + (frame * size + y) * stride);
                for (int x = 0; x < size; ++x) {
                    const std::uint32_t p = row[x];
                    const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
                    const bool white = ((p >> 16) & 0xff) > 215 && ((p >> 8) & 0xff) > 215 && (p & 0xff) > 215;
                    if (white && std::hypot(dx, dy) < size * 0.3) sx += dx, sy += dy, n += 1;
                }
            }
            ASSERT_GT(n, 0) << "strip " << strip << " frame " << frame << " has no pointer";
            double angle = std::atan2(sy, sx) * 180 / M_PI;
            if (angle < 0) angle += 360;
            EXPECT_NEAR(angle, degrees, 12) << "strip " << strip << " frame " << frame;
        }
    }
}

TEST(Pictures, SwitchesShowOffAboveAndTheLitStateBelow) {
    for (int id : {10012, 10016, 10017, 10018, 10020, 10035, 10037, 10038}) {
        for (int step : SIZE_STEPS) {
            Surface s = decode(id + step);
            EXPECT_GT(halfBrightness(s.get(), true), halfBrightness(s.get(), false)) << "picture " << id + step;
        }
    }
    // The edited-state look is the lit one; the trigger marks have a lit and a dim picture.
    for (const auto& [lit, dim] : {std::pair{10013, 10014}, std::pair{10046, 10047}, std::pair{10048, 10049}}) {
        Surface a = decode(lit), b = decode(dim);
        const int w = cairo_image_surface_get_width(a.get()), h = cairo_image_surface_get_height(a.get());
        EXPECT_GT(brightness(a.get(), 0, 0, w, h), brightness(b.get(), 0, 0, w, h)) << "picture " << lit;
    }
}

TEST(Pictures, ModeCaptionsDifferBetweenLowPassAndComb) {
    for (const auto& [lowPass, comb] : {std::pair{10040, 10041}, std::pair{10042, 10043}, std::pair{10044, 10045}}) {
        Surface a = decode(lowPass), b = decode(comb);
        cairo_surface_flush(a.get());
        cairo_surface_flush(b.get());
        const std::size_t bytes = std::size_t(cairo_image_surface_get_stride(a.get())) * cairo_image_surface_get_height(a.get());
        EXPECT_NE(std::memcmp(cairo_image_surface_get_data(a.get()), cairo_image_surface_get_data(b.get()), bytes), 0)
            << "picture " << lowPass;
    }
}

TEST(Pictures, CursorLineSitsTwentyPixelsFromTheLeftEdge) {
    for (int id : {10070, 10071}) {
        for (int i = 0; i < 3; ++i) {
            Surface s = decode(id + SIZE_STEPS[i]);
            const int h = cairo_image_surface_get_height(s.get());
            const int line = int(20 * SCALES[i]);
            // Over the lane (lower part of the picture) only the line is drawn.
            const int top = h / 2, rows = h / 2 - 2;
            EXPECT_GT(brightness(s.get(), line - 1, top, 2, rows), 0) << "picture " << id + SIZE_STEPS[i];
            EXPECT_EQ(brightness(s.get(), 0, top, line - 3, rows), 0) << "picture " << id + SIZE_STEPS[i];
        }
    }
}

TEST(Pictures, VersionLabelSitsOnALightCard) {
    // The settings page's version text is black.
    const layout::PanelRect& label = layout::VERSION_LABEL;
    for (int i = 0; i < 3; ++i) {
        Surface s = decode(10001 + SIZE_STEPS[i]);
        const int x = int(label.x * SCALES[i]), y = int(label.y * SCALES[i]);
        const int w = cairo_image_surface_get_width(s.get()) - x - int(24 * SCALES[i]), h = int(label.height * SCALES[i]);
        EXPECT_GT(brightness(s.get(), x, y, w, h) / (3.0 * 255 * w * h), 0.6);
    }
}

TEST(Pictures, FrontPanelHasDarkFieldsBehindTheTextViews) {
    // Read-outs, menus and screens draw light text or lines straight onto the
    // background, so at every size the panel must be dark right where they land.
    std::vector<layout::PanelRect> fields = {layout::PRESET_MENU, layout::BANK_MENU, layout::LFO_MODE_MENU,
                                             layout::LFO_PHASE_MENU, layout::LFO_WAVE_MENU, layout::LFO_SPEED_TEXT,
                                             layout::LFO_SCREEN};
    for (const auto& row : layout::KNOBS) {
        const int dy = row[0] == layout::READ_OUT_ABOVE_PARAMETER ? layout::READ_OUT_DY_ABOVE : layout::READ_OUT_DY;
        fields.push_back({row[1] + layout::READ_OUT_DX, row[2] + dy, layout::READ_OUT_WIDTH, layout::READ_OUT_HEIGHT});
    }
    for (int i = 0; i < 3; ++i) {
        Surface panel = decode(10000 + SIZE_STEPS[i]);
        for (const layout::PanelRect& f : fields) {
            const int x = int(f.x * SCALES[i]), y = int(f.y * SCALES[i]);
            const int w = int(f.width * SCALES[i]), h = int(f.height * SCALES[i]);
            // Inset by a pixel: the rim may catch light.
            const double mean = brightness(panel.get(), x + 1, y + 1, w - 2, h - 2) / (3.0 * 255 * (w - 2) * (h - 2));
            EXPECT_LT(mean, 0.1) << "field at " << f.x << "," << f.y << " size step " << SIZE_STEPS[i];
        }
    }
}

TEST(Pictures, EmbedderDeclinesPicturesItCannotNumber) {
    const std::string embedder = TIDEWALKER_PICTURE_EMBEDDER;
    const std::string output = testing::TempDir() + "/embedded.cpp";
    const std::string picture = std::string(TIDEWALKER_PICTURE_DIR) + "/bmp10000.png";
    EXPECT_NE(std::system((embedder + " " + output + " " + TIDEWALKER_PICTURE_DIR + "/missing.png").c_str()), 0);
    EXPECT_NE(std::system((embedder + " " + output + " " + TIDEWALKER_PICTURE_DIR + "/bmp1000.png").c_str()), 0);
    EXPECT_NE(std::system((embedder + " " + output + " " + picture + " " + picture).c_str()), 0);
    EXPECT_NE(std::system((embedder + " " + output + " " + TIDEWALKER_PICTURE_DIR + "/bmp99999.png").c_str()), 0);
    EXPECT_EQ(std::system((embedder + " " + output + " " + picture).c_str()), 0);
}

TEST(Pictures, EmbeddedBytesAreTheDrawnFiles) {
    for (int id : allIds()) {
        for (int step : SIZE_STEPS) {
            char name[32];
            std::snprintf(name, sizeof name, "/bmp%05d.png", id + step);
            std::ifstream file(std::string(TIDEWALKER_PICTURE_DIR) + name, std::ios::binary);
            ASSERT_TRUE(file.good()) << name;
            const std::vector<unsigned char> drawn{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            const auto embedded = findPicture(id + step);
            EXPECT_TRUE(std::equal(embedded.begin(), embedded.end(), drawn.begin(), drawn.end())) << name;
        }
    }
}

TEST(Pictures, PicturesThatShareAViewHaveTheSameSize) {
    // Radios are sized by the generic switch; the edited-state button swaps
    // its picture; the recording cursor is placed with the playback cursor's size.
    const std::vector<std::vector<int>> groups = {{10012, 10018, 10020}, {10030, 10013, 10014}, {10070, 10071},
                                                  {10040, 10041}, {10042, 10043}, {10044, 10045},
                                                  {10046, 10047}, {10048, 10049}, {10010, 10011}};
    for (const auto& group : groups) {
        for (int step : SIZE_STEPS) {
            const Size first = sizeOf(group[0] + step);
            for (int id : group) {
                const Size size = sizeOf(id + step);
                EXPECT_EQ(size.width, first.width) << "picture " << id + step;
                EXPECT_EQ(size.height, first.height) << "picture " << id + step;
            }
        }
    }
}

TEST(Pictures, FixedSizeViewsAreFullyCoveredByTheirPictures) {
    const std::pair<int, layout::PanelRect> views[] = {
        {10008, layout::VU_METERS[0]},      {10040, layout::FILTER_FREQUENCY_LABEL},
        {10044, layout::FILTER_Q_LABEL},    {10042, layout::LFO_FILTER_LABEL},
        {10046, layout::TRIGGER_MARK_1},    {10048, layout::TRIGGER_MARK_2}};
    for (const auto& [id, view] : views) {
        for (int i = 0; i < 3; ++i) {
            const Size size = sizeOf(id + SIZE_STEPS[i]);
            EXPECT_GE(size.width, int(std::trunc(view.width * SCALES[i]))) << "picture " << id + SIZE_STEPS[i];
            EXPECT_GE(size.height, int(std::trunc(view.height * SCALES[i]))) << "picture " << id + SIZE_STEPS[i];
        }
    }
}

struct Box {
    int left, top, right, bottom;
    std::string name;
};

bool overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(Pictures, FrontPanelControlsFitTheFrameWithoutOverlapping) {
    std::vector<Box> boxes;
    const Size knob = sizeOf(10022);
    for (const auto& row : layout::KNOBS)
        boxes.push_back({row[1], row[2], row[1] + knob.width, row[2] + knob.height / FRAMES,
                         "knob " + std::to_string(row[0])});
    auto byPicture = [&](int id, int x, int y) {
        const Size s = sizeOf(id);
        boxes.push_back({x, y, x + s.width, y + s.height / 2, "picture " + std::to_string(id) + " at x " + std::to_string(x)});
    };
    for (const auto& row : layout::ON_OFFS) byPicture(row[3], row[1], row[2]);
    for (const auto& radio : layout::TRIGGER_RADIOS) byPicture(10012, radio.x, radio.y);
    const std::pair<int, layout::PanelRect> kicks[] = {
        {10010, layout::PRESET_PREVIOUS}, {10011, layout::PRESET_NEXT},   {10010, layout::BANK_PREVIOUS},
        {10011, layout::BANK_NEXT},       {10030, layout::EDITED_BUTTON}, {10031, layout::REVERT_BUTTON},
        {10032, layout::HELP_BUTTON},     {10033, layout::ECS_MENU},      {10034, layout::RESET_BUTTON},
        {10002, layout::SETTINGS_BUTTON}};
    for (const auto& [id, place] : kicks) byPicture(id, place.x, place.y);
    for (const layout::PanelRect& r :
         {layout::PRESET_MENU, layout::BANK_MENU, layout::REVERSE_DISPLAY, layout::LFO_MODE_MENU, layout::LFO_PHASE_MENU,
          layout::LFO_WAVE_MENU, layout::LFO_SPEED_TEXT, layout::LFO_SCREEN, layout::VU_METERS[0], layout::VU_METERS[1],
          layout::VU_METERS[2], layout::VU_METERS[3]})
        boxes.push_back({r.x, r.y, r.x + r.width, r.y + r.height, "view at x " + std::to_string(r.x)});

    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= layout::FRAME_WIDTH && b.bottom <= layout::FRAME_HEIGHT)
            << b.name << " leaves the frame";
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(overlap(b, boxes[j])) << b.name << " and " << boxes[j].name << " overlap";
    }
}

TEST(Pictures, UnknownIdsAnswerNothing) {
    for (int id : {0, -1, 9999, 10003, 10021, 10103, 11003, 12103, 13000, INT_MIN, INT_MAX})
        EXPECT_TRUE(findPicture(id).empty()) << "id " << id;
}

}  // namespace
