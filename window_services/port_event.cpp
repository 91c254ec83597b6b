#include "window_services/port_event.h"

#include <QCoreApplication>

#include "platform/fd_wait.h"

namespace velkaro {

void ReceiveBudget::Handled(std::size_t bytes) {
    // Only the step below the limit can end a reader's wait: signalling on every event would
    // cost a system call per delivery.
    const std::size_t before = inFlight_.fetch_sub(bytes);
    if (before >= limit_ && before - bytes < limit_) room_.Signal();
}

bool ReceiveBudget::WaitForRoom(const EventFd& stop) {
    for (;;) {
        if (stop.IsSignalled()) return false;
        if (inFlight_ < limit_) return true;
        room_.Reset();
        if (inFlight_ < limit_) return true;  // handled between the check and the reset
        if (WaitReadable(room_.Fd(), stop, -1) == WaitResult::Stopped) return false;
    }
}

void PostingPortOwner::PostPortMessage(PortMessage message) {
    budget_->Posted(message.bytes.size());
    QCoreApplication::postEvent(window_, new PortEvent(std::move(message), budget_));
}

}  // namespace velkaro
