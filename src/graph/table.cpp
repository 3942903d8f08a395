#include "graph/table.h"

#include "motion/problem.h"
#include "surface/conversions.h"

namespace kansu::graph {

// Where the column of a whole second is printed: both its rows, a two-digit y included.
Rect Table::cellOf(int second) {
    const int left = 50 + 65 * second - (second > 3 ? 10 : 0);
    return {left, 20, 75, 80};
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
    // Only whole seconds from 0 to 8 have a column; every other time prints nothing.
    if (conv::integerPart(t) != t || !(0 <= t && t <= motion::endSeconds))
        return;
    const bool firstLeg = t <= motion::turnSeconds;
    PictureBox& table = picture_;
    const bool erase = pen == Pen::Erase;
    // A column per whole second, 65 px apart from column 50; a two-digit y starts 10 px further
    // left than its x. Light blue while y = x², light red while y = 4x.
    const auto column = static_cast<float>(50 + 65 * t);
    const double y = motion::areaAt(t);
    table.setForeColour(erase ? colours::white : paletteColour(firstLeg ? 9 : 12));
    table.setCurrentX(column);
    table.setCurrentY(20);
    table.printNumber(t);
    table.setCurrentX(y >= 10 ? column - 10 : column);
    table.setCurrentY(65);
    table.printNumber(y);
    remember(static_cast<int>(t), erase);
}

} // namespace kansu::graph
