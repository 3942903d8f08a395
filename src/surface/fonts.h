#pragma once

#include <QFont>
#include <QString>

namespace kansu {

// A control's font as the layout gives it: the design face at a point size, bold or not.
struct FontSpec {
    double points = 9.0;
    bool bold = false;
    bool operator==(const FontSpec&) const = default;
};

// The design face where the system has it, otherwise the metric-compatible IPA P Gothic, then any
// Japanese gothic. Sized in pixels, a point being 4/3 pixel, so the layout holds at every dpi.
QFont designFont(const FontSpec& wanted);

// The same font for drawing into a picture box's image: aliased, so every pixel is in the exact
// colour and text printed again in the back colour erases it without a trace.
QFont canvasFont(const FontSpec& wanted);

// Pixel size of a font of the given points.
int pixelSizeForPoints(double points);

} // namespace kansu
