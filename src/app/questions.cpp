#include "app/questions.h"

#include "app/moment_link.h"
#include "app/wording.h"
#include "surface/conversions.h"

#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

std::string number(double value) {
    return classNumber(value);
}

std::string seconds(int tenths) {
    return number(tenths / 10.0);
}

} // namespace

std::optional<std::vector<double>> timesOfArea(const motion::Course& course, double area) {
    std::vector<double> times;
    for (const motion::Piece& p : course.pieces()) {
        const double a = p.a, b = p.b, c = p.c - area;
        std::vector<double> roots;
        if (std::abs(a) > 1e-12) {
            const double d = b * b - 4 * a * c;
            if (d >= 0)
                for (const double sign : {-1.0, 1.0})
                    roots.push_back((-b + sign * std::sqrt(std::max(d, 0.0))) / (2 * a));
        } else if (std::abs(b) > 1e-12) {
            roots.push_back(-c / b);
        } else if (std::abs(c) < 1e-9) {
            return std::nullopt; // level at that area: every time of the piece
        }
        for (const double t : roots)
            if (t >= p.from - 1e-9 && t <= p.to + 1e-9 &&
                std::none_of(times.begin(), times.end(),
                             [&](double s) { return std::abs(s - t) < 1e-6; }))
                times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    return times;
}

// In the lesson's own square, 4 s away on the other leg of P's path; in general the first piece's
// length on or back, else another moment, whichever has an area reached at that moment alone.
int otherMoment(const motion::Course& course, int tenths) {
    const int end = static_cast<int>(std::lround(course.endSeconds() * 10));
    const int turn = static_cast<int>(std::lround(course.pieces().front().to * 10));
    std::vector<int> tried{tenths <= turn ? tenths + turn : tenths - turn};
    for (int t = end; t >= 1; --t)
        tried.push_back(t);
    for (const int t : tried) {
        if (t < 1 || t > end || t == tenths)
            continue;
        const auto times = timesOfArea(course, course.areaAt(t / 10.0));
        if (times && times->size() == 1 && course.areaAt(t / 10.0) > 0)
            return t;
    }
    return tried.front() >= 0 && tried.front() <= end ? tried.front() : end;
}

std::string timesOf(const motion::Course& course, int tenths) {
    const auto times = timesOfArea(course, course.areaAt(tenths / 10.0));
    std::string answer = seconds(tenths);
    if (times)
        for (const double t : *times)
            if (std::abs(t - tenths / 10.0) > 1e-6)
                answer += "、" + number(std::round(t * 1000) / 1000);
    return answer;
}

std::vector<Question> questionsOf(const Form1& form) {
    const motion::Course& course = form.course();
    const int tenths = momentOf(form).tenths;
    std::vector<Question> questions;
    const double area = course.areaAt(tenths / 10.0);
    questions.push_back({QuestionKind::AreaAt,
                         "x = " + seconds(tenths) + " のとき、y の値を求めなさい。",
                         "y = " + number(area),
                         {area}});
    for (const motion::Piece& piece : course.pieces()) {
        Question q{QuestionKind::Rule,
                   number(piece.from) + " ≦ x ≦ " + number(piece.to) +
                       " のとき、y を x の式で表しなさい。",
                   "y = " + ruleText(piece),
                   {}};
        // Five times across the piece tell any rule of y in x of degree two or less from another.
        for (const double share : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            const double x = piece.from + share * (piece.to - piece.from);
            q.values.push_back(x);
            q.values.push_back(piece.at(x));
        }
        questions.push_back(std::move(q));
    }
    const int other = otherMoment(course, tenths);
    const double otherArea = course.areaAt(other / 10.0);
    Question times{QuestionKind::TimesFor,
                   "y = " + number(otherArea) + " となる x の値を求めなさい。",
                   "x = " + timesOf(course, other),
                   {}};
    const auto all = timesOfArea(course, otherArea);
    times.values = all ? *all : std::vector<double>{other / 10.0};
    questions.push_back(std::move(times));
    return questions;
}

} // namespace kansu
