// Prints every character the lesson shows in its window or prints into its pictures, so the
// browser's font can be cut down to them: the layout table's captions and texts, what the graph
// and the table print, the worksheets of every moment, and whatever a user may type in ASCII.
#include "app/form1.h"
#include "app/layout.h"
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
    // The graph's captions and its full-width numbers.
    all += "(秒)Ｏ(cm )";
    all += kansu::conv::fullWidth(" 0123456789");
    kansu::VirtualHost host;
    kansu::Form1 form{host};
    form.Form_Load();
    for (int step = 0; step <= 80; ++step, form.click(kansu::ControlId::susumu))
        for (const auto kind : {kansu::SheetKind::Answers, kansu::SheetKind::Blank})
            for (const auto& text : kansu::worksheetOf(form, kind).texts)
                all += text.text;
    std::set<char32_t> seen;
    std::string out;
    for (const char32_t cp : kansu::utf8::decode(all))
        if (seen.insert(cp).second)
            kansu::utf8::append(out, cp);
    std::fputs(out.c_str(), stdout);
    return 0;
}
