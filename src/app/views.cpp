#include "app/form1.h"

namespace kansu {

// The graph lies right of the start size and the table below it; their check boxes widen or
// heighten the window to bring them into view, unless the window is maximised.

void Form1::Check2_Click() {
    if (frame_.maximised())
        return;
    windowChanged(
        frame_.setWidthTwips(options().graph ? window::graphWidthTwips : window::startWidthTwips));
}

void Form1::Check3_Click() {
    if (frame_.maximised())
        return;
    const bool shown = options().table;
    windowChanged(
        frame_.setHeightTwips(shown ? window::tableHeightTwips : window::startHeightTwips));
    if (shown) {
        table_.clear();
        table_.plotEntry(shownSeconds(), graph::Pen::Draw);
    }
}

} // namespace kansu
