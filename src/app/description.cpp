#include "app/description.h"

#include "motion/problem.h"

#include <cmath>
#include <cstdio>

namespace kansu {

using motion::areaAt;
using motion::endCounter;
using motion::turnCounter;

std::string plainNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::round(value * 10000) / 10000);
    return text;
}

std::string figureDescription(double counter) {
    const double seconds = motion::secondsAt(counter);
    std::string p, q;
    if (counter <= 0) {
        p = "点Pと点Qは点B";
    } else {
        p = counter < turnCounter    ? "点Pは辺AB上"
            : counter == turnCounter ? "点Pは点A"
            : counter < endCounter   ? "点Pは辺AD上"
                                     : "点Pは点D";
        q = counter < endCounter ? "点Qは辺BC上" : "点Qは点C";
    }
    std::string text = plainNumber(seconds) + "秒後　" + p;
    if (!q.empty())
        text += "、" + q;
    return text + "、面積 y = " + plainNumber(areaAt(seconds)) + " cm²";
}

std::string graphDescription(double seconds) {
    if (seconds <= 0)
        return "グラフ　まだ点がありません";
    return "グラフ　最後の点は x = " + plainNumber(seconds) +
           " 秒、y = " + plainNumber(areaAt(seconds)) + " cm²";
}

} // namespace kansu
