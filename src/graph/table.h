#pragma once

#include "graph/pen.h"
#include "surface/picture_box.h"

#include <string_view>

namespace kansu::graph {

// The table of values: for each whole second x from 0 to 8, x in the upper row and the area y
// below it, light blue up to 4 s and light red after.
class Table {
public:
    explicit Table(PictureBox picture) : picture_(std::move(picture)) {}

    const PictureBox& picture() const { return picture_; }
    void setVisibleArea(const Rect& area) { picture_.setVisibleArea(area); }

    void clear() { picture_.cls(); }
    // Prints (Draw) or erases (Erase) the column of the time shown, when it is a whole second.
    void plotEntry(std::string_view shownTime, Pen pen);

private:
    PictureBox picture_;
};

} // namespace kansu::graph
