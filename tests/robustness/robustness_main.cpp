// Plays reproducible random user sessions over the headless lesson and checks its invariants after
// every action: robustness_sessions FIRST_SEED SESSIONS ACTIONS
#include "session.h"

#include <cstdio>
#include <cstdlib>
#include <span>

int main(int argc, char** argv) {
    const std::uint64_t firstSeed = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    const std::uint64_t sessions = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 100;
    const std::size_t actions = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 200;

    kansu::robustness::Totals totals;
    std::uint64_t failed = 0;
    for (std::uint64_t seed = firstSeed; seed < firstSeed + sessions; ++seed) {
        const std::string bytes = kansu::robustness::randomSessionBytes(seed, actions);
        const std::string failure = kansu::robustness::playSession(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), totals);
        if (!failure.empty()) {
            ++failed;
            std::printf("seed %llu: %s\n", static_cast<unsigned long long>(seed), failure.c_str());
        }
    }
    std::printf("robustness: %llu sessions, %llu actions, %llu invariant checks\n",
                static_cast<unsigned long long>(totals.sessions),
                static_cast<unsigned long long>(totals.actions),
                static_cast<unsigned long long>(totals.checks));
    std::printf("%llu passed, %llu failed\n",
                static_cast<unsigned long long>(totals.sessions - failed),
                static_cast<unsigned long long>(failed));
    return failed == 0 ? 0 : 1;
}
