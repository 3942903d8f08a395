#pragma once

#include "board/board.h"
#include "surface/controls.h"

namespace kansu::board {

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

// The board of the lesson's own square as its design has it: the square ABCD and triangle BQP
// drawn on the picture, and the labels, dots, paths and hint as controls above it, moved by the
// design's own rules (labels at 0.9 times their points' speed, the hint beside a side it would
// lie on). Its corners, the turn of P at A and the end come from the problem.
class FigureBoard : public Board {
public:
    FigureBoard(ControlModel& controls, Controls roles, PictureBox& picture,
                std::shared_ptr<const motion::Course> course);

    const Square& square() const override { return square_; }

    void reset(const Motion& now, bool shaded) override;
    void redrawFigure(const Motion& now, bool shaded) override;
    void drawGrid() override;
    void placeMarkers(const Motion& now) override;
    void placePaths(const Motion& now) override;
    void parkPaths() override;
    void placeAreaLabel(const Motion& now) override;
    void placeHint(const Motion& now) override;
    void parkHint() override;

private:
    // P climbs BA for the first leg of its route and runs along AD for the second.
    static bool climbing(const Motion& now) { return now.legOf(0) == 0; }
    // The counter at which P turns at A.
    double turn() const;

    ControlModel& controls_;
    Controls roles_;
    PictureBox& picture_;
    std::shared_ptr<const motion::Course> course_;
    Square square_;
};

} // namespace kansu::board
