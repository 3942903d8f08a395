#include "surface/drawing.h"

#include "surface/raster.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

QRect scaledArea(const QRect& area, qreal scale, const QRect& bounds) {
    if (scale == 1)
        return area.intersected(bounds);
    return QRectF(area.x() * scale, area.y() * scale, area.width() * scale, area.height() * scale)
        .toAlignedRect()
        .intersected(bounds);
}

int scaledWidth(int width, qreal scale) {
    return std::max(1, static_cast<int>(std::lround(width * scale)));
}

// A line's coordinate at scale: the centre line keeps its place, whatever the pen's parity.
double scaledCoordinate(double c, int width, int deviceWidth, qreal scale) {
    const double centre = width % 2 != 0 ? 0.5 : 0.0;
    const double deviceCentre = deviceWidth % 2 != 0 ? 0.5 : 0.0;
    return scale * (c + centre) - deviceCentre;
}

QFont scaledFont(const FontSpec& wanted, qreal scale) {
    QFont font = canvasFont(wanted);
    if (scale != 1)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
    return font;
}

} // namespace

int textLineHeight(const FontSpec& font) {
    return QFontMetrics(canvasFont(font)).height();
}

bool applyDrawOp(QImage& target, const DrawOp& op, qreal scale, QRgb back) {
    const QRect area = scaledArea(op.area, scale, target.rect());
    switch (op.kind) {
    case DrawOp::Kind::Line: {
        const int w = scaledWidth(op.width, scale);
        auto map = [&](QPointF p) {
            return QPointF(scaledCoordinate(p.x(), op.width, w, scale),
                           scaledCoordinate(p.y(), op.width, w, scale));
        };
        raster::drawLine(target, map(op.from), map(op.to), w, op.colour, area);
        return true;
    }
    case DrawOp::Kind::Text: {
        if (area.isEmpty())
            return false;
        const QFont font = scaledFont(op.font, scale);
        QPainter painter(&target);
        painter.setClipRect(area);
        painter.setFont(font);
        painter.setPen(QColor(op.colour));
        painter.drawText(
            QPointF(op.from.x() * scale, op.from.y() * scale + QFontMetrics(font).ascent()),
            op.text);
        return true;
    }
    case DrawOp::Kind::Fill: {
        const QPoint seed(static_cast<int>(std::floor((op.from.x() + 0.5) * scale)),
                          static_cast<int>(std::floor((op.from.y() + 0.5) * scale)));
        return raster::floodFillBorder(target, seed, op.border, op.colour, area) > 0;
    }
    case DrawOp::Kind::Keep: {
        const int width = target.width();
        for (int y = 0; y < target.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
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
