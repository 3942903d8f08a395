#include "app/form1.h"
#include "motion/motion_rules.h"

namespace kansu {

void Form1::susumu_Click() {
    vars.michinori += motion::counterPerStep;
    if (vars.michinori > motion::endCounter) {
        vars.michinori = motion::endCounter;
        return;
    }
    ShowMotion();
    if (ticked(ControlId::Check2))
        PlotGraphSegment(0);
    if (ticked(ControlId::Check3))
        PlotTableEntry(0);
}

void Form1::modoru_Click() {
    // Erase what was drawn for the moment being left, while Text1 still shows it.
    if (vars.michinori != 0)
        PlotTableEntry(1);
    if (ticked(ControlId::Check2))
        PlotGraphSegment(1);
    vars.michinori -= motion::counterPerStep;
    if (vars.michinori < 0) {
        vars.michinori = 0;
        return;
    }
    ShowMotion();
}

void Form1::ShowMotion() {
    using enum ControlId;
    LessonVars& v = vars;
    const double d = v.michinori;

    const motion::Points p = motion::pointsFor(d);
    v.Qx = p.Qx;
    v.Qy = p.Qy;
    v.Px = p.Px;
    v.Py = p.Py;
    control(Text1).text = motion::timeText(d);
    RedrawFigure();

    // Labels move at 0.9 times the speed of their points; the dots sit on the points.
    setTop(Label4(9), v.By);
    setLeft(Label4(9), v.Bx + 4 + 0.9 * d);
    setTop(Shape2, v.By - 4);
    setLeft(Shape2, v.Bx - 4 + d);
    if (d <= 160) {
        setTop(Label4(8), v.By - 35 - 0.9 * (2 * d));
        setLeft(Label4(8), v.Bx - 25);
        setTop(Shape1, v.By - 4 - 2 * d);
        setLeft(Shape1, v.Bx - 4);
    }
    if (d > 160 && d <= 320) {
        setTop(Label4(8), v.Ay - 35);
        setLeft(Label4(8), v.Ax - 4 + 8 + 0.9 * (2 * d - 320));
        setTop(Shape1, v.Ay - 4);
        setLeft(Shape1, v.Ax - 4 + (2 * d - 320));
    }
    if (ticked(Check4))
        placePathLines(d);
    if (ticked(Check6))
        placeAreaLabel(d);
    if (ticked(Check1))
        DrawGrid();
    Check5_Click();
    ++motionUpdates_;
    lastUpdateWasStep_ = true;
}

void Form1::placeAreaLabel(double d) {
    using enum ControlId;
    if (d <= 30) {
        control(Label4(6)).visible = false;
        control(Label4(7)).visible = false;
    }
    if (d > 30 && d <= 160) {
        setTop(Label4(6), 330 - (d - 50));
        setLeft(Label4(6), 110);
        setTop(Label4(7), 330 - (d - 50));
        setLeft(Label4(7), 157);
    }
    if (d > 160 && d <= 320) {
        setTop(Label4(6), 220);
        setLeft(Label4(6), 110 + 1.9 * (d - 160));
        setTop(Label4(7), 220);
        setLeft(Label4(7), 157 + 1.9 * (d - 160));
    }
}

} // namespace kansu
