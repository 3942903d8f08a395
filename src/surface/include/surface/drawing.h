#pragma once

#include "surface/font.h"
#include "surface/geometry.h"
#include "surface/image.h"

#include <string>

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
    PointF from, to;
    int width = 1;
    Rgb colour = 0;
    Rgb border = 0;
    std::string text;
    FontSpec font;
    double squeeze = 1; // text condensed horizontally by this factor, at most 1
    Rect area;          // where the operation may draw; for Keep, what stays

    bool operator==(const DrawOp&) const = default;
};

// Applies the operation to an image that shows the box at scale device pixels per box pixel.
// At scale 1 this is the box's own image. A pen of w pixels becomes round(w * scale) device pixels
// on the same centre line, text is set at the scaled size, and a fill starts from the device pixel
// under the centre of its seed, so the picture at any scale has the geometry of the 1x one.
// Returns true when it changed anything.
bool applyDrawOp(Image& target, const DrawOp& op, double scale, Rgb back);

// The metrics of a font's printed lines at a device scale.
LineMetrics textMetrics(const FontSpec& font, double scale = 1);

} // namespace kansu
