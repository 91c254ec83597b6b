#include "connections/transfer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback.h"
#include "support/pty_pair.h"
#include "support/recording_owner.h"
#include "support/temp_dir.h"
#include "support/test_bytes.h"

namespace velkaro {
namespace {

using namespace std::chrono_literals;
using test::RecordingOwner;
using test::TempDir;

using test::Pattern;

// Reads from the printer's end until `count` bytes arrived, the end of the stream, or
// `quietMs` without data.
std::string ReadUpTo(int fd, std::size_t count, int quietMs = 5000) {
    std::string got;
    std::vector<char> buffer(1 << 16);
    while (got.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, quietMs) <= 0) break;
        const ssize_t n = ::read(fd, buffer.data(), std::min(buffer.size(), count - got.size()));
        if (n <= 0) break;
        got.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return got;
}

// A device and the printer's end of it: a pty, a FIFO or a loopback TCP connection.
struct Link {
    enum Kind { Pty, Fifo, Socket };
    std::shared_ptr<const UniqueFd> device;
    UniqueFd printer;
    Transfer::Kind transferKind = Transfer::Kind::Stream;
    std::unique_ptr<test::PtyPair> pty;
    std::unique_ptr<test::LoopbackListener> listener;

    static const char* Name(Kind kind) {
        return kind == Pty ? "pty" : kind == Fifo ? "fifo" : "socket";
    }
    int PrinterFd() const { return pty ? pty->Master() : printer.Get(); }
    // The printer goes away.
    void Unplug() {
        if (pty)
            pty->CloseMaster();
        else
            printer.Reset();
    }

    static Link Make(Kind kind, const TempDir& dir) {
        Link link;
        if (kind == Pty) {
            link.pty = std::make_unique<test::PtyPair>();
            link.device = std::make_shared<UniqueFd>(
                ::open(link.pty->SlaveName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
            link.pty->CloseSlave();
        } else if (kind == Fifo) {
            const std::string path = dir.Str() + "/lp0";
            ::mkfifo(path.c_str(), 0600);
            link.printer.Reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
            link.device =
                std::make_shared<UniqueFd>(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        } else {
            link.listener = std::make_unique<test::LoopbackListener>();
            UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            const sockaddr_in to = test::LoopbackAddress(link.listener->Number());
            ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
            link.printer = link.listener->Accept();
            pollfd p{fd.Get(), POLLOUT, 0};
            ::poll(&p, 1, 5000);
            link.device = std::make_shared<UniqueFd>(std::move(fd));
            link.transferKind = Transfer::Kind::Socket;
        }
        return link;
    }
};

std::vector<PortMessage> OfType(const std::vector<PortMessage>& all, int type) {
    std::vector<PortMessage> found;
    for (const PortMessage& m : all)
        if (m.type == type) found.push_back(m);
    return found;
}

class TransferTest : public ::testing::TestWithParam<Link::Kind> {
  protected:
    void SetUp() override {
        previous_ = std::signal(SIGPIPE, SIG_DFL);  // a stray broken pipe would end the test
        link_ = Link::Make(GetParam(), dir_);
        ASSERT_TRUE(link_.device && link_.device->Valid());
        transfer_ = std::make_unique<Transfer>(link_.transferKind);
        transfer_->SetOwner(&owner_, 7);
    }
    void TearDown() override {
        transfer_.reset();
        std::signal(SIGPIPE, previous_);
    }
    std::string File(const std::string& name, const std::string& content) {
        const std::string path = dir_.Str() + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    bool WaitFor(int type, int timeoutMs = 20000) {
        return owner_.WaitFor([type](const auto& m) { return !OfType(m, type).empty(); },
                              timeoutMs);
    }
    PortMessage Last(int type) { return OfType(owner_.Messages(), type).back(); }
    // Waits until the transfer has written at least `bytes` (the printer is not reading).
    bool WaitWritten(std::uint64_t bytes) {
        for (int i = 0; i < 2000; ++i) {
            if (transfer_->Current().written >= bytes) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    TempDir dir_;
    Link link_;
    RecordingOwner owner_;
    std::unique_ptr<Transfer> transfer_;
    void (*previous_)(int) = nullptr;
};

TEST_P(TransferTest, AFileStreamsByteForByteAfterABlock) {
    const std::string content = Pattern(3 << 20);
    ASSERT_EQ(transfer_->QueueBytes(link_.device, "HEAD"), Transfer::Result::Queued);
    ASSERT_EQ(transfer_->QueueFile(link_.device, File("job.prn", content)),
              Transfer::Result::Queued);
    const std::string got = ReadUpTo(link_.PrinterFd(), content.size() + 4);
    EXPECT_EQ(got.size(), content.size() + 4);
    EXPECT_TRUE(got == "HEAD" + content);
    // The block may have drained on its own before the file was queued: one or two transfers.
    const auto sum = [](const std::vector<PortMessage>& all) {
        std::uint64_t written = 0;
        for (const PortMessage& m : OfType(all, WM_TRANSFER_DONE)) written += m.written;
        return written;
    };
    ASSERT_TRUE(owner_.WaitFor([&](const auto& m) { return sum(m) == content.size() + 4; }));
    for (const PortMessage& done : OfType(owner_.Messages(), WM_TRANSFER_DONE)) {
        EXPECT_EQ(done.end, TransferEnd::Drained);
        EXPECT_EQ(done.written, done.queued);
        EXPECT_EQ(done.connection, 7u);
    }
    EXPECT_TRUE(transfer_->Idle());
}

TEST_P(TransferTest, StopLeavesExactlyTheCountedBytesAtThePrinter) {
    const std::string content = Pattern(24 << 20, 2);
    ASSERT_EQ(transfer_->QueueFile(link_.device, File("big.prn", content)),
              Transfer::Result::Queued);
    ASSERT_EQ(transfer_->QueueBytes(link_.device, "TAIL"), Transfer::Result::Queued);
    ASSERT_TRUE(WaitWritten(1));  // the device's buffers fill while the printer does not read
    const Transfer::Counts counts = transfer_->Stop();
    EXPECT_EQ(counts.queued, content.size() + 4);
    EXPECT_GT(counts.written, 0u);
    EXPECT_LT(counts.written, counts.queued);
    EXPECT_TRUE(transfer_->Idle());

    const std::string got = ReadUpTo(link_.PrinterFd(), content.size(), 1000);
    EXPECT_EQ(got.size(), counts.written);
    EXPECT_TRUE(got == content.substr(0, got.size()));
    ASSERT_TRUE(WaitFor(WM_TRANSFER_DONE));
    const PortMessage done = Last(WM_TRANSFER_DONE);
    EXPECT_EQ(done.end, TransferEnd::Stopped);
    EXPECT_EQ(done.written, counts.written);
    EXPECT_EQ(transfer_->Stop().queued, 0u) << "nothing left to stop";
}

TEST_P(TransferTest, APrinterThatGoesAwayEndsTheTransferWithTheUndeliveredCount) {
    const std::string content = Pattern(16 << 20, 3);
    ASSERT_EQ(transfer_->QueueFile(link_.device, File("big.prn", content)),
              Transfer::Result::Queued);
    const std::string got = ReadUpTo(link_.PrinterFd(), 1 << 20);
    ASSERT_EQ(got.size(), 1u << 20);
    link_.Unplug();
    ASSERT_TRUE(WaitFor(WM_DEVICE_LOST));
    const PortMessage lost = Last(WM_DEVICE_LOST);
    EXPECT_EQ(lost.queued, content.size());
    EXPECT_GE(lost.written, got.size());
    EXPECT_LT(lost.written, lost.queued);
    EXPECT_TRUE(transfer_->Idle());
    EXPECT_EQ(transfer_->QueueBytes(link_.device, "x"), Transfer::Result::NoDevice)
        << "later sends are refused, not lost";
    EXPECT_EQ(transfer_->DeviceLost(), 0u);
    EXPECT_EQ(OfType(owner_.Messages(), WM_DEVICE_LOST).size(), 1u) << "said once";
    EXPECT_TRUE(OfType(owner_.Messages(), WM_TRANSFER_DONE).empty());
}

TEST_P(TransferTest, AFileThatShrinksOrGrowsWhileSentDoesNotHang) {
    const std::string content = Pattern(40 << 20, 4);
    const std::string shrinking = File("shrinking.prn", content);
    ASSERT_EQ(transfer_->QueueFile(link_.device, shrinking), Transfer::Result::Queued);
    ASSERT_EQ(transfer_->QueueBytes(link_.device, "NEXT"), Transfer::Result::Queued);
    ASSERT_TRUE(WaitWritten(1));
    constexpr std::uint64_t kKept = 20 << 20;  // more than any device buffer has taken yet
    ASSERT_LT(transfer_->Current().written, kKept);
    ASSERT_EQ(::truncate(shrinking.c_str(), kKept), 0);
    std::thread printer([&] { ReadUpTo(link_.PrinterFd(), content.size() + 4, 1000); });
    ASSERT_TRUE(WaitFor(WM_TRANSFER_DONE));
    printer.join();
    PortMessage done = Last(WM_TRANSFER_DONE);
    EXPECT_EQ(done.end, TransferEnd::FileShrank);
    EXPECT_EQ(done.written, kKept) << "the prefix that was there, and nothing queued after";

    // Growing: the length at queueing time is sent, then the transfer ends.
    const std::string growing = File("growing.prn", Pattern(1 << 20, 5));
    ASSERT_EQ(transfer_->QueueFile(link_.device, growing), Transfer::Result::Queued);
    std::ofstream(growing, std::ios::binary | std::ios::app) << Pattern(1 << 20, 6);
    const std::string got = ReadUpTo(link_.PrinterFd(), 2 << 20, 1000);
    EXPECT_EQ(got.size(), 1u << 20);
    ASSERT_TRUE(owner_.WaitFor(
        [](const auto& m) { return OfType(m, WM_TRANSFER_DONE).size() == 2; }, 20000));
    EXPECT_EQ(Last(WM_TRANSFER_DONE).end, TransferEnd::Drained);
}

INSTANTIATE_TEST_SUITE_P(Devices, TransferTest,
                         ::testing::Values(Link::Pty, Link::Fifo, Link::Socket),
                         [](const auto& info) { return Link::Name(info.param); });

class TransferQueueTest : public TransferTest {};

TEST_P(TransferQueueTest, RefusesWhatCannotBeSentAndBoundsTheQueue) {
    EXPECT_EQ(transfer_->QueueFile(link_.device, File("empty.prn", "")), Transfer::Result::Empty);
    EXPECT_EQ(transfer_->QueueBytes(link_.device, ""), Transfer::Result::Empty);
    EXPECT_EQ(transfer_->QueueFile(link_.device, dir_.Str() + "/missing"),
              Transfer::Result::CannotOpen);
    EXPECT_EQ(transfer_->QueueFile(link_.device, dir_.Str()), Transfer::Result::CannotOpen);
    EXPECT_EQ(transfer_->QueueBytes(std::make_shared<UniqueFd>(), "x"), Transfer::Result::NoDevice);
    EXPECT_TRUE(owner_.Messages().empty()) << "nothing ran";

    // The printer does not read: 16 MB of blocks wait, the next block is refused whole, and a
    // file may still be queued behind them.
    const std::string mb = Pattern(1 << 20, 7);
    int accepted = 0;
    Transfer::Counts counts;
    Transfer::Result result = Transfer::Result::Queued;
    for (; accepted < 100 && result == Transfer::Result::Queued; ++accepted) {
        counts = transfer_->Current();
        result = transfer_->QueueBytes(link_.device, mb);
    }
    ASSERT_EQ(result, Transfer::Result::Full);
    EXPECT_GE(accepted, 17);
    EXPECT_EQ(transfer_->Current().queued, counts.queued) << "nothing of a refused block";
    EXPECT_LE(counts.queued - counts.written, Transfer::kMaxQueuedBytes);
    EXPECT_EQ(transfer_->QueueFile(link_.device, File("f.prn", mb)), Transfer::Result::Queued);
}

INSTANTIATE_TEST_SUITE_P(Devices, TransferQueueTest, ::testing::Values(Link::Socket),
                         [](const auto& info) { return Link::Name(info.param); });

}  // namespace
}  // namespace velkaro
