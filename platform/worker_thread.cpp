#include "platform/worker_thread.h"

#include <system_error>

namespace velkaro {

WorkerThread::~WorkerThread() {
    Stop();
    Join();
}

bool WorkerThread::Start(Body body) {
    Join();
    stop_.Reset();
    alive_ = true;
    try {
        thread_ = std::thread([this, body = std::move(body)] {
            body(stop_);
            alive_ = false;
        });
    } catch (const std::system_error&) {
        alive_ = false;
        return false;
    }
    return true;
}

void WorkerThread::Join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace velkaro
