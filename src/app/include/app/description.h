#pragma once

#include "motion/motion.h"

#include <string>

namespace kansu {

// What a screen reader says of the figure at a moment: the time, where each point stands and the
// area, as 「4.5秒後　点Pは辺AD上、点Qは辺BC上、面積 y = 18 cm²」; points standing together on a
// vertex are named together (「点Pと点Qは点B」).
std::string figureDescription(const motion::Motion& now);

// What it says of the graph's last plotted point, at a time in seconds (0: none yet).
std::string graphDescription(const motion::Course& course, double seconds);

// A number the way the lesson's texts show it: "4.5", "18", "0.09".
std::string plainNumber(double value);

} // namespace kansu
