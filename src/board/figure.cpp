#include "board/figure_board.h"
#include "board/grid.h"
#include "surface/conversions.h"

namespace kansu::board {

namespace {
float f(double value) {
    return static_cast<float>(value);
}
} // namespace

FigureBoard::FigureBoard(ControlModel& controls, Controls roles, PictureBox& picture,
                         std::shared_ptr<const motion::Course> course)
    : controls_(controls), roles_(roles), picture_(picture), course_(std::move(course)) {}

double FigureBoard::turn() const {
    return course_->counterAt(0, course_->points()[0].legs[0].end);
}

void FigureBoard::redrawFigure(const Motion& now, bool shaded) {
    const Square& s = square_;
    PictureBox& board = picture_;

    board.cls();
    board.line(f(s.a.x), f(s.a.y), f(s.b.x), f(s.b.y));
    board.lineTo(f(s.c.x), f(s.c.y));
    board.lineTo(f(s.d.x), f(s.d.y));
    board.lineTo(f(s.a.x), f(s.a.y));

    board.line(f(s.b.x), f(s.b.y), f(now.q().x), f(now.q().y));
    board.lineTo(f(now.p().x), f(now.p().y));
    board.lineTo(f(s.b.x), f(s.b.y));

    // Nothing to shade while P, Q and B coincide.
    if (shaded && now.p().y != s.b.y) {
        board.setFillStyle(PictureBox::FillStyle::Solid);
        board.setFillColour(paletteColour(14));
        // The fill stops at the black of the triangle's sides, so the seed must lie inside it:
        // two pixels inside corner B, fixed whatever P does, or on the row above the base just
        // left of the vertical through P.
        const PointF b = course_->vertexOnBoard('B');
        const int seedRow = static_cast<int>(b.y) - 2;
        if (climbing(now)) {
            board.floodFillBorder(static_cast<int>(b.x) + 2, seedRow, board.foreColour());
        } else if (const auto x = conv::toInt32(now.p().x - 2)) {
            board.floodFillBorder(*x, seedRow, board.foreColour());
        }
    }
    board.setFillStyle(PictureBox::FillStyle::Transparent);

    const bool showArea = shaded && now.counter() > 0 && now.counter() <= course_->endCounter();
    controls_.setVisible(roles_.areaLabel, showArea);
    controls_.setVisible(roles_.areaSquared, showArea);
}

void FigureBoard::drawGrid() {
    drawGridOver(picture_, *course_);
}

} // namespace kansu::board
