// Drains blocks of bytes to descriptors on a background thread, in the order they were queued.
// The writer owns each block (callers may reuse their buffers at once) and shares ownership of
// the descriptor, so a port may let go of its descriptor while its last block is still draining:
// the descriptor is closed when the block is done.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/event_fd.h"
#include "platform/unique_fd.h"

namespace velkaro {

class BlockWriter {
  public:
    enum class Mode { File, Socket };  // sockets are written with MSG_NOSIGNAL
    static constexpr int kBusyDeviceRetryMs = 10;

    explicit BlockWriter(Mode mode = Mode::File) : mode_(mode) {}
    ~BlockWriter() { Cancel(); }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void Enqueue(std::shared_ptr<const UniqueFd> fd, std::string block);
    // Drops every queued block, abandons the one being written and waits for the thread.
    void Cancel();
    // Waits up to `timeoutMs` for the queue to drain; true when it has.
    bool WaitIdle(int timeoutMs);
    bool Idle();
    // Bytes queued and not yet written.
    std::size_t Pending();

  private:
    struct Job {
        std::shared_ptr<const UniqueFd> fd;
        std::string bytes;
    };
    void Run();
    std::size_t WriteAll(const Job& job);  // returns the bytes written

    const Mode mode_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    std::size_t pending_ = 0;
    bool busy_ = false;
    bool quit_ = false;
    EventFd cancel_;
    std::thread thread_;
};

}  // namespace velkaro
