// Port messages travel to the main window as posted events whose type is the message number
// (1125 serial data, 1225 USB data, 1325 network data, 1326 network closed, 1425 update text).
#pragma once

#include <QEvent>
#include <QObject>
#include <atomic>
#include <cstddef>
#include <memory>

#include "connections/port_message.h"
#include "platform/event_fd.h"

namespace velkaro {

// Counts the received bytes posted to the window and not yet handled there, and lets readers
// wait while that count is at its limit.
class ReceiveBudget {
  public:
    explicit ReceiveBudget(std::size_t limit) : limit_(limit) {}
    void Posted(std::size_t bytes) { inFlight_ += bytes; }
    void Handled(std::size_t bytes);
    bool WaitForRoom(const EventFd& stop);
    std::size_t InFlight() const { return inFlight_; }

  private:
    const std::size_t limit_;
    std::atomic<std::size_t> inFlight_{0};
    EventFd room_;
};

class PortEvent : public QEvent {
  public:
    explicit PortEvent(PortMessage message, std::shared_ptr<ReceiveBudget> budget = nullptr)
        : QEvent(static_cast<QEvent::Type>(message.type)),
          message_(std::move(message)),
          budget_(std::move(budget)) {}
    // Handled or dropped, its bytes no longer count against the budget.
    ~PortEvent() override {
        if (budget_) budget_->Handled(message_.bytes.size());
    }
    const PortMessage& Message() const { return message_; }

  private:
    PortMessage message_;
    std::shared_ptr<ReceiveBudget> budget_;
};

// Posts each message to a window; safe to call from any thread and never waits. Readers are
// held back while 1 MB of received data waits for the window, so a flood can neither
// freeze the window nor pile up in memory. The window must outlive every port that posts
// through this owner.
class PostingPortOwner : public IPortOwner {
  public:
    static constexpr std::size_t kMaxBytesInFlight = 1u << 20;

    explicit PostingPortOwner(QObject* window)
        : window_(window), budget_(std::make_shared<ReceiveBudget>(kMaxBytesInFlight)) {}
    void PostPortMessage(PortMessage message) override;
    bool WaitForRoom(const EventFd& stop) override { return budget_->WaitForRoom(stop); }

  private:
    QObject* window_;
    std::shared_ptr<ReceiveBudget> budget_;
};

}  // namespace velkaro
