#include "connections/transfer.h"

#include <pthread.h>
#include <signal.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/fd_wait.h"
#include "platform/file_reader.h"

namespace velkaro {
namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A write to a FIFO or socket whose reader has gone raises SIGPIPE; this thread keeps it
// blocked and takes back the pending signal after each EPIPE, so only the error remains.
void BlockSigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void ConsumeSigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    const timespec none{0, 0};
    while (sigtimedwait(&set, nullptr, &none) == SIGPIPE) {
    }
}

}  // namespace

Transfer::Transfer(Kind kind) : kind_(kind) {}

Transfer::~Transfer() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        queue_.clear();
        quit_ = true;
        abandon_ = true;
    }
    cancel_.Signal();
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void Transfer::SetOwner(IPortOwner* owner, std::uint64_t connection) {
    std::lock_guard<std::mutex> lock(mutex_);
    owner_ = owner;
    connection_ = connection;
    lost_ = false;
}

Transfer::Result Transfer::QueueBytes(std::shared_ptr<const UniqueFd> device, std::string bytes) {
    if (bytes.empty()) return Result::Empty;
    Item item;
    item.device = std::move(device);
    item.length = bytes.size();
    item.bytes = std::move(bytes);
    return Queue(std::move(item));
}

Transfer::Result Transfer::QueueFile(std::shared_ptr<const UniqueFd> device,
                                     const std::string& path) {
    if (!device || !device->Valid()) return Result::NoDevice;
    Item item;
    item.file = OpenFileToSend(path, &item.length);
    if (!item.file) return Result::CannotOpen;
    if (item.length == 0) return Result::Empty;
    item.device = std::move(device);
    return Queue(std::move(item));
}

Transfer::Result Transfer::Queue(Item item) {
    if (!item.device || !item.device->Valid()) return Result::NoDevice;
    std::lock_guard<std::mutex> lock(mutex_);
    if (lost_ || quit_) return Result::NoDevice;
    const bool isFile = item.file.Valid();
    if (!isFile && queuedBytes_ + item.bytes.size() > kMaxQueuedBytes) return Result::Full;
    if (queue_.empty() && !busy_) {
        run_ = Counts{};
        lastProgressMs_ = NowMs();
    }
    if (!isFile) queuedBytes_ += item.bytes.size();
    run_.queued += item.length;
    queue_.push_back(std::move(item));
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    wake_.notify_one();
    return Result::Queued;
}

Transfer::Counts Transfer::Stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (queue_.empty() && !busy_) return Counts{};
    AbandonCurrentLocked(lock);
    const Counts counts = run_;
    EndLocked(TransferEnd::Stopped);
    return counts;
}

std::uint64_t Transfer::DeviceLost() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (lost_) return 0;
    AbandonCurrentLocked(lock);
    const std::uint64_t undelivered = run_.queued - run_.written;
    LostLocked();
    return undelivered;
}

bool Transfer::WaitIdle(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return queue_.empty() && !busy_; });
}

bool Transfer::Idle() {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.empty() && !busy_;
}

Transfer::Counts Transfer::Current() {
    std::lock_guard<std::mutex> lock(mutex_);
    return run_;
}

std::uint64_t Transfer::Pending() {
    std::lock_guard<std::mutex> lock(mutex_);
    return run_.queued - run_.written;
}

// Clears the queue and, when a block is being written, makes the thread give it up and waits
// until it has (its write calls return at once on non-blocking descriptors).
void Transfer::AbandonCurrentLocked(std::unique_lock<std::mutex>& lock) {
    queue_.clear();
    queuedBytes_ = 0;
    if (!busy_) return;
    abandon_ = true;
    cancel_.Signal();
    idle_.wait(lock, [this] { return !busy_; });
    cancel_.Reset();
    abandon_ = false;
}

void Transfer::Post(int type, TransferEnd end, Counts counts) {
    if (!owner_) return;
    PortMessage message;
    message.type = type;
    message.connection = connection_;
    message.written = counts.written;
    message.queued = counts.queued;
    message.end = end;
    owner_->PostPortMessage(std::move(message));  // never waits for the owner
}

void Transfer::EndLocked(TransferEnd end) {
    queue_.clear();
    queuedBytes_ = 0;
    Post(WM_TRANSFER_DONE, end, run_);
    run_ = Counts{};
    idle_.notify_all();
}

void Transfer::LostLocked() {
    queue_.clear();
    queuedBytes_ = 0;
    lost_ = true;
    Post(WM_DEVICE_LOST, TransferEnd::DeviceLost, run_);
    run_ = Counts{};
    idle_.notify_all();
}

void Transfer::Run() {
    BlockSigpipe();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        Item item = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        Outcome outcome = Write(item);
        item = Item{};  // a descriptor handed over by its port closes here, after its last block
        lock.lock();
        busy_ = false;
        if (abandon_) outcome = Outcome::Abandoned;
        switch (outcome) {
            case Outcome::Abandoned:
                idle_.notify_all();  // Stop, DeviceLost or the destructor reports
                break;
            case Outcome::Done:
                if (queue_.empty()) EndLocked(TransferEnd::Drained);
                break;
            case Outcome::DeviceGone:
                LostLocked();
                break;
            case Outcome::FileShrank:
                EndLocked(TransferEnd::FileShrank);
                break;
            case Outcome::FileReadFailed:
                EndLocked(TransferEnd::FileReadFailed);
                break;
        }
    }
}

Transfer::Outcome Transfer::Write(Item& item) {
    const int fd = item.device->Get();
    if (!item.file) return WriteBytes(fd, item.bytes.data(), item.bytes.size(), true);
    return kind_ == Kind::Socket ? SendFile(fd, item) : StreamFile(fd, item);
}

void Transfer::Wrote(std::size_t bytes, bool fromQueue) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (abandon_) return;  // the counts were already reported
    run_.written += bytes;
    if (fromQueue) queuedBytes_ -= std::min(queuedBytes_, bytes);
    const std::int64_t now = NowMs();
    if (now - lastProgressMs_ >= kProgressIntervalMs) {
        lastProgressMs_ = now;
        Post(WM_TRANSFER_PROGRESS, TransferEnd::Drained, run_);
    }
}

bool Transfer::WaitForRoom(int fd, bool refusedAfterReady) {
    // Some drivers (the parallel printer driver among them) cannot wait for room and always
    // report ready; after such a refusal, back off briefly instead of spinning.
    const WaitResult result = refusedAfterReady
                                  ? WaitReadable(cancel_.Fd(), cancel_, kBusyDeviceRetryMs)
                                  : WaitWritable(fd, cancel_, -1);
    return result != WaitResult::Stopped && !abandon_;
}

Transfer::Outcome Transfer::WriteBytes(int fd, const char* data, std::size_t length,
                                       bool fromQueue) {
    std::size_t done = 0;
    bool refusedAfterReady = false;
    bool waited = false;
    while (done < length) {
        if (abandon_) return Outcome::Abandoned;
        const std::size_t chunk = std::min<std::size_t>(length - done, 1u << 20);
        const ssize_t n = kind_ == Kind::Socket ? ::send(fd, data + done, chunk, MSG_NOSIGNAL)
                                                : ::write(fd, data + done, chunk);
        if (n > 0) {
            refusedAfterReady = false;
            waited = false;
            done += static_cast<std::size_t>(n);
            Wrote(static_cast<std::size_t>(n), fromQueue);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            refusedAfterReady = waited;
            if (!WaitForRoom(fd, refusedAfterReady)) return Outcome::Abandoned;
            waited = true;
            continue;
        }
        if (n < 0 && errno == EPIPE) ConsumeSigpipe();
        return Outcome::DeviceGone;  // EIO after a hang-up, EPIPE, ECONNRESET, ENODEV, ...
    }
    return Outcome::Done;
}

Transfer::Outcome Transfer::SendFile(int fd, Item& item) {
    off_t offset = 0;
    const auto end = static_cast<off_t>(item.length);
    while (offset < end) {
        if (abandon_) return Outcome::Abandoned;
        const std::size_t chunk = static_cast<std::size_t>(std::min<off_t>(end - offset, 4 << 20));
        const ssize_t n = ::sendfile(fd, item.file.Get(), &offset, chunk);
        if (n > 0) {
            Wrote(static_cast<std::size_t>(n), false);
            continue;
        }
        if (n == 0) return Outcome::FileShrank;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitForRoom(fd, false)) return Outcome::Abandoned;
            continue;
        }
        if (errno == EPIPE) ConsumeSigpipe();
        if (errno == EIO) return Outcome::FileReadFailed;
        return Outcome::DeviceGone;
    }
    return Outcome::Done;
}

Transfer::Outcome Transfer::StreamFile(int fd, Item& item) {
    std::vector<char> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(item.length, kFileBlock)));
    std::uint64_t offset = 0;
    while (offset < item.length) {
        if (abandon_) return Outcome::Abandoned;
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(item.length - offset, buffer.size()));
        const ssize_t n = ::pread(item.file.Get(), buffer.data(), want, static_cast<off_t>(offset));
        if (n == 0) return Outcome::FileShrank;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Outcome::FileReadFailed;
        }
        const Outcome outcome = WriteBytes(fd, buffer.data(), static_cast<std::size_t>(n), false);
        if (outcome != Outcome::Done) return outcome;
        offset += static_cast<std::uint64_t>(n);
    }
    return Outcome::Done;
}

}  // namespace velkaro
