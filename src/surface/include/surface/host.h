#pragma once

#include <cstdint>

// Marks a function on the way from a user's click down to Host::runPendingEvents. The browser
// build suspends that whole chain while automatic play waits, and finds its functions by name:
// there each must stay a function of its own, whatever the optimiser would inline. Kept as used,
// a function is never folded into its one caller.
#if defined(__EMSCRIPTEN__)
#define KANSU_SUSPENDS_IN_THE_BROWSER __attribute__((noinline, used))
#else
#define KANSU_SUSPENDS_IN_THE_BROWSER
#endif

namespace kansu {

// What the lesson needs from the world outside it: the millisecond tick counter, a way to let
// pending window events run, and a way to end the program. The real window supplies one; tests and
// the script tool supply one with a virtual clock.
class Host {
public:
    virtual ~Host() = default;

    // Milliseconds since some fixed moment; wraps after 2^32 ms. Only differences are meaningful.
    virtual std::uint32_t tickCount() = 0;

    // Lets pending window events run. May block until an event arrives or at most maxMilliseconds
    // have passed, whichever comes first; never spins.
    virtual void runPendingEvents(std::int32_t maxMilliseconds) = 0;

    // A wait of the given length begins (called once per wait, before any event runs in it).
    virtual void waitStarted(std::int32_t milliseconds) { (void)milliseconds; }

    // The program ends: the window goes away and the event loop stops once control returns to it.
    virtual void endProgram() = 0;
};

} // namespace kansu
