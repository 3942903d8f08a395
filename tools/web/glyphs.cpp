// Prints every character the lesson shows in its window or prints into its pictures, so the
// browser's font can be cut down to them: the layout table's captions and texts, what the graph
// and the table print, the worksheets of every moment of every built-in problem, the letters of
// any problem's vertices and points, and whatever a user may type in ASCII.
#include "app/form1.h"
#include "app/layout.h"
#include "app/problems.h"
#include "app/worksheet.h"
#include "surface/conversions.h"
#include "surface/utf8.h"
#include "surface/virtual_host.h"

#include <cstdio>
#include <set>
#include <string>

int main() {
    std::string all;
    for (const kansu::Control& c : kansu::designLayout())
        all += c.caption + c.text;
    for (char c = 0x20; c < 0x7F; ++c)
        all += c;
    // The graph's captions and its full-width numbers; a point's name in full width, and the
    // words a worksheet gives a teacher's own figure.
    all += "(秒)Ｏ(cm ).";
    all += kansu::conv::fullWidth(" 0123456789");
    for (char32_t letter = U'Ａ'; letter <= U'Ｚ'; ++letter)
        kansu::utf8::append(all, letter);
    all += "ｙ∥∠°△図のような三角形四角形多角形正方形長方形直角三角形台形倍です";
    for (const kansu::motion::Problem& problem : kansu::builtInProblems()) {
        all += problem.title;
        kansu::VirtualHost host;
        kansu::Form1 form{host};
        form.Form_Load();
        form.chooseProblem(problem);
        // Every moment of the lesson's own square; a dozen of each other problem's, whose texts
        // differ only in their digits from one moment to the next.
        const int steps = static_cast<int>(form.course().endCounter() / 4);
        const int every = &problem == &kansu::builtInProblems().front() ? 1 : steps / 12 + 1;
        for (int step = 0; step <= steps; ++step, form.click(kansu::ControlId::susumu))
            if (step % every == 0 || step == steps)
                for (const auto kind : {kansu::SheetKind::Answers, kansu::SheetKind::Blank})
                    for (const auto& text : kansu::worksheetOf(form, kind).texts)
                        all += text.text;
    }
    std::set<char32_t> seen;
    std::string out;
    for (const char32_t cp : kansu::utf8::decode(all))
        if (seen.insert(cp).second)
            kansu::utf8::append(out, cp);
    std::fputs(out.c_str(), stdout);
    return 0;
}
