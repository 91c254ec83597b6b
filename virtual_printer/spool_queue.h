// Writes finished jobs to the spool folder on a thread of its own, so that taking bytes in does
// not wait for each file. Only when too much waits to be written does the feeder wait; the
// sender is then held back by the connection's own flow control, and nothing is lost.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "printer_language/printer_queries.h"
#include "virtual_printer/spool_writer.h"

namespace velkaro::virtual_printer {

class SpoolQueue {
  public:
    struct Job {
        printer_language::Language language = printer_language::Language::Zpl;
        std::string bytes;
        long labels = 1;
        bool held = false;  // printing waits until the printer is ready
    };
    // Called on the writing thread after each job: its file, or an empty path and the reason.
    using Done = std::function<void(const Job& job, const std::filesystem::path& file,
                                    const std::string& error)>;

    SpoolQueue(SpoolWriter& writer, Done done, std::size_t maxWaitingBytes = 64u << 20);
    // Writes whatever still waits, then ends the thread.
    ~SpoolQueue();
    SpoolQueue(const SpoolQueue&) = delete;
    SpoolQueue& operator=(const SpoolQueue&) = delete;

    void Push(Job job);
    // Jobs handed to the writer and done with.
    int Finished() const;

  private:
    void Run();

    SpoolWriter& writer_;
    Done done_;
    const std::size_t maxWaitingBytes_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> waiting_;
    std::size_t waitingBytes_ = 0;
    int finished_ = 0;
    bool ending_ = false;
    std::thread thread_;  // last: starts once the rest is in place
};

}  // namespace velkaro::virtual_printer
