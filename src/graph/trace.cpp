#include "app/form1.h"
#include "surface/conversions.h"

namespace kansu {

namespace {
constexpr double firstTime = 0.1; // the earliest time a segment can end at
constexpr double lastTime = 8.0;
} // namespace

void Form1::PlotGraphSegment(std::int16_t erase) {
    if (vars.michinori == 0)
        return;
    const conv::NumericValue shown = conv::numericValue(control(ControlId::Text1).text);
    double t = shown.value;
    // Text1 holds 0.1 .. 8.0 after every step; only an edit by hand puts anything else there.
    // Such a time has no segment on the graph: draw nothing and keep the last point.
    if (shown.overflow || !(t >= firstTime && t <= lastTime))
        return;

    PictureBox& g = gamen_;
    g.setDrawWidth(4);
    double gx = 0, gy = 0;
    if (t <= 4) {
        g.setForeColour(erase != 0 ? colours::white : paletteColour(9));
        if (erase != 0)
            t -= 0.1;
        gx = 35 + 28 * t;
        gy = 495 - 14 * t * t;
    }
    if (4 < t && t <= 8) {
        g.setForeColour(erase != 0 ? colours::white : paletteColour(12));
        if (erase != 0)
            t -= 0.1;
        gx = 35 + 28 * t;
        gy = 495 - 56 * t;
    }
    g.line(static_cast<float>(vars.graphPrevX), static_cast<float>(vars.graphPrevY),
           static_cast<float>(gx), static_cast<float>(gy));
    vars.graphPrevX = gx;
    vars.graphPrevY = conv::toInt16(gy).value_or(vars.graphPrevY);
    g.setDrawWidth(1);
    kokuban_.setFillStyle(PictureBox::FillStyle::Transparent);
    DrawGraphAxes(1);
}

} // namespace kansu
