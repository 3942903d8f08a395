#include "surface/virtual_host.h"

#include <algorithm>

namespace kansu {

void VirtualHost::waitStarted(std::int32_t milliseconds) {
    waits_.push_back(milliseconds);
}

void VirtualHost::deliverInWait(int waitFromNow, std::function<void()> action) {
    const std::size_t wait = waits_.size() + static_cast<std::size_t>(std::max(waitFromNow, 1));
    queue_[wait].push_back(std::move(action));
}

std::function<void()> VirtualHost::takeFirst() {
    auto first = queue_.begin();
    std::function<void()> action = std::move(first->second.front());
    first->second.pop_front();
    if (first->second.empty())
        queue_.erase(first);
    return action;
}

bool VirtualHost::deliverOverdue() {
    bool delivered = false;
    while (!queue_.empty() && queue_.begin()->first <= waits_.size()) {
        takeFirst()();
        delivered = true;
    }
    return delivered;
}

void VirtualHost::deliverAll() {
    while (!queue_.empty())
        takeFirst()();
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
