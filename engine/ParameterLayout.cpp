#include "engine/ParameterLayout.h"

#include <cmath>

float clampUnit(double value) noexcept {
    if (!(value > 0.0)) return 0.0f;  // also NaN and −0
    if (value >= 1.0) return 1.0f;
    return static_cast<float>(value);
}
