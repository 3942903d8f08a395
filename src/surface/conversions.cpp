#include "surface/conversions.h"

#include "surface/utf8.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace kansu::conv {

namespace {

// Strips the trailing zeros (and a trailing point) of a fixed or mantissa text.
void trimFraction(std::string& digits) {
    if (digits.find('.') == std::string::npos)
        return;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (!digits.empty() && digits.back() == '.')
        digits.pop_back();
}

std::string classicDigits(double magnitude) {
    // A whole number of up to fifteen digits is its own digits: the text the conversion below
    // would give, without it (the graph's and the table's numbers at every step).
    if (magnitude < 1e15 && magnitude == std::floor(magnitude))
        return std::to_string(static_cast<std::uint64_t>(magnitude));
    // Fifteen significant digits, as the classic runtime shows a double, with a point whatever
    // the user's locale: the standard library's own conversion, or where it has none (the
    // browser's) the C library's, which there always keeps the classic locale. Both round
    // exactly, to the same digits.
    char buffer[64];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
#else
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    const std::string text(buffer);
#endif
    const auto ePos = text.find('e');
    const int exponent = std::stoi(text.substr(ePos + 1));
    std::string mantissa = text.substr(0, ePos);

    if (exponent < -5 || exponent >= 15) {
        trimFraction(mantissa);
        char expText[16];
        std::snprintf(expText, sizeof expText, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return mantissa + expText;
    }
    // Rebuild the rounded value in fixed notation from the mantissa's digits.
    std::string digits;
    for (char c : mantissa)
        if (c != '.')
            digits += c;
    std::string fixed;
    if (exponent >= 0) {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
        fixed.assign(1, '.');
        fixed.append(static_cast<std::size_t>(-exponent - 1), '0');
        fixed += digits;
    }
    trimFraction(fixed);
    return fixed.empty() ? std::string("0") : fixed;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Reads &H / &O integers: up to 4 digits give a 16-bit value, up to 8 (hex) or 11 (octal) a
// 32-bit value, both wrapping into the signed range as the classic runtime does.
NumericValue radixValue(std::string_view text, std::size_t i, int radix) {
    std::uint64_t accumulated = 0;
    int digits = 0;
    bool tooLong = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c))
            continue;
        const char u = upper(c);
        int d = -1;
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        if (d < 0 || d >= radix)
            break;
        if (accumulated == 0 && d == 0)
            continue; // leading zeros do not count towards the width
        ++digits;
        accumulated = accumulated * static_cast<std::uint64_t>(radix) + static_cast<unsigned>(d);
        if (accumulated > 0xFFFFFFFFull)
            tooLong = true;
    }
    if (tooLong)
        return {std::numeric_limits<double>::infinity(), true};
    const int shortDigits = 4;
    if ((radix == 16 && digits <= shortDigits) || (radix == 8 && accumulated <= 0xFFFF))
        return {static_cast<double>(static_cast<std::int16_t>(accumulated & 0xFFFF)), false};
    return {static_cast<double>(static_cast<std::int32_t>(accumulated & 0xFFFFFFFFu)), false};
}

// Reads plain decimal notation whatever the locale, rounded correctly.
std::errc parseDecimal(const std::string& number, double& value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    return std::from_chars(number.data(), number.data() + number.size(), value,
                           std::chars_format::general)
        .ec;
#else
    // Where the standard library cannot read floating point yet (the browser build's): the C
    // library's, which there always keeps the classic locale and rounds correctly. The text is a
    // well-formed number, so a failure can only be a value out of range.
    char* end = nullptr;
    value = std::strtod(number.c_str(), &end);
    return std::isinf(value) ? std::errc::result_out_of_range : std::errc();
#endif
}

} // namespace

std::string numberText(double value) {
    if (std::isnan(value))
        return " NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : " Inf";
    if (value == 0.0)
        return " 0";
    std::string text = classicDigits(std::fabs(value));
    if (text == "0")
        return " 0";
    return (value < 0 ? "-" : " ") + text;
}

NumericValue numericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == '&') {
        const char kind = upper(text[i + 1]);
        if (kind == 'H')
            return radixValue(text, i + 2, 16);
        if (kind == 'O')
            return radixValue(text, i + 2, 8);
        return {};
    }

    // Gather the numeric prefix as plain ASCII, blanks removed.
    std::string number;
    bool negative = false;
    bool seenSign = false, seenPoint = false, seenDigit = false;
    int integerDigits = 0;    // significant digits before the point
    bool leadingZeros = true; // still inside the zeros that lead the integer part
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c))
            continue;
        if (!seenSign && !seenDigit && !seenPoint && (c == '+' || c == '-')) {
            seenSign = true;
            negative = c == '-';
            continue;
        }
        if (isAsciiDigit(c)) {
            seenDigit = true;
            if (!seenPoint) {
                if (c != '0' || !leadingZeros) {
                    leadingZeros = false;
                    ++integerDigits;
                }
            }
            number += c;
            continue;
        }
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            number += '.';
            continue;
        }
        break;
    }
    if (!seenDigit)
        return {};

    // Optional exponent, E or D, with an optional sign and at least one digit.
    long long exponent = 0;
    if (i < text.size() && (upper(text[i]) == 'E' || upper(text[i]) == 'D')) {
        std::size_t j = i + 1;
        while (j < text.size() && isBlank(text[j]))
            ++j;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        std::string expDigits;
        for (; j < text.size(); ++j) {
            if (isBlank(text[j]))
                continue;
            if (!isAsciiDigit(text[j]))
                break;
            if (expDigits.size() < 12) // anything longer is far beyond a double's range
                expDigits += text[j];
            else
                expDigits += '9';
        }
        if (!expDigits.empty()) {
            exponent = std::stoll(expDigits.substr(0, 12));
            if (expNegative)
                exponent = -exponent;
        }
    }
    if (exponent != 0) {
        number += 'e';
        number += std::to_string(exponent);
    }

    double parsed = 0.0;
    const std::errc error = parseDecimal(number, parsed);
    NumericValue result;
    if (error == std::errc::result_out_of_range) {
        // The decimal magnitude decides whether the number is too large or too small.
        if (integerDigits + exponent > 0) {
            result.value = std::numeric_limits<double>::infinity();
            result.overflow = true;
        } else {
            result.value = 0.0;
        }
    } else if (error == std::errc()) {
        result.value = parsed;
    }
    if (negative)
        result.value = -result.value;
    return result;
}

std::string fullWidth(std::string_view text) {
    std::string wide;
    wide.reserve(text.size() * 3);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == ' ')
            utf8::append(wide, 0x3000);
        else if (u > 0x20 && u < 0x7F)
            utf8::append(wide, static_cast<char32_t>(u - 0x21 + 0xFF01));
        else
            wide += c;
    }
    return wide;
}

double integerPart(double value) {
    return std::floor(value);
}

namespace {
template <typename Int> std::optional<Int> nearestEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}
} // namespace

std::optional<std::int16_t> toInt16(double value) {
    return nearestEven<std::int16_t>(value);
}
std::optional<std::int32_t> toInt32(double value) {
    return nearestEven<std::int32_t>(value);
}

std::string mid(std::string_view text, int start) {
    if (start < 1 || static_cast<std::size_t>(start) > text.size())
        return {};
    return std::string(text.substr(static_cast<std::size_t>(start) - 1));
}

int position(std::string_view text, std::string_view needle) {
    const auto at = text.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

} // namespace kansu::conv
