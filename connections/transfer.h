// Sends to a device on a background thread: byte blocks and whole files, in the order they were
// queued, files streamed from disk in blocks (sendfile to sockets, read and write for ttys,
// printer nodes and FIFOs). The owner hears about it through posted messages only:
// WM_TRANSFER_PROGRESS at most every kProgressIntervalMs, one WM_TRANSFER_DONE when the
// transfer drains, is stopped or its file fails, and one WM_DEVICE_LOST per connection when the
// device goes away. Nothing queued is ever dropped without one of these saying so.
//
// A transfer runs from the first block queued while idle until the queue drains; its counts
// (written / queued) cover everything queued during that run. Descriptors should be
// non-blocking: Stop and DeviceLost wait for the write in progress to return.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "connections/port_message.h"
#include "platform/event_fd.h"
#include "platform/unique_fd.h"

namespace velkaro {

class Transfer {
  public:
    enum class Kind { Stream, Socket };  // sockets: send(MSG_NOSIGNAL) and sendfile
    enum class Result { Queued, Empty, Full, NoDevice, CannotOpen };
    struct Counts {
        std::uint64_t written = 0;
        std::uint64_t queued = 0;
    };

    // Byte blocks waiting beyond the file being streamed are limited to this.
    static constexpr std::size_t kMaxQueuedBytes = 16u << 20;
    static constexpr int kProgressIntervalMs = 100;
    static constexpr std::size_t kFileBlock = 256u << 10;
    static constexpr int kBusyDeviceRetryMs = 10;

    explicit Transfer(Kind kind = Kind::Stream);
    // Drops whatever is queued, without a notice, and joins the thread.
    ~Transfer();
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // Where reports go and the connection they name. Call on every new connection: it also
    // lifts the refusal that follows a lost device. `owner` may be null (no reports).
    void SetOwner(IPortOwner* owner, std::uint64_t connection);

    // Queues a block (refused whole with Full when the byte blocks waiting would pass
    // kMaxQueuedBytes) or a regular file, streamed from its current length. Empty for nothing
    // to send, NoDevice for an invalid descriptor or after the device was lost, CannotOpen for
    // a file that cannot be opened or is not a regular file.
    Result QueueBytes(std::shared_ptr<const UniqueFd> device, std::string bytes);
    Result QueueFile(std::shared_ptr<const UniqueFd> device, const std::string& path);

    // Drops everything queued and abandons the block being written; returns the counts of the
    // transfer and posts its WM_TRANSFER_DONE (Stopped). All zero, and no notice, when idle.
    Counts Stop();
    // The port saw its device go away: drops what is queued and posts WM_DEVICE_LOST (written,
    // queued) once per connection, also when nothing was queued. Later sends are refused until
    // SetOwner names a new connection. Returns the bytes not delivered.
    std::uint64_t DeviceLost();

    // Waits up to `timeoutMs` for the queue to drain; true when it has.
    bool WaitIdle(int timeoutMs);
    bool Idle();
    Counts Current();
    // Bytes queued and not yet written in the current transfer.
    std::uint64_t Pending();

  private:
    struct Item {
        std::shared_ptr<const UniqueFd> device;
        std::string bytes;  // a block, or
        UniqueFd file;      // a file of `length` bytes
        std::uint64_t length = 0;
    };
    enum class Outcome { Done, Abandoned, DeviceGone, FileShrank, FileReadFailed };

    Result Queue(Item item);
    void Run();
    Outcome Write(Item& item);
    Outcome WriteBytes(int fd, const char* data, std::size_t length, bool fromQueue);
    Outcome SendFile(int fd, Item& item);
    Outcome StreamFile(int fd, Item& item);
    // Waits for room on `fd`; false when abandoned.
    bool WaitForRoom(int fd, bool refusedAfterReady);
    void Wrote(std::size_t bytes, bool fromQueue);
    void Post(int type, TransferEnd end, Counts counts);
    void AbandonCurrentLocked(std::unique_lock<std::mutex>& lock);
    void LostLocked();
    void EndLocked(TransferEnd end);

    const Kind kind_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Item> queue_;
    Counts run_;
    std::size_t queuedBytes_ = 0;  // byte blocks not yet written
    IPortOwner* owner_ = nullptr;
    std::uint64_t connection_ = 0;
    bool lost_ = false;
    bool busy_ = false;
    bool quit_ = false;
    std::atomic<bool> abandon_{false};
    std::int64_t lastProgressMs_ = 0;
    EventFd cancel_;
    std::thread thread_;
};

}  // namespace velkaro
