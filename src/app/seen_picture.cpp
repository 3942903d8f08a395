#include "app/seen_picture.h"

#include "surface/drawing.h"
#include "surface/font.h"

#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

int device(double v, double scale) {
    return static_cast<int>(std::lround(v * scale));
}

void drawLabel(Image& target, const Control& c, double scale) {
    const Rect box{device(c.left, scale), device(c.top, scale), device(c.width, scale),
                   device(c.height, scale)};
    const Rect clip = box.intersected(target.rect());
    if (clip.isEmpty())
        return;
    if (!c.transparentBack) {
        const Rgb back = toRgb(c.backColour);
        for (int y = clip.top(); y <= clip.bottom(); ++y)
            std::fill(target.row(y) + clip.left(), target.row(y) + clip.right() + 1, back);
    }
    const Typeface& face = Typeface::lesson();
    const int size = std::max(1, device(pixelSizeForPoints(c.font.points), scale));
    const int wide = face.advance(c.caption, size, c.font.bold);
    const double squeeze = wide > box.width && wide > 0 ? double(box.width) / wide : 1;
    face.draw(target, c.caption, box.x, box.y + face.metrics(size).ascent, size, c.font.bold,
              toRgb(c.foreColour.value_or(colours::windowText)), clip, squeeze);
}

// A pen of a width from one point to another, in the pictures' own convention.
void drawPen(Image& target, PointF from, PointF to, int width, OleColour colour, double scale) {
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.from = from;
    op.to = to;
    op.width = width;
    op.colour = toRgb(colour);
    op.area = {0, 0, static_cast<int>(std::ceil(target.width() / scale)),
               static_cast<int>(std::ceil(target.height() / scale))};
    applyDrawOp(target, op, scale, op.colour);
}

void drawDot(Image& target, const Control& c, double scale) {
    const double w = std::round(c.width), h = std::round(c.height);
    const int diameter = static_cast<int>(std::min(w, h));
    if (diameter <= 0)
        return;
    // The centre between pixels; an odd pen is placed by its middle pixel.
    PointF centre{std::round(c.left) + w / 2, std::round(c.top) + h / 2};
    auto disc = [&](int d, OleColour colour) {
        const PointF at = d % 2 != 0 ? PointF{centre.x - 0.5, centre.y - 0.5} : centre;
        drawPen(target, at, at, d, colour, scale);
    };
    const OleColour outline = c.foreColour.value_or(colours::black);
    disc(diameter, outline);
    if (outline != c.backColour && diameter > 2)
        disc(diameter - 2, c.backColour);
}

} // namespace

void drawLightweightControls(Image& target, std::span<const Control> controls, Container container,
                             double scale) {
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const Control& c = *it;
        if (c.container != container || !c.visible)
            continue;
        switch (c.kind) {
        case ControlKind::Label:
            drawLabel(target, c, scale);
            break;
        case ControlKind::Line:
            drawPen(target, {c.x1, c.y1}, {c.x2, c.y2}, c.lineWidth,
                    c.foreColour.value_or(colours::windowText), scale);
            break;
        case ControlKind::Shape:
            drawDot(target, c, scale);
            break;
        default:
            break;
        }
    }
}

} // namespace kansu
