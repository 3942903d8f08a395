#include "app/questions.h"
#include "app/worksheet.h"
#include "lesson_fixture.h"
#include "motion/problem.h"
#include "surface/font.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kansu::testing {
namespace {

using WorksheetOf = Lesson;

std::vector<std::string> textsIn(const Worksheet& sheet, bool red) {
    std::vector<std::string> out;
    for (const auto& t : sheet.texts)
        if ((t.colour != toRgb(colours::black)) == red)
            out.push_back(t.text);
    return out;
}

bool has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Everything lies inside the margins of A4 and of Letter, whatever the moment.
void expectOnThePage(const Worksheet& sheet) {
    const double left = Worksheet::margin, right = Worksheet::paperWidth - Worksheet::margin;
    auto inside = [&](double x, double y) {
        return x >= left - 1e-9 && x <= right + 1e-9 && y >= Worksheet::margin - 1e-9 &&
               y <= Worksheet::lowest + 1e-9;
    };
    for (const auto& t : sheet.texts) {
        const double width = Typeface::lesson().ems(t.text) * t.points * mmPerPoint;
        const double size = t.points * mmPerPoint;
        EXPECT_TRUE(inside(t.x, t.baseline - size) && inside(t.x + width, t.baseline + size / 4))
            << t.text;
    }
    for (const auto& r : sheet.rules)
        EXPECT_TRUE(inside(r.x1, r.y1) && inside(r.x2, r.y2));
    for (const auto& p : sheet.pictures)
        EXPECT_TRUE(inside(p.x, p.y) && inside(p.x + p.width(), p.y + p.height()));
}

TEST_F(WorksheetOf, TheFigureIsAtItsTrueSize) {
    const Worksheet sheet = worksheetOf(form, SheetKind::Answers);
    ASSERT_FALSE(sheet.pictures.empty());
    const Worksheet::Picture& figure = sheet.pictures.front();
    EXPECT_EQ(figure.box, role::figure);
    const motion::Course& course = form.course();
    EXPECT_DOUBLE_EQ(
        (course.vertexOnBoard('C').x - course.vertexOnBoard('B').x) * figure.mmPerPixel, 80);
    EXPECT_DOUBLE_EQ(
        (course.vertexOnBoard('B').y - course.vertexOnBoard('A').y) * figure.mmPerPixel, 80);
}

// The kinds at moments on each leg of P's path and at its ends: the questions from the moment,
// the answers and the table's areas in red on the answers only, lines to write on instead.
TEST_F(WorksheetOf, EachKindAtEachMoment) {
    const struct {
        int tenths;
        const char* firstQuestion;
        const char* area;
        const char* thirdQuestion;
        const char* otherTime;
    } rows[] = {
        {45, "(1)  x = 4.5 のとき、y の値を求めなさい。", "18",
         "(3)  y = 0.25 となる x の値を求めなさい。", "0.5"},
        {23, "(1)  x = 2.3 のとき、y の値を求めなさい。", "5.29",
         "(3)  y = 25.2 となる x の値を求めなさい。", "6.3"},
        {0, "(1)  x = 0 のとき、y の値を求めなさい。", "0",
         "(3)  y = 16 となる x の値を求めなさい。", "4"},
        {80, "(1)  x = 8 のとき、y の値を求めなさい。", "32",
         "(3)  y = 16 となる x の値を求めなさい。", "4"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tenths);
        stepTo(r.tenths * motion::counterPerStep);
        const Worksheet answers = worksheetOf(form, SheetKind::Answers);
        const Worksheet blank = worksheetOf(form, SheetKind::Blank);
        for (const Worksheet* sheet : {&answers, &blank}) {
            const auto black = textsIn(*sheet, false);
            EXPECT_TRUE(has(black, "関数の利用"));
            EXPECT_TRUE(has(black, r.firstQuestion));
            EXPECT_TRUE(has(black, r.thirdQuestion));
            EXPECT_TRUE(has(black, "(2)  y を x の式で表しなさい。"));
            EXPECT_TRUE(has(black, "0 ≦ x ≦ 4 のとき　y = "));
            EXPECT_TRUE(has(black, "4 ≦ x ≦ 8 のとき　y = "));
            for (const char* x : {"0", "1", "4", "8"})
                EXPECT_TRUE(has(black, x)) << x; // the table's row of x
            expectOnThePage(*sheet);
        }
        EXPECT_TRUE(has(textsIn(answers, false), "解答用"));
        EXPECT_TRUE(has(textsIn(blank, false), "問題用"));
        const auto red = textsIn(answers, true);
        for (const char* answer : {r.area, "x²", "4x", r.otherTime, "9", "32"})
            EXPECT_TRUE(has(red, answer)) << answer;
        EXPECT_TRUE(textsIn(blank, true).empty());
        EXPECT_GT(blank.rules.size(), answers.rules.size()) << "no lines to write on";

        // The same questions asked of a class, with what a right answer comes to.
        const auto questions = questionsOf(form);
        ASSERT_EQ(questions.size(), 4u);
        EXPECT_EQ("(1)  " + questions[0].text, r.firstQuestion);
        EXPECT_EQ(questions[0].answer, std::string("y = ") + r.area);
        ASSERT_EQ(questions[0].values.size(), 1u);
        EXPECT_NEAR(questions[0].values[0], std::stod(r.area), 1e-9);
        EXPECT_EQ(questions[1].text, "0 ≦ x ≦ 4 のとき、y を x の式で表しなさい。");
        EXPECT_EQ(questions[1].answer, "y = x²");
        EXPECT_EQ(questions[2].answer, "y = 4x");
        for (const Question* rule : {&questions[1], &questions[2]}) {
            ASSERT_EQ(rule->values.size(), 10u);
            for (std::size_t i = 0; i < rule->values.size(); i += 2)
                EXPECT_DOUBLE_EQ(rule->values[i + 1], form.course().areaAt(rule->values[i]));
        }
        EXPECT_EQ("(3)  " + questions[3].text, r.thirdQuestion);
        EXPECT_EQ(questions[3].answer, std::string("x = ") + r.otherTime);
        ASSERT_EQ(questions[3].values.size(), 1u);
        EXPECT_NEAR(questions[3].values[0], std::stod(r.otherTime), 1e-9);
    }
}

// The graph is traced to the moment on the answers and empty on the students' copy, whether or
// not the lesson shows it.
TEST_F(WorksheetOf, TheGraphTracedOrEmpty) {
    stepTo(30 * motion::counterPerStep);
    const Worksheet answers = worksheetOf(form, SheetKind::Answers);
    const Worksheet blank = worksheetOf(form, SheetKind::Blank);
    ASSERT_EQ(answers.pictures.size(), 2u);
    const Worksheet::Picture& traced = answers.pictures[1];
    const Worksheet::Picture& empty = blank.pictures[1];
    EXPECT_EQ(traced.box, role::graph);
    EXPECT_EQ(traced.form->vars().michinori, form.vars().michinori);
    EXPECT_EQ(empty.form->vars().michinori, 0);
    EXPECT_FALSE(traced.form->box(role::graph).image() == empty.form->box(role::graph).image());
}

} // namespace
} // namespace kansu::testing
