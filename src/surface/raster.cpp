#include "surface/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace kansu::raster {

namespace {

constexpr QRgb rgbMask = 0x00FFFFFF;

inline void plot(QImage& image, int x, int y, QRgb colour, const QRect& clip) {
    if (clip.contains(x, y))
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

void drawThinLine(QImage& image, QPointF a, QPointF b, QRgb colour, const QRect& clip) {
    int x0 = roundHalfEven(a.x()), y0 = roundHalfEven(a.y());
    const int x1 = roundHalfEven(b.x()), y1 = roundHalfEven(b.y());
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        plot(image, x0, y0, colour, clip);
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

void drawWideLine(QImage& image, QPointF a, QPointF b, int width, QRgb colour, const QRect& clip) {
    const double radius = width / 2.0;
    const double offset = width % 2 == 0 ? 0.5 : 0.0;
    const double limit = radius * radius + 1e-9;
    const double ax = a.x(), ay = a.y();
    const double dx = b.x() - ax, dy = b.y() - ay;
    const double lengthSquared = dx * dx + dy * dy;

    const QRect box =
        QRect(QPoint(static_cast<int>(std::floor(std::min(ax, b.x()) - radius - offset)) - 1,
                     static_cast<int>(std::floor(std::min(ay, b.y()) - radius - offset)) - 1),
              QPoint(static_cast<int>(std::ceil(std::max(ax, b.x()) + radius)) + 1,
                     static_cast<int>(std::ceil(std::max(ay, b.y()) + radius)) + 1))
            .intersected(clip);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double py = y + offset - ay;
        for (int x = box.left(); x <= box.right(); ++x) {
            const double px = x + offset - ax;
            // Distance from the sample point to the nearest point of the segment.
            double t = lengthSquared > 0 ? (px * dx + py * dy) / lengthSquared : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = px - t * dx, ey = py - t * dy;
            if (ex * ex + ey * ey <= limit)
                row[x] = colour;
        }
    }
}

} // namespace

void drawLine(QImage& image, QPointF a, QPointF b, int width, QRgb colour, const QRect& clip) {
    const QRect area = clip.intersected(image.rect());
    if (area.isEmpty() || !std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return;
    if (width <= 1)
        drawThinLine(image, a, b, colour, area);
    else
        drawWideLine(image, a, b, width, colour, area);
}

long floodFillBorder(QImage& image, QPoint seed, QRgb border, QRgb fill, const QRect& clip) {
    const QRect area = clip.intersected(image.rect());
    if (!area.contains(seed))
        return 0;
    border &= rgbMask;
    auto pixel = [&](int x, int y) -> QRgb& {
        return reinterpret_cast<QRgb*>(image.scanLine(y))[x];
    };
    auto open = [&](int x, int y, const std::vector<bool>& seen) {
        return (pixel(x, y) & rgbMask) != border &&
               !seen[static_cast<std::size_t>((y - area.top()) * area.width() + (x - area.left()))];
    };
    std::vector<bool> seen(static_cast<std::size_t>(area.width()) * area.height(), false);
    auto mark = [&](int x, int y) {
        seen[static_cast<std::size_t>((y - area.top()) * area.width() + (x - area.left()))] = true;
    };
    if (!open(seed.x(), seed.y(), seen))
        return 0;

    long painted = 0;
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int y = p.y();
        if (!open(p.x(), y, seen))
            continue;
        // Run left and right along the row, then look at the rows above and below.
        int left = p.x();
        while (left > area.left() && open(left - 1, y, seen))
            --left;
        int right = p.x();
        while (right < area.right() && open(right + 1, y, seen))
            ++right;
        for (int x = left; x <= right; ++x) {
            mark(x, y);
            pixel(x, y) = fill;
            ++painted;
        }
        for (const int ny : {y - 1, y + 1}) {
            if (ny < area.top() || ny > area.bottom())
                continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = open(x, ny, seen);
                if (o && !inRun)
                    stack.emplace_back(x, ny);
                inRun = o;
            }
        }
    }
    return painted;
}

} // namespace kansu::raster
