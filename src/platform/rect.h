// A rectangle of device pixels: left and top inside, right and bottom just outside.
#pragma once

#include "platform/types.h"

#include <algorithm>
#include <cstdint>

struct CRect {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(LONG l, LONG t, LONG r, LONG b) : left(l), top(t), right(r), bottom(b) {}

    std::int64_t Width() const { return std::int64_t(right) - left; }
    std::int64_t Height() const { return std::int64_t(bottom) - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(std::int64_t x, std::int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Left above right and top above bottom, swapping where needed.
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    friend bool operator==(const CRect&, const CRect&) = default;
};
