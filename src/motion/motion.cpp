#include "motion/motion.h"

#include "surface/conversions.h"

namespace kansu::motion {

void Motion::reset() {
    counter_ = 0;
    p_ = {100, 370};
    q_ = {100, 370};
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
    // The board's constants, not its vertices: 40 pixels a centimetre, B at (100, 370).
    const double d = counter_;
    q_ = {d + 100, 370};
    switch (leg()) {
    case Leg::BA:
        p_ = {100, 370 - 2 * d};
        break;
    case Leg::AD:
        p_ = {2 * d - 320 + 100, 50};
        break;
    }
}

std::string Motion::timeTextFor(double counter) {
    std::string text = conv::numberText(counter / 40);
    if (counter > 0 && counter < 40) {
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
