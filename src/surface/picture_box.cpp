#include "surface/picture_box.h"

#include "surface/conversions.h"

#include <cmath>

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

namespace {
constexpr std::size_t maxKeptOps = 50000;
} // namespace

void PictureBox::record(DrawOp op) {
    if (applyDrawOp(image_, op, 1, toQRgb(backColour_)))
        changed();
    if (ops_.size() >= maxKeptOps) {
        // Fold the history into the picture as it stands; scaled views start again from it.
        base_ = image_;
        ops_.clear();
        ++generation_;
        return;
    }
    ops_.push_back(std::move(op));
}

QImage PictureBox::imageAt(qreal scale) const {
    if (scale == 1 || scale <= 0)
        return image_;
    Scaled& s = scaled_;
    if (s.scale != scale || s.generation != generation_) {
        const QSize size(static_cast<int>(std::ceil(image_.width() * scale)),
                         static_cast<int>(std::ceil(image_.height() * scale)));
        if (base_.isNull()) {
            s.image = QImage(size, QImage::Format_RGB32);
            s.image.fill(toQRgb(backColour_));
        } else {
            s.image = base_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
        }
        s.scale = scale;
        s.generation = generation_;
        s.applied = 0;
    }
    for (; s.applied < ops_.size(); ++s.applied)
        applyDrawOp(s.image, ops_[s.applied], scale, toQRgb(backColour_));
    QImage result = s.image;
    result.setDevicePixelRatio(scale);
    return result;
}

void PictureBox::setVisibleArea(const QRect& area) {
    const QRect clipped = area.intersected(image_.rect());
    if (!persistent() && clipped != visible_) {
        // What leaves the view is lost; what comes into view was lost already.
        DrawOp keep;
        keep.kind = DrawOp::Kind::Keep;
        keep.area = clipped;
        record(std::move(keep));
    }
    visible_ = clipped;
}

void PictureBox::cls() {
    image_.fill(toQRgb(backColour_));
    ops_.clear();
    base_ = QImage();
    ++generation_;
    currentX_ = 0;
    currentY_ = 0;
    changed();
}

void PictureBox::drawSegment(float x1, float y1, float x2, float y2, OleColour colour) {
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.from = QPointF(x1, y1);
    op.to = QPointF(x2, y2);
    op.width = drawWidth_;
    op.colour = toQRgb(colour);
    op.area = drawableArea();
    record(std::move(op));
    currentX_ = x2;
    currentY_ = y2;
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
    return textLineHeight(font_);
}

void PictureBox::print(const QString& text) {
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.from = QPointF(currentX_, currentY_);
    op.text = text;
    op.font = font_;
    op.colour = toQRgb(foreColour_);
    op.area = drawableArea();
    record(std::move(op));
    // Like a print that ends its line: the next one starts on the following line.
    currentX_ = 0;
    currentY_ += static_cast<float>(textHeight());
}

void PictureBox::printNumber(double value) {
    print(conv::numberText(value) + u' ');
}

void PictureBox::floodFillBorder(int x, int y, OleColour border) {
    if (fillStyle_ != Solid)
        return; // a hollow brush paints nothing
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.from = QPointF(x, y);
    op.border = toQRgb(border);
    op.colour = toQRgb(fillColour_);
    op.area = drawableArea();
    record(std::move(op));
}

} // namespace kansu
