#include "app/form1.h"
#include "surface/conversions.h"

namespace kansu {

namespace {
// Two pixels inside corner B, fixed whatever the vertices hold.
constexpr int seedX = 102;
constexpr int seedRow = 368;
} // namespace

void Form1::RedrawFigure() {
    using enum ControlId;
    const LessonVars& v = vars;
    const double m = v.michinori;
    PictureBox& board = kokuban_;
    auto f = [](double value) {
        return static_cast<float>(value);
    };

    board.cls();
    board.line(f(v.Ax), f(v.Ay), f(v.Bx), f(v.By));
    board.lineTo(f(v.Cx), f(v.Cy));
    board.lineTo(f(v.Dx), f(v.Dy));
    board.lineTo(f(v.Ax), f(v.Ay));

    board.line(f(v.Bx), f(v.By), f(v.Qx), f(v.Qy));
    board.lineTo(f(v.Px), f(v.Py));
    board.lineTo(f(v.Bx), f(v.By));

    if (ticked(Check6) && v.Py != v.By) {
        board.setFillStyle(PictureBox::FillStyle::Solid);
        board.setFillColour(paletteColour(14));
        if (m <= 160) {
            board.floodFillBorder(seedX, seedRow, board.foreColour());
        } else if (m > 160 && m <= 320) {
            if (const auto x = conv::toInt32(v.Px - 2))
                board.floodFillBorder(*x, seedRow, board.foreColour());
        }
    }
    board.setFillStyle(PictureBox::FillStyle::Transparent);

    const bool showArea = ticked(Check6) && m > 0 && m <= 320;
    control(Label4(6)).visible = showArea;
    control(Label4(7)).visible = showArea;
}

} // namespace kansu
