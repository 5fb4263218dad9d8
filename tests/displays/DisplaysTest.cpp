// The reverse display drawn from a running effect, and its zoom drag; the LFO
// screen's waves, phases and position line; both displays without an editor.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "controls/TLfoScreen.h"
#include "controls/TReverseDisplay.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/engine_chain/ChainTestSupport.h"

using namespace VSTGUI;

namespace {

// A host at 120 BPM that remembers automation and gestures (opcode, index).
std::vector<std::pair<VstInt32, float>> automated;
std::vector<std::pair<VstInt32, VstInt32>> gestures;

VstIntPtr fakeHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (opcode == audioMasterAutomate) automated.emplace_back(index, opt);
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) gestures.emplace_back(opcode, index);
    return chain::fakeHost(effect, opcode, index, value, ptr, opt);
}

// Untouched pixels stay transparent.
struct Picture {
    guitest::BitmapPtr bitmap;
    CColor at(int x, int y) const { return bitmap->getPixel(x, y); }
    std::vector<int> columnsOf(CColor color, int y, int from, int to) const {
        std::vector<int> found;
        for (int x = from; x < to; ++x)
            if (at(x, y) == color) found.push_back(x);
        return found;
    }
    int rowsOf(CColor color, int x, int from, int to) const {
        int count = 0;
        for (int y = from; y < to; ++y) count += at(x, y) == color;
        return count;
    }
};

Picture render(CView& view) { return {guitest::BitmapPtr(renderToBitmap(view))}; }

// The effect with its editor open off-screen.
struct Panel : editortest::EffectWithEditor {
    explicit Panel(bool big150 = false) : EffectWithEditor(big150 ? "Y" : nullptr, nullptr, fakeHost) {
        automated.clear();
        gestures.clear();
        chain::setTransport(false);
        EXPECT_NE(openOffscreen(), nullptr);
    }
    ~Panel() { editor->close(); }
    void set(VstInt32 index, float value) { plugin->setParameter(index, value); }
    void run(std::size_t frames, float level) { chain::render(*plugin, chain::Stereo(frames, level)); }
};

// The panel's place at 100 %. Views render in their own coordinates: the
// graph starts at x 4, the lanes at y 25 and 155, 100 high; 1009 columns.
const CRect kPlace(23, 115, 23 + 1049, 115 + 257);
constexpr int kLeft = 4, kInTop = 25, kOutTop = 155, kWidth = 1009, kZoomBarX = 1030;

bool hasNear(const std::vector<int>& columns, double x, double tolerance) {
    return std::any_of(columns.begin(), columns.end(), [&](int c) { return std::abs(c - x) <= tolerance; });
}

const CRect kLfoPlace(399, 510, 399 + 99, 510 + 99);

// Pixels of the top-left size × size square partly covered (antialiased), or covered at all.
int covered(const Picture& picture, int size, bool partlyOnly) {
    int count = 0;
    for (int i = 0; i < size * size; ++i) {
        const int a = picture.at(i % size, i / size).alpha;
        count += a != 0 && !(partlyOnly && a == 255);
    }
    return count;
}

}  // namespace

TEST(ReverseDisplay, TakeLevelsMarkersAndCursorsSitAtTheEngineTimes) {
    // 100 ms at level 0.5, reversed from 100 to 200 ms, seen at 250 ms; the
    // input lane at gain 1, the output lane at gain 1/2.
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    chain::cleanTake(*panel.plugin, chain::kAudioMode);
    panel.set(Param::ReverseRetriggerHoldTime, 0.3f);
    panel.set(Param::ReverseVerticalInZoom, 1.0f / 6.0f);
    panel.set(Param::ReverseVerticalOutZoom, 0.0f);
    panel.run(4410, 0.5f);
    panel.run(6615, 0.0f);
    APlugin& effect = *panel.plugin;
    const auto toX = [&](float ms) { return kLeft + double(ms) / effect.getReverseDisplayLengthQuantized() * kWidth; };
    ASSERT_GT(effect.getHoldTime(), effect.getReverseLength() + 50.0f);

    const Picture moving = render(*display);
    const int inColumn = static_cast<int>(toX(50)), outColumn = static_cast<int>(toX(150));
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, inColumn, 0, 257), 50);  // half its lane
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, outColumn, kOutTop, 257), 25);  // a quarter
    EXPECT_EQ(moving.rowsOf(_REVERSE_GRAPHICS_COLOR, outColumn, kInTop, kOutTop), 0);
    EXPECT_EQ(moving.at(inColumn, kInTop + 10), _REVERSE_BACK_COLOR);  // the take region

    panel.set(Param::ReverseTriggerMode, chain::kManualMode);  // no pending take: silent
    ASSERT_TRUE(effect.getSilent());
    const Picture still = render(*display);
    const auto markers = still.columnsOf(_REVERSE_GRAPHICS_COLOR, kInTop + 2, 0, 1020);
    EXPECT_EQ(markers.size(), 3u);
    for (double x : {double(kLeft), toX(effect.getReverseLength()), toX(effect.getHoldTime())})
        EXPECT_TRUE(hasNear(markers, x, 1)) << x;  // "T", "R", "H"

    // Silence hides the cursors only: recording parked at the take's end, playback at the position.
    const auto cursorAt = [&](int row, double x) {
        std::vector<int> columns;
        for (int column = 0; column < 1049; ++column)
            if (!(moving.at(column, row) == still.at(column, row))) columns.push_back(column);
        return columns.size() <= 3 && hasNear(columns, x, 2);
    };
    EXPECT_TRUE(cursorAt(kInTop + 50, toX(effect.getReverseLength()) - 20));
    EXPECT_TRUE(cursorAt(kOutTop + 50, toX(effect.getRecordPosition())));
}

TEST(ReverseDisplay, SyncedWindowOfTwoBarsShowsSixteenGridLines) {
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    chain::cleanTake(*panel.plugin, chain::kAudioMode);
    panel.run(64, 0.0f);
    panel.set(Param::ReverseZoom, std::log2(15.0f) / 4.0f);  // 1.5 bars, raised to 2 when synced
    panel.set(Param::ReverseTempoSync, 1.0f);
    ASSERT_FLOAT_EQ(panel.plugin->getReverseDisplayLengthQB(), 8.0f);
    const Picture picture = render(*display);
    for (int row : {kInTop + 2, kOutTop + 2}) {
        const auto lines = picture.columnsOf(_REVERSE_BACK_LINES_COLOR, row, 0, 1049);
        EXPECT_EQ(lines.size(), 16u);
        EXPECT_EQ(lines.back(), kLeft + kWidth);
    }
}

TEST(ReverseDisplay, ZoomBarsFollowTheDragOfTheHalfFirstPressed) {
    Panel panel;
    auto* display = panel.add(new TReverseDisplay(kPlace, nullptr, 0));
    const auto mouse = [&](bool down, double y, CButtonState buttons = kLButton) {
        CPoint where(kPlace.left + 300, kPlace.top + y);
        return down ? display->onMouseDown(where, buttons) : display->onMouseMoved(where, buttons);
    };
    const auto zoom = [&](VstInt32 index) { return panel.plugin->getParameter(index); };
    EXPECT_EQ(mouse(true, 0), kMouseEventHandled);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 98);  // lane less 2
    mouse(false, 223 * 0.25);  // the middle of the upper half
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalInZoom), 0.5f);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 49);
    mouse(false, 200);  // into the lower half: still the input lane, at its minimum
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalInZoom), 0.0f);
    EXPECT_EQ(render(*display).rowsOf(_REVERSE_GRAPHICS_COLOR, kZoomBarX, 0, kOutTop), 0);
    EXPECT_EQ(automated.back(), std::make_pair(VstInt32{Param::ReverseVerticalInZoom}, 0.0f));
    CPoint release;
    display->onMouseUp(release, kLButton);

    const float outZoom = zoom(Param::ReverseVerticalOutZoom);
    EXPECT_EQ(mouse(true, 200, kRButton), kMouseEventHandled);
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalOutZoom), outZoom);
    mouse(true, 112);
    mouse(false, 111 + 223 * 0.25);
    EXPECT_FLOAT_EQ(zoom(Param::ReverseVerticalOutZoom), 0.5f);
    display->onMouseCancel();
    // Each drag is one gesture, whatever the number of moves.
    const std::vector<std::pair<VstInt32, VstInt32>> oneEach = {
        {audioMasterBeginEdit, Param::ReverseVerticalInZoom}, {audioMasterEndEdit, Param::ReverseVerticalInZoom},
        {audioMasterBeginEdit, Param::ReverseVerticalOutZoom}, {audioMasterEndEdit, Param::ReverseVerticalOutZoom}};
    EXPECT_EQ(gestures, oneEach);
}

TEST(LfoScreen, DrawsEachWaveShiftedByItsPhase) {
    Panel panel;
    auto* screen = panel.add(new TLfoScreen(kLfoPlace, nullptr));
    const struct {
        int phase;
        float (*value)(float frac);
    } waves[] = {  // in menu order, each at some phase; "S&H" shows the screen's own random picture
        {1, [](float f) { return std::sin(f * 6.28318f); }}, {0, [](float f) { return 2 * f - 1; }},
        {2, [](float f) { return 1 - 2 * f; }}, {3, [](float f) { return 1 - 2 * std::fabs(1 - 2 * f); }},
        {0, [](float f) { return f < 0.5f ? -1.0f : 1.0f; }}, {3, nullptr},
    };
    for (int wave = 0; wave < 6; ++wave) {
        panel.set(Param::LfoWave, (wave + 0.5f) / 5);
        panel.set(Param::LfoPhase, (waves[wave].phase + 0.5f) / 3);
        const Picture picture = render(*screen);
        for (int i : {5, 20, 37, 62, 80, 93}) {
            const float t = i / 99.0f + 0.25f * waves[wave].phase;
            const float v = waves[wave].value ? waves[wave].value(t - std::trunc(t)) : screen->randomTable[i];
            const int y = static_cast<int>(std::lround(1 + (0.5f - 0.5f * v) * 97));  // +1 at the top
            int near = 0, far = 0;  // strongest coverage within 1 pixel of y, and 5 or more away
            for (int row = 0; row < 99; ++row) {
                const int alpha = picture.at(i, row).alpha, distance = std::abs(row - y);
                if (distance <= 1) near = std::max(near, alpha);
                if (distance >= 5) far = std::max(far, alpha);
            }
            EXPECT_GE(near, 100) << "wave " << wave << ", column " << i;
            // Random steps may join far-apart neighbours.
            EXPECT_TRUE(far == 0 || !waves[wave].value) << "wave " << wave << ", column " << i << ": " << far;
        }
    }
    EXPECT_GT(covered(render(*screen), 99, true), 0);  // antialiased at 100 %
}

TEST(LfoScreen, PositionLineFollowsTheOscillatorInPlainLinesAtLargerSizes) {
    Panel panel(1);
    auto* screen = panel.add(new TLfoScreen(CRect(598, 765, 598 + 148, 765 + 148), nullptr));
    panel.set(Param::LfoSpeed, 0.5f);
    panel.run(6400, 0.0f);
    const float position = panel.plugin->getLFOPos();
    ASSERT_TRUE(position > 0.02f && position < 0.98f);
    const Picture picture = render(*screen);
    const int x = static_cast<int>(position * 148);
    EXPECT_EQ(picture.columnsOf(kWhiteCColor, 70, 0, 148), (std::vector<int>{x - 1, x}));  // 2 pixels wide
    EXPECT_EQ(covered(picture, 148, true), 0);
}

TEST(Displays, WithoutEditorDrawNothingAndTakeNoDrag) {
    TReverseDisplay display(CRect(0, 0, 300, 300), nullptr, 0);
    TLfoScreen screen(CRect(0, 0, 99, 99), nullptr);
    EXPECT_EQ(covered(render(display), 300, false) + covered(render(screen), 99, false), 0);
    CPoint where(5, 5);
    EXPECT_EQ(display.onMouseDown(where, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
}
