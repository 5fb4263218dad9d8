// An axis-aligned rectangle; left/top are inside, right/bottom just outside.
#pragma once

#include <algorithm>

#include "gui/CPoint.h"

namespace VSTGUI {

struct CRect {
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord left, CCoord top, CCoord right, CCoord bottom)
        : left(left), top(top), right(right), bottom(bottom) {}
    constexpr CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

    constexpr CCoord getWidth() const { return right - left; }  // any
    constexpr CCoord getHeight() const { return bottom - top; }  // any
    constexpr CRect& setWidth(CCoord width) { right = left + width; return *this; }  // any
    constexpr CRect& setHeight(CCoord height) { bottom = top + height; return *this; }  // any
    constexpr CPoint getTopLeft() const { return {left, top}; }  // any
    constexpr CPoint getSize() const { return {getWidth(), getHeight()}; }  // any
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }  // any

    constexpr CRect& offset(CCoord dx, CCoord dy) {  // any
        left += dx; right += dx; top += dy; bottom += dy;
        return *this;
    }
    constexpr CRect& moveTo(const CPoint& where) { return offset(where.x - left, where.y - top); }  // any

    constexpr bool pointInside(const CPoint& p) const {  // any
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool rectOverlap(const CRect& other) const {  // any
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    // Shrinks this rectangle to its overlap with other (empty when they do not meet).
    constexpr CRect& bound(const CRect& other) {  // any
        left = std::max(left, other.left);
        top = std::max(top, other.top);
        right = std::max(left, std::min(right, other.right));
        bottom = std::max(top, std::min(bottom, other.bottom));
        return *this;
    }
    // Grows this rectangle to cover other as well; an empty rectangle adds nothing.
    constexpr CRect& unite(const CRect& other) {  // any
        if (other.isEmpty()) return *this;
        if (isEmpty()) return *this = other;
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right);
        bottom = std::max(bottom, other.bottom);
        return *this;
    }
    constexpr bool operator==(const CRect& other) const = default;  // any
};

}  // namespace VSTGUI
