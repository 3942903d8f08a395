#pragma once

#include "surface/geometry.h"
#include "surface/image.h"

// Aliased drawing in exact colours on a 32-bit image, with the pixel rules the figure's flood fill
// depends on. Every function touches only the pixels inside clip.
namespace kansu::raster {

// A line from a to b, width pixels wide, end points included.
// A one-pixel line joins the rounded end points with a Bresenham line. A wider pen is round:
// every pixel whose sample point lies within width/2 of the segment is painted (the segment's body
// together with a disc of the pen's width at each end). Odd widths sample at the pixel's own
// coordinates, even widths half a pixel further on, so a w-pixel pen covers exactly w rows or
// columns across a horizontal or vertical line.
void drawLine(Image& image, PointF a, PointF b, int width, Rgb colour, const Rect& clip);

// Border-mode flood fill: from seed, paints every 4-connected pixel that does not have exactly the
// border colour. Paints nothing when the seed lies outside clip or has the border colour.
// Returns the number of pixels painted.
long floodFillBorder(Image& image, Point seed, Rgb border, Rgb fill, const Rect& clip);

} // namespace kansu::raster
