#include "desktop/control_painter.h"

#include "desktop/qt_bridge.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace kansu {

namespace {

// Whether the painter draws vectors for a file or a printer rather than pixels for a screen.
bool drawsVectors(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine)
        return false;
    switch (engine->type()) {
    case QPaintEngine::Pdf:
    case QPaintEngine::SVG:
    case QPaintEngine::Picture:
        return true;
    default:
        return false;
    }
}

} // namespace

void drawText(QPainter& painter, const QPointF& baseline, const QFont& font, const QString& text) {
    if (!font.bold() || !drawsVectors(painter)) {
        painter.setFont(font);
        painter.drawText(baseline, text);
        return;
    }
    QFont regular = font;
    regular.setBold(false);
    QPainterPath outline;
    outline.addText(baseline, regular, text);
    const QColor colour = painter.pen().color();
    const double strike = QFontInfo(regular).pixelSize() / 24.0;
    painter.fillPath(outline, colour);
    painter.fillPath(outline.translated(strike, 0), colour);
}

namespace {

int pixel(float v) {
    return static_cast<int>(std::lround(v));
}

void paintLabel(QPainter& painter, const Control& c, QPoint origin) {
    const QRect rect(origin.x() + pixel(c.left), origin.y() + pixel(c.top), pixel(c.width),
                     pixel(c.height));
    if (!c.transparentBack)
        painter.fillRect(rect, qtColour(c.backColour));
    painter.save();
    painter.setClipRect(rect);
    const QFont font = designFont(c.font);
    painter.setFont(font);
    painter.setPen(qtColour(c.foreColour.value_or(colours::windowText)));
    const QString caption = qt(c.caption);
    // A caption wider than its label in the face actually used ("８ cm" in IPA P Gothic) is
    // condensed to fit, not cut; one that fits is drawn as it is.
    const QFontMetricsF metrics(font);
    const qreal wide = metrics.horizontalAdvance(caption);
    const bool condensed = wide > rect.width() && rect.width() > 0;
    if (condensed) {
        painter.translate(rect.left(), 0);
        painter.scale(rect.width() / wide, 1);
    }
    if (font.bold() && drawsVectors(painter)) {
        drawText(painter, QPointF(condensed ? 0 : rect.left(), rect.top() + metrics.ascent()), font,
                 caption);
    } else {
        const QRectF box = condensed ? QRectF(0, rect.top(), wide, rect.height()) : QRectF(rect);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    }
    painter.restore();
}

void paintLine(QPainter& painter, const Control& c, QPoint origin) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(qtColour(c.foreColour.value_or(colours::windowText)));
    pen.setWidth(c.lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QPointF o(origin);
    painter.drawLine(o + QPointF(c.x1, c.y1), o + QPointF(c.x2, c.y2));
    painter.restore();
}

void paintDot(QPainter& painter, const Control& c, QPoint origin) {
    // The largest circle centred in the shape's box.
    const int diameter = std::min(pixel(c.width), pixel(c.height));
    const QRect box(origin.x() + pixel(c.left), origin.y() + pixel(c.top), pixel(c.width),
                    pixel(c.height));
    QRect circle(0, 0, diameter, diameter);
    circle.moveCenter(box.center());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(qtColour(c.foreColour.value_or(colours::black)));
    painter.setBrush(qtColour(c.backColour));
    painter.drawEllipse(QRectF(circle).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

} // namespace

void paintLightweightControl(QPainter& painter, const Control& control, QPoint origin) {
    if (!control.visible)
        return;
    switch (control.kind) {
    case ControlKind::Label:
        return paintLabel(painter, control, origin);
    case ControlKind::Line:
        return paintLine(painter, control, origin);
    case ControlKind::Shape:
        return paintDot(painter, control, origin);
    default:
        return;
    }
}

} // namespace kansu
