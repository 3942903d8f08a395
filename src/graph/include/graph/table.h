#pragma once

#include "graph/pen.h"
#include "surface/picture_box.h"

#include <set>
#include <vector>

namespace kansu::graph {

// The table of values: for each whole second x from 0 to 8, x in the upper row and the area y
// below it, light blue up to 4 s and light red after.
class Table {
public:
    explicit Table(PictureBox picture) : picture_(std::move(picture)) {}

    const PictureBox& picture() const { return picture_; }
    void setVisibleArea(const Rect& area);

    void clear();
    // Prints (Draw) or erases (Erase) the column of the time shown, when it is a whole second.
    void plotEntry(double shownSeconds, Pen pen);

    // The whole seconds whose column the table shows now, in order: printed in view and neither
    // erased nor lost since.
    std::vector<int> columns() const { return {shown_.begin(), shown_.end()}; }

private:
    static Rect cellOf(int second);
    void remember(int second, bool erased);

    PictureBox picture_;
    std::set<int> shown_;
};

} // namespace kansu::graph
