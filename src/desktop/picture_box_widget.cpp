#include "desktop/picture_box_widget.h"

#include "desktop/picture_render.h"
#include "desktop/qt_bridge.h"

#include <QPainter>
#include <cmath>

namespace kansu {

PictureBoxWidget::PictureBoxWidget(const Form1& form, ControlId id, QWidget* parent)
    : QWidget(parent), form_(form), id_(id) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Drawn in the design's pixels, grown as one.
    painter.scale(scale_, scale_);
    const QRect r(0, 0, static_cast<int>(std::lround(width() / scale_)),
                  static_cast<int>(std::lround(height() / scale_)));
    // The classic sunken border, two pixels deep.
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    painter.setPen(QColor(0xD4, 0xD0, 0xC8));
    painter.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);

    const int b = window::pictureBorder;
    painter.setClipRect(r.adjusted(b, b, -b, -b));
    // Drawn at the device's own resolution, whatever scales the widget: the screen's device pixel
    // ratio and the lesson's zoom.
    const QTransform device = painter.deviceTransform();
    const qreal deviceScale = std::hypot(device.m11(), device.m12());
    paintPictureContents(painter, form_, id_, QPoint(b, b),
                         renderScale_ > 0 ? renderScale_ : deviceScale);
    // Where the keyboard is, once the keyboard has been used to move about: a picture box has no
    // focus mark of its own, and the window as it starts shows none.
    if (hasFocus() && renderScale_ == 0 && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setClipping(false);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(b + 1, b + 1, -b - 2, -b - 2));
    }
}

void PictureBoxWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureBoxWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace kansu
