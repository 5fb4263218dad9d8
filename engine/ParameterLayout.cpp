#include "engine/ParameterLayout.h"

#include <cmath>
#include <limits>

std::int32_t toIndex(double value) noexcept {
    if (std::isnan(value)) return 0;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (value <= lowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= highest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

bool getOnOff(float value) noexcept {
    return value >= 0.5f;
}

std::int32_t getSteppedValue(float value, float scale, std::int32_t count) noexcept {
    if (count < 1) return 0;
    const std::int32_t step = toIndex(static_cast<double>(value * scale) + 0.1);
    if (step < 0) return 0;
    return step < count - 1 ? step : count - 1;
}

float clampUnit(double value) noexcept {
    if (!(value > 0.0)) return 0.0f;  // also NaN and −0
    if (value >= 1.0) return 1.0f;
    return static_cast<float>(value);
}
