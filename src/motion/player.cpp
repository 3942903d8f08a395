#include "motion/player.h"

#include "surface/conversions.h"

#include <cmath>
#include <limits>

namespace kansu::motion {

namespace {
constexpr double millisecondsPerSpeedUnit = 5.0;
} // namespace

namespace {
double requestedWait(std::string_view speedText) {
    return conv::numericValue(speedText).value * millisecondsPerSpeedUnit;
}
} // namespace

std::int32_t Player::waitFor(std::string_view speedText) {
    const double wait = requestedWait(speedText);
    // Too long a wait stands still until "ストップ" or "終了", both of which work during a wait.
    if (std::isnan(wait))
        return 0;
    if (const auto rounded = conv::toInt32(wait))
        return *rounded;
    return wait > 0 ? std::numeric_limits<std::int32_t>::max()
                    : std::numeric_limits<std::int32_t>::min();
}

bool Player::play(const Run& run) {
    running_ = true;
    while (!(stopRequested_ == 1 || run.atEnd())) {
        run.step();
        wait(waitFor(run.speed()), run.show, run.longestPlainWait);
        if (abandoned_)
            return false;
    }
    running_ = false;
    stopRequested_ = 0;
    return true;
}

void Player::wait(std::int32_t milliseconds, const std::function<void()>& show,
                  std::int32_t longestPlainWait) {
    host_.waitStarted(milliseconds);
    if (milliseconds <= 0)
        return;
    const auto length = static_cast<std::uint32_t>(milliseconds);
    const std::uint32_t start = host_.tickCount();
    if (show)
        show();
    const bool stopCutsItShort = milliseconds > longestPlainWait;
    while (!abandoned_ && !(stopCutsItShort && stopRequested_ == 1)) {
        // Unsigned subtraction is the elapsed time modulo 2^32, right across a wrap of the counter.
        const std::uint32_t elapsed = host_.tickCount() - start;
        if (elapsed >= length)
            return;
        host_.runPendingEvents(static_cast<std::int32_t>(length - elapsed));
    }
}

} // namespace kansu::motion
