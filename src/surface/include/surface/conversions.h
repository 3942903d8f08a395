#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The classic runtime's text and number conversions that the lesson relies on. Texts are UTF-8.
namespace kansu::conv {

// Decimal text of a number: a blank (or minus) before it, no zero before the point of a value
// between -1 and 1, at most 15 significant digits, exponent form outside 1e-5 .. 1e15.
// " 2.5", " .3", "-1", " 0", " 1E+20". Not-a-number and infinities give " NaN", " Inf", "-Inf".
std::string numberText(double value);

// The numeric value of a text, the way the classic runtime reads it.
struct NumericValue {
    double value = 0.0;
    // The text held a number too large for a double; value is then +/-infinity.
    bool overflow = false;
};
// Blanks, tabs and line feeds are skipped wherever they stand; the longest numeric prefix is read
// (sign, digits, one decimal point, an exponent with E or D); &H and &O prefixes read hexadecimal
// and octal integers. A text that does not begin with a number gives 0.
NumericValue numericValue(std::string_view text);

// Full-width form of every single-byte character: digits become U+FF10..U+FF19, a blank becomes
// U+3000, the other printable ASCII characters their full-width forms.
std::string fullWidth(std::string_view text);

// Largest whole number not above the value.
double integerPart(double value);

// Nearest 16- and 32-bit integers, a half going to the even neighbour. Empty when the value is
// not finite or does not fit.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// Substring from the 1-based position start, to the end of the text.
std::string mid(std::string_view text, int start);

// 1-based position of the first occurrence of needle in text, 0 when absent.
int position(std::string_view text, std::string_view needle);

} // namespace kansu::conv
