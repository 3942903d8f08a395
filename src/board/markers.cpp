#include "board/figure_board.h"

namespace kansu::board {

namespace {
// Overlay lines not in use lie on this row, below the visible board.
constexpr double parkedRow = 800;
} // namespace

void FigureBoard::reset(const Motion& now, bool shaded) {
    square_ = {course_->vertexOnBoard('A'), course_->vertexOnBoard('B'),
               course_->vertexOnBoard('C'), course_->vertexOnBoard('D')};
    redrawFigure(now, shaded);

    const Square& s = square_;
    auto place = [this](ControlIndex label, double left, double top) {
        controls_.setLeft(label, left);
        controls_.setTop(label, top);
    };
    place(roles_.vertexA, s.a.x - 25, s.a.y - 35);
    place(roles_.vertexB, s.b.x - 25, s.b.y);
    place(roles_.vertexC, s.c.x + 5, s.c.y);
    place(roles_.vertexD, s.d.x + 5, s.d.y - 35);
    place(roles_.lengthBC, (s.b.x + s.c.x) / 2 - 40, s.b.y + 50);
    place(roles_.lengthAB, s.a.x - 80, (s.a.y + s.b.y) / 2 - 10);
    // "Ｐ" three pixels higher than the steps would put it at time 0.
    place(roles_.pLabel, s.b.x - 25, s.b.y - 35 - 3);
    place(roles_.qLabel, s.b.x + 4, s.b.y);
    place(roles_.pDot, s.b.x - 4, s.b.y - 4);
    place(roles_.qDot, s.b.x - 4, s.b.y - 4);

    parkPaths();
    parkHint();
    controls_.setVisible(roles_.areaLabel, false);
    controls_.setVisible(roles_.areaSquared, false);
}

void FigureBoard::placeMarkers(const Motion& now) {
    const Square& s = square_;
    const double d = now.counter();
    // Labels move at 0.9 times the speed of their points; the dots sit on the points.
    controls_.setTop(roles_.qLabel, s.b.y);
    controls_.setLeft(roles_.qLabel, s.b.x + 4 + 0.9 * d);
    controls_.setTop(roles_.qDot, s.b.y - 4);
    controls_.setLeft(roles_.qDot, s.b.x - 4 + d);
    if (climbing(now)) {
        controls_.setTop(roles_.pLabel, s.b.y - 35 - 0.9 * (2 * d));
        controls_.setLeft(roles_.pLabel, s.b.x - 25);
        controls_.setTop(roles_.pDot, s.b.y - 4 - 2 * d);
        controls_.setLeft(roles_.pDot, s.b.x - 4);
    } else {
        controls_.setTop(roles_.pLabel, s.a.y - 35);
        controls_.setLeft(roles_.pLabel, s.a.x - 4 + 8 + 0.9 * (2 * (d - turn())));
        controls_.setTop(roles_.pDot, s.a.y - 4);
        controls_.setLeft(roles_.pDot, s.a.x - 4 + (2 * (d - turn())));
    }
}

void FigureBoard::placeAreaLabel(const Motion& now) {
    const double d = now.counter();
    // Hidden while the triangle is too small to hold it; then it rises with P up side BA, and
    // follows P along AD.
    if (d <= 30) {
        controls_.setVisible(roles_.areaLabel, false);
        controls_.setVisible(roles_.areaSquared, false);
        return;
    }
    if (climbing(now)) {
        controls_.setTop(roles_.areaLabel, 330 - (d - 50));
        controls_.setLeft(roles_.areaLabel, 110);
        controls_.setTop(roles_.areaSquared, 330 - (d - 50));
        controls_.setLeft(roles_.areaSquared, 157);
    } else {
        controls_.setTop(roles_.areaLabel, 220);
        controls_.setLeft(roles_.areaLabel, 110 + 1.9 * (d - turn()));
        controls_.setTop(roles_.areaSquared, 220);
        controls_.setLeft(roles_.areaSquared, 157 + 1.9 * (d - turn()));
    }
}

void FigureBoard::placePaths(const Motion& now) {
    const Square& s = square_;
    controls_.setLine(roles_.qPath, s.b.x, s.b.y, now.q().x, now.q().y);
    if (climbing(now)) {
        // P's way along AD lies out of sight, below the board, until P turns the corner.
        controls_.setLine(roles_.pPathOnBA, s.b.x, s.b.y, now.p().x, now.p().y);
        controls_.setLine(roles_.pPathOnAD, s.a.x, parkedRow, now.p().x, parkedRow);
    } else {
        controls_.setLine(roles_.pPathOnBA, s.b.x, s.b.y, s.a.x, s.a.y);
        controls_.setLine(roles_.pPathOnAD, s.a.x, s.a.y, now.p().x, now.p().y);
    }
}

void FigureBoard::parkPaths() {
    for (ControlIndex path : {roles_.qPath, roles_.pPathOnBA, roles_.pPathOnAD})
        controls_.setLine(path, 64, parkedRow, 83, parkedRow);
}

void FigureBoard::placeHint(const Motion& now) {
    // Beside side BA while P climbs it (the height is that side itself), beside side CD at the
    // very end, on the vertical through P in between.
    double x = now.p().x;
    if (climbing(now))
        x -= 4;
    else if (now.atEnd())
        x += 4;
    controls_.setLine(roles_.hint, x, square_.b.y, x, now.p().y);
}

void FigureBoard::parkHint() {
    controls_.setLine(roles_.hint, 25, parkedRow, 45, parkedRow);
}

} // namespace kansu::board
