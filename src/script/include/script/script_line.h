#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// One line of a kansu-script script, parsed. Every action takes exactly the words it defines.
namespace kansu::script {

struct Action {
    enum class Verb {
        Click,
        Type,
        Maximize,
        Restore,
        Close,
        State,
        Link,
        Png,
        Image,
        Worksheet,
        Problem
    };
    Verb verb = Verb::Click;
    // the control, picture box or "window"; the worksheet's kind; the problem's name or file
    std::string name;
    std::string text; // what type puts into the box
    std::string
        file; // where state, link, png, image and worksheet write; empty: to standard output
    double scale = 1; // png
};

struct Line {
    enum class Kind { Nothing, Action, DuringWait };
    Kind kind = Kind::Nothing;
    Action action;
    long wait = 0; // during-wait: the wait, counted from 1
};

// Why a line cannot run.
struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The longest line a script may have, in bytes.
constexpr std::size_t maxLineBytes = 1 << 20;

// Parses a line without its line end (a CR before it is dropped). Blank lines and lines whose
// first word starts with # are Nothing. A NUL byte or ill-formed UTF-8 anywhere is an error.
Line parseLine(std::string_view line);

// Reads a JSON string literal at the start of text, returning its UTF-8 value and how many bytes
// it took. A lone surrogate is an error: it has no UTF-8 form.
std::string jsonStringLiteral(std::string_view text, std::size_t& length);

} // namespace kansu::script
