#include "virtual_printer/spool_queue.h"

#include <exception>
#include <utility>

namespace velkaro::virtual_printer {

SpoolQueue::SpoolQueue(SpoolWriter& writer, Done done, std::size_t maxWaitingBytes)
    : writer_(writer),
      done_(std::move(done)),
      maxWaitingBytes_(maxWaitingBytes),
      thread_([this] { Run(); }) {}

SpoolQueue::~SpoolQueue() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SpoolQueue::Push(Job job) {
    std::unique_lock lock(mutex_);
    // One job bigger than the limit still goes in once the queue is empty.
    changed_.wait(lock, [&] {
        return waiting_.empty() || waitingBytes_ + job.bytes.size() <= maxWaitingBytes_;
    });
    waitingBytes_ += job.bytes.size();
    waiting_.push_back(std::move(job));
    changed_.notify_all();
}

int SpoolQueue::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void SpoolQueue::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty()) return;  // ending, and everything is written
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        std::filesystem::path file;
        std::string error;
        try {
            file = writer_.Write(job.language, job.bytes);
        } catch (const std::exception& failure) {
            error = failure.what();
        }
        if (done_) done_(job, file, error);
        lock.lock();
        waitingBytes_ -= job.bytes.size();
        ++finished_;
        changed_.notify_all();
    }
}

}  // namespace velkaro::virtual_printer
