// Prints every character the lesson shows in its window or prints into its pictures, so the
// browser's font can be cut down to them: the layout table's captions and texts, what the graph
// and the table print, and whatever a user may type in ASCII.
#include "app/layout.h"
#include "surface/conversions.h"
#include "surface/utf8.h"

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
    std::set<char32_t> seen;
    std::string out;
    for (const char32_t cp : kansu::utf8::decode(all))
        if (seen.insert(cp).second)
            kansu::utf8::append(out, cp);
    std::fputs(out.c_str(), stdout);
    return 0;
}
