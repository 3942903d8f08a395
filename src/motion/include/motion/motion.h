#pragma once

#include "motion/course.h"

#include <memory>
#include <string>
#include <vector>

namespace kansu::motion {

// The moving points: the travel counter and where each point stands on the figure board, which
// the steps keep in line with it.
class Motion {
public:
    explicit Motion(std::shared_ptr<const Course> course);

    const Course& course() const { return *course_; }
    // The travel counter; between steps a multiple of 4 in 0 .. the end.
    double counter() const { return counter_; }
    double seconds() const { return secondsAt(counter_); }
    // Where a point stands, by its place in the problem.
    PointF point(std::size_t i) const { return points_[i]; }
    // The lesson's own square names them: P the first, Q the second.
    PointF p() const { return points_[0]; }
    PointF q() const { return points_[1]; }
    // The leg of its route a point is on (at a corner, the leg that ends there).
    std::size_t legOf(std::size_t i) const { return course_->legAt(i, counter_); }
    bool atStart() const { return counter_ == 0; }
    bool atEnd() const { return counter_ == course_->endCounter(); }
    // The time of the counter as the time box shows it: a blank, the seconds, a point, the tenths.
    std::string timeText() const { return timeTextFor(counter_); }

    // Time 0: every point where it leaves from.
    void reset();
    // One step of 0.1 s on, the points following; false, and nothing moved, when the counter
    // would pass the end (it stays there).
    bool stepForward();
    // One step back; false, and nothing moved, when the counter would pass the start.
    bool stepBack();

    static std::string timeTextFor(double counter);

private:
    void placePoints();

    std::shared_ptr<const Course> course_;
    double counter_ = 0;
    std::vector<PointF> points_;
};

} // namespace kansu::motion
