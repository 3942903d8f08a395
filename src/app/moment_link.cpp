#include "app/moment_link.h"

#include "app/form1.h"
#include "app/json.h"
#include "app/problems.h"
#include "motion/course.h"
#include "surface/utf8.h"

#include <charconv>
#include <cmath>

namespace kansu {

namespace {

// No link this program writes comes near this length (a teacher's own problem, with a title and
// its words in Japanese, takes the most); a longer one is not read at all.
constexpr std::size_t longestLink = 4096;
// Nor a speed text near this one.
constexpr std::size_t longestSpeed = 64;

constexpr ControlId checkBoxes[] = {ControlId::Check1, ControlId::Check2, ControlId::Check3,
                                    ControlId::Check4, ControlId::Check5, ControlId::Check6};

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string percentEncoded(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// A speed text a link carries and reads back as it was.
bool linkable(std::string_view speed) {
    if (speed.size() > longestSpeed || !utf8::valid(speed))
        return false;
    for (const char c : speed)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        unsigned byte = 0;
        const char* digits = text.data() + i + 1;
        if (std::from_chars(digits, digits + 2, byte, 16).ptr != digits + 2)
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

// "4.5", "0.0", "8.0", "12.5": the time in tenths, as the link writes it.
std::optional<int> tenthsOf(std::string_view text) {
    if (text.size() < 3 || text.size() > 4 || text[text.size() - 2] != '.')
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == text.size() - 2)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool sameMotion(const motion::Problem& a, const motion::Problem& b) {
    return a.vertices == b.vertices && a.shape == b.shape && a.points == b.points &&
           a.area == b.area && a.end == b.end;
}

std::string namesOf(const std::vector<char>& names) {
    return {names.begin(), names.end()};
}

// A teacher's own problem in a link: every part the file has, compactly, in characters a
// fragment carries as they are but for the title and the words.
std::string writtenOut(const motion::Problem& p) {
    std::string text;
    for (const motion::Vertex& v : p.vertices) {
        if (!text.empty())
            text += ',';
        text += v.name;
        text += json::number(v.x);
        text += '_';
        text += json::number(v.y);
    }
    text += '!';
    text += namesOf(p.shape);
    text += '!';
    for (std::size_t i = 0; i < p.points.size(); ++i) {
        const motion::MovingPoint& m = p.points[i];
        if (i)
            text += ',';
        text += m.name;
        text += m.from;
        text += '~';
        text += namesOf(m.route);
        text += '~';
        text += json::number(m.speed);
    }
    for (const std::string& part : {namesOf(p.area), p.end ? json::number(*p.end) : std::string(),
                                    p.name, percentEncoded(p.title), percentEncoded(p.text)}) {
        text += '!';
        text += part;
    }
    return text;
}

std::vector<std::string_view> split(std::string_view text, char at) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(at);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

json::Array namesJson(std::string_view names) {
    json::Array a;
    for (const char c : names)
        a.item(json::string(std::string(1, c)));
    return a;
}

// A number as a link writes it: what JSON would write, no more.
std::optional<std::string> numberText(std::string_view text) {
    if (text.empty() || text.size() > 24 ||
        text.find_first_not_of("0123456789.-e+") != std::string_view::npos)
        return std::nullopt;
    return std::string(text);
}

// A teacher's own problem read back from a link: the file it stands for, read as a file is.
std::optional<motion::Problem> readWrittenOut(std::string_view text) {
    const auto parts = split(text, '!');
    if (parts.size() != 8)
        return std::nullopt;
    json::Object vertices;
    for (const std::string_view v : split(parts[0], ',')) {
        const std::size_t blank = v.find('_');
        if (v.size() < 4 || blank == std::string_view::npos)
            return std::nullopt;
        const auto x = numberText(v.substr(1, blank - 1)), y = numberText(v.substr(blank + 1));
        if (!x || !y)
            return std::nullopt;
        vertices.field(std::string(1, v[0]), json::Array().item(*x).item(*y).close());
    }
    json::Array points;
    for (const std::string_view m : split(parts[2], ',')) {
        const auto fields = split(m, '~');
        if (fields.size() != 3 || fields[0].size() != 2)
            return std::nullopt;
        const auto speed = numberText(fields[2]);
        if (!speed)
            return std::nullopt;
        json::Object o;
        o.field("name", json::string(std::string(1, fields[0][0])));
        o.field("from", json::string(std::string(1, fields[0][1])));
        o.field("route", namesJson(fields[1]).close()).field("speed", *speed);
        points.item(o.close());
    }
    const auto title = percentDecoded(parts[6]), words = percentDecoded(parts[7]);
    if (!title || !words)
        return std::nullopt;
    json::Object file;
    file.field("name", json::string(std::string(parts[5]))).field("title", json::string(*title));
    if (!words->empty())
        file.field("text", json::string(*words));
    file.field("vertices", vertices.close()).field("shape", namesJson(parts[1]).close());
    file.field("points", points.close()).field("area", namesJson(parts[3]).close());
    if (!parts[4].empty()) {
        const auto end = numberText(parts[4]);
        if (!end)
            return std::nullopt;
        file.field("end", *end);
    }
    if (parts[5].empty())
        return std::nullopt;
    return readProblem(file.close()).problem;
}

} // namespace

Moment::Moment() : problem(lessonsOwnProblem()) {}

Moment momentOf(const Form1& form) {
    Moment m;
    m.problem = form.course().problem();
    m.tenths = static_cast<int>(std::lround(form.vars().michinori / motion::counterPerStep));
    for (std::size_t i = 0; i < std::size(checkBoxes); ++i)
        m.ticked[i] = form.control(checkBoxes[i]).value != 0;
    m.speed = form.control(role::speedBox).text;
    return m;
}

std::optional<std::string> linkOf(const Moment& moment) {
    if (!linkable(moment.speed))
        return std::nullopt;
    std::string link = "x=" + std::to_string(moment.tenths / 10) + "." +
                       std::to_string(moment.tenths % 10) + "&c=";
    for (const bool ticked : moment.ticked)
        link += ticked ? '1' : '0';
    link += "&s=" + percentEncoded(moment.speed);
    const motion::Problem& p = moment.problem;
    if (sameMotion(p, lessonsOwnProblem()))
        return link;
    if (const motion::Problem* named = builtInNamed(p.name); named && *named == p)
        return link + "&p=" + p.name;
    return link + "&q=" + writtenOut(p);
}

std::optional<Moment> readLink(std::string_view fragment) {
    if (!fragment.empty() && fragment.front() == '#')
        fragment.remove_prefix(1);
    if (fragment.empty() || fragment.size() > longestLink || fragment.back() == '&')
        return std::nullopt;
    Moment m;
    bool time = false, boxes = false, speed = false, problem = false;
    while (!fragment.empty()) {
        const std::size_t end = fragment.find('&');
        const std::string_view part = fragment.substr(0, end);
        fragment = end == std::string_view::npos ? std::string_view() : fragment.substr(end + 1);
        if (part.size() < 2 || part[1] != '=')
            return std::nullopt;
        const std::string_view value = part.substr(2);
        switch (part[0]) {
        case 'x': {
            const auto tenths = tenthsOf(value);
            if (time || !tenths)
                return std::nullopt;
            m.tenths = *tenths;
            time = true;
            break;
        }
        case 'c':
            if (boxes || value.size() != m.ticked.size() ||
                value.find_first_not_of("01") != std::string_view::npos)
                return std::nullopt;
            for (std::size_t i = 0; i < m.ticked.size(); ++i)
                m.ticked[i] = value[i] == '1';
            boxes = true;
            break;
        case 's': {
            const auto text = percentDecoded(value);
            if (speed || !text || !linkable(*text))
                return std::nullopt;
            m.speed = *text;
            speed = true;
            break;
        }
        case 'p': {
            const motion::Problem* named = builtInNamed(value);
            if (problem || !named)
                return std::nullopt;
            m.problem = *named;
            problem = true;
            break;
        }
        case 'q': {
            auto own = readWrittenOut(value);
            if (problem || !own)
                return std::nullopt;
            m.problem = std::move(*own);
            problem = true;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (!time || !boxes || !speed)
        return std::nullopt;
    // No later than the problem's end.
    if (m.tenths * motion::counterPerStep > motion::Course(m.problem).endCounter())
        return std::nullopt;
    return m;
}

void bringTo(Form1& form, const Moment& moment) {
    if (!sameMotion(moment.problem, form.course().problem()) ||
        moment.problem.name != form.course().problem().name)
        form.chooseProblem(moment.problem);
    form.typeText(role::speedBox, moment.speed);
    for (std::size_t i = 0; i < std::size(checkBoxes); ++i)
        if (moment.ticked[i] != (form.control(checkBoxes[i]).value != 0))
            form.click(checkBoxes[i]);
    for (int step = 0; step < moment.tenths; ++step)
        form.click(role::forwardButton);
}

} // namespace kansu
