#include "surface/picture_box.h"

#include "surface/conversions.h"
#include "surface/raster.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace kansu {

PictureBox::PictureBox(int clientWidth, int clientHeight, OleColour backColour,
                       OleColour foreColour, FontSpec font, int drawWidth, Memory memory)
    : image_(clientWidth, clientHeight, QImage::Format_RGB32), memory_(memory),
      visible_(image_.rect()), backColour_(backColour), foreColour_(foreColour), font_(font),
      drawWidth_(drawWidth < 1 ? 1 : drawWidth) {
    image_.fill(toQRgb(backColour_));
}

QRect PictureBox::drawableArea() const {
    return persistent() ? image_.rect() : visible_;
}

void PictureBox::setVisibleArea(const QRect& area) {
    const QRect clipped = area.intersected(image_.rect());
    if (!persistent() && clipped != visible_) {
        // What leaves the view is lost; what comes into view was lost already.
        const QRgb back = toQRgb(backColour_);
        const int width = image_.width();
        for (int y = 0; y < image_.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
            if (clipped.isEmpty() || y < clipped.top() || y > clipped.bottom()) {
                std::fill(row, row + width, back);
                continue;
            }
            std::fill(row, row + clipped.left(), back);
            std::fill(row + clipped.right() + 1, row + width, back);
        }
        changed();
    }
    visible_ = clipped;
}

void PictureBox::cls() {
    image_.fill(toQRgb(backColour_));
    currentX_ = 0;
    currentY_ = 0;
    changed();
}

void PictureBox::drawSegment(float x1, float y1, float x2, float y2, OleColour colour) {
    raster::drawLine(image_, QPointF(x1, y1), QPointF(x2, y2), drawWidth_, toQRgb(colour),
                     drawableArea());
    currentX_ = x2;
    currentY_ = y2;
    changed();
}

void PictureBox::line(float x1, float y1, float x2, float y2) {
    drawSegment(x1, y1, x2, y2, foreColour_);
}

void PictureBox::lineTo(float x2, float y2) {
    drawSegment(currentX_, currentY_, x2, y2, foreColour_);
}

void PictureBox::lineStep(float x1, float y1, float dx, float dy, OleColour colour) {
    drawSegment(x1, y1, x1 + dx, y1 + dy, colour);
}

int PictureBox::textHeight() const {
    return QFontMetrics(canvasFont(font_)).height();
}

void PictureBox::print(const QString& text) {
    const QFont font = canvasFont(font_);
    const QFontMetrics metrics(font);
    {
        QPainter painter(&image_);
        painter.setClipRect(drawableArea());
        painter.setFont(font);
        painter.setPen(QColor(toQRgb(foreColour_)));
        painter.drawText(QPointF(currentX_, currentY_ + metrics.ascent()), text);
    }
    // Like a print that ends its line: the next one starts on the following line.
    currentX_ = 0;
    currentY_ += static_cast<float>(metrics.height());
    changed();
}

void PictureBox::printNumber(double value) {
    print(conv::numberText(value) + u' ');
}

void PictureBox::floodFillBorder(int x, int y, OleColour border) {
    if (fillStyle_ != Solid)
        return; // a hollow brush paints nothing
    if (raster::floodFillBorder(image_, QPoint(x, y), toQRgb(border), toQRgb(fillColour_),
                                drawableArea()) > 0)
        changed();
}

} // namespace kansu
