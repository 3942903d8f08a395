#include "app/wording.h"

#include "surface/conversions.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kansu {

namespace {

using motion::Problem;
using motion::Vertex;

constexpr double near = 1e-9;

std::string names(const std::vector<char>& list) {
    return {list.begin(), list.end()};
}

// A side named as a textbook names it, its two vertices in alphabetical order: 辺AD.
std::string sideName(char a, char b) {
    return a < b ? std::string{a, b} : std::string{b, a};
}

struct Side {
    char from, to;
    double dx, dy, length;
};

std::vector<Side> sidesOf(const Problem& p) {
    std::vector<Side> sides;
    for (std::size_t i = 0; i < p.shape.size(); ++i) {
        const Vertex& a = *p.vertex(p.shape[i]);
        const Vertex& b = *p.vertex(p.shape[(i + 1) % p.shape.size()]);
        sides.push_back({a.name, b.name, b.x - a.x, b.y - a.y, std::hypot(b.x - a.x, b.y - a.y)});
    }
    return sides;
}

bool square(const Side& a, const Side& b) {
    return std::abs(a.dx * b.dx + a.dy * b.dy) < near;
}

bool parallel(const Side& a, const Side& b) {
    return std::abs(a.dx * b.dy - a.dy * b.dx) < near;
}

std::string cm(double length) {
    return classNumber(length) + " cm";
}

// The lengths a class is given: those of the upright and level sides, each side once.
std::string givenLengths(const std::vector<Side>& sides) {
    std::string text;
    for (const Side& s : sides)
        if (std::abs(s.dx) < near || std::abs(s.dy) < near)
            text += sideName(s.from, s.to) + " = " + cm(s.length) + "、";
    return text;
}

// The figure: 「1辺が 8 cm の正方形ABCDがあります。」, a rectangle, a right triangle, a trapezoid,
// or any other polygon.
std::string figureInWords(const Problem& p) {
    const std::vector<Side> sides = sidesOf(p);
    const std::string named = names(p.shape);
    const std::size_t n = sides.size();
    std::vector<char> rightAngles;
    for (std::size_t i = 0; i < n; ++i)
        if (square(sides[(i + n - 1) % n], sides[i]))
            rightAngles.push_back(sides[i].from);
    if (n == 4 && rightAngles.size() == 4) {
        const bool equal = std::all_of(sides.begin(), sides.end(), [&](const Side& s) {
            return std::abs(s.length - sides[0].length) < near;
        });
        if (equal)
            return "1辺が " + cm(sides[0].length) + " の正方形" + named + "があります。";
        return sideName(sides[0].from, sides[0].to) + " = " + cm(sides[0].length) + "、" +
               sideName(sides[1].from, sides[1].to) + " = " + cm(sides[1].length) + " の長方形" +
               named + "があります。";
    }
    std::string angle;
    for (const char v : rightAngles)
        angle += "∠" + std::string(1, v) + " = 90°、";
    if (n == 3 && rightAngles.size() == 1)
        return angle + givenLengths(sides).substr(0, givenLengths(sides).size() - 3) +
               " の直角三角形" + named + "があります。";
    if (n == 4) {
        const bool firstPair = parallel(sides[0], sides[2]),
                   secondPair = parallel(sides[1], sides[3]);
        if (firstPair != secondPair) {
            const Side &a = firstPair ? sides[0] : sides[1], &b = firstPair ? sides[2] : sides[3];
            std::string lengths = givenLengths(sides);
            if (!lengths.empty())
                lengths.resize(lengths.size() - 3); // the last 、
            return sideName(b.from, b.to) + "∥" + sideName(a.from, a.to) + "、" + angle + lengths +
                   " の台形" + named + "があります。";
        }
    }
    const char* kind = n == 3 ? "三角形" : n == 4 ? "四角形" : "多角形";
    return std::string("図のような") + kind + named + "があります。";
}

} // namespace

std::string classNumber(double value) {
    const std::string text = conv::numberText(value);
    const std::string sign = text.starts_with('-') ? "-" : "";
    const std::string digits = text.substr(text.empty() ? 0 : 1);
    return sign + (digits.starts_with('.') ? "0" : "") + digits;
}

std::string problemInWords(const motion::Course& course) {
    const Problem& p = course.problem();
    if (!p.text.empty())
        return p.text;
    std::string text = figureInWords(p);
    const auto& points = p.points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const motion::MovingPoint& m = points[i];
        text += std::string("点") + m.name + "は";
        if (i > 0)
            text += std::string("点") + points[0].name + "と同時に";
        text += std::string("点") + m.from + "を出発して毎秒 " + cm(m.speed) + " の速さで辺";
        char at = m.from;
        for (std::size_t k = 0; k < m.route.size(); ++k) {
            if (k)
                text += "、";
            text += at;
            text += m.route[k];
            at = m.route[k];
        }
        text +=
            std::string("上を点") + at + "まで動" + (i + 1 < points.size() ? "き、" : "きます。");
    }
    text += "点";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i)
            text += "、";
        text += points[i].name;
    }
    const bool together = std::all_of(points.begin(), points.end(),
                                      [&](const auto& m) { return m.from == points[0].from; });
    text += points.size() > 1 ? "が" : "が";
    if (together)
        text += std::string("点") + points[0].from + "を";
    const std::size_t corners = p.area.size();
    const char* polygon = corners == 3 ? "△" : corners == 4 ? "四角形" : "多角形";
    return text + "出発してから x 秒後の" + polygon + names(p.area) + "の面積を y cm² とします。";
}

std::string ruleText(const motion::Piece& piece) {
    // A coefficient as a fraction of small numbers where it is one: 1/2, 3/2.
    auto coefficient = [](double v) {
        for (int q = 1; q <= 1000; ++q) {
            const double p = std::round(std::abs(v) * q);
            if (std::abs(p / q - std::abs(v)) < 1e-9)
                return q == 1 ? classNumber(p) : classNumber(p) + "/" + std::to_string(q);
        }
        return classNumber(std::abs(v));
    };
    std::string text;
    auto term = [&](double v, const char* power) {
        if (v == 0)
            return;
        const std::string size = coefficient(v);
        const std::string shown = (size == "1" && *power) ? "" : size;
        if (text.empty())
            text = (v < 0 ? "-" : "") + shown + power;
        else
            text += (v < 0 ? " - " : " + ") + shown + power;
    };
    term(piece.a, "x²");
    term(piece.b, "x");
    term(piece.c, "");
    return text.empty() ? "0" : text;
}

} // namespace kansu
