#pragma once

#include "motion/problem.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kansu {

class Form1;

// A moment of the lesson as a link names it, for a teacher to hand a class: the problem, the
// time, the six check boxes and the speed box's text.
struct Moment {
    int tenths = 0; // the time in tenths of a second, 0 to the problem's end
    std::array<bool, 6>
        ticked{}; // 方眼, グラフ, 表, 動いた道のり, ヒント, y cm² (Check1 to Check6)
    std::string speed = "20";
    motion::Problem problem; // the lesson's own square unless another is named
    Moment();
    bool operator==(const Moment&) const = default;
};

// The moment the lesson shows now (the time of the travel counter, whatever is typed in the box).
Moment momentOf(const Form1& form);

// A moment as an address's fragment, without the "#": "x=4.5&c=010001&s=20", the speed text
// percent-encoded; another problem than the lesson's own follows, a built-in one by its name
// ("&p=rectangle"), a teacher's own written out compactly ("&q=…": its vertices, shape, points,
// area, end, name, title and words, each part after a "!"). Nothing when the speed box holds a
// text no link carries (longer than 64 bytes, or with a control character): a link is only ever
// written if it opens what it names.
std::optional<std::string> linkOf(const Moment& moment);

// A fragment read back (with or without its "#"): exactly the parts linkOf writes, each once, in
// any order, within range, a teacher's problem as sound as its file would have to be; anything
// else, too long, malformed or tampered with, is nothing.
std::optional<Moment> readLink(std::string_view fragment);

// A lesson on its initial screen brought to a moment as a user would: its problem chosen, the
// speed typed, the boxes ticked in their order, 進む pressed up to the time. The graph and the
// table are traced to it.
void bringTo(Form1& form, const Moment& moment);

} // namespace kansu
