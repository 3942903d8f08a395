#include "surface/drawing.h"

#include "surface/raster.h"

#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

Rect scaledArea(const Rect& area, double scale, const Rect& bounds) {
    if (scale == 1)
        return area.intersected(bounds);
    // The device pixels the area touches.
    const int left = static_cast<int>(std::floor(area.x * scale));
    const int top = static_cast<int>(std::floor(area.y * scale));
    const int right = static_cast<int>(std::ceil((area.x + area.width) * scale));
    const int bottom = static_cast<int>(std::ceil((area.y + area.height) * scale));
    if (area.isEmpty())
        return {};
    return Rect{left, top, right - left, bottom - top}.intersected(bounds);
}

int scaledWidth(int width, double scale) {
    return std::max(1, static_cast<int>(std::lround(width * scale)));
}

// A line's coordinate at scale: the centre line keeps its place, whatever the pen's parity.
double scaledCoordinate(double c, int width, int deviceWidth, double scale) {
    const double centre = width % 2 != 0 ? 0.5 : 0.0;
    const double deviceCentre = deviceWidth % 2 != 0 ? 0.5 : 0.0;
    return scale * (c + centre) - deviceCentre;
}

int scaledPixelSize(const FontSpec& font, double scale) {
    const int size = pixelSizeForPoints(font.points);
    return scale == 1 ? size : std::max(1, static_cast<int>(std::lround(size * scale)));
}

} // namespace

LineMetrics textMetrics(const FontSpec& font, double scale) {
    return Typeface::lesson().metrics(scaledPixelSize(font, scale));
}

bool applyDrawOp(Image& target, const DrawOp& op, double scale, Rgb back) {
    const Rect area = scaledArea(op.area, scale, target.rect());
    switch (op.kind) {
    case DrawOp::Kind::Line: {
        const int w = scaledWidth(op.width, scale);
        auto map = [&](PointF p) {
            return PointF{scaledCoordinate(p.x, op.width, w, scale),
                          scaledCoordinate(p.y, op.width, w, scale)};
        };
        raster::drawLine(target, map(op.from), map(op.to), w, op.colour, area);
        return true;
    }
    case DrawOp::Kind::Text: {
        if (area.isEmpty())
            return false;
        const int size = scaledPixelSize(op.font, scale);
        const Typeface& face = Typeface::lesson();
        face.draw(target, op.text, static_cast<int>(std::lround(op.from.x * scale)),
                  static_cast<int>(std::lround(op.from.y * scale)) + face.metrics(size).ascent,
                  size, op.font.bold, op.colour, area, op.squeeze);
        return true;
    }
    case DrawOp::Kind::Fill: {
        const Point seed{static_cast<int>(std::floor((op.from.x + 0.5) * scale)),
                         static_cast<int>(std::floor((op.from.y + 0.5) * scale))};
        return raster::floodFillBorder(target, seed, op.border, op.colour, area) > 0;
    }
    case DrawOp::Kind::Keep: {
        const int width = target.width();
        for (int y = 0; y < target.height(); ++y) {
            Rgb* row = target.row(y);
            if (area.isEmpty() || y < area.top() || y > area.bottom()) {
                std::fill(row, row + width, back);
                continue;
            }
            std::fill(row, row + area.left(), back);
            std::fill(row + area.right() + 1, row + width, back);
        }
        return true;
    }
    }
    return false;
}

} // namespace kansu
