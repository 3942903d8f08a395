#include "app/description.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace kansu {

std::string plainNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::round(value * 10000) / 10000);
    return text;
}

std::string figureDescription(const motion::Motion& now) {
    const motion::Course& course = now.course();
    const double seconds = now.seconds();
    const auto& points = course.points();
    // Where each point stands: on a vertex, or on a side named by its two vertices in
    // alphabetical order (辺AB).
    std::vector<std::string> said;
    std::vector<bool> told(points.size(), false);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (told[i])
            continue;
        const auto vertex = course.vertexAt(i, seconds);
        std::string who = std::string("点") + points[i].name;
        if (vertex) {
            for (std::size_t j = i + 1; j < points.size(); ++j)
                if (!told[j] && course.vertexAt(j, seconds) == vertex) {
                    who += std::string("と点") + points[j].name;
                    told[j] = true;
                }
            said.push_back(who + "は点" + *vertex);
        } else {
            const motion::Leg& leg = points[i].legs[now.legOf(i)];
            std::string side{leg.fromName, leg.toName};
            std::sort(side.begin(), side.end());
            said.push_back(who + "は辺" + side + "上");
        }
        told[i] = true;
    }
    std::string text = plainNumber(seconds) + "秒後　";
    for (std::size_t i = 0; i < said.size(); ++i) {
        if (i)
            text += "、";
        text += said[i];
    }
    return text + "、面積 y = " + plainNumber(course.areaAt(seconds)) + " cm²";
}

std::string graphDescription(const motion::Course& course, double seconds) {
    if (seconds <= 0)
        return "グラフ　まだ点がありません";
    return "グラフ　最後の点は x = " + plainNumber(seconds) +
           " 秒、y = " + plainNumber(course.areaAt(seconds)) + " cm²";
}

} // namespace kansu
