#include "connections/usb_port.h"

#include <termios.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/pty_pair.h"
#include "support/recording_owner.h"
#include "support/temp_dir.h"

namespace velkaro {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Clock = std::chrono::steady_clock;
using test::FlowingPrinter;
using test::PtyPair;
using test::RecordingOwner;
using test::TempDir;

std::string Pattern(std::size_t size, int seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251 + seed);
    return bytes;
}

// The test plays the printer on the master side of a pty; the port opens the slave side
// through <dev>/usb/lp0.
class UsbPortTest : public ::testing::Test {
  protected:
    void SetUp() override { pty_.LinkAs(dev_.Path() / "usb", "lp0"); }
    bool Open() { return port_.Open(&owner_, Node()); }
    std::string Node() const { return dev_.Str() + "/usb/lp0"; }
    bool WaitReaderEnd(std::chrono::milliseconds timeout = 1s) {
        const auto deadline = Clock::now() + timeout;
        while (port_.ReaderAlive() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
        return !port_.ReaderAlive();
    }

    TempDir dev_;
    PtyPair pty_;
    RecordingOwner owner_;
    CUSBPort port_;
};

TEST_F(UsbPortTest, WriteDeliversTheExactBytes) {
    ASSERT_TRUE(Open());
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(port_.Connection(), 1u);
    const std::string label = "^XA^FO50,50^FDVelkaro\0\xff^FS^XZ"s;
    EXPECT_TRUE(port_.Write(label.data(), label.size())) << "drained in time";
    EXPECT_EQ(pty_.Receive(label.size()), label);
    EXPECT_TRUE(port_.Write(nullptr, 0));
}

TEST_F(UsbPortTest, RepliesArriveInOrderInReadsOfAtMost512) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port_.StartReader());
    const std::string reply = Pattern(512, 1) + Pattern(700, 2);
    pty_.Send(reply.substr(0, 512));
    pty_.Send(reply.substr(512));
    ASSERT_TRUE(owner_.WaitForBytes(reply.size()));
    for (const PortMessage& m : owner_.Messages()) {
        EXPECT_EQ(m.type, WM_USB_DATA);
        EXPECT_EQ(m.connection, port_.Connection());
        EXPECT_GE(m.bytes.size(), 1u);
        EXPECT_LE(m.bytes.size(), CUSBPort::kReadBufferSize);
    }
    EXPECT_EQ(owner_.AllBytes(), reply);
}

// A pty in canonical mode reads 0 bytes when the master sends the end-of-file character.
TEST_F(UsbPortTest, AReadOfNothingPostsNothingAndTheReaderGoesOn) {
    termios tio{};
    ASSERT_EQ(tcgetattr(pty_.Slave(), &tio), 0);
    tio.c_lflag |= ICANON;
    tio.c_lflag &= ~ECHO;
    tio.c_cc[VEOF] = 4;
    ASSERT_EQ(tcsetattr(pty_.Slave(), TCSANOW, &tio), 0);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port_.StartReader());

    pty_.Send("\x04");
    EXPECT_FALSE(owner_.WaitForBytes(1, 200));
    EXPECT_TRUE(owner_.Messages().empty());
    EXPECT_TRUE(port_.ReaderAlive());

    pty_.Send("~HS\n");
    ASSERT_TRUE(owner_.WaitForBytes(4));
    EXPECT_EQ(owner_.AllBytes(), "~HS\n");
}

TEST_F(UsbPortTest, UnpluggingEndsTheReaderPromptly) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port_.StartReader());
    pty_.Send("bye");
    ASSERT_TRUE(owner_.WaitForBytes(3));
    pty_.CloseSlave();
    pty_.CloseMaster();
    EXPECT_TRUE(WaitReaderEnd());
    EXPECT_EQ(owner_.AllBytes(), "bye");
}

TEST_F(UsbPortTest, ReopenWhileDataFlowsStartsANewConnection) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port_.StartReader());
    FlowingPrinter printer(pty_);
    ASSERT_TRUE(owner_.WaitForBytes(64));
    const auto first = port_.Connection();
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port_.StartReader());
    EXPECT_EQ(port_.Connection(), first + 1);
    EXPECT_TRUE(owner_.WaitFor([&](const std::vector<PortMessage>& all) {
        return !all.empty() && all.back().connection == port_.Connection();
    }));
    printer.Stop();

    const auto messages = owner_.Messages();
    std::size_t i = 0;
    while (i < messages.size() && messages[i].connection == first) ++i;
    for (; i < messages.size(); ++i)
        EXPECT_EQ(messages[i].connection, first + 1) << "the old reader has ended for good";
}

TEST_F(UsbPortTest, ASlowPrinterNeverHoldsTheWriteAndEverythingStillArrivesInOrder) {
    ASSERT_TRUE(Open());
    const std::string block = Pattern(512 * 1024, 3);  // far more than the pty holds
    const auto start = Clock::now();
    EXPECT_TRUE(port_.Write(block.data(), block.size()));
    EXPECT_TRUE(port_.Write("END", 3)) << "queued behind the first block";
    EXPECT_LT(Clock::now() - start, 500ms) << "a write never waits for the printer";

    std::string received;
    std::thread printer([&] { received = pty_.Receive(block.size() + 3, 20000); });
    printer.join();
    EXPECT_EQ(received.size(), block.size() + 3);
    EXPECT_TRUE(received == block + "END");
}

TEST_F(UsbPortTest, AMissingNodeDoesNotOpen) {
    EXPECT_FALSE(port_.Open(&owner_, dev_.Str() + "/usb/lp1"));
    EXPECT_FALSE(port_.Open(&owner_, ""));
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_FALSE(port_.StartReader());
    EXPECT_FALSE(port_.Write("x", 1));
    EXPECT_EQ(port_.Connection(), 0u);
}

TEST_F(UsbPortTest, StopReaderLeavesTheNodeOpenAndDestructionIsPrompt) {
    auto port = std::make_unique<CUSBPort>();
    ASSERT_TRUE(port->Open(&owner_, Node()));
    ASSERT_TRUE(port->StartReader());
    port->StopReader();
    EXPECT_TRUE(port->IsOpen());
    const std::string block = Pattern(512 * 1024, 4);
    EXPECT_TRUE(port->Write(block.data(), block.size()));
    const auto start = Clock::now();
    port.reset();  // a reader to join and a block that cannot drain
    EXPECT_LT(Clock::now() - start, 500ms);
}

}  // namespace
}  // namespace velkaro
