#pragma once

#include <cmath>
#include <concepts>
#include <string>
#include <string_view>

// The one way every JSON the lesson writes is spelled: the state kansu-script writes, and what the
// page receives. Numbers are written so that they read back to the same value.
namespace kansu::json {

// The shortest text that reads back to the same value; not-a-number and infinities are null.
std::string number(double value);
std::string number(float value);
std::string number(long long value);
inline std::string number(std::integral auto value) {
    return number(static_cast<long long>(value));
}

// A string literal; ill-formed UTF-8 becomes U+FFFD.
std::string string(std::string_view text);

inline std::string boolean(bool b) {
    return b ? "true" : "false";
}

// An object, its members given as already written JSON values.
class Object {
public:
    Object& field(std::string_view key, std::string_view value);
    std::string close() const { return "{" + members_ + "}"; }

private:
    std::string members_;
};

// An array, its items given as already written JSON values.
class Array {
public:
    Array& item(std::string_view value);
    std::string close() const { return "[" + items_ + "]"; }
    bool empty() const { return items_.empty(); }

private:
    std::string items_;
};

} // namespace kansu::json
