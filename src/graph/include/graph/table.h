#pragma once

#include "graph/pen.h"
#include "motion/course.h"
#include "surface/picture_box.h"

#include <memory>
#include <set>
#include <vector>

namespace kansu::graph {

// The table's columns: a whole second each, or every 2 s (5, 10 …) when there would be more than
// 12; 65 pixels apart from column 50, closer when that would run past the table.
struct Columns {
    int step = 1;    // seconds
    int count = 9;   // from 0 s
    double gap = 65; // pixels from one to the next
    static Columns of(const motion::Course& course, int tableWidth);
};

// The table of values: for each of its seconds x, x in the upper row and the area y below it, in
// the colour of the piece of y's rule (light blue up to 4 s and light red after, in the lesson's
// own square).
class Table {
public:
    Table(PictureBox picture, std::shared_ptr<const motion::Course> course)
        : picture_(std::move(picture)) {
        setCourse(std::move(course));
    }

    // The problem the table is of.
    void setCourse(std::shared_ptr<const motion::Course> course);
    const Columns& layout() const { return columns_; }

    const PictureBox& picture() const { return picture_; }
    void setVisibleArea(const Rect& area);

    void clear();
    // Prints (Draw) or erases (Erase) the column of the time shown, when it has one.
    void plotEntry(double shownSeconds, Pen pen);
    // y at a second of a column.
    double valueAt(int second) const { return course_->areaAt(second); }

    // The whole seconds whose column the table shows now, in order: printed in view and neither
    // erased nor lost since.
    std::vector<int> columns() const { return {shown_.begin(), shown_.end()}; }

private:
    Rect cellOf(int second) const;
    void remember(int second, bool erased);
    double columnOf(int second) const;
    // How far left of its x the y of a column starts: 10 pixels a character more.
    double shiftOf(int second) const;

    PictureBox picture_;
    std::shared_ptr<const motion::Course> course_;
    Columns columns_;
    std::set<int> shown_;
};

} // namespace kansu::graph
