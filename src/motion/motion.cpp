#include "motion/motion.h"

#include "surface/conversions.h"

namespace kansu::motion {

Motion::Motion(std::shared_ptr<const Course> course)
    : course_(std::move(course)), points_(course_->points().size()) {
    reset();
}

void Motion::reset() {
    counter_ = 0;
    placePoints();
}

bool Motion::stepForward() {
    counter_ += counterPerStep;
    if (counter_ > course_->endCounter()) {
        counter_ = course_->endCounter();
        return false;
    }
    placePoints();
    return true;
}

bool Motion::stepBack() {
    counter_ -= counterPerStep;
    if (counter_ < 0) {
        counter_ = 0;
        return false;
    }
    placePoints();
    return true;
}

void Motion::placePoints() {
    for (std::size_t i = 0; i < points_.size(); ++i)
        points_[i] = course_->pointOnBoard(i, counter_);
}

std::string Motion::timeTextFor(double counter) {
    const double seconds = secondsAt(counter);
    std::string text = conv::numberText(seconds);
    if (seconds > 0 && seconds < 1) {
        // " .3" becomes " 0.3": " 0" and the text from its second character on.
        const std::string rest = conv::mid(text, 2);
        text = " 0";
        text += rest;
    }
    if (conv::position(text, ".") == 0)
        text += ".0";
    return text;
}

} // namespace kansu::motion
