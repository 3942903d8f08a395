#include "board/grid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kansu::board {

namespace {

// Where a level line (across) or an upright one crosses the figure's outline, in order along it.
std::vector<double> crossings(const motion::Course& course, double at, bool across) {
    const auto& shape = course.problem().shape;
    std::vector<double> found;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const PointF a = course.vertexOnBoard(shape[i]);
        const PointF b = course.vertexOnBoard(shape[(i + 1) % shape.size()]);
        const double a0 = across ? a.y : a.x, b0 = across ? b.y : b.x;
        const double a1 = across ? a.x : a.y, b1 = across ? b.x : b.y;
        if ((a0 > at) != (b0 > at))
            found.push_back(a1 + (at - a0) * (b1 - a1) / (b0 - a0));
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

void drawGridOver(PictureBox& board, const motion::Course& course) {
    const double s = course.pixelsPerCm();
    const double width = course.right() - course.left(), height = course.bottom() - course.top();
    // Whole centimetres counted from the figure's bottom left corner, strictly inside it.
    const int rows = static_cast<int>(std::ceil(height / s)) - 1;
    const int columns = static_cast<int>(std::ceil(width / s)) - 1;
    board.setDrawWidth(1);
    for (int k = rows; k >= 1; --k)
        board.lineStep(static_cast<float>(course.left() + 1),
                       static_cast<float>(course.bottom() - s * k), static_cast<float>(width - 2),
                       0, paletteColour(0));
    for (int k = 1; k <= columns; ++k)
        board.lineStep(static_cast<float>(course.left() + s * k),
                       static_cast<float>(course.top() + 1), 0, static_cast<float>(height - 2),
                       paletteColour(0));
    board.setDrawWidth(3);
}

} // namespace kansu::board

namespace kansu::board {

void drawGridInside(PictureBox& board, const motion::Course& course) {
    const double s = course.pixelsPerCm();
    const double width = course.right() - course.left(), height = course.bottom() - course.top();
    const int rows = static_cast<int>(std::ceil(height / s)) - 1;
    const int columns = static_cast<int>(std::ceil(width / s)) - 1;
    board.setDrawWidth(1);
    for (int k = rows; k >= 1; --k) {
        const double row = course.bottom() - s * k;
        const std::vector<double> xs = crossings(course, row, true);
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            board.lineStep(static_cast<float>(std::round(xs[i]) + 1), static_cast<float>(row),
                           static_cast<float>(std::round(xs[i + 1]) - std::round(xs[i]) - 2), 0,
                           paletteColour(0));
    }
    for (int k = 1; k <= columns; ++k) {
        const double column = course.left() + s * k;
        const std::vector<double> ys = crossings(course, column, false);
        for (std::size_t i = 0; i + 1 < ys.size(); i += 2)
            board.lineStep(static_cast<float>(column), static_cast<float>(std::round(ys[i]) + 1), 0,
                           static_cast<float>(std::round(ys[i + 1]) - std::round(ys[i]) - 2),
                           paletteColour(0));
    }
    board.setDrawWidth(3);
}

} // namespace kansu::board
