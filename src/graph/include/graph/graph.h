#pragma once

#include "graph/pen.h"
#include "surface/picture_box.h"

#include <cstdint>

namespace kansu::graph {

// The graph of the area y against the time x: a green grid with its axes and captions, and the
// trace, a chain of chords 4 pixels wide, light blue while y = x², light red while y = 4x.
class Graph {
public:
    explicit Graph(PictureBox picture) : picture_(std::move(picture)) {}

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
    static double columnOf(double seconds);
    static double rowOf(double area);

private:
    PictureBox picture_;
    double lastX_ = 0;
    std::int16_t lastY_ = 0;
    double lastTime_ = 0;
};

} // namespace kansu::graph
