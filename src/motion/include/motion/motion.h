#pragma once

#include "motion/problem.h"

#include <string>

namespace kansu::motion {

// The side of the square P runs along: B to A for the first 4 s, then A to D.
enum class Leg { BA, AD };

// The moving points: the travel counter and where P and Q stand on the figure board, which the
// steps keep in line with it.
class Motion {
public:
    // The travel counter; between steps a multiple of 4 in 0 .. 320.
    double counter() const { return counter_; }
    PointF p() const { return p_; }
    PointF q() const { return q_; }
    // The leg P is on for the counter as it stands.
    Leg leg() const { return legFor(counter_); }
    bool atStart() const { return counter_ == 0; }
    bool atEnd() const { return counter_ == endCounter; }
    // The time of the counter as the time box shows it: a blank, the seconds, a point, the tenths.
    std::string timeText() const { return timeTextFor(counter_); }

    // Time 0: P and Q at B.
    void reset();
    // One step of 0.1 s on, P and Q following; false, and nothing moved, when the counter would
    // pass the end (it stays there).
    bool stepForward();
    // One step back; false, and nothing moved, when the counter would pass the start.
    bool stepBack();

    static Leg legFor(double counter) { return counter <= turnCounter ? Leg::BA : Leg::AD; }
    static std::string timeTextFor(double counter);

private:
    void placePoints();

    double counter_ = 0;
    PointF p_;
    PointF q_;
};

} // namespace kansu::motion
