#include "app/form1.h"
#include "motion/motion_rules.h"
#include "surface/conversions.h"

#include <cmath>
#include <limits>

namespace kansu {

namespace {
constexpr double millisecondsPerSpeedUnit = 5.0;
} // namespace

std::int32_t Form1::stepWait() const {
    const conv::NumericValue speed = conv::numericValue(control(ControlId::Combo1).text);
    const double wait = speed.value * millisecondsPerSpeedUnit;
    // A wait too long for a 32-bit count of milliseconds becomes the longest one there is: the
    // run then stands still until "ストップ" or "終了", both of which work during a wait. One too
    // far below zero is no wait, like any negative one. A value that is not a number is no wait.
    if (std::isnan(wait))
        return 0;
    if (const auto rounded = conv::toInt32(wait))
        return *rounded;
    return wait > 0 ? std::numeric_limits<std::int32_t>::max()
                    : std::numeric_limits<std::int32_t>::min();
}

void Form1::setButtonStates(bool running) {
    using enum ControlId;
    if (running) {
        control(susumu).enabled = false;
        control(modoru).enabled = false;
        control(Command1).enabled = false;
        control(jidou).enabled = false;
        control(tomeru).enabled = true;
    } else {
        control(susumu).enabled = true;
        control(modoru).enabled = true;
        control(Command1).enabled = true;
        control(tomeru).enabled = false;
        control(jidou).enabled = true;
    }
}

void Form1::jidou_Click() {
    if (runActive_) {
        // Pressed again while a stopped run is still in its last wait: that run takes up again,
        // rather than a second run starting inside it and leaving the first one unstoppable.
        vars.stopRequested = 0;
        setButtonStates(true);
        return;
    }
    if (vars.michinori == motion::endCounter)
        InitScreen();
    setButtonStates(true);

    runActive_ = true;
    for (;;) {
        if (vars.stopRequested == 1 || vars.michinori == motion::endCounter)
            break;
        susumu_Click();
        Wait(stepWait());
        if (ended_)
            return; // the program ended inside the wait: nothing more may run
    }
    runActive_ = false;
    vars.stopRequested = 0;
    setButtonStates(false);
}

void Form1::tomeru_Click() {
    vars.stopRequested = 1;
    control(ControlId::jidou).enabled = true;
}

void Form1::Wait(std::int32_t milliseconds) {
    host_.waitStarted(milliseconds);
    if (milliseconds <= 0)
        return;
    const auto length = static_cast<std::uint32_t>(milliseconds);
    const std::uint32_t start = host_.tickCount();
    while (!ended_) {
        // Unsigned subtraction is the elapsed time modulo 2^32, right across a wrap of the counter.
        const std::uint32_t elapsed = host_.tickCount() - start;
        if (elapsed >= length)
            return;
        host_.runPendingEvents(static_cast<std::int32_t>(length - elapsed));
    }
}

} // namespace kansu
