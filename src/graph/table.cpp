#include "app/form1.h"
#include "surface/conversions.h"

namespace kansu {

void Form1::PlotTableEntry(std::int16_t erase) {
    const conv::NumericValue shown = conv::numericValue(control(ControlId::Text1).text);
    if (shown.overflow)
        return;
    const double t = shown.value;
    if (conv::integerPart(t) != t)
        return;
    PictureBox& table = hyo_;
    // A column per whole second, 65 px apart from column 50; a two-digit y starts 10 px further
    // left than its x.
    const auto column = [t] {
        return static_cast<float>(50 + 65 * t);
    };
    if (0 <= t && t <= 4) {
        table.setForeColour(erase != 0 ? colours::white : paletteColour(9));
        table.setCurrentX(column());
        table.setCurrentY(20);
        table.printNumber(t);
        table.setCurrentX(t > 3 ? column() - 10 : column());
        table.setCurrentY(65);
        table.printNumber(t * t);
    } else if (5 <= t && t <= 8) {
        table.setForeColour(erase != 0 ? colours::white : paletteColour(12));
        table.setCurrentX(column());
        table.setCurrentY(20);
        table.printNumber(t);
        table.setCurrentX(column() - 10);
        table.setCurrentY(65);
        table.printNumber(4 * t);
    }
}

void Form1::Check3_Click() {
    if (geometry_.state == 2)
        return;
    if (ticked(ControlId::Check3)) {
        setHeightTwips(window::tableHeightTwips);
        hyo_.cls();
        PlotTableEntry(0);
    } else {
        setHeightTwips(window::startHeightTwips);
    }
}

} // namespace kansu
