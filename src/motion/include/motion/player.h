#pragma once

#include "surface/host.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kansu::motion {

// Automatic play: a forward step, then a wait, again and again until the end or a stop. The wait
// lets pending events run, so a stop, the end of the program or any other click is handled between
// two steps; it is the only place where that can happen while a handler is in progress.
class Player {
public:
    explicit Player(Host& host) : host_(host) {}

    // The wait after each step for a speed text: its value times 5 ms, halves to the even
    // neighbour. A wait too long for a 32-bit count of milliseconds becomes the longest one there
    // is; one too far below zero, or a value that is not a number, is no wait.
    static std::int32_t waitFor(std::string_view speedText);

    struct Run {
        std::function<bool()> atEnd;        // the motion has reached its end
        std::function<void()> step;         // one forward step
        std::function<std::string()> speed; // the speed text, read before every wait
        // The step's changes shown, once a wait is about to let the window have its turn.
        std::function<void()> show;
        // A stop lets a wait up to this long run out, as the run always has; a longer one (a
        // speed typed by hand, of hours or days) ends at once.
        std::int32_t longestPlainWait = 0;
    };
    // Plays until the end or a stop request, then withdraws the request. Returns false when the
    // program ended during the run: then nothing more may run.
    KANSU_SUSPENDS_IN_THE_BROWSER bool play(const Run& run);

    bool running() const { return running_; }
    // 1 from a stop request until the run notices it, else 0.
    std::int16_t stopRequested() const { return stopRequested_; }
    void requestStop() { stopRequested_ = 1; }
    void withdrawStop() { stopRequested_ = 0; }
    // The program ends: a wait in progress returns at once and the run unwinds without a further
    // step.
    void abandon() { abandoned_ = true; }

    // Lets pending events run for the given time, on the host's tick counter; no wait, and no
    // event, for a time of 0 or less. The wait ends at once when the program ends, and when a
    // stop is requested in a wait longer than longestPlainWait: a wait of days would keep the
    // buttons disabled for days. A shorter one runs out, and the run stops after it. show runs
    // first, on the wait's own time, when the wait lets events run.
    KANSU_SUSPENDS_IN_THE_BROWSER void wait(std::int32_t milliseconds,
                                            const std::function<void()>& show = {},
                                            std::int32_t longestPlainWait = 0);

private:
    Host& host_;
    std::int16_t stopRequested_ = 0;
    bool running_ = false;
    bool abandoned_ = false;
};

} // namespace kansu::motion
