#include "graph/graph.h"

#include "motion/problem.h"
#include "surface/conversions.h"

namespace kansu::graph {

using motion::areaAt;
using motion::endSeconds;
using motion::secondsPerStep;
using motion::turnSeconds;

void Graph::drawAxes(Background background) {
    PictureBox& g = picture_;
    const OleColour green = paletteColour(2);
    g.setDrawWidth(1);
    if (background == Background::Cleared)
        g.cls();
    // Grid first, so the axes lie on top of it: a line per 2 cm² and one per second.
    for (int i = 0; i <= 34; i += 2)
        g.lineStep(35, static_cast<float>(495 - 14 * i), 260, 0, green);
    for (int j = 0; j <= 18; j += 2)
        g.lineStep(static_cast<float>(35 + 14 * j), 495, 0, -485, green);
    // Each axis one pixel outside the first grid line, so it shows two pixels thick.
    g.lineStep(34, 496, 260, 0, green);
    g.lineStep(34, 495, 0, -485, green);

    g.setForeColour(paletteColour(0));
    for (int k = 1; k <= 4; ++k) {
        g.setCurrentY(500);
        g.setCurrentX(static_cast<float>(56 * k + 20));
        g.print(conv::fullWidth(conv::numberText(2 * k)));
    }
    g.setCurrentX(280);
    g.setCurrentY(500);
    g.print("(秒)");
    g.setCurrentX(25);
    g.setCurrentY(500);
    g.print("Ｏ");
    for (int m = 1; m <= 3; ++m) {
        g.setCurrentX(0);
        g.setCurrentY(static_cast<float>(490 - 140 * m));
        g.print(conv::fullWidth(conv::numberText(10 * m)));
    }
    // The raised 2 of cm² falls into the blank of "(cm )". In a face wider than the design's,
    // "(cm" is condensed, as captions too wide for their labels are, so that it ends where the 2
    // begins; the closing bracket keeps its place after the blank.
    constexpr float squaredX = 22;
    const int opening = g.textWidth("(cm");
    g.setCurrentX(0);
    g.setCurrentY(5);
    if (opening > squaredX) {
        g.print("(cm", squaredX / opening);
        g.setCurrentX(static_cast<float>(g.textWidth("(cm ")));
        g.setCurrentY(5);
        g.print(")");
    } else {
        g.print("(cm )");
    }
    g.setCurrentX(squaredX);
    g.setCurrentY(2);
    g.print("2");
}

double Graph::columnOf(double seconds) {
    return 35 + 28 * seconds;
}

double Graph::rowOf(double area) {
    return 495 - 14 * area;
}

void Graph::restartTrace() {
    lastX_ = 35;
    lastY_ = 495;
    lastTime_ = 0;
}

void Graph::plotSegment(bool atStart, double shownSeconds, Pen pen) {
    if (atStart)
        return;
    double t = shownSeconds;
    // The time box holds 0.1 .. 8.0 after every step; only an edit by hand puts anything else
    // there. Such a time has no segment on the graph: draw nothing and keep the last point.
    if (!(t >= secondsPerStep && t <= endSeconds))
        return;

    PictureBox& g = picture_;
    const bool erase = pen == Pen::Erase;
    g.setDrawWidth(4);
    double gx = 0, gy = 0;
    // Light blue while y = x², light red while y = 4x; erasing takes the segment back to the
    // point a step earlier.
    if (t <= turnSeconds) {
        g.setForeColour(erase ? colours::white : paletteColour(9));
        if (erase)
            t -= secondsPerStep;
        gx = columnOf(t);
        gy = rowOf(areaAt(t));
    }
    // Tested on t as the first range left it: an erase there has already gone below 4.
    if (turnSeconds < t && t <= endSeconds) {
        g.setForeColour(erase ? colours::white : paletteColour(12));
        if (erase)
            t -= secondsPerStep;
        gx = columnOf(t);
        gy = rowOf(areaAt(t));
    }
    // From the rounded row of the last point to the exact row of the new one.
    g.line(static_cast<float>(lastX_), static_cast<float>(lastY_), static_cast<float>(gx),
           static_cast<float>(gy));
    lastX_ = gx;
    lastY_ = conv::toInt16(gy).value_or(lastY_);
    lastTime_ = t;
    g.setDrawWidth(1);
    drawAxes(Background::OverTrace);
}

} // namespace kansu::graph
