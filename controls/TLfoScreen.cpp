#include "controls/TLfoScreen.h"

#include <atomic>
#include <cmath>
#include <cstdint>

#include "controls/IControlHost.h"
#include "controls/TReverseDisplay.h"
#include "controls/vstguiextensions.h"
#include "gui/CDrawContext.h"

using namespace VSTGUI;

namespace {

// The generator behind every screen's random picture; each screen takes the
// next 256 values. Relaxed: screens made at the same moment on two threads
// may share values, which only affects the picture.
std::atomic<std::uint32_t> randomSeed{1};

constexpr std::uint32_t kRandomMultiplier = 16807;
constexpr float kSignedToUnit = 4.656613e-10f;  // 2^-31
constexpr float kTwoPi = 6.28318f;              // as the oscillator has it
constexpr float kPhaseStep = 0.25f;             // one "LFO Phase" step is a quarter cycle

enum Wave { kSine, kSawUp, kSawDown, kTriangle, kSquare, kSampleAndHold };

}  // namespace

TLfoScreen::TLfoScreen(const CRect& size, IControlListener* listener)
    : CControl(size, listener, IControlHost::kNoParameterTag) {
    for (float& value : randomTable) {
        const std::uint32_t x = randomSeed.load(std::memory_order_relaxed) * kRandomMultiplier;
        value = static_cast<float>(static_cast<std::int32_t>(x)) * kSignedToUnit;
        randomSeed.store(x + 1, std::memory_order_relaxed);
    }
}

float TLfoScreen::waveValue(int wave, float frac, int column) const noexcept {
    switch (wave) {
    case kSine: return std::sin(frac * kTwoPi);
    case kSawUp: return 2.0f * frac - 1.0f;
    case kSawDown: return 1.0f - 2.0f * frac;
    case kTriangle: return 1.0f - 2.0f * std::fabs(1.0f - 2.0f * frac);
    case kSquare: return frac < 0.5f ? -1.0f : 1.0f;
    case kSampleAndHold: return randomTable[static_cast<unsigned>(column) % kRandomValues];
    default: return 0.0f;
    }
}

void TLfoScreen::draw(CDrawContext* context) {
    setDirty(false);
    IControlHost* host = IControlHost::of(this);
    const IDisplaySource* source = host ? host->displaySource() : nullptr;
    if (!context || !source) return;
    const LfoReading lfo = source->lfo();
    const int columns = static_cast<int>(getWidth());
    if (columns <= 0) return;

    const float height = static_cast<float>(getHeight()) - 2.0f;
    const int wave = lfo.wave;
    const float offset = static_cast<float>(lfo.phase) * kPhaseStep;
    // At 100 % the wave is antialiased at fractional heights; the bigger
    // sizes draw plain lines of width 2 on whole pixels.
    const bool fine = host->getSizeMode() == 0;
    context->setLineWidth(fine ? 1 : 2);
    context->setDrawMode(kAliasing);
    context->setFrameColor(_REVERSE_GRAPHICS_COLOR);

    const auto depth = [&](float v) {
        const float below = (0.5f - 0.5f * v) * height;
        return fine ? below : std::trunc(below);
    };
    const auto top = static_cast<float>(size.top) + 1.0f;
    float previous = 0.0f;
    for (int i = 0; i <= columns; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(columns) + offset;
        const float v = waveValue(wave, t - std::trunc(t), i);
        if (i == 0) previous = v;
        const auto x = static_cast<float>(size.left) + static_cast<float>(i);
        if (fine)
            lineAA(x - 1.0f, top + depth(previous), x, top + depth(v), context);
        else
            context->drawLine(CPoint(x - 1.0f, top + depth(previous)), CPoint(x, top + depth(v)));
        previous = v;
    }

    const float position = lfo.position;
    if (!std::isfinite(position)) return;
    const double x = size.left + std::trunc(position * static_cast<float>(columns));
    context->setFrameColor(kWhiteCColor);
    context->drawLine(CPoint(x, size.top), CPoint(x, size.bottom));
}
