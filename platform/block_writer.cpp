#include "platform/block_writer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/fd_wait.h"

namespace velkaro {

void BlockWriter::Enqueue(std::shared_ptr<const UniqueFd> fd, std::string block) {
    if (!fd || !fd->Valid() || block.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ += block.size();
    queue_.push_back(Job{std::move(fd), std::move(block)});
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    wake_.notify_one();
}

void BlockWriter::Cancel() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) return;
        quit_ = true;
        queue_.clear();
        pending_ = 0;
    }
    cancel_.Signal();
    wake_.notify_one();
    thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    cancel_.Reset();
    quit_ = false;
    busy_ = false;
    pending_ = 0;
    idle_.notify_all();
}

bool BlockWriter::WaitIdle(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return queue_.empty() && !busy_; });
}

bool BlockWriter::Idle() {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.empty() && !busy_;
}

std::size_t BlockWriter::Pending() {
    std::lock_guard<std::mutex> lock(mutex_);
    return pending_;
}

void BlockWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        const std::size_t unwritten = job.bytes.size() - WriteAll(job);
        job = Job{};  // a descriptor handed over by its port closes here, after its last block
        lock.lock();
        busy_ = false;
        pending_ -= std::min(pending_, unwritten);
        if (queue_.empty()) idle_.notify_all();
    }
}

std::size_t BlockWriter::WriteAll(const Job& job) {
    const int fd = job.fd->Get();
    std::size_t done = 0;
    bool refusedAfterReady = false;
    while (done < job.bytes.size()) {
        const char* data = job.bytes.data() + done;
        const std::size_t left = job.bytes.size() - done;
        const ssize_t n =
            mode_ == Mode::Socket ? ::send(fd, data, left, MSG_NOSIGNAL) : ::write(fd, data, left);
        if (n > 0) {
            refusedAfterReady = false;
            done += static_cast<std::size_t>(n);
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ -= std::min(pending_, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Some drivers (the parallel printer driver among them) cannot wait for room and
            // always report ready; after such a refusal, back off briefly instead of spinning.
            const int wait = refusedAfterReady ? kBusyDeviceRetryMs : -1;
            const WaitResult result = refusedAfterReady ? WaitReadable(cancel_.Fd(), cancel_, wait)
                                                        : WaitWritable(fd, cancel_, wait);
            if (result == WaitResult::Stopped) return done;
            refusedAfterReady = result == WaitResult::Ready || refusedAfterReady;
            continue;
        }
        return done;  // the device or peer is gone: the rest of this block cannot be delivered
    }
    return done;
}

}  // namespace velkaro
