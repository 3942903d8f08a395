#pragma once

#include "surface/host.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace kansu {

// A host on a virtual clock: a wait of n ms advances the clock by n at once, after delivering the
// actions queued for it at its start. Nothing sleeps, so a whole automatic run takes no real time.
class VirtualHost : public Host {
public:
    explicit VirtualHost(std::uint32_t startTicks = 0) : clock_(startTicks) {}

    std::uint32_t tickCount() override { return clock_; }
    void runPendingEvents(std::int32_t maxMilliseconds) override;
    void waitStarted(std::int32_t milliseconds) override;
    void endProgram() override { ended_ = true; }

    // Queues an action for the wait with this number (1 is the first wait from now). An action
    // for a wait that lets no event run is delivered in the first later wait that does.
    void deliverInWait(int waitFromNow, std::function<void()> action);
    // Runs every queued action that is already due (those whose wait has begun); says whether
    // there was any.
    bool deliverOverdue();
    // Runs everything still queued, due or not.
    void deliverAll();

    const std::vector<std::int32_t>& waits() const { return waits_; }
    std::uint64_t elapsed() const { return elapsed_; }
    bool ended() const { return ended_; }

private:
    // The first action of the earliest wait, out of the queue.
    std::function<void()> takeFirst();

    std::uint32_t clock_;
    std::uint64_t elapsed_ = 0;
    std::vector<std::int32_t> waits_;
    // By absolute wait number, counted from 1; in the order given within one wait.
    std::map<std::size_t, std::deque<std::function<void()>>> queue_;
    bool ended_ = false;
};

} // namespace kansu
