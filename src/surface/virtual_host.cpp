#include "surface/virtual_host.h"

#include <algorithm>

namespace kansu {

void VirtualHost::waitStarted(std::int32_t milliseconds) {
    waits_.push_back(milliseconds);
}

void VirtualHost::deliverInWait(int waitFromNow, std::function<void()> action) {
    const std::size_t wait = waits_.size() + static_cast<std::size_t>(std::max(waitFromNow, 1));
    // Keep the queue ordered by wait, and in the order given within one wait.
    auto at = std::upper_bound(queue_.begin(), queue_.end(), wait,
                               [](std::size_t w, const Queued& q) { return w < q.wait; });
    queue_.insert(at, Queued{wait, std::move(action)});
}

bool VirtualHost::deliverOverdue() {
    bool delivered = false;
    while (!queue_.empty() && queue_.front().wait <= waits_.size()) {
        auto action = std::move(queue_.front().action);
        queue_.pop_front();
        action();
        delivered = true;
    }
    return delivered;
}

void VirtualHost::deliverAll() {
    while (!queue_.empty()) {
        auto action = std::move(queue_.front().action);
        queue_.pop_front();
        action();
    }
}

void VirtualHost::runPendingEvents(std::int32_t maxMilliseconds) {
    // Actions delivered now happen at this moment of the wait; the clock moves on the next call.
    if (deliverOverdue())
        return;
    if (maxMilliseconds > 0) {
        clock_ += static_cast<std::uint32_t>(maxMilliseconds);
        elapsed_ += static_cast<std::uint64_t>(maxMilliseconds);
    }
}

} // namespace kansu
