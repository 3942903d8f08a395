#include "app/json.h"

#include "surface/utf8.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace kansu::json {

namespace {

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
constexpr bool floatCharconv = true;
#else
constexpr bool floatCharconv = false; // the browser build's standard library
#endif

template <typename Real> std::string shortest(Real value) {
    if (!std::isfinite(value))
        return "null";
    // Whole numbers, the most common, as such.
    if (std::fabs(value) < Real(1e15) && value == std::trunc(value))
        return number(static_cast<long long>(value));
    if constexpr (floatCharconv) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    } else {
        // The fewest digits that read back. The browser's C library always keeps the classic
        // locale, so the point is a point.
        char buffer[64];
        for (int digits = 1; digits <= 17; ++digits) {
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
            const Real back = sizeof(Real) == sizeof(float)
                                  ? static_cast<Real>(std::strtof(buffer, nullptr))
                                  : static_cast<Real>(std::strtod(buffer, nullptr));
            if (back == value)
                break;
        }
        return buffer;
    }
}

} // namespace

std::string number(double value) {
    return shortest(value);
}

std::string number(float value) {
    return shortest(value);
}

std::string number(long long value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string string(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string json = "\"";
    for (const char c : utf8::sanitized(text)) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (u < 0x20) {
                json += "\\u00";
                json += hex[u >> 4];
                json += hex[u & 15];
            } else {
                json += c;
            }
        }
    }
    return json + '"';
}

Object& Object::field(std::string_view key, std::string_view value) {
    if (!members_.empty())
        members_ += ", ";
    members_ += string(key);
    members_ += ": ";
    members_ += value;
    return *this;
}

Array& Array::item(std::string_view value) {
    if (!items_.empty())
        items_ += ", ";
    items_ += value;
    return *this;
}

} // namespace kansu::json
