// libFuzzer entry over the same session decoder, for long runs by hand (make fuzz).
#include "session.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kansu::robustness::Totals totals;
    const std::string failure = kansu::robustness::playSession(std::span(data, size), totals);
    if (!failure.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
