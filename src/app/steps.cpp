#include "app/form1.h"

namespace kansu {

using namespace role;
using graph::Pen;

void Form1::susumu_Click() {
    if (!motion_.stepForward())
        return; // at the end: nothing changes
    showMoment();
    extendGraphAndTable();
}

void Form1::modoru_Click() {
    // Erase what was drawn for the moment being left, while the time box still shows it.
    const double leaving = shownSeconds();
    if (!motion_.atStart())
        table_.plotEntry(leaving, Pen::Erase);
    if (options().graph)
        graph_.plotSegment(motion_.atStart(), leaving, Pen::Erase);
    if (!motion_.stepBack())
        return; // at the start: nothing changes
    showMoment();
}

void Form1::showMoment() {
    const Options o = options();
    controls_.setText(indexOf(timeBox), motion_.timeText());
    board_->redrawFigure(motion_, o.area);
    board_->placeMarkers(motion_);
    if (o.paths)
        board_->placePaths(motion_);
    if (o.area)
        board_->placeAreaLabel(motion_);
    if (o.grid)
        board_->drawGrid();
    placeHint();
}

void Form1::extendGraphAndTable() {
    const Options o = options();
    const double shown = shownSeconds();
    if (o.graph)
        graph_.plotSegment(motion_.atStart(), shown, Pen::Draw);
    if (o.table)
        table_.plotEntry(shown, Pen::Draw);
}

void Form1::refreshMoment() {
    showMoment();
    extendGraphAndTable();
}

void Form1::placeHint() {
    if (options().hint)
        board_->placeHint(motion_);
    else
        board_->parkHint();
}

void Form1::Check1_Click() {
    if (options().grid)
        board_->drawGrid();
    else
        board_->redrawFigure(motion_, options().area);
}

void Form1::Check4_Click() {
    // Ticked, the step for the same moment runs again in full, so every view catches up.
    if (options().paths)
        refreshMoment();
    else
        board_->parkPaths();
}

void Form1::Check5_Click() {
    placeHint();
}

} // namespace kansu
