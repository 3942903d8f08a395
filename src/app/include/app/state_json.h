#pragma once

#include "surface/control.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kansu {

class Form1;

// What the script tool knows beyond the window: whether the program has ended, the virtual time
// and every wait so far.
struct RunRecord {
    bool closed = false;
    std::uint64_t clockMs = 0;
    std::vector<std::int32_t> waits;
};

// The lesson's state as one JSON object: the run record, the window, the variables and every
// control under its design name. Positions are the single-precision values last handed to the
// controls, written so that they read back to the same float. Always well-formed UTF-8.
std::string stateJson(const Form1& form, const RunRecord& run);

// The name the state and the page give a kind of control: "label", "check", "button", ...
const char* kindName(ControlKind kind);

} // namespace kansu
