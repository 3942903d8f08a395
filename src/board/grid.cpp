#include "app/form1.h"

namespace kansu {

void Form1::DrawGrid() {
    PictureBox& board = kokuban_;
    board.setDrawWidth(1);
    // One pixel inside the square's sides at both ends; rows first, then columns.
    for (int i = 1; i <= 7; ++i)
        board.lineStep(101, static_cast<float>(50 + 40 * i), 318, 0, paletteColour(0));
    for (int i = 1; i <= 7; ++i)
        board.lineStep(static_cast<float>(100 + 40 * i), 51, 0, 318, paletteColour(0));
    board.setDrawWidth(3);
}

void Form1::Check1_Click() {
    if (ticked(ControlId::Check1))
        DrawGrid();
    else
        RedrawFigure();
}

} // namespace kansu
