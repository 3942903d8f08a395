#pragma once

#include "motion/problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kansu {

// No problem file comes near this size; a larger one is not read.
constexpr std::size_t largestProblemFile = 64 * 1024;

// A problem read from its file's text: the problem, or why the text is none, naming the field
// and the reason ("points[0].speed: must be a number greater than 0").
struct ReadProblem {
    std::optional<motion::Problem> problem;
    std::string error;
};
// name: what to call a problem whose file gives no name (the file's own name, say).
ReadProblem readProblem(std::string_view text, std::string_view name = "mine");

// A problem in its file's form, as JSON.
std::string problemJson(const motion::Problem& problem);

// The problems kansu knows by name, each from a file of data/problems built into the program:
// the lesson's own square first, the problem it starts with.
const std::vector<motion::Problem>& builtInProblems();
const motion::Problem& lessonsOwnProblem();
const motion::Problem* builtInNamed(std::string_view name);

} // namespace kansu
