#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kansu::robustness {

struct Totals {
    std::uint64_t sessions = 0;
    std::uint64_t actions = 0;
    std::uint64_t checks = 0;
};

// Plays one user session decoded from bytes over a fresh headless lesson on a virtual clock:
// clicks on every control (enabled or not), texts typed from a corpus of bad inputs, maximise and
// restore, actions delivered during the waits of automatic play, and at the end "終了" or a close
// of the window. The invariants are checked after every action; the first broken one is returned
// as a message (empty when all held).
std::string playSession(std::span<const std::uint8_t> bytes, Totals& totals);

// The bytes of a reproducible session of the given number of actions.
std::string randomSessionBytes(std::uint64_t seed, std::size_t actions);

} // namespace kansu::robustness
