#pragma once

#include "app/form1.h"
#include "surface/colour.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kansu {

// 解答用, the teacher's copy with the graph traced, the table filled and the answers written in;
// 問題用, the students' copy with an empty graph, an empty row of the table and lines to answer on.
enum class SheetKind { Answers, Blank };

// "answers" or "blank", as kansu-script names them.
std::optional<SheetKind> sheetKindNamed(std::string_view name);

// A worksheet of one moment on one page of A4, portrait, composed once for every device that
// prints it. Lengths are millimetres from the paper's top left corner. The figure is at its true
// size (its square's sides 8 cm), and everything lies within 12 mm of the top and left edges and
// inside the printable area of Letter paper as well.
struct Worksheet {
    static constexpr double paperWidth = 210, paperHeight = 297;
    static constexpr double margin = 12;
    // The lowest any of it reaches: Letter (279.4 mm) less its bottom margin.
    static constexpr double lowest = 279.4 - margin;

    struct Text {
        double x = 0, baseline = 0; // the left end of the baseline
        double points = 10.5;       // the size in typographic points
        bool bold = false;
        Rgb colour = toRgb(colours::black);
        std::string text;
    };
    struct Rule {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        double width = 0.3;
    };
    // A picture box as the user sees it, placed with its top left corner at (x, y) and drawn at
    // mmPerPixel millimetres a pixel of the box, framed by a thin rule.
    struct Picture {
        const Form1* form = nullptr;
        ControlId box = ControlId::kokuban;
        double x = 0, y = 0, mmPerPixel = 0.25;
        double width() const;
        double height() const;
    };

    SheetKind kind = SheetKind::Answers;
    std::string title; // the lesson's title, for the document's name
    std::vector<Text> texts;
    std::vector<Rule> rules;
    std::vector<Picture> pictures;
    // The lesson the graph is drawn from, brought to the moment with the graph in view.
    std::shared_ptr<const void> graphLesson;
};

// The worksheet of the moment the lesson shows now: its figure as the user sees it; the graph
// traced to that time (or empty), the table of values and three questions with their answers (or
// lines to write them on).
Worksheet worksheetOf(const Form1& form, SheetKind kind);

// Millimetres of a typographic point.
constexpr double mmPerPoint = 25.4 / 72;

} // namespace kansu
