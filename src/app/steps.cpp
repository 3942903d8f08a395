#include "app/form1.h"

namespace kansu {

using namespace role;
using graph::Pen;

void Form1::susumu_Click() {
    if (!motion_.stepForward())
        return; // at the end: nothing changes
    showMotion();
    const Options o = options();
    if (o.graph)
        graph_.plotSegment(motion_.atStart(), shownTime(), Pen::Draw);
    if (o.table)
        table_.plotEntry(shownTime(), Pen::Draw);
}

void Form1::modoru_Click() {
    // Erase what was drawn for the moment being left, while the time box still shows it.
    if (!motion_.atStart())
        table_.plotEntry(shownTime(), Pen::Erase);
    if (options().graph)
        graph_.plotSegment(motion_.atStart(), shownTime(), Pen::Erase);
    if (!motion_.stepBack())
        return; // at the start: nothing changes
    showMotion();
}

void Form1::showMotion() {
    const Options o = options();
    const board::Pose now = pose();
    controls_.setText(indexOf(timeBox), motion_.timeText());
    board_.redrawFigure(now, o.area);
    board_.placeMarkers(now);
    if (o.paths)
        board_.placePaths(now);
    if (o.area)
        board_.placeAreaLabel(now);
    if (o.grid)
        board_.drawGrid();
    Check5_Click();
}

void Form1::Check1_Click() {
    if (options().grid)
        board_.drawGrid();
    else
        board_.redrawFigure(pose(), options().area);
}

void Form1::Check4_Click() {
    if (options().paths) {
        // One step back and forward again: every view is refreshed for the same moment.
        motion_.rewindOneStep();
        susumu_Click();
    } else {
        board_.parkPaths();
    }
}

void Form1::Check5_Click() {
    if (options().hint)
        board_.placeHint(pose());
    else
        board_.parkHint();
}

} // namespace kansu
