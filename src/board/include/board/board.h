#pragma once

#include "motion/motion.h"
#include "surface/picture_box.h"

namespace kansu::board {

using motion::Motion;

// The corners A, B, C and D of the figure on the board as its initial screen placed them (a
// figure without one of them gives 0, 0 for it).
struct Square {
    PointF a, b, c, d;
};

// The figure board: the figure and the area's polygon with its shading drawn on the picture box,
// the grid drawn over them, and the labels, dots, travelled paths and hint above them. The lesson
// asks for each in the design's order; a board of another problem may draw them all at once when
// the action is over (settle).
class Board {
public:
    virtual ~Board() = default;

    // The initial screen: the figure for the motion, every label and dot in its starting place,
    // the overlays parked and the area label hidden.
    virtual void reset(const Motion& now, bool shaded) = 0;
    // Clears the picture and draws the figure and the area's polygon, shaded when asked and there
    // is room; shows or hides the area label accordingly.
    virtual void redrawFigure(const Motion& now, bool shaded) = 0;
    // The 1 cm grid over whatever the picture shows.
    virtual void drawGrid() = 0;
    // The labels and dots of the moving points.
    virtual void placeMarkers(const Motion& now) = 0;
    // The distance each point has travelled, as coloured segments along the sides.
    virtual void placePaths(const Motion& now) = 0;
    virtual void parkPaths() = 0;
    // The area label inside the polygon.
    virtual void placeAreaLabel(const Motion& now) = 0;
    // The height of the triangle over its base.
    virtual void placeHint(const Motion& now) = 0;
    virtual void parkHint() = 0;
    // What was asked since the last time, drawn now where it waits for the end of an action.
    virtual void settle() {}

    virtual const Square& square() const = 0;
};

} // namespace kansu::board
