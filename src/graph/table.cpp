#include "graph/table.h"

#include "surface/conversions.h"

namespace kansu::graph {

void Table::plotEntry(std::string_view shownTime, Pen pen) {
    const conv::NumericValue shown = conv::numericValue(shownTime);
    if (shown.overflow)
        return;
    const double t = shown.value;
    if (conv::integerPart(t) != t)
        return;
    PictureBox& table = picture_;
    const bool erase = pen == Pen::Erase;
    // A column per whole second, 65 px apart from column 50; a two-digit y starts 10 px further
    // left than its x.
    const auto column = static_cast<float>(50 + 65 * t);
    if (0 <= t && t <= 4) {
        table.setForeColour(erase ? colours::white : paletteColour(9));
        table.setCurrentX(column);
        table.setCurrentY(20);
        table.printNumber(t);
        table.setCurrentX(t > 3 ? column - 10 : column);
        table.setCurrentY(65);
        table.printNumber(t * t);
    } else if (5 <= t && t <= 8) {
        table.setForeColour(erase ? colours::white : paletteColour(12));
        table.setCurrentX(column);
        table.setCurrentY(20);
        table.printNumber(t);
        table.setCurrentX(column - 10);
        table.setCurrentY(65);
        table.printNumber(4 * t);
    }
}

} // namespace kansu::graph
