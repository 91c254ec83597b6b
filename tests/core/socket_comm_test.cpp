#include "connections/socket_comm.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback.h"
#include "support/recording_owner.h"
#include "support/test_bytes.h"

namespace velkaro {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::kLoopback;
using test::LoopbackAddress;
using test::LoopbackListener;
using test::ReadFrom;
using test::RecordingOwner;

void WriteTo(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("peer write failed");
        done += static_cast<std::size_t>(n);
    }
}

// True when the peer sees end of stream within `timeoutMs`.
bool SeesEndOfStream(int fd, int timeoutMs = 2000) {
    pollfd p{fd, POLLIN, 0};
    char byte;
    return ::poll(&p, 1, timeoutMs) > 0 && ::recv(fd, &byte, 1, 0) == 0;
}

using test::Pattern;

std::size_t Count(const std::vector<PortMessage>& messages, int type) {
    return static_cast<std::size_t>(std::count_if(
        messages.begin(), messages.end(), [&](const PortMessage& m) { return m.type == type; }));
}

class SocketCommTest : public ::testing::Test {
  protected:
    bool Connect(int timeoutMs = CSocketComm::kDefaultConnectTimeoutMs) {
        return comm_.Connect(&owner_, kLoopback, listener_.Port().c_str(), timeoutMs);
    }
    // Connects and accepts: the returned descriptor is the printer's end.
    UniqueFd ConnectedPeer() {
        if (!Connect()) return UniqueFd();
        return listener_.Accept();
    }
    bool WaitReaderEnded(std::chrono::milliseconds timeout = 2s) {
        const auto deadline = Clock::now() + timeout;
        while (comm_.ReaderAlive() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
        return !comm_.ReaderAlive();
    }

    LoopbackListener listener_;
    RecordingOwner owner_;
    CSocketComm comm_;  // declared last: its reader stops before the owner goes
};

TEST_F(SocketCommTest, TenThousandBytesInOneSendArriveInOrder) {
    EXPECT_EQ(comm_.Connection(), 0u);
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    EXPECT_TRUE(comm_.IsOpen());
    EXPECT_EQ(comm_.Connection(), 1u);
    const std::string block = Pattern(10000);
    EXPECT_EQ(comm_.Send(block.data(), static_cast<int>(block.size())), 10000);
    EXPECT_EQ(ReadFrom(peer.Get(), block.size(), 10000), block);
}

TEST_F(SocketCommTest, AReplyArrivesInOrderInPiecesOfAtMost4099Bytes) {
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    ASSERT_TRUE(comm_.StartReader());
    const std::string reply = Pattern(5000, 7);
    WriteTo(peer.Get(), reply);
    ASSERT_TRUE(owner_.WaitForBytes(reply.size()));
    EXPECT_EQ(owner_.AllBytes(), reply);
    const auto messages = owner_.Messages();
    EXPECT_GE(messages.size(), 2u);
    for (const PortMessage& m : messages) {
        EXPECT_EQ(m.type, WM_SOCKET_DATA);
        EXPECT_LE(m.bytes.size(), CSocketComm::kReceiveSize);
        EXPECT_EQ(m.connection, comm_.Connection());
    }
}

TEST_F(SocketCommTest, ReceiveReadsAtMost4099BytesAtATime) {
    char buffer[CSocketComm::kReceiveSize + 1];
    EXPECT_EQ(comm_.Receive(buffer), -1) << "no socket";
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    EXPECT_EQ(comm_.Receive(nullptr), -1);
    EXPECT_EQ(comm_.Receive(buffer), -1) << "nothing to read yet";

    const std::string reply = Pattern(5000, 3);
    WriteTo(peer.Get(), reply);
    std::string got;
    const auto deadline = Clock::now() + 5s;
    while (got.size() < reply.size() && Clock::now() < deadline) {
        const int n = comm_.Receive(buffer);
        if (n < 0) {
            std::this_thread::sleep_for(1ms);
            continue;
        }
        ASSERT_LE(static_cast<std::size_t>(n), CSocketComm::kReceiveSize);
        EXPECT_EQ(buffer[n], '\0');
        got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, reply);
    ::shutdown(peer.Get(), SHUT_WR);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(comm_.Receive(buffer), -1) << "the peer closed";
}

TEST_F(SocketCommTest, APeerThatClosesGivesExactlyOneClosedNotice) {
    UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    ASSERT_TRUE(comm_.StartReader());
    WriteTo(peer.Get(), "bye");
    peer.Reset();
    ASSERT_TRUE(owner_.WaitFor(
        [](const std::vector<PortMessage>& all) { return Count(all, WM_SOCKET_CLOSED) > 0; }));
    std::this_thread::sleep_for(200ms);  // room for a second notice, which must not come
    const auto messages = owner_.Messages();
    EXPECT_EQ(Count(messages, WM_SOCKET_CLOSED), 1u);
    EXPECT_EQ(messages.back().type, WM_SOCKET_CLOSED);
    EXPECT_EQ(messages.back().bytes, "");
    EXPECT_EQ(messages.back().connection, comm_.Connection());
    EXPECT_EQ(owner_.AllBytes(), "bye");
    EXPECT_TRUE(WaitReaderEnded());
}

TEST_F(SocketCommTest, ConnectWhileConnectedClosesTheOldConnectionSilently) {
    const UniqueFd oldPeer = ConnectedPeer();
    ASSERT_TRUE(oldPeer);
    ASSERT_TRUE(comm_.StartReader());
    const auto first = comm_.Connection();

    const UniqueFd newPeer = ConnectedPeer();
    ASSERT_TRUE(newPeer);
    EXPECT_EQ(comm_.Connection(), first + 1);
    EXPECT_TRUE(SeesEndOfStream(oldPeer.Get())) << "the old connection was closed first";
    ASSERT_TRUE(comm_.StartReader());
    WriteTo(newPeer.Get(), "new");
    ASSERT_TRUE(owner_.WaitForBytes(3));
    std::this_thread::sleep_for(100ms);
    const auto messages = owner_.Messages();
    EXPECT_EQ(Count(messages, WM_SOCKET_CLOSED), 0u) << "the old reader ended without a notice";
    for (const PortMessage& m : messages) EXPECT_EQ(m.connection, comm_.Connection());
    EXPECT_EQ(owner_.AllBytes(), "new");
}

TEST_F(SocketCommTest, ConnectToAClosedPortFailsFast) {
    const std::string port = listener_.Port();
    listener_.Close();
    const auto start = Clock::now();
    EXPECT_FALSE(comm_.Connect(&owner_, kLoopback, port.c_str()));
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_FALSE(comm_.IsOpen());
    EXPECT_EQ(comm_.Connection(), 0u);
}

TEST_F(SocketCommTest, BadAddressesPortsAndNullPointersFail) {
    const std::string good = listener_.Port();
    const struct {
        IPortOwner* owner;
        const char* address;
        const char* port;
    } cases[] = {
        {&owner_, "localhost", good.c_str()}, {&owner_, "255.255.255.255", good.c_str()},
        {&owner_, "", good.c_str()},          {&owner_, "10.0..1", good.c_str()},
        {&owner_, kLoopback, "abc"},          {&owner_, kLoopback, "0"},
        {&owner_, kLoopback, "70000"},        {&owner_, kLoopback, "-9100"},
        {nullptr, kLoopback, good.c_str()},   {&owner_, nullptr, good.c_str()},
        {&owner_, kLoopback, nullptr},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.address ? c.address : "(null)") + " : " +
                                 (c.port ? c.port : "(null)") + (c.owner ? "" : " no owner");
        EXPECT_FALSE(comm_.Connect(c.owner, c.address, c.port, 300)) << what;
        EXPECT_FALSE(comm_.IsOpen()) << what;
    }
    EXPECT_EQ(comm_.Connection(), 0u);
    EXPECT_FALSE(listener_.Accept(0)) << "nothing reached the listener";
}

TEST_F(SocketCommTest, SendAndStartReaderCheckTheirArguments) {
    const char byte = 'x';
    EXPECT_EQ(comm_.Send(&byte, 1), -1) << "no socket";
    EXPECT_FALSE(comm_.StartReader()) << "no socket";
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    const struct {
        const char* data;
        int length;
        int expected;
    } cases[] = {
        {nullptr, 1, -1}, {nullptr, 0, -1}, {&byte, -1, -1}, {&byte, 0, 0}, {&byte, 1, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(comm_.Send(c.data, c.length), c.expected) << c.length;
    EXPECT_EQ(ReadFrom(peer.Get(), 1, 10000), "x") << "only the one valid byte was sent";
    comm_.Close();
    EXPECT_EQ(comm_.Send(&byte, 1), -1) << "closed";
}

TEST_F(SocketCommTest, ALargeSendReturnsAtOnceAndArrivesWhole) {
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    const std::string block = Pattern(8 << 20, 11);
    const auto start = Clock::now();
    {
        std::string caller = block;  // released as soon as Send returns
        EXPECT_EQ(comm_.Send(caller.data(), static_cast<int>(caller.size())), 8 << 20);
        EXPECT_EQ(comm_.Send("END", 3), 3);
    }
    EXPECT_LT(Clock::now() - start, 1s) << "the peer has not read anything yet";
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ReadFrom(peer.Get(), block.size() + 3, 10000), block + "END");
}

TEST_F(SocketCommTest, SendAfterThePeerClosedDoesNotRaiseSigpipe) {
    auto* const previous = std::signal(SIGPIPE, SIG_DFL);  // a broken pipe would kill us
    UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    peer.Reset();
    const std::string block = Pattern(100000);
    // The first send draws a reset, a later one EPIPE: the connection is reported lost, once,
    // and later sends are refused instead of vanishing.
    EXPECT_EQ(comm_.Send(block.data(), static_cast<int>(block.size())), 100000);
    for (int i = 0; i < 100 && Count(owner_.Messages(), WM_DEVICE_LOST) == 0; ++i) {
        std::this_thread::sleep_for(50ms);
        comm_.Send(block.data(), static_cast<int>(block.size()));
    }
    ASSERT_EQ(Count(owner_.Messages(), WM_DEVICE_LOST), 1u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(comm_.Send(block.data(), 100000), -1);
    EXPECT_EQ(Count(owner_.Messages(), WM_DEVICE_LOST), 1u);
    EXPECT_TRUE(comm_.IsOpen()) << "still ours to close";
    comm_.Close();
    EXPECT_FALSE(comm_.IsOpen());
    std::signal(SIGPIPE, previous);
}

TEST(SocketComm, ConnectToAListenerWithAFullQueueTimesOut) {
    LoopbackListener full(0);
    const std::vector<UniqueFd> waiting = FillAcceptQueue(full);
    std::this_thread::sleep_for(100ms);

    RecordingOwner owner;
    CSocketComm comm;
    const auto start = Clock::now();
    const bool connected = comm.Connect(&owner, kLoopback, full.Port().c_str(), 300);
    const auto elapsed = Clock::now() - start;
    if (connected) GTEST_SKIP() << "this kernel took the connection despite the full queue";
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 2s);
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(SocketCommTest, CloseAndDestructionWhileTheReaderWaitsEndPromptly) {
    comm_.Close();  // nothing open: harmless
    const UniqueFd peer = ConnectedPeer();
    ASSERT_TRUE(peer);
    auto comm = std::make_unique<CSocketComm>();
    ASSERT_TRUE(comm->Connect(&owner_, kLoopback, listener_.Port().c_str()));
    const UniqueFd second = listener_.Accept();
    ASSERT_TRUE(comm->StartReader());
    ASSERT_TRUE(comm_.StartReader());

    auto start = Clock::now();
    comm.reset();
    EXPECT_LT(Clock::now() - start, 1s);
    start = Clock::now();
    comm_.Close();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_FALSE(comm_.ReaderAlive());
    EXPECT_FALSE(comm_.IsOpen());
    comm_.Close();
    EXPECT_TRUE(SeesEndOfStream(peer.Get()));
    EXPECT_TRUE(SeesEndOfStream(second.Get()));
    EXPECT_EQ(Count(owner_.Messages(), WM_SOCKET_CLOSED), 0u);
}

TEST(SocketComm, GetLocalAddressGivesADottedQuad) {
    std::string text = "stale";
    CSocketComm::GetLocalAddress(text);
    in_addr parsed{};
    EXPECT_NE(::inet_addr(text.c_str()), INADDR_NONE) << text;
    ASSERT_EQ(::inet_pton(AF_INET, text.c_str(), &parsed), 1) << text << " has all four parts";
    char back[INET_ADDRSTRLEN];
    EXPECT_EQ(std::string(::inet_ntop(AF_INET, &parsed, back, sizeof back)), text);
}

}  // namespace
}  // namespace velkaro
