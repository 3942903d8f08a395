#pragma once

#include "app/problems.h"

#include <QString>

namespace kansu {

// A problem from a teacher's file: only a regular file of at most 64 KiB is read, and the
// problem is read as kansu reads every problem (named after the file when it names itself
// nothing). Or why it is none, in one line.
ReadProblem readProblemFile(const QString& path);

// A built-in problem by its name, else the problem of the file the text names.
ReadProblem problemNamed(const QString& nameOrFile);

} // namespace kansu
