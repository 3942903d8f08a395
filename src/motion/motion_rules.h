#pragma once

#include <cstdint>
#include <string>

namespace kansu::motion {

constexpr double endCounter = 320;    // 8 s: P at D, Q at C
constexpr double cornerCounter = 160; // 4 s: P at A
constexpr double counterPerStep = 4;  // 0.1 s

struct Points {
    double Px, Py, Qx;
    std::int16_t Qy;
};

// Where P and Q stand for the counter d (0 <= d <= 320).
Points pointsFor(double d);

// The time text of Text1 for the counter d: a blank, the whole seconds, a point, the tenths.
std::string timeText(double d);

} // namespace kansu::motion
