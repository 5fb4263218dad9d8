// The LFO screen's waves, phases and position line; both displays without an editor.
#include <cmath>

#include "DisplayTestSupport.h"
#include "controls/TLfoScreen.h"
#include "controls/TReverseDisplay.h"

using namespace displays;

namespace {

const CRect kPlace(399, 510, 399 + 99, 510 + 99);

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

TEST(LfoScreen, DrawsEachWaveShiftedByItsPhase) {
    Panel panel;
    auto* screen = panel.add(new TLfoScreen(kPlace, nullptr));
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
