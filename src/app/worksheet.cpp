#include "app/worksheet.h"

#include "app/moment_link.h"
#include "app/questions.h"
#include "app/wording.h"
#include "surface/conversions.h"
#include "surface/font.h"
#include "surface/utf8.h"
#include "surface/virtual_host.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kansu {

namespace {

constexpr double left = Worksheet::margin;
constexpr double right = Worksheet::paperWidth - Worksheet::margin;

// Answers are written in as a teacher's red pen would.
constexpr Rgb answerColour = toRgb(0x0000C0); // &H00BBGGRR

// The figure at its true size, no larger than the lesson's own square's (0.25 mm a pixel, its
// board's pixels 40 to the centimetre), which leaves the graph its room below.
constexpr double largestMmPerPixel = 0.25;

// The graph below the figure, and the table and the questions beside it.
constexpr double tableHeadWidth = 13, tableColumnWidth = 12, tableRowHeight = 9;

std::string number(double value) {
    return classNumber(value);
}

std::string seconds(int tenths) {
    return number(tenths / 10.0);
}

double textWidth(std::string_view text, double points) {
    return Typeface::lesson().ems(text) * points * mmPerPoint;
}

// The lesson the graph is drawn from: the same moment with the graph and the table in view (the
// graph keeps only what is drawn while it shows), or the initial screen with the graph in view.
struct GraphLesson {
    VirtualHost host;
    Form1 form{host};
};

std::shared_ptr<GraphLesson> graphLessonFor(const Form1& form, SheetKind kind) {
    auto lesson = std::make_shared<GraphLesson>();
    lesson->form.Form_Load();
    Moment moment = momentOf(form);
    if (kind == SheetKind::Blank) {
        const motion::Problem problem = moment.problem;
        moment = Moment{};
        moment.problem = problem;
    }
    moment.ticked[1] = true; // グラフ
    moment.ticked[2] = true; // 表
    bringTo(lesson->form, moment);
    return lesson;
}

class Composer {
public:
    explicit Composer(Worksheet& sheet) : sheet_(sheet) {}

    void text(double x, double baseline, std::string s, double points = 10.5, bool bold = false,
              Rgb colour = toRgb(colours::black)) {
        sheet_.texts.push_back({x, baseline, points, bold, colour, std::move(s)});
    }
    void rightAligned(double rightEdge, double baseline, std::string s, double points, bool bold) {
        const double width = textWidth(s, points);
        text(rightEdge - width, baseline, std::move(s), points, bold);
    }
    void rule(double x1, double y1, double x2, double y2, double width = 0.3) {
        sheet_.rules.push_back({x1, y1, x2, y2, width});
    }
    void box(double x, double y, double w, double h, double width = 0.3) {
        rule(x, y, x + w, y, width);
        rule(x + w, y, x + w, y + h, width);
        rule(x + w, y + h, x, y + h, width);
        rule(x, y + h, x, y, width);
    }
    // Text laid out in lines no wider than width, broken between characters.
    double paragraph(double x, double baseline, double width, std::string_view s, double points,
                     double lineGap) {
        std::string line;
        for (const char32_t cp : utf8::decode(s)) {
            std::string next = line;
            utf8::append(next, cp);
            if (!line.empty() && textWidth(next, points) > width) {
                text(x, baseline, line, points);
                baseline += lineGap;
                line.clear();
                utf8::append(line, cp);
            } else {
                line = std::move(next);
            }
        }
        if (!line.empty())
            text(x, baseline, line, points);
        return baseline;
    }
    // "y = " and, on the answers, the answer in red; on the students' copy a line to write on.
    void answer(double x, double baseline, const std::string& lead, const std::string& value) {
        constexpr double points = 11;
        text(x, baseline, lead, points);
        const double at = x + textWidth(lead, points) + 1;
        if (sheet_.kind == SheetKind::Answers)
            text(at, baseline, value, points, true, answerColour);
        else
            rule(at, baseline + 1, at + 40, baseline + 1, 0.25);
    }

private:
    Worksheet& sheet_;
};

} // namespace

double Worksheet::Picture::width() const {
    return form->box(box).width() * mmPerPixel;
}
double Worksheet::Picture::height() const {
    return form->box(box).height() * mmPerPixel;
}

std::optional<SheetKind> sheetKindNamed(std::string_view name) {
    if (name == "answers")
        return SheetKind::Answers;
    if (name == "blank")
        return SheetKind::Blank;
    return std::nullopt;
}

Worksheet worksheetOf(const Form1& form, SheetKind kind) {
    Worksheet sheet;
    sheet.kind = kind;
    sheet.title = form.control(ControlId::Label6).caption;
    Composer c(sheet);
    const bool answers = kind == SheetKind::Answers;
    const int tenths = momentOf(form).tenths;

    // The title, the kind and, for the students, a line for their names.
    c.text(left, 20, sheet.title, 18, true);
    c.rightAligned(right, 20, answers ? "解答用" : "問題用", 14, true);
    if (!answers) {
        c.text(104, 30, "年　　組　　番　名前", 10.5);
        c.rule(150, 31, right, 31, 0.25);
    }

    // The problem in words, its numbers from the lesson's own.
    const motion::Course& course = form.course();
    const double problemEnd =
        c.paragraph(left, 39, right - left, problemInWords(course), 10.5, 5.2);

    // The figure at the moment, as the user sees it, at its true size where it fits.
    const double trueSize = 10.0 / course.pixelsPerCm();
    const double figureMmPerPixel = std::min(trueSize, largestMmPerPixel);
    const double figureTop = problemEnd + 5;
    sheet.pictures.push_back({&form, role::figure, left, figureTop, figureMmPerPixel});
    const double graphTop = figureTop + sheet.pictures.back().height() + 7;
    const double graphHeight = Worksheet::lowest - 4 - graphTop;
    const double besideFigure = left + sheet.pictures.back().width() + 5;
    c.text(besideFigure, figureTop + 6, form.control(ControlId::Label1).caption, 11);
    c.text(besideFigure, figureTop + 12.5,
           seconds(tenths) + " " + form.control(ControlId::Label2).caption + "の図", 11);
    c.text(besideFigure, figureTop + 20,
           figureMmPerPixel == trueSize
               ? std::string("（図は実際の大きさです）")
               : "（図は実際の大きさの " +
                     number(std::round(figureMmPerPixel / trueSize * 100) / 100) + " 倍です）",
           9);

    // The graph: traced to the moment on the answers, empty on the students' copy.
    const auto lesson = graphLessonFor(form, kind);
    sheet.graphLesson = lesson;
    const Form1& graphForm = lesson->form;
    const double graphScale = graphHeight / graphForm.box(role::graph).height();
    sheet.pictures.push_back({&graphForm, role::graph, left, graphTop, graphScale});
    const double column = left + sheet.pictures.back().width() + 8;

    // The table of values: each second of the table's columns, its area filled in on the answers
    // only; narrower columns where there are many.
    const auto& layout = graphForm.tableLayout();
    const double columnWidth =
        std::min(tableColumnWidth, (right - column - tableHeadWidth) / layout.count);
    const double tableWidth = tableHeadWidth + layout.count * columnWidth;
    c.box(column, graphTop, tableWidth, 2 * tableRowHeight, 0.4);
    c.rule(column, graphTop + tableRowHeight, column + tableWidth, graphTop + tableRowHeight);
    for (int k = 0; k < layout.count; ++k) {
        const double x = column + tableHeadWidth + k * columnWidth;
        c.rule(x, graphTop, x, graphTop + 2 * tableRowHeight, k == 0 ? 0.4 : 0.2);
    }
    constexpr double cellPoints = 11;
    auto centred = [&](double cellLeft, double cellWidth, double row, const std::string& s,
                       bool bold, Rgb colour) {
        const double width = textWidth(s, cellPoints);
        c.text(cellLeft + (cellWidth - width) / 2, graphTop + row * tableRowHeight + 6.3, s,
               cellPoints, bold, colour);
    };
    centred(column, tableHeadWidth, 0, form.control(ControlId::Label5).caption, true,
            toRgb(colours::black));
    centred(column, tableHeadWidth, 1, form.control(ControlId::Label7).caption, true,
            toRgb(colours::black));
    for (int k = 0; k < layout.count; ++k) {
        const int s = k * layout.step;
        const double x = column + tableHeadWidth + k * columnWidth;
        centred(x, columnWidth, 0, number(s), false, toRgb(colours::black));
        if (answers)
            centred(x, columnWidth, 1, number(course.areaAt(s)), false, answerColour);
    }

    // Three questions the lesson asks, the first and the last from the moment: its time, and a
    // moment on another piece of the rule (in the lesson's own square, 4 s away on the other leg
    // of P's path), so that more than one rule is asked for.
    const int otherTenths = otherMoment(course, tenths);
    const double otherArea = course.areaAt(otherTenths / 10.0);
    double y = graphTop + 2 * tableRowHeight + 11;
    c.text(column, y, "(1)  x = " + seconds(tenths) + " のとき、y の値を求めなさい。", 11);
    c.answer(column + 8, y += 8, "y = ", number(course.areaAt(tenths / 10.0)));
    c.text(column, y += 11, "(2)  y を x の式で表しなさい。", 11);
    for (const motion::Piece& piece : course.pieces())
        c.answer(
            column + 8, y += 8,
            number(piece.from) + " ≦ x ≦ " + number(piece.to) + " のとき　y = ", ruleText(piece));
    c.text(column, y += 11, "(3)  y = " + number(otherArea) + " となる x の値を求めなさい。", 11);
    c.answer(column + 8, y += 8, "x = ", timesOf(course, otherTenths));
    return sheet;
}

} // namespace kansu
