#include "motion/motion.h"

#include "surface/conversions.h"

namespace kansu::motion {

void Motion::reset() {
    counter_ = 0;
    p_ = cornerB;
    q_ = cornerB;
}

bool Motion::stepForward() {
    counter_ += counterPerStep;
    if (counter_ > endCounter) {
        counter_ = endCounter;
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
    // Q moves a pixel a counter unit along BC, P two along BA and then along AD.
    const double d = counter_;
    q_ = {d + cornerB.x, cornerB.y};
    switch (leg()) {
    case Leg::BA:
        p_ = {cornerB.x, cornerB.y - 2 * d};
        break;
    case Leg::AD:
        p_ = {cornerA.x + 2 * (d - turnCounter), cornerA.y};
        break;
    }
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
