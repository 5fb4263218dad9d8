// A point in frame pixels; y grows downwards.
#pragma once

namespace VSTGUI {

using CCoord = double;

struct CPoint {
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord x, CCoord y) : x(x), y(y) {}

    constexpr CPoint& offset(CCoord dx, CCoord dy) { x += dx; y += dy; return *this; }  // any
    constexpr CPoint operator+(const CPoint& other) const { return {x + other.x, y + other.y}; }  // any
    constexpr CPoint operator-(const CPoint& other) const { return {x - other.x, y - other.y}; }  // any
    constexpr bool operator==(const CPoint& other) const = default;  // any
};

}  // namespace VSTGUI
