#include "surface/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace kansu::raster {

namespace {

constexpr Rgb rgbMask = 0x00FFFFFF;

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

void drawThinLine(Image& image, PointF a, PointF b, Rgb colour, const Rect& clip) {
    int x0 = roundHalfEven(a.x), y0 = roundHalfEven(a.y);
    const int x1 = roundHalfEven(b.x), y1 = roundHalfEven(b.y);
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    const int left = clip.left(), right = clip.right(), top = clip.top(), bottom = clip.bottom();
    for (;;) {
        if (x0 >= left && x0 <= right && y0 >= top && y0 <= bottom)
            image.row(y0)[x0] = colour;
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

// An interval of sample x positions; empty when lo > hi.
struct Span {
    double lo = 1, hi = 0;
    bool empty() const { return lo > hi; }
    void unite(Span other) {
        if (other.empty())
            return;
        if (empty()) {
            *this = other;
            return;
        }
        lo = std::min(lo, other.lo);
        hi = std::max(hi, other.hi);
    }
};

// Where the row at height py (relative to the disc's centre) crosses a disc of squared radius r2.
Span discSpan(double cx, double py, double r2) {
    const double h = r2 - py * py;
    if (h < 0)
        return {};
    const double w = std::sqrt(h);
    return {cx - w, cx + w};
}

// Where the row crosses the band |cross| <= r*len, 0 <= t <= 1 around the segment from the origin
// to (dx, dy), at height py. Both conditions are linear in x, so the answer is an interval.
Span bandSpan(double dx, double dy, double py, double radius, double length) {
    Span span{-1e300, 1e300};
    auto limit = [&span](double slope, double constant, double low, double high) {
        // low <= slope * x + constant <= high
        if (slope == 0) {
            if (constant < low || constant > high)
                span = {};
            return;
        }
        double a = (low - constant) / slope, b = (high - constant) / slope;
        if (a > b)
            std::swap(a, b);
        span.lo = std::max(span.lo, a);
        span.hi = std::min(span.hi, b);
    };
    // Projection on the segment: x*dx + py*dy in [0, len²].
    limit(dx, py * dy, 0, length * length);
    if (span.empty())
        return {};
    // Distance from the line: x*dy - py*dx in [-r*len, r*len].
    limit(dy, -py * dx, -radius * length, radius * length);
    return span;
}

void drawWideLine(Image& image, PointF a, PointF b, int width, Rgb colour, const Rect& clip) {
    const double radius = width / 2.0;
    const double r2 = radius * radius + 1e-9;
    // Odd widths sample at the pixel's own coordinates, even widths half a pixel further on.
    const double offset = width % 2 == 0 ? 0.5 : 0.0;
    const double ax = a.x, ay = a.y;
    const double dx = b.x - ax, dy = b.y - ay;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double slack = 1e-9 * (1 + length);

    const int top =
        std::max(clip.top(), static_cast<int>(std::floor(std::min(ay, b.y) - radius - offset)));
    const int bottom =
        std::min(clip.bottom(), static_cast<int>(std::ceil(std::max(ay, b.y) + radius)));
    for (int y = top; y <= bottom; ++y) {
        const double py = y + offset - ay;
        Span span = discSpan(0, py, r2);
        span.unite(discSpan(dx, py - dy, r2));
        if (length > 0)
            span.unite(bandSpan(dx, dy, py, radius, length));
        if (span.empty())
            continue;
        // Sample points x + offset - ax within the span.
        const int from =
            std::max(clip.left(), static_cast<int>(std::ceil(span.lo - slack + ax - offset)));
        const int to =
            std::min(clip.right(), static_cast<int>(std::floor(span.hi + slack + ax - offset)));
        if (from <= to)
            std::fill(image.row(y) + from, image.row(y) + to + 1, colour);
    }
}

} // namespace

void drawLine(Image& image, PointF a, PointF b, int width, Rgb colour, const Rect& clip) {
    const Rect area = clip.intersected(image.rect());
    if (area.isEmpty() || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
        !std::isfinite(b.y))
        return;
    if (width <= 1)
        drawThinLine(image, a, b, colour, area);
    else
        drawWideLine(image, a, b, width, colour, area);
}

long floodFillBorder(Image& image, Point seed, Rgb border, Rgb fill, const Rect& clip) {
    const Rect area = clip.intersected(image.rect());
    if (!area.contains(seed))
        return 0;
    border &= rgbMask;
    const int left0 = area.left(), top0 = area.top(), w = area.width;
    std::vector<unsigned char> seen(
        static_cast<std::size_t>(w) * static_cast<std::size_t>(area.height), 0);
    auto open = [&](const Rgb* row, int x, int y) {
        return (row[x] & rgbMask) != border &&
               !seen[static_cast<std::size_t>(y - top0) * w + static_cast<std::size_t>(x - left0)];
    };
    if (!open(image.row(seed.y), seed.x, seed.y))
        return 0;

    long painted = 0;
    std::vector<Point> stack{seed};
    while (!stack.empty()) {
        const Point p = stack.back();
        stack.pop_back();
        const int y = p.y;
        Rgb* row = image.row(y);
        if (!open(row, p.x, y))
            continue;
        // Run left and right along the row, then look at the rows above and below.
        int left = p.x;
        while (left > area.left() && open(row, left - 1, y))
            --left;
        int right = p.x;
        while (right < area.right() && open(row, right + 1, y))
            ++right;
        unsigned char* seenRow = &seen[static_cast<std::size_t>(y - top0) * w];
        for (int x = left; x <= right; ++x) {
            seenRow[x - left0] = 1;
            row[x] = fill;
        }
        painted += right - left + 1;
        for (const int ny : {y - 1, y + 1}) {
            if (ny < area.top() || ny > area.bottom())
                continue;
            const Rgb* next = image.row(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = open(next, x, ny);
                if (o && !inRun)
                    stack.push_back({x, ny});
                inRun = o;
            }
        }
    }
    return painted;
}

} // namespace kansu::raster
