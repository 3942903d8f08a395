#include "desktop/face_button.h"

#include <QPainter>
#include <cmath>

namespace kansu {

FaceButton::FaceButton(const QString& caption, QColor face, QFont font, QWidget* parent)
    : QPushButton(caption, parent), face_(face), font_(std::move(font)) {
    setFont(font_);
}

void FaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Drawn in the design's pixels, grown as one.
    painter.scale(scale_, scale_);
    const QRect r(0, 0, static_cast<int>(std::lround(width() / scale_)),
                  static_cast<int>(std::lround(height() / scale_)));
    painter.fillRect(r, face_);
    const bool down = isDown();
    const QColor light(0xFF, 0xFF, 0xFF), shadow(0x80, 0x80, 0x80), dark(0x00, 0x00, 0x00);
    // Outer edge: light top-left and dark bottom-right when raised, the other way when pressed.
    painter.setPen(down ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(down ? shadow : face_.lighter(115));
    painter.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    painter.setPen(down ? face_.lighter(115) : shadow);
    painter.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);

    const QRect label = r.adjusted(2, 2, -2, -2).translated(down ? 1 : 0, down ? 1 : 0);
    painter.setFont(font_);
    if (isEnabled()) {
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignCenter, text());
    } else {
        // Engraved, as disabled captions are shown.
        painter.setPen(Qt::white);
        painter.drawText(label.translated(1, 1), Qt::AlignCenter, text());
        painter.setPen(shadow);
        painter.drawText(label, Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

} // namespace kansu
