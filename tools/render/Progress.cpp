#include "tools/render/Progress.h"

#include <algorithm>

namespace render {
namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, bool enabled)
    : stream(stream), enabled(enabled), started(Clock::now()), lastDrawn(started) {}

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!enabled || total <= 0) {
        return;
    }
    const auto now = Clock::now();
    if (now - started < kQuietStart || (drawn && now - lastDrawn < kRedrawEvery)) {
        return;
    }
    lastDrawn = now;
    drawn = true;
    const double fraction = std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::fprintf(stream, "\r[%.*s%*s] %3d%%", filled, "========================================",
                 kBarWidth - filled, "", static_cast<int>(fraction * 100.0));
    std::fflush(stream);
}

void ProgressBar::finish() {
    if (drawn) {
        std::fprintf(stream, "\r%*s\r", kBarWidth + 8, "");
        std::fflush(stream);
        drawn = false;
    }
}

}  // namespace render
