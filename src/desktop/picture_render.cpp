#include "desktop/picture_render.h"

#include "desktop/control_painter.h"
#include "desktop/qt_bridge.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

// The scale a fill's region is found at: a quarter of a pixel is finer than any printer shows.
constexpr int fillScale = 4;

// The pixels a fill painted, as runs along the rows at fillScale.
QPainterPath filledRegion(const Image& before, const Image& after) {
    QPainterPath region;
    for (int y = 0; y < after.height(); ++y) {
        const Rgb* a = after.row(y);
        const Rgb* b = before.row(y);
        for (int x = 0; x < after.width();) {
            if (a[x] == b[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < after.width() && a[x] != b[x])
                ++x;
            region.addRect(start, y, x - start, 1);
        }
    }
    return region;
}

QColor colourOf(Rgb pixel) {
    const std::uint32_t c = rrggbb(pixel);
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

} // namespace

QSize pictureSize(const Form1& form, ControlId box) {
    const PictureBox& p = form.box(box);
    return {p.width(), p.height()};
}

void paintPictureContents(QPainter& painter, const Form1& form, ControlId id, QPoint origin,
                          qreal scale) {
    // Drawn by the lesson at the device's resolution, so lines and numbers stay sharp when
    // scaled. One image pixel a device pixel: sampled, never smoothed, wherever the view puts it.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(origin, qtImage(form.seen(id, scale), scale));
    painter.restore();
}

QImage pictureAsSeen(const Form1& form, ControlId box, double scale) {
    QImage picture = qtImage(form.seen(box, scale), scale).convertToFormat(QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    return picture;
}

void paintPictureVector(QPainter& painter, const Form1& form, ControlId box) {
    const PictureBox& picture = form.box(box);
    const QSize size = pictureSize(form, box);
    const Rgb back = toRgb(picture.backColour());
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), size));
    painter.fillRect(QRect(QPoint(0, 0), size), colourOf(back));
    // Fills are found on a finer raster kept alongside, drawn by the same rules as the box.
    const std::vector<DrawOp> history = picture.history();
    const bool fills = std::any_of(history.begin(), history.end(),
                                   [](const DrawOp& op) { return op.kind == DrawOp::Kind::Fill; });
    Image raster =
        fills ? Image(size.width() * fillScale, size.height() * fillScale, back) : Image();
    for (const DrawOp& op : history) {
        switch (op.kind) {
        case DrawOp::Kind::Line: {
            // A pen of odd width is centred on its pixels, one of even width between them.
            const double centre = op.width % 2 != 0 ? 0.5 : 0.0;
            QPen pen(colourOf(op.colour), op.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.setPen(pen);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.drawLine(QPointF(op.from.x + centre, op.from.y + centre),
                             QPointF(op.to.x + centre, op.to.y + centre));
            break;
        }
        case DrawOp::Kind::Text: {
            painter.save();
            painter.setClipRect(QRect(op.area.x, op.area.y, op.area.width, op.area.height),
                                Qt::IntersectClip);
            QFont font = designFont(op.font);
            font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
            painter.setPen(colourOf(op.colour));
            // Condensed about its left edge, as the picture condenses it.
            painter.translate(op.from.x, 0);
            painter.scale(op.squeeze, 1);
            drawText(painter, QPointF(0, op.from.y + textMetrics(op.font).ascent), font,
                     qt(op.text));
            painter.restore();
            break;
        }
        case DrawOp::Kind::Fill: {
            const Image before = raster;
            applyDrawOp(raster, op, fillScale, back);
            const QPainterPath region = filledRegion(before, raster);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.scale(1.0 / fillScale, 1.0 / fillScale);
            painter.fillPath(region.simplified(), colourOf(op.colour));
            painter.restore();
            continue; // already on the raster
        }
        case DrawOp::Kind::Keep: {
            QPainterPath lost;
            lost.addRect(QRectF(QPointF(0, 0), size));
            QPainterPath kept;
            kept.addRect(QRectF(op.area.x, op.area.y, op.area.width, op.area.height));
            painter.fillPath(lost.subtracted(kept), colourOf(back));
            break;
        }
        }
        if (fills)
            applyDrawOp(raster, op, fillScale, back);
    }
    // The labels, dots and lines above the picture, bottom of the stack first.
    const Container container = containerOf(box);
    const auto& controls = form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (it->container == container)
            paintLightweightControl(painter, *it, QPoint(0, 0));
    painter.restore();
}

void paintWorksheet(QPainter& painter, const Worksheet& sheet, double dotsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Worksheet::Picture& p : sheet.pictures) {
        painter.save();
        painter.scale(dotsPerMm, dotsPerMm);
        painter.translate(p.x, p.y);
        painter.scale(p.mmPerPixel, p.mmPerPixel);
        paintPictureVector(painter, *p.form, p.box);
        painter.setPen(QPen(Qt::black, 0.25 / p.mmPerPixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(0, 0), QSizeF(pictureSize(*p.form, p.box))));
        painter.restore();
    }
    for (const Worksheet::Rule& r : sheet.rules) {
        painter.setPen(QPen(Qt::black, r.width * dotsPerMm, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(r.x1, r.y1) * dotsPerMm, QPointF(r.x2, r.y2) * dotsPerMm);
    }
    // Set in points on the device itself, so the sizes are true whatever its resolution.
    for (const Worksheet::Text& t : sheet.texts) {
        QFont font(QStringLiteral("IPAPGothic"));
        font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
        font.setPointSizeF(t.points);
        font.setBold(t.bold);
        painter.setFont(font);
        painter.setPen(colourOf(t.colour));
        painter.drawText(QPointF(t.x, t.baseline) * dotsPerMm, qt(t.text));
    }
    painter.restore();
}

} // namespace kansu
