#include "surface/utf8.h"

namespace kansu::utf8 {

namespace {

constexpr char32_t replacement = 0xFFFD;

// Reads one sequence at text[i]; returns its code point and advances i, or returns replacement
// and advances i by one byte when the sequence is ill-formed.
char32_t next(std::string_view text, std::size_t& i, bool& wellFormed) {
    const auto byte = [&](std::size_t at) {
        return static_cast<unsigned char>(text[at]);
    };
    const unsigned char lead = byte(i);
    wellFormed = true;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t cp = 0, minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    }
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
        wellFormed = false;
        ++i;
        return replacement;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) {
            wellFormed = false;
            ++i;
            return replacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        wellFormed = false;
        ++i;
        return replacement;
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

} // namespace

std::u32string decode(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    bool wellFormed = true;
    for (std::size_t i = 0; i < text.size();)
        out += next(text, i, wellFormed);
    return out;
}

void append(std::string& text, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = replacement;
    if (cp < 0x80) {
        text += static_cast<char>(cp);
    } else if (cp < 0x800) {
        text += static_cast<char>(0xC0 | (cp >> 6));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        text += static_cast<char>(0xE0 | (cp >> 12));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (cp >> 18));
        text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool valid(std::string_view text) {
    bool wellFormed = true;
    for (std::size_t i = 0; i < text.size();) {
        next(text, i, wellFormed);
        if (!wellFormed)
            return false;
    }
    return true;
}

std::string sanitized(std::string_view text) {
    if (valid(text))
        return std::string(text);
    std::string out;
    for (const char32_t cp : decode(text))
        append(out, cp);
    return out;
}

} // namespace kansu::utf8
