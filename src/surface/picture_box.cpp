#include "surface/picture_box.h"

#include "surface/conversions.h"

#include <algorithm>
#include <cmath>

namespace kansu {

PictureBox::PictureBox(int clientWidth, int clientHeight, OleColour backColour,
                       OleColour foreColour, FontSpec font, int drawWidth, Memory memory,
                       std::size_t historyLimit)
    : width_(std::max(clientWidth, 0)), height_(std::max(clientHeight, 0)),
      history_(width_, height_, toRgb(backColour), historyLimit),
      memory_(memory), visible_{0, 0, width_, height_}, backColour_(backColour),
      foreColour_(foreColour), font_(font), drawWidth_(drawWidth < 1 ? 1 : drawWidth) {}

Rect PictureBox::drawableArea() const {
    return persistent() ? Rect{0, 0, width_, height_} : visible_;
}

void PictureBox::record(DrawOp op) {
    history_.add(std::move(op));
    changed();
}

const Image& PictureBox::imageAt(double scale) const {
    return history_.at(scale > 0 ? scale : 1);
}

void PictureBox::setVisibleArea(const Rect& area) {
    const Rect clipped = area.intersected(Rect{0, 0, width_, height_});
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
    history_.clear();
    currentX_ = 0;
    currentY_ = 0;
    changed();
}

void PictureBox::drawSegment(float x1, float y1, float x2, float y2, OleColour colour) {
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.from = {x1, y1};
    op.to = {x2, y2};
    op.width = drawWidth_;
    op.colour = toRgb(colour);
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
    return textMetrics(font_).height();
}

int PictureBox::textWidth(std::string_view text) const {
    return Typeface::lesson().advance(text, pixelSizeForPoints(font_.points), font_.bold);
}

void PictureBox::print(const std::string& text, double squeeze) {
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.from = {currentX_, currentY_};
    op.text = text;
    op.squeeze = std::clamp(squeeze, 0.0, 1.0);
    op.font = font_;
    op.colour = toRgb(foreColour_);
    op.area = drawableArea();
    record(std::move(op));
    // Like a print that ends its line: the next one starts on the following line.
    currentX_ = 0;
    currentY_ += static_cast<float>(textHeight());
}

void PictureBox::printNumber(double value) {
    print(conv::numberText(value) + ' ');
}

void PictureBox::floodFillBorder(int x, int y, OleColour border) {
    if (fillStyle_ != FillStyle::Solid)
        return; // a hollow brush paints nothing
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.from = {static_cast<double>(x), static_cast<double>(y)};
    op.border = toRgb(border);
    op.colour = toRgb(fillColour_);
    op.area = drawableArea();
    record(std::move(op));
}

} // namespace kansu
