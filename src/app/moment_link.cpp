#include "app/moment_link.h"

#include "app/form1.h"
#include "motion/problem.h"
#include "surface/utf8.h"

#include <charconv>
#include <cmath>

namespace kansu {

namespace {

// No link this program writes comes near this length; a longer one is not read at all.
constexpr std::size_t longestLink = 256;
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

// "4.5", "0.0", "8.0": the time in tenths, as the link writes it.
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
    const int last = static_cast<int>(motion::endCounter / motion::counterPerStep);
    if (value > last)
        return std::nullopt;
    return value;
}

} // namespace

Moment momentOf(const Form1& form) {
    Moment m;
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
    return link + "&s=" + percentEncoded(moment.speed);
}

std::optional<Moment> readLink(std::string_view fragment) {
    if (!fragment.empty() && fragment.front() == '#')
        fragment.remove_prefix(1);
    if (fragment.empty() || fragment.size() > longestLink || fragment.back() == '&')
        return std::nullopt;
    Moment m;
    bool time = false, boxes = false, speed = false;
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
        default:
            return std::nullopt;
        }
    }
    if (!time || !boxes || !speed)
        return std::nullopt;
    return m;
}

void bringTo(Form1& form, const Moment& moment) {
    form.typeText(role::speedBox, moment.speed);
    for (std::size_t i = 0; i < std::size(checkBoxes); ++i)
        if (moment.ticked[i] != (form.control(checkBoxes[i]).value != 0))
            form.click(checkBoxes[i]);
    for (int step = 0; step < moment.tenths; ++step)
        form.click(role::forwardButton);
}

} // namespace kansu
