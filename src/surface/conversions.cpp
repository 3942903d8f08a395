#include "surface/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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
    // Fifteen significant digits, as the classic runtime shows a double.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", magnitude);
    std::string text(buffer);
    const auto ePos = text.find('E');
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
        fixed = "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    trimFraction(fixed);
    return fixed.empty() ? std::string("0") : fixed;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Reads &H / &O integers: up to 4 digits give a 16-bit value, up to 8 (hex) or 11 (octal) a
// 32-bit value, both wrapping into the signed range as the classic runtime does.
NumericValue radixValue(const QString& text, qsizetype i, int radix) {
    std::uint64_t accumulated = 0;
    int digits = 0;
    bool tooLong = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        const char16_t u = c.toUpper().unicode();
        int d = -1;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
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

} // namespace

QString numberText(double value) {
    if (std::isnan(value))
        return QStringLiteral(" NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral(" Inf");
    if (value == 0.0)
        return QStringLiteral(" 0");
    std::string text = classicDigits(std::fabs(value));
    if (text == "0")
        return QStringLiteral(" 0");
    return QString::fromLatin1((value < 0 ? "-" : " ") + text);
}

NumericValue numericValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == u'&') {
        const QChar kind = text[i + 1].toUpper();
        if (kind == u'H')
            return radixValue(text, i + 2, 16);
        if (kind == u'O')
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
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (!seenSign && !seenDigit && !seenPoint && (c == u'+' || c == u'-')) {
            seenSign = true;
            negative = c == u'-';
            continue;
        }
        if (isAsciiDigit(c)) {
            seenDigit = true;
            if (!seenPoint) {
                if (c != u'0' || !leadingZeros) {
                    leadingZeros = false;
                    ++integerDigits;
                }
            }
            number += static_cast<char>(c.unicode());
            continue;
        }
        if (c == u'.' && !seenPoint) {
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
    if (i < text.size() && (text[i].toUpper() == u'E' || text[i].toUpper() == u'D')) {
        qsizetype j = i + 1;
        while (j < text.size() && isBlank(text[j]))
            ++j;
        bool expNegative = false;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            expNegative = text[j] == u'-';
            ++j;
        }
        std::string expDigits;
        for (; j < text.size(); ++j) {
            if (isBlank(text[j]))
                continue;
            if (!isAsciiDigit(text[j]))
                break;
            if (expDigits.size() < 12) // anything longer is far beyond a double's range
                expDigits += static_cast<char>(text[j].unicode());
            else
                expDigits += '9';
        }
        if (!expDigits.empty()) {
            exponent = std::stoll(expDigits.substr(0, 12));
            if (expNegative)
                exponent = -exponent;
        }
    }
    if (exponent != 0)
        number += "e" + std::to_string(exponent);

    double parsed = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed,
                                              std::chars_format::general);
    (void)end;
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

QString fullWidth(const QString& text) {
    QString wide;
    wide.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ')
            wide += QChar(0x3000);
        else if (u > 0x20 && u < 0x7F)
            wide += QChar(static_cast<char16_t>(u - 0x21 + 0xFF01));
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

QString mid(const QString& text, int start) {
    if (start < 1 || start > text.size())
        return {};
    return text.mid(start - 1);
}

int position(const QString& text, const QString& needle) {
    return static_cast<int>(text.indexOf(needle)) + 1;
}

} // namespace kansu::conv
