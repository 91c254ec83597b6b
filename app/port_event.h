// Port messages travel to the main window as posted events whose type is the message number
// (1125 serial data, 1225 USB data, 1325 network data, 1326 network closed, 1425 update text).
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "connections/port_message.h"

namespace velkaro {

class PortEvent : public QEvent {
public:
    explicit PortEvent(PortMessage message)
        : QEvent(static_cast<QEvent::Type>(message.type)), message_(std::move(message)) {}
    const PortMessage& Message() const { return message_; }

private:
    PortMessage message_;
};

// Posts each message to a window; safe to call from any thread and never waits. The window must
// outlive every port that posts through this owner.
class PostingPortOwner : public IPortOwner {
public:
    explicit PostingPortOwner(QObject* window) : window_(window) {}
    void PostPortMessage(PortMessage message) override {
        QCoreApplication::postEvent(window_, new PortEvent(std::move(message)));
    }

private:
    QObject* window_;
};

}  // namespace velkaro
