#include "app/form1.h"

namespace kansu {

using namespace role;

void Form1::Form_Load() {
    // Check1 to Check3 start unticked in the layout, so the grid, graph and table start hidden;
    // the window, gamen and kokuban work in pixels, the only scale there is.
    const bool widthChanged = frame_.setWidthTwips(window::startWidthTwips);
    const bool heightChanged = frame_.setHeightTwips(window::startHeightTwips);
    windowChanged(widthChanged || heightChanged);
    InitScreen();
    publish();
}

void Form1::InitScreen() {
    const Options o = options();
    controls_.setText(indexOf(timeBox), " 0.0");
    table_.clear();
    table_.plotEntry(shownSeconds(), graph::Pen::Draw);
    graph_.drawAxes(graph::Graph::Background::Cleared);
    motion_.reset();
    board_->reset(motion_, o.area);
    graph_.restartTrace();
    controls_.setEnabled(indexOf(stopButton), false);
    graph_.plotSegment(motion_.atStart(), shownSeconds(), graph::Pen::Draw);
    if (o.grid)
        board_->drawGrid();
}

void Form1::Command1_Click() {
    InitScreen();
}

void Form1::end_Click() {
    if (ended_)
        return;
    ended_ = true;
    player_.abandon();
    host_.endProgram();
}

} // namespace kansu
