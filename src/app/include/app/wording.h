#pragma once

#include "motion/course.h"

#include <string>

// A problem as a Japanese textbook words it, for the worksheet.
namespace kansu {

// A number as a class writes it: the lesson's shortest decimal text, without its sign's blank and
// with the zero before a point that the classic text leaves out (".25" is 0.25).
std::string classNumber(double value);

// The problem in words: its own, if it has them, else worded from the figure and the motion:
// 「1辺が 8 cm の正方形ABCDがあります。点Pは点Bを出発して毎秒 2 cm の速さで辺BA、AD上を点Dまで
// 動き、点Qは点Pと同時に点Bを出発して…点P、Qが点Bを出発してから x 秒後の△BPQの面積を y cm²
// とします。」
std::string problemInWords(const motion::Course& course);

// A piece's rule as a class writes it, after "y =": "x²", "4x", "-2x + 32", "1/2x²", "12".
std::string ruleText(const motion::Piece& piece);

} // namespace kansu
