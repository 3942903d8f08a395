#include "board/figure_board.h"
#include "surface/conversions.h"

namespace kansu::board {

namespace {
// Two pixels inside corner B, fixed whatever the corners hold.
constexpr int seedX = static_cast<int>(motion::cornerB.x) + 2;
constexpr int seedRow = static_cast<int>(motion::cornerB.y) - 2;

float f(double value) {
    return static_cast<float>(value);
}
} // namespace

FigureBoard::FigureBoard(ControlModel& controls, Controls roles, PictureBox picture)
    : controls_(controls), roles_(roles), picture_(std::move(picture)) {}

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
        // by corner B, or on the row above the base just left of the vertical through P.
        switch (now.leg()) {
        case motion::Leg::BA:
            board.floodFillBorder(seedX, seedRow, board.foreColour());
            break;
        case motion::Leg::AD:
            if (const auto x = conv::toInt32(now.p().x - 2))
                board.floodFillBorder(*x, seedRow, board.foreColour());
            break;
        }
    }
    board.setFillStyle(PictureBox::FillStyle::Transparent);

    const bool showArea = shaded && now.counter() > 0 && now.counter() <= motion::endCounter;
    controls_.setVisible(roles_.areaLabel, showArea);
    controls_.setVisible(roles_.areaSquared, showArea);
}

void FigureBoard::drawGrid() {
    PictureBox& board = picture_;
    board.setDrawWidth(1);
    // One pixel inside the square's sides at both ends; rows first, then columns.
    for (int i = 1; i <= 7; ++i)
        board.lineStep(101, static_cast<float>(50 + 40 * i), 318, 0, paletteColour(0));
    for (int i = 1; i <= 7; ++i)
        board.lineStep(static_cast<float>(100 + 40 * i), 51, 0, 318, paletteColour(0));
    board.setDrawWidth(3);
}

} // namespace kansu::board
