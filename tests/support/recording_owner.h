// An owner window stand-in that records every message a port posts to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "connections/port_message.h"

namespace velkaro::test {

class RecordingOwner : public IPortOwner {
  public:
    void PostPortMessage(PortMessage message) override {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back(std::move(message));
        changed_.notify_all();
    }

    // Waits until `predicate(messages)` holds or `timeoutMs` passes; returns whether it holds.
    template <typename Predicate>
    bool WaitFor(Predicate predicate, int timeoutMs = 5000) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return predicate(messages_); });
    }

    bool WaitForBytes(std::size_t count, int timeoutMs = 5000) {
        return WaitFor([&](const std::vector<PortMessage>&) { return BytesLocked() >= count; },
                       timeoutMs);
    }

    std::vector<PortMessage> Messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }

    std::string AllBytes() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string all;
        for (const PortMessage& m : messages_) all += m.bytes;
        return all;
    }

  private:
    std::size_t BytesLocked() const {
        std::size_t total = 0;
        for (const PortMessage& m : messages_) total += m.bytes.size();
        return total;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PortMessage> messages_;
};

}  // namespace velkaro::test
