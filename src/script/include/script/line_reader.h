#pragma once

#include <cstdio>
#include <string>

namespace kansu::script {

// Reads a script a line at a time, never holding more than one line of at most a given length.
class LineReader {
public:
    LineReader(std::FILE* in, std::size_t maxBytes) : in_(in), max_(maxBytes) {}

    enum class Result { Line, End, TooLong, Failed };
    // The next line, without its line feed.
    Result next(std::string& line);

private:
    std::FILE* in_;
    std::size_t max_;
};

} // namespace kansu::script
