// A thread that runs one body until the body returns or is told to stop through an event.
// Stop() only signals; Join() waits. Bodies never wait for the thread that joins them, so a
// Join() after Stop() ends promptly.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "platform/event_fd.h"

namespace velkaro {

class WorkerThread {
  public:
    using Body = std::function<void(const EventFd& stop)>;

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Joins a previous run (which must have been stopped or have ended) and starts `body`.
    bool Start(Body body);
    void Stop() { stop_.Signal(); }
    void Join();
    // True from Start() until the body has returned.
    bool Alive() const { return alive_.load(); }

  private:
    EventFd stop_;
    std::thread thread_;
    std::atomic<bool> alive_{false};
};

}  // namespace velkaro
