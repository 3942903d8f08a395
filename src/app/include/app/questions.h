#pragma once

#include "app/form1.h"
#include "motion/course.h"

#include <optional>
#include <string>
#include <vector>

namespace kansu {

// The questions a moment of the lesson asks, on its worksheet and of a class: y at the moment's
// time, the rule of y on each piece, and the time for y at another moment.
enum class QuestionKind { AreaAt, Rule, TimesFor };

struct Question {
    QuestionKind kind = QuestionKind::AreaAt;
    std::string text;   // as the students read it
    std::string answer; // as the answers sheet writes it
    // What a right answer comes to: the area, or every time with that area; for a rule, the
    // area at a few times of its piece, as (x, y) pairs.
    std::vector<double> values;
};

std::vector<Question> questionsOf(const Form1& form);

// Every time at which y takes an area, if there are finitely many.
std::optional<std::vector<double>> timesOfArea(const motion::Course& course, double area);

// The moment the third question asks about: reached at its area alone, on another piece than the
// moment's where there is one.
int otherMoment(const motion::Course& course, int tenths);

// The answer to the third question: the moment's time, and any other time with its area.
std::string timesOf(const motion::Course& course, int tenths);

} // namespace kansu
