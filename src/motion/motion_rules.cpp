#include "motion/motion_rules.h"

#include "surface/conversions.h"

namespace kansu::motion {

Points pointsFor(double d) {
    Points p{};
    p.Qx = d + 100;
    p.Qy = 370;
    if (d <= 160) {
        p.Px = 100;
        p.Py = 370 - 2 * d;
    }
    if (d > 160 && d <= 320) {
        p.Px = 2 * d - 320 + 100;
        p.Py = 50;
    }
    return p;
}

std::string timeText(double d) {
    std::string text = conv::numberText(d / 40);
    if (d > 0 && d < 40)
        text = " 0" + conv::mid(text, 2);
    if (conv::position(text, ".") == 0)
        text += ".0";
    return text;
}

} // namespace kansu::motion
