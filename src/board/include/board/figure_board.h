#pragma once

#include "motion/motion.h"
#include "surface/controls.h"
#include "surface/picture_box.h"

namespace kansu::board {

using motion::Motion;

// The square's corners, as the initial screen sets them.
struct Square {
    PointF a, b, c, d;
};

// The board's lightweight controls, by role. They lie above the board's picture and are moved,
// never drawn.
struct Controls {
    ControlIndex vertexA, vertexB, vertexC, vertexD; // the labels "A", "B", "C", "Ｄ"
    ControlIndex lengthBC, lengthAB;                 // the two "８ cm"
    ControlIndex pLabel, qLabel, pDot, qDot;
    ControlIndex areaLabel, areaSquared; // "ｙ cm" and its raised "2"
    ControlIndex qPath, pPathOnBA, pPathOnAD;
    ControlIndex hint;
};

// The figure board: the square ABCD, triangle BQP and its shading drawn on the picture box, the
// grid drawn over them, and the labels, dots, travelled paths and hint line placed above them.
class FigureBoard {
public:
    FigureBoard(ControlModel& controls, Controls roles, PictureBox picture);

    const PictureBox& picture() const { return picture_; }
    void setVisibleArea(const Rect& area) { picture_.setVisibleArea(area); }
    const Square& square() const { return square_; }

    // The initial screen: the square's corners, the figure for the motion, every label and dot in
    // its starting place, the overlays parked and the area label hidden.
    void reset(const Motion& now, bool shaded);
    // Clears the picture and draws the square and triangle BQP, shaded when asked and there is
    // room; shows or hides the area label accordingly.
    void redrawFigure(const Motion& now, bool shaded);
    // The 1 cm grid over whatever the picture shows.
    void drawGrid();
    // The labels and dots of P and Q.
    void placeMarkers(const Motion& now);
    // The distance each point has travelled, as coloured segments along the sides.
    void placePaths(const Motion& now);
    void parkPaths();
    // The area label inside the triangle.
    void placeAreaLabel(const Motion& now);
    // The height of the triangle over its base BQ.
    void placeHint(const Motion& now);
    void parkHint();

private:
    ControlModel& controls_;
    Controls roles_;
    PictureBox picture_;
    Square square_;
};

} // namespace kansu::board
