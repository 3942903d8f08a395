#pragma once

#include "motion/problem.h"
#include "surface/geometry.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

// What follows from a problem, worked out once: where its figure lies on the figure board, where
// each moving point is at every moment, when the motion ends, and the area y as a rule of x in
// pieces. Everything the views show of a problem comes from here.
namespace kansu::motion {

// The lesson's clock: the travel counter moves 4 for every step of 0.1 s, 40 for a second. (In
// the lesson's own square it counts the pixels Q has travelled.)
constexpr double counterPerSecond = 40;
constexpr double counterPerStep = 4;
constexpr double secondsAt(double counter) {
    return counter / counterPerSecond;
}
constexpr double secondsPerStep = secondsAt(counterPerStep);

// The board's part for the figure: a square of 320 pixels, 100 from the board's left and 50
// from its top, the labels around it.
constexpr double figureLeft = 100, figureTop = 50, figureSide = 320;

// A side a point runs along, in pixels of the board and in centimetres: its two ends, the unit
// step along it, and how far along the route it starts and ends.
struct Leg {
    char fromName = 'A', toName = 'B';
    PointF from, to, direction;
    double start = 0, end = 0; // pixels along the route
    PointF fromCm, toCm, directionCm;
    double startCm = 0, endCm = 0;
};

struct PointCourse {
    char name = 'P';
    char from = 'A';
    std::vector<Leg> legs;
    double speed = 1;            // cm/s
    double pixelsPerCounter = 1; // how far it goes on the board for a unit of the counter
};

// A piece of the rule for y: y = a x² + b x + c for from < x ≤ to (the first piece from 0). A new
// piece begins where a point turns a corner or arrives and the rule changes.
struct Piece {
    double from = 0, to = 0;
    double a = 0, b = 0, c = 0;
    int colour = 9; // its palette colour, in the graph and the table
    double at(double x) const { return a * x * x + b * x + c; }
};

// The area y is a triangle's whose base stays on one line, from the first two corners named to
// the apex: the height from the apex to that line is the hint.
struct Height {
    char baseFrom = 'B', baseTo = 'C';
    char apex = 'P';
};

class Course {
public:
    explicit Course(Problem problem);

    const Problem& problem() const { return problem_; }

    // ---- The figure on the board ------------------------------------------------------------
    // Whole pixels to the centimetre, as large as lets the figure fit the board's square.
    int pixelsPerCm() const { return pixelsPerCm_; }
    PointF onBoard(double xCm, double yCm) const;
    PointF vertexOnBoard(char name) const;
    // The figure's bounding box on the board.
    double left() const { return left_; }
    double right() const { return right_; }
    double top() const { return top_; }
    double bottom() const { return bottom_; }

    // ---- The motion ---------------------------------------------------------------------------
    double endCounter() const { return endCounter_; }
    double endSeconds() const { return secondsAt(endCounter_); }
    const std::vector<PointCourse>& points() const { return points_; }
    // Where a point is on the board at a value of the counter, and on which leg of its route
    // (at a corner, on the leg that ends there).
    PointF pointOnBoard(std::size_t point, double counter) const;
    std::size_t legAt(std::size_t point, double counter) const;
    // The counter at which a point has run a number of pixels.
    double counterAt(std::size_t point, double pixels) const;
    // Where a point is in centimetres after a time, worked out from the time alone.
    PointF pointAt(std::size_t point, double seconds) const;
    // The vertex a point stands on after a time, if it stands on one.
    std::optional<char> vertexAt(std::size_t point, double seconds) const;

    // ---- The area -----------------------------------------------------------------------------
    const std::vector<Piece>& pieces() const { return pieces_; }
    const Piece& pieceAt(double seconds) const;
    // y after a time, by the rule of its piece.
    double areaAt(double seconds) const { return pieceAt(seconds).at(seconds); }
    // y as the polygon's area from the points' places, for checking the rules.
    double polygonAreaAt(double seconds) const;
    double largestArea() const { return largestArea_; }
    const std::optional<Height>& height() const { return height_; }

private:
    void placeFigure();
    void laySides();
    void findPieces();
    void findHeight();
    PointF cornerAt(char name, double seconds) const;

    Problem problem_;
    int pixelsPerCm_ = 40;
    PointF origin_;
    double left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
    std::vector<PointCourse> points_;
    double endCounter_ = 0;
    std::vector<Piece> pieces_;
    double largestArea_ = 0;
    std::optional<Height> height_;
};

} // namespace kansu::motion
