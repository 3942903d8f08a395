#include "app/form1.h"

namespace kansu {

namespace {
// Overlay lines not in use lie on this row, below the visible board.
constexpr double parkedRow = 800;
} // namespace

void Form1::placePathLines(double d) {
    const LessonVars& v = vars;
    if (d <= 160) {
        setLine(Line5(0), v.Bx, v.By, v.Qx, v.Qy);
        setLine(Line5(1), v.Bx, v.By, v.Px, v.Py);
        setLine(Line5(3), v.Ax, parkedRow, v.Px, parkedRow);
    }
    if (d > 160 && d <= 320) {
        setLine(Line5(0), v.Bx, v.By, v.Qx, v.Qy);
        setLine(Line5(1), v.Bx, v.By, v.Ax, v.Ay);
        setLine(Line5(3), v.Ax, v.Ay, v.Px, v.Py);
    }
}

void Form1::Check4_Click() {
    if (ticked(ControlId::Check4)) {
        // One step back and forward again: every view is refreshed for the same moment.
        vars.michinori -= 4;
        susumu_Click();
    } else {
        for (int i : {0, 1, 3})
            setLine(Line5(i), 64, parkedRow, 83, parkedRow);
    }
}

void Form1::Check5_Click() {
    const LessonVars& v = vars;
    if (ticked(ControlId::Check5)) {
        // A true comparison counts -1: 4 px left of side BA while P climbs it, 4 px right of
        // side CD at the very end, on the vertical through P in between.
        const int beforeCorner = v.michinori <= 160 ? -1 : 0;
        const int atEnd = v.michinori == 320 ? -1 : 0;
        const double x = v.Px + 4 * beforeCorner - 4 * atEnd;
        setLine(Line5(2), x, v.By, x, v.Py);
    } else {
        setLine(Line5(2), 25, parkedRow, 45, parkedRow);
    }
}

} // namespace kansu
