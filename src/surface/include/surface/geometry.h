#pragma once

#include <algorithm>

namespace kansu {

// A pixel position.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A position between pixels, in a picture's own units.
struct PointF {
    double x = 0;
    double y = 0;
    bool operator==(const PointF&) const = default;
};

// A rectangle of whole pixels: left and top included, width by height pixels. Empty when either
// side is not positive.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int left() const { return x; }
    int top() const { return y; }
    int right() const { return x + width - 1; }
    int bottom() const { return y + height - 1; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool contains(Point p) const {
        return !isEmpty() && p.x >= x && p.x <= right() && p.y >= y && p.y <= bottom();
    }
    Rect intersected(const Rect& other) const {
        const int l = std::max(x, other.x), t = std::max(y, other.y);
        const int r = std::min(right(), other.right()), b = std::min(bottom(), other.bottom());
        if (isEmpty() || other.isEmpty() || r < l || b < t)
            return {};
        return {l, t, r - l + 1, b - t + 1};
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect united(const Rect& other) const {
        if (other.isEmpty())
            return *this;
        if (isEmpty())
            return other;
        const int l = std::min(x, other.x), t = std::min(y, other.y);
        const int r = std::max(right(), other.right()), b = std::max(bottom(), other.bottom());
        return {l, t, r - l + 1, b - t + 1};
    }
    Rect translated(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
    bool operator==(const Rect&) const = default;
};

} // namespace kansu
