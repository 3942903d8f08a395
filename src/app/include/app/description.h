#pragma once

#include <string>

namespace kansu {

// What a screen reader says of the figure for a travel counter: the time, where P and Q stand
// and the area, as 「4.5秒後　点Pは辺AD上、点Qは辺BC上、面積 y = 18 cm²」.
std::string figureDescription(double counter);

// What it says of the graph's last plotted point, at a time in seconds (0: none yet).
std::string graphDescription(double seconds);

// A number the way the lesson's texts show it: "4.5", "18", "0.09".
std::string plainNumber(double value);

} // namespace kansu
