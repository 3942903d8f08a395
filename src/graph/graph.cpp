#include "graph/graph.h"

#include "surface/conversions.h"

#include <cmath>

namespace kansu::graph {

using motion::secondsPerStep;

namespace {

// The graph's origin on the picture, and the side of a cell of its grid.
constexpr double originX = 35, originY = 495, cell = 28;

// The smallest round step that leaves no more than the cells there is room for.
double stepFor(double largest, int room) {
    static constexpr double steps[] = {0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000};
    for (const double step : steps)
        if (std::floor(largest / step + 1e-9) + 1 <= room)
            return step;
    return steps[std::size(steps) - 1];
}

} // namespace

Scale Scale::of(const motion::Course& course) {
    Scale s;
    s.xStep = stepFor(course.endSeconds(), 9);
    s.yStep = stepFor(course.largestArea(), 17);
    s.xCells = static_cast<int>(std::floor(course.endSeconds() / s.xStep + 1e-9)) + 1;
    s.yCells = static_cast<int>(std::floor(course.largestArea() / s.yStep + 1e-9)) + 1;
    return s;
}

void Graph::setCourse(std::shared_ptr<const motion::Course> course) {
    course_ = std::move(course);
    scale_ = Scale::of(*course_);
}

void Graph::drawAxes(Background background) {
    PictureBox& g = picture_;
    const OleColour green = paletteColour(2);
    const Scale& s = scale_;
    // The grid's lines run a little past its last cells, as far as the axes do.
    const float across = static_cast<float>(cell * s.xCells + 8);
    const float up = static_cast<float>(-(cell * s.yCells + 9));
    g.setDrawWidth(1);
    if (background == Background::Cleared)
        g.cls();
    // Grid first, so the axes lie on top of it: a line a step of y, and one a step of x.
    for (int k = 0; k <= s.yCells; ++k)
        g.lineStep(originX, static_cast<float>(originY - cell * k), across, 0, green);
    for (int k = 0; k <= s.xCells; ++k)
        g.lineStep(static_cast<float>(originX + cell * k), originY, 0, up, green);
    // Each axis one pixel outside the first grid line, so it shows two pixels thick.
    g.lineStep(originX - 1, originY + 1, across, 0, green);
    g.lineStep(originX - 1, originY, 0, up, green);

    // A number every second line across, every fifth up.
    g.setForeColour(paletteColour(0));
    const double xMost = s.xCells * s.xStep + 1e-9, yMost = s.yCells * s.yStep + 1e-9;
    // None on the last line across, where "(秒)" stands.
    for (int k = 1; 2 * k * s.xStep < xMost - 2e-9; ++k) {
        const double x = 2 * k * s.xStep;
        g.setCurrentY(500);
        g.setCurrentX(static_cast<float>(columnOf(x) - 15));
        g.print(conv::fullWidth(conv::numberText(x)));
    }
    g.setCurrentX(static_cast<float>(originX + cell * s.xCells - 7));
    g.setCurrentY(500);
    g.print("(秒)");
    g.setCurrentX(25);
    g.setCurrentY(500);
    g.print("Ｏ");
    // None on the top line, where "(cm²)" stands.
    for (int m = 1; 5 * m * s.yStep < yMost - 2e-9; ++m) {
        const double y = 5 * m * s.yStep;
        g.setCurrentX(0);
        g.setCurrentY(static_cast<float>(rowOf(y) - 5));
        g.print(conv::fullWidth(conv::numberText(y)));
    }
    // The raised 2 of cm² falls into the blank of "(cm )". In a face wider than the design's,
    // "(cm" is condensed, as captions too wide for their labels are, so that it ends where the 2
    // begins; the closing bracket keeps its place after the blank.
    constexpr float squaredX = 22;
    // Above the grid's top line.
    const auto captionY = static_cast<float>(originY - cell * s.yCells - 14);
    const int opening = g.textWidth("(cm");
    g.setCurrentX(0);
    g.setCurrentY(captionY);
    if (opening > squaredX) {
        g.print("(cm", squaredX / opening);
        g.setCurrentX(static_cast<float>(g.textWidth("(cm ")));
        g.setCurrentY(captionY);
        g.print(")");
    } else {
        g.print("(cm )");
    }
    g.setCurrentX(squaredX);
    g.setCurrentY(captionY - 3);
    g.print("2");
}

double Graph::columnOf(double seconds) const {
    return originX + cell / scale_.xStep * seconds;
}

double Graph::rowOf(double area) const {
    return originY - cell / scale_.yStep * area;
}

void Graph::restartTrace() {
    // From the point of time 0: the origin, where y starts at 0.
    lastX_ = columnOf(0);
    lastY_ = conv::toInt16(rowOf(course_->areaAt(0))).value_or(static_cast<std::int16_t>(originY));
    lastTime_ = 0;
}

void Graph::plotSegment(bool atStart, double shownSeconds, Pen pen) {
    if (atStart)
        return;
    double t = shownSeconds;
    // The time box holds 0.1 .. the end after every step; only an edit by hand puts anything
    // else there. Such a time has no segment on the graph: draw nothing and keep the last point.
    if (!(t >= secondsPerStep && t <= course_->endSeconds()))
        return;

    PictureBox& g = picture_;
    const bool erase = pen == Pen::Erase;
    g.setDrawWidth(4);
    // In the colour of the piece of y's rule the time falls in, by that piece's rule; erasing
    // takes the segment back to the point a step earlier, by the same rule.
    const motion::Piece& piece = course_->pieceAt(t);
    g.setForeColour(erase ? colours::white : paletteColour(piece.colour));
    if (erase)
        t -= secondsPerStep;
    const double gx = columnOf(t), gy = rowOf(piece.at(t));
    // From the rounded row of the last point to the exact row of the new one.
    g.line(static_cast<float>(lastX_), static_cast<float>(lastY_), static_cast<float>(gx),
           static_cast<float>(gy));
    lastX_ = gx;
    lastY_ = conv::toInt16(gy).value_or(lastY_);
    lastTime_ = t;
    g.setDrawWidth(1);
    drawAxes(Background::OverTrace);
}

} // namespace kansu::graph
