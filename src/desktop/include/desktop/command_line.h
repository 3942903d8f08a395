#pragma once

#include <QStringList>
#include <optional>

namespace kansu {

// What the two programs' command lines ask: --help, --version, the problem to start with
// (--problem NAME|FILE), the built-in problems listed (--problems), and the file words they take.
struct CommandLine {
    std::optional<int> exitStatus; // set when the program has already answered and should end
    QStringList files;
    std::optional<QString> problem;
};

// Reads the arguments before anything starts (--help and --version need no lesson). `maxFiles`
// is how many plain words the program takes; `tooMany` is its one-line complaint when given more,
// or null to name the first word too many. --problems prints the built-in problems as a JSON
// array of their files and ends.
CommandLine readCommandLine(int argc, char* argv[], const char* program, const char* usage,
                            qsizetype maxFiles, const char* tooMany);

} // namespace kansu
