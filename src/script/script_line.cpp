#include "script/script_line.h"

#include "surface/utf8.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kansu::script {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A word: a JSON string literal when it starts with a quote, else the bytes up to a blank.
struct Word {
    std::string value;
    bool quoted = false;
};

std::vector<Word> splitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            return words;
        if (line[i] == '"') {
            std::size_t length = 0;
            words.push_back({jsonStringLiteral(line.substr(i), length), true});
            i += length;
            if (i < line.size() && !isBlank(line[i]))
                throw ParseError("malformed string: a blank must follow it");
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        words.push_back({std::string(line.substr(start, i - start)), false});
    }
}

std::string bareWord(const Word& word, const char* what) {
    if (word.quoted)
        throw ParseError(std::string(what) + " cannot be a string");
    return word.value;
}

std::string fileName(const Word& word) {
    if (word.value.empty())
        throw ParseError("missing output file");
    // A file name ends at its first NUL for the system: "report\u0000.json" would write report.
    if (word.value.find('\0') != std::string::npos)
        throw ParseError("a NUL in the file name");
    return word.value;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits with at most one point among them: "2", "1.5", ".5", "3.".
bool isPlainNumber(std::string_view text) {
    bool digit = false, point = false;
    for (const char c : text) {
        if (isDigit(c))
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

double scaleOf(const Word& word) {
    if (word.quoted || !isPlainNumber(word.value))
        throw ParseError("the scale must be a number greater than 0 and at most 8");
    const double scale = std::strtod(word.value.c_str(), nullptr);
    if (!(scale > 0 && scale <= 8))
        throw ParseError("the scale must be a number greater than 0 and at most 8");
    return scale;
}

void expectWords(const std::vector<Word>& words, std::size_t least, std::size_t most,
                 const char* usage) {
    if (words.size() < least || words.size() > most)
        throw ParseError(std::string("expected: ") + usage);
}

Action parseAction(const std::vector<Word>& words) {
    const std::string verb = bareWord(words[0], "an action");
    Action a;
    if (verb == "click") {
        expectWords(words, 2, 2, "click NAME");
        a.verb = Action::Verb::Click;
        a.name = bareWord(words[1], "a control name");
    } else if (verb == "type") {
        expectWords(words, 3, 3, "type NAME \"TEXT\"");
        a.verb = Action::Verb::Type;
        a.name = bareWord(words[1], "a control name");
        if (!words[2].quoted)
            throw ParseError("malformed string: expected a JSON string literal");
        a.text = words[2].value;
    } else if (verb == "maximize" || verb == "restore" || verb == "close") {
        expectWords(words, 1, 1, verb.c_str());
        a.verb = verb == "maximize"  ? Action::Verb::Maximize
                 : verb == "restore" ? Action::Verb::Restore
                                     : Action::Verb::Close;
    } else if (verb == "state" || verb == "link") {
        const bool state = verb == "state";
        expectWords(words, 1, 2, state ? "state [FILE]" : "link [FILE]");
        a.verb = state ? Action::Verb::State : Action::Verb::Link;
        if (words.size() == 2)
            a.file = fileName(words[1]);
    } else if (verb == "png" || verb == "image") {
        // Only png takes a scale; image writes the picture as it is, at 1x.
        const bool png = verb == "png";
        if (words.size() < 3)
            throw ParseError("missing output file");
        expectWords(words, 3, png ? 4 : 3, png ? "png NAME FILE [SCALE]" : "image NAME FILE");
        a.verb = png ? Action::Verb::Png : Action::Verb::Image;
        a.name = bareWord(words[1], "a picture name");
        a.file = fileName(words[2]);
        if (words.size() == 4)
            a.scale = scaleOf(words[3]);
    } else if (verb == "problem") {
        expectWords(words, 2, 2, "problem NAME|FILE");
        a.verb = Action::Verb::Problem;
        if (words[1].value.empty())
            throw ParseError("missing problem: a name or a file");
        if (words[1].value.find('\0') != std::string::npos)
            throw ParseError("a NUL in the file name");
        a.name = words[1].value;
    } else if (verb == "worksheet") {
        if (words.size() < 3)
            throw ParseError("missing output file");
        expectWords(words, 3, 3, "worksheet answers|blank FILE");
        a.verb = Action::Verb::Worksheet;
        a.name = bareWord(words[1], "a worksheet kind");
        a.file = fileName(words[2]);
    } else {
        throw ParseError("unknown action '" + verb + "'");
    }
    return a;
}

} // namespace

std::string jsonStringLiteral(std::string_view text, std::size_t& length) {
    std::string value;
    std::size_t i = 1; // past the opening quote
    auto fail = [](const char* why) {
        return ParseError(std::string("malformed string: ") + why);
    };
    auto hex4 = [&](std::size_t at) {
        if (at + 4 > text.size())
            throw fail("short \\u escape");
        int v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int d = hexDigit(text[at + k]);
            if (d < 0)
                throw fail("bad \\u escape");
            v = v * 16 + d;
        }
        return static_cast<char32_t>(v);
    };
    while (true) {
        if (i >= text.size())
            throw fail("no closing quote");
        const char c = text[i];
        if (c == '"') {
            length = i + 1;
            return value;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            throw fail("a control character must be escaped");
        if (c != '\\') {
            value += c;
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            throw fail("no closing quote");
        const char e = text[i + 1];
        i += 2;
        switch (e) {
        case '"':
        case '\\':
        case '/':
            value += e;
            break;
        case 'b':
            value += '\b';
            break;
        case 'f':
            value += '\f';
            break;
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 't':
            value += '\t';
            break;
        case 'u': {
            char32_t cp = hex4(i);
            i += 4;
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                if (i + 6 > text.size() || text[i] != '\\' || text[i + 1] != 'u')
                    throw fail("a lone surrogate has no character");
                const char32_t low = hex4(i + 2);
                if (low < 0xDC00 || low > 0xDFFF)
                    throw fail("a lone surrogate has no character");
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                throw fail("a lone surrogate has no character");
            }
            utf8::append(value, cp);
            break;
        }
        default:
            throw fail("unknown escape");
        }
    }
}

Line parseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos)
        throw ParseError("a NUL byte in the line");
    if (!utf8::valid(line))
        throw ParseError("the line is not valid UTF-8");
    std::size_t first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    if (first == line.size() || line[first] == '#')
        return {};

    const std::vector<Word> words = splitWords(line);
    Line parsed;
    if (!words[0].quoted && words[0].value == "during-wait") {
        if (words.size() < 2)
            throw ParseError("during-wait needs a wait number of 1 or more");
        const std::string& count = words[1].value;
        if (words[1].quoted || count.empty() || count[0] == '0' ||
            !std::all_of(count.begin(), count.end(), isDigit))
            throw ParseError("during-wait needs a wait number of 1 or more");
        if (count.size() > 9)
            throw ParseError("during-wait's wait number is too large (at most 999999999)");
        if (words.size() < 3)
            throw ParseError("during-wait needs an action");
        if (!words[2].quoted && words[2].value == "during-wait")
            throw ParseError("during-wait cannot queue another during-wait");
        parsed.kind = Line::Kind::DuringWait;
        parsed.wait = std::strtol(words[1].value.c_str(), nullptr, 10);
        parsed.action = parseAction({words.begin() + 2, words.end()});
        return parsed;
    }
    parsed.kind = Line::Kind::Action;
    parsed.action = parseAction(words);
    return parsed;
}

} // namespace kansu::script
