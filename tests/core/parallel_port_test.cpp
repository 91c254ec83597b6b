#include "connections/parallel_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/fifo_printer.h"
#include "support/temp_dir.h"

namespace velkaro {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::FifoPrinter;
using test::TempDir;

std::string Pattern(std::size_t size, int seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13 + i / 509 + seed);
    return bytes;
}

class ParallelPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::mkfifo(Node().c_str(), 0600), 0);
        port_.SetDeviceFolder(dev_.Str());
    }
    std::string Node() const { return dev_.Str() + "/lp1"; }  // LPT2

    TempDir dev_;
    CParallelPort port_;
};

TEST_F(ParallelPortTest, ASendDeliversTheExactBytesAndClosesTheNode) {
    FifoPrinter printer(Node());
    ASSERT_TRUE(printer.Valid());
    ASSERT_TRUE(port_.Open(2));
    EXPECT_EQ(port_.Port(), 2);
    EXPECT_TRUE(port_.IsOpen());
    printer.Start();
    const std::string label = "N\nA50,50,0,4,1,1,N,\"VELKARO\"\nP1\n";
    EXPECT_TRUE(port_.Write(label.data(), label.size()));
    EXPECT_TRUE(port_.Write("", 0));
    port_.Close();
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(printer.Received(), label);
    EXPECT_TRUE(printer.EndOfFile());
    EXPECT_TRUE(port_.WaitIdle(1000));
}

// The second Open finds the node still draining the first send and carries on with it rather
// than failing on its own lock; the node closes after the last byte.
TEST_F(ParallelPortTest, BackToBackSendsToASlowPrinterArriveCompleteAndInOrder) {
    FifoPrinter printer(Node());
    ASSERT_TRUE(printer.Valid());
    const std::string first = Pattern(1 << 20, 1), second = Pattern(1 << 20, 2);
    const auto start = Clock::now();
    ASSERT_TRUE(port_.Open(2));
    printer.Start(300ms);
    ASSERT_TRUE(port_.Write(first.data(), first.size()));
    port_.Close();
    ASSERT_TRUE(port_.Open(2));
    ASSERT_TRUE(port_.Write(second.data(), second.size()));
    port_.Close();
    EXPECT_LT(Clock::now() - start, 200ms) << "nothing waits for the printer";
    const std::string received = printer.Received();
    EXPECT_EQ(received.size(), first.size() + second.size());
    EXPECT_TRUE(received == first + second);
    EXPECT_TRUE(printer.EndOfFile());
    EXPECT_TRUE(port_.WaitIdle(1000));
}

TEST_F(ParallelPortTest, PortsWithoutAFreeNodeDoNotOpen) {
    const struct {
        const char* folder;
        int port;
    } cases[] = {{"", 1}, {"", 0}, {"", 11}, {"", -2}, {"/missing", 2}};
    for (const auto& c : cases) {
        port_.SetDeviceFolder(*c.folder ? dev_.Str() + c.folder : dev_.Str());
        EXPECT_FALSE(port_.Open(c.port)) << c.folder << " LPT" << c.port;
        EXPECT_FALSE(port_.IsOpen());
        EXPECT_FALSE(port_.Write("x", 1));
    }
    port_.SetDeviceFolder(dev_.Str());

    // Another program holds LPT2.
    UniqueFd other(::open(Node().c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_TRUE(other);
    ASSERT_EQ(::flock(other.Get(), LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(port_.Open(2));
    other.Reset();
    EXPECT_TRUE(port_.Open(2));
}

TEST_F(ParallelPortTest, CloseOnAClosedPortDoesNothing) {
    port_.Close();
    EXPECT_FALSE(port_.IsOpen());
    ASSERT_TRUE(port_.Open(2));
    port_.Close();
    port_.Close();
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(port_.WaitIdle(0));
}

TEST_F(ParallelPortTest, DestructionDropsWhatHasNotDrainedPromptly) {
    FifoPrinter printer(Node());  // never reads before the port is gone
    auto port = std::make_unique<CParallelPort>();
    port->SetDeviceFolder(dev_.Str());
    ASSERT_TRUE(port->Open(2));
    const std::string block = Pattern(1 << 20, 3);
    ASSERT_TRUE(port->Write(block.data(), block.size()));
    port->Close();
    EXPECT_FALSE(port->WaitIdle(50));
    const auto start = Clock::now();
    port.reset();
    EXPECT_LT(Clock::now() - start, 500ms);
    printer.Start();
    EXPECT_TRUE(printer.EndOfFile()) << "the node is closed";
    EXPECT_LT(printer.Received().size(), block.size());
}

}  // namespace
}  // namespace velkaro
