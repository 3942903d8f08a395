#include "graph/table.h"

#include "surface/conversions.h"

#include <algorithm>
#include <cmath>

namespace kansu::graph {

namespace {
constexpr double firstColumn = 50, widestGap = 65;
// The x printed as the table prints it, blanks aside.
std::size_t printedLength(double value) {
    std::string text = conv::numberText(value);
    std::erase(text, ' ');
    return text.size();
}
} // namespace

Columns Columns::of(const motion::Course& course, int tableWidth) {
    Columns c;
    const int whole = static_cast<int>(std::floor(course.endSeconds() + 1e-9));
    for (const int step : {1, 2, 5, 10, 20}) {
        c.step = step;
        c.count = whole / step + 1;
        if (c.count <= 12)
            break;
    }
    // The last column's two-digit y ends about 60 pixels past its start.
    const double room = tableWidth - firstColumn - 60;
    c.gap = c.count > 1 ? std::min(widestGap, std::floor(room / (c.count - 1))) : widestGap;
    return c;
}

void Table::setCourse(std::shared_ptr<const motion::Course> course) {
    course_ = std::move(course);
    columns_ = Columns::of(*course_, picture_.width());
}

double Table::columnOf(int second) const {
    return firstColumn + columns_.gap * (second / columns_.step);
}

double Table::shiftOf(int second) const {
    const std::size_t x = printedLength(second), y = printedLength(valueAt(second));
    return y > x ? 10.0 * static_cast<double>(y - x) : 0;
}

// Where the column of a second is printed: both its rows, as wide as the longer prints.
Rect Table::cellOf(int second) const {
    const double shift = shiftOf(second);
    const int left = static_cast<int>(columnOf(second) - shift);
    const int xWidth = picture_.textWidth(conv::numberText(second) + " ");
    const int yWidth = picture_.textWidth(conv::numberText(valueAt(second)) + " ");
    return {left, 20, std::max(xWidth + static_cast<int>(shift), yWidth), 80};
}

void Table::setVisibleArea(const Rect& area) {
    picture_.setVisibleArea(area);
    // A column that leaves the view is lost, as its print is.
    const Rect visible = picture_.visibleArea();
    std::erase_if(
        shown_, [&](int second) { return visible.intersected(cellOf(second)) != cellOf(second); });
}

void Table::clear() {
    picture_.cls();
    shown_.clear();
}

void Table::remember(int second, bool erased) {
    const Rect cell = cellOf(second);
    if (erased)
        shown_.erase(second);
    else if (picture_.visibleArea().intersected(cell) == cell)
        shown_.insert(second);
}

void Table::plotEntry(double shownSeconds, Pen pen) {
    const double t = shownSeconds;
    // Only the seconds of the columns, from 0 to the end, have one; every other time prints
    // nothing.
    if (conv::integerPart(t) != t || !(0 <= t && t <= course_->endSeconds()) ||
        std::fmod(t, columns_.step) != 0)
        return;
    const int second = static_cast<int>(t);
    PictureBox& table = picture_;
    const bool erase = pen == Pen::Erase;
    // A column for each second of the table, 65 px apart from column 50 (or closer); a y longer
    // than its x starts 10 px further left for each character more. In the colour of the piece
    // of y's rule: light blue while y = x², light red while y = 4x in the lesson's own square.
    const auto column = static_cast<float>(columnOf(second));
    const double y = valueAt(second);
    table.setForeColour(erase ? colours::white : paletteColour(course_->pieceAt(t).colour));
    table.setCurrentX(column);
    table.setCurrentY(20);
    table.printNumber(t);
    table.setCurrentX(static_cast<float>(column - shiftOf(second)));
    table.setCurrentY(65);
    table.printNumber(y);
    remember(second, erase);
}

} // namespace kansu::graph
