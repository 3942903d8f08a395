#include "app/form1.h"

namespace kansu {

void Form1::Form_Load() {
    setWidthTwips(window::startWidthTwips);
    setHeightTwips(window::startHeightTwips);
    // Already unticked in the layout, so none of their handlers runs.
    setCheckValue(ControlId::Check1, 0);
    setCheckValue(ControlId::Check2, 0);
    setCheckValue(ControlId::Check3, 0);
    // The window, gamen and kokuban work in pixels from here on; that is the only scale there is.
    InitScreen();
}

void Form1::InitScreen() {
    using enum ControlId;
    LessonVars& v = vars;

    control(Text1).text = " 0.0";
    hyo_.cls();
    PlotTableEntry(0);
    DrawGraphAxes(0);

    v.Ax = 100;
    v.Ay = 50;
    v.Bx = 100;
    v.By = 370;
    v.Cx = 420;
    v.Cy = 370;
    v.Dx = 420;
    v.Dy = 50;
    v.Px = 100;
    v.Py = 370;
    v.michinori = 0;
    v.Qx = 100;
    v.Qy = 370;

    RedrawFigure();

    setLeft(Label4(0), v.Ax - 25);
    setTop(Label4(0), v.Ay - 35);
    setLeft(Label4(1), v.Bx - 25);
    setTop(Label4(1), v.By);
    setLeft(Label4(2), v.Cx + 5);
    setTop(Label4(2), v.Cy);
    setLeft(Label4(3), v.Dx + 5);
    setTop(Label4(3), static_cast<std::int16_t>(v.Dy - 35));
    setLeft(Label4(4), (v.Bx + v.Cx) / 2 - 40);
    setTop(Label4(4), v.By + 50);
    setLeft(Label4(5), v.Ax - 80);
    setTop(Label4(5), (v.Ay + v.By) / 2 - 10);
    setLeft(Label4(8), v.Bx - 25);
    setTop(Label4(8), v.By - 35 - 3);
    setLeft(Label4(9), v.Bx + 4);
    setTop(Label4(9), v.By);

    setLeft(Shape1, v.Bx - 4);
    setTop(Shape1, v.By - 4);
    setLeft(Shape2, 96);
    setTop(Shape2, 366);

    for (int i : {0, 1, 3})
        setLine(Line5(i), 64, 800, 83, 800);
    setLine(Line5(2), 25, 800, 45, 800);

    control(Label4(6)).visible = false;
    control(Label4(7)).visible = false;

    v.graphPrevX = 35;
    v.graphPrevY = 495;

    control(tomeru).enabled = false;
    PlotGraphSegment(0);
    if (ticked(Check1))
        DrawGrid();
    ++motionUpdates_;
    lastUpdateWasStep_ = false;
}

void Form1::Command1_Click() {
    InitScreen();
}

void Form1::end_Click() {
    if (ended_)
        return;
    ended_ = true;
    host_.endProgram();
}

} // namespace kansu
