#include "script/line_reader.h"

namespace kansu::script {

LineReader::Result LineReader::next(std::string& line) {
    line.clear();
    for (;;) {
        const int c = std::getc(in_);
        if (c == EOF) {
            if (std::ferror(in_))
                return Result::Failed;
            return line.empty() ? Result::End : Result::Line;
        }
        if (c == '\n')
            return Result::Line;
        if (line.size() == max_)
            return Result::TooLong;
        line += static_cast<char>(c);
    }
}

} // namespace kansu::script
