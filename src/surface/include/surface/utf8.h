#pragma once

#include <string>
#include <string_view>

// UTF-8 text, the form every text of the lesson takes.
namespace kansu::utf8 {

// The code points of a text; a byte that starts no valid sequence reads as U+FFFD.
std::u32string decode(std::string_view text);

// Appends the UTF-8 form of a code point.
void append(std::string& text, char32_t codePoint);

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool valid(std::string_view text);

// The text with every ill-formed sequence replaced by U+FFFD.
std::string sanitized(std::string_view text);

} // namespace kansu::utf8
