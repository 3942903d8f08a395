#pragma once

#include "surface/fonts.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

namespace kansu {

// One drawing operation of a picture box, in the box's own pixels. Kept so that the picture can be
// drawn again, sharp, at any device scale.
struct DrawOp {
    enum class Kind {
        Line, // from-to, width pixels wide, in colour
        Text, // text with its top-left corner at from, in colour and font
        Fill, // border-mode flood fill from the pixel at from, up to border, with colour
        Keep, // everything outside area is lost (back colour)
    };
    Kind kind = Kind::Line;
    QPointF from, to;
    int width = 1;
    QRgb colour = 0;
    QRgb border = 0;
    QString text;
    FontSpec font;
    QRect area; // where the operation may draw; for Keep, what stays
};

// Applies the operation to an image that shows the box at scale device pixels per box pixel.
// At scale 1 this is the box's own image. A pen of w pixels becomes round(w * scale) device pixels
// on the same centre line, text is set at the scaled size, and a fill starts from the device pixel
// under the centre of its seed, so the picture at any scale has the geometry of the 1x one.
// Returns true when it changed anything.
bool applyDrawOp(QImage& target, const DrawOp& op, qreal scale, QRgb back);

// The font metrics of the box's text at scale 1: ascent and line height.
int textLineHeight(const FontSpec& font);

} // namespace kansu
