#pragma once

#include "graph/pen.h"
#include "motion/course.h"
#include "surface/picture_box.h"

#include <cstdint>
#include <memory>

namespace kansu::graph {

// The graph's scales: a cell of its grid is 28 pixels each way, a step of x or of y; the grid
// runs from 0 one cell past the end of the motion and one past the largest y, each step the
// smallest of 0.5, 1, 2, 5, 10, 20 … that leaves at most 9 cells across and 17 up.
struct Scale {
    double xStep = 1, yStep = 2;
    int xCells = 9, yCells = 17;
    static Scale of(const motion::Course& course);
};

// The graph of the area y against the time x: a green grid with its axes and captions, and the
// trace, a chain of chords 4 pixels wide in the colour of each piece of y's rule (light blue
// while y = x², light red while y = 4x in the lesson's own square).
class Graph {
public:
    Graph(PictureBox picture, std::shared_ptr<const motion::Course> course)
        : picture_(std::move(picture)) {
        setCourse(std::move(course));
    }

    // The problem the graph is of.
    void setCourse(std::shared_ptr<const motion::Course> course);
    const Scale& scale() const { return scale_; }

    const PictureBox& picture() const { return picture_; }
    void setVisibleArea(const Rect& area) { picture_.setVisibleArea(area); }

    // The grid, axes and captions, on a cleared picture or painted back over the trace.
    enum class Background { Cleared, OverTrace };
    void drawAxes(Background background);

    // The last plotted point starts again from the origin.
    void restartTrace();
    // Extends the trace to the time shown (Draw), or takes back the segment that ends there
    // (Erase), and paints the background back over it. Nothing at time 0 (atStart), nor for a
    // shown time off the graph.
    void plotSegment(bool atStart, double shownSeconds, Pen pen);

    // The last plotted point: its exact column and its row rounded to a whole pixel, and its
    // time in seconds.
    double lastX() const { return lastX_; }
    std::int16_t lastY() const { return lastY_; }
    double lastTime() const { return lastTime_; }

    // The graph's scale: the column of a time in seconds, the row of an area in cm².
    double columnOf(double seconds) const;
    double rowOf(double area) const;

private:
    PictureBox picture_;
    std::shared_ptr<const motion::Course> course_;
    Scale scale_;
    double lastX_ = 0;
    std::int16_t lastY_ = 0;
    double lastTime_ = 0;
};

} // namespace kansu::graph
