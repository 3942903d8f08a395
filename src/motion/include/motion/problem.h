#pragma once

#include "surface/geometry.h"

// The lesson's problem, once: the square ABCD with 8 cm sides on the figure board, P running
// B→A→D at 2 cm/s and Q running B→C at 1 cm/s, and the area y of triangle BPQ after x seconds.
// Lengths are pixels of the figure board, 40 to the centimetre, y growing downwards.
namespace kansu::motion {

constexpr double pixelsPerCm = 40;

// The square's corners.
constexpr PointF cornerA{100, 50};
constexpr PointF cornerB{100, 370};
constexpr PointF cornerC{420, 370};
constexpr PointF cornerD{420, 50};

// The travel counter: the pixels Q has travelled, half those of P. It moves in steps of 0.1 s;
// P reaches A at 4 s and turns towards D; at 8 s P is at D and Q at C.
constexpr double counterPerStep = 4;
constexpr double turnCounter = 160;
constexpr double endCounter = 320;

constexpr double secondsAt(double counter) {
    return counter / pixelsPerCm;
}
constexpr double secondsPerStep = secondsAt(counterPerStep);
constexpr double turnSeconds = secondsAt(turnCounter);
constexpr double endSeconds = secondsAt(endCounter);

// The side of the square in cm, and the speeds of Q (the counter's pixels a second) and of P.
constexpr double sideCm = (cornerC.x - cornerB.x) / pixelsPerCm;
constexpr double speedOfQ = counterPerStep / secondsPerStep / pixelsPerCm;
constexpr double speedOfP = 2 * speedOfQ;

// The area y in cm² after x seconds: x² while P climbs BA, 4x while it runs along AD.
constexpr double areaAt(double seconds) {
    return seconds <= turnSeconds ? seconds * seconds : 4 * seconds;
}
// The same rules as a class writes them, y = ….
constexpr const char* areaRuleClimbing = "x²";
constexpr const char* areaRuleAlongTop = "4x";

} // namespace kansu::motion
