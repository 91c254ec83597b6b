#include "connections/serial_port.h"
#include "connections/serial_line.h"

#include <sys/file.h>
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
using test::FlowingPrinter;
using test::PtyPair;
using test::RecordingOwner;
using test::TempDir;

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pty_.LinkAs(dev_.Path(), "ttyS0");  // COM1
        port_.SetDeviceFolder(dev_.Str());
    }
    bool OpenCom1(int baud = 9600, int parity = kParityNone, int data = 8, int stop = 0) {
        return port_.Open(&owner_, 1, baud, parity, data, stop);
    }
    termios Line() const {
        termios tio{};
        tcgetattr(pty_.Slave(), &tio);
        return tio;
    }

    TempDir dev_;
    PtyPair pty_;
    RecordingOwner owner_;
    CASYNSerialPort port_;
};

// Line attributes for every table entry. Pseudo-terminals force CS8 and clear PARENB, so the
// frame is checked on the computed attributes and the rest on a real pty below.
TEST(SerialLine, SettingsMapToTermiosAndUnknownValuesKeepTheDriversSetting) {
    termios driver{};
    driver.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS;
    driver.c_iflag = IXON | IXOFF | ICRNL;
    driver.c_lflag = ICANON | ECHO;
    cfsetospeed(&driver, B4800);
    cfsetispeed(&driver, B4800);
    const struct {
        SerialLineSettings settings;
        speed_t speed;
        tcflag_t size, parityBits, stopBit;
    } cases[] = {
        {{9600, kParityNone, 8, kOneStopBit}, B9600, CS8, 0, 0},
        {{115200, kParityOdd, 7, kTwoStopBits}, B115200, CS7, PARENB | PARODD, CSTOPB},
        {{1200, kParityEven, 6, kOneStopBit}, B1200, CS6, PARENB, 0},
        {{19200, kParityMark, 8, kOne5StopBits}, B19200, CS8, PARENB | PARODD | CMSPAR, CSTOPB},
        {{57600, kParitySpace, 5, kOneStopBit}, B57600, CS5, PARENB | CMSPAR, 0},
        // outside their tables: the driver's speed, size, parity and stop bits stay
        {{12345, 5, 9, 3}, B4800, CS7, PARENB, CSTOPB},
        {{9600, -1, 4, -1}, B9600, CS7, PARENB, CSTOPB},
    };
    for (const auto& c : cases) {
        const termios tio = LineAttributes(driver, c.settings);
        const int baud = c.settings.baudRate;
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << baud;
        EXPECT_EQ(cfgetispeed(&tio), c.speed) << baud;
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size) << baud;
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parityBits) << baud;
        EXPECT_EQ(tio.c_cflag & CSTOPB, c.stopBit) << baud;
        EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u) << "raw mode";
    }
}

TEST_F(SerialPortTest, OpenAppliesLineSettingsToTheDevice) {
    ASSERT_TRUE(OpenCom1());
    termios tio = Line();
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_lflag & ICANON, 0u);

    ASSERT_TRUE(OpenCom1(115200, kParityMark, 7, kTwoStopBits));
    tio = Line();
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B115200));
    EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), tcflag_t(PARODD | CMSPAR));
    EXPECT_EQ(tio.c_cflag & CSTOPB, tcflag_t(CSTOPB));

    ASSERT_TRUE(OpenCom1(777, 9, 9, 9)) << "odd values still open the port";
    tio = Line();
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B115200)) << "and leave the driver's settings";
    EXPECT_EQ(tio.c_cflag & CSTOPB, tcflag_t(CSTOPB));
}

TEST_F(SerialPortTest, OpenFailsForMissingUnmappedOrHeldDevices) {
    EXPECT_FALSE(port_.Open(&owner_, 2, 9600, 0, 8, 0)) << "no ttyS1 in the folder";
    EXPECT_FALSE(port_.Open(&owner_, 0, 9600, 0, 8, 0));
    EXPECT_FALSE(port_.Open(&owner_, 200, 9600, 0, 8, 0));
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_FALSE(port_.Write("x", 1));

    // Another program holds COM1 (it has locked the device).
    UniqueFd other(::open(pty_.SlaveName().c_str(), O_RDWR | O_NOCTTY));
    ASSERT_TRUE(other);
    ASSERT_EQ(::flock(other.Get(), LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(OpenCom1());
    other.Reset();
    EXPECT_TRUE(OpenCom1());
}

TEST_F(SerialPortTest, ABurstArrivesInLargeBlocksInOrder) {
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    std::string burst(CASYNSerialPort::kReadBufferSize + 700, '\0');
    for (std::size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<char>(i * 7);
    pty_.Send(burst);
    ASSERT_TRUE(owner_.WaitForBytes(burst.size()));
    const auto messages = owner_.Messages();
    ASSERT_GE(messages.size(), 2u);
    std::size_t largest = 0;
    for (const auto& m : messages) {
        EXPECT_LE(m.bytes.size(), CASYNSerialPort::kReadBufferSize);
        largest = std::max(largest, m.bytes.size());
    }
    EXPECT_GT(largest, 4096u) << "reads gather far more than one pty buffer";
    EXPECT_EQ(messages[0].type, WM_SERIAL_DATA);
    EXPECT_EQ(owner_.AllBytes(), burst) << "every byte, zero bytes included, in order";
}

TEST_F(SerialPortTest, LineSilenceEndsABlock) {
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    pty_.Send("AB");
    std::this_thread::sleep_for(250ms);
    pty_.Send("CD");
    ASSERT_TRUE(owner_.WaitForBytes(4));
    const auto messages = owner_.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].bytes, "AB");
    EXPECT_EQ(messages[1].bytes, "CD");
}

TEST_F(SerialPortTest, ASlowLineThatIsNeverQuietStillDeliversPromptly) {
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    for (int i = 0; i < 40; ++i) {  // a byte every 20 ms: never quiet for the 100 ms interval
        pty_.Send("x");
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(owner_.WaitForBytes(40));
    EXPECT_GE(owner_.Messages().size(), 3u) << "a block waits at most about the interval";
}

TEST_F(SerialPortTest, WriteReturnsAtOnceAndDrainsEverythingInOrder) {
    ASSERT_TRUE(OpenCom1());
    std::string block(100000, 'x');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>('a' + i % 26);
    const auto start = std::chrono::steady_clock::now();
    {
        std::string caller = block;  // released as soon as Write returns
        ASSERT_TRUE(port_.Write(caller.data(), caller.size()));
        ASSERT_TRUE(port_.Write("END", 3));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << "far more than the pty holds";
    EXPECT_EQ(pty_.Receive(block.size() + 3), block + "END");
    EXPECT_TRUE(port_.Write("", 0));
}

TEST_F(SerialPortTest, ReopenWhileDataFlowsReplacesTheReader) {
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    FlowingPrinter printer(pty_);
    std::this_thread::sleep_for(50ms);
    const auto first = port_.Connection();
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    EXPECT_GT(port_.Connection(), first);
    EXPECT_TRUE(owner_.WaitFor([&](const std::vector<PortMessage>& all) {
        return !all.empty() && all.back().connection == port_.Connection();
    }));
    printer.Stop();
}

TEST_F(SerialPortTest, StopReaderAndDestructionEndPromptly) {
    auto port = std::make_unique<CASYNSerialPort>();
    port->SetDeviceFolder(dev_.Str());
    ASSERT_TRUE(port->Open(&owner_, 1, 9600, 0, 8, 0));
    ASSERT_TRUE(port->StartReader());
    pty_.Send("hello");
    const auto start = std::chrono::steady_clock::now();
    port->StopReader();
    EXPECT_TRUE(port->IsOpen()) << "stopping the reader leaves the device open";
    port.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(SerialPortTest, AVanishedDeviceEndsTheReader) {
    ASSERT_TRUE(OpenCom1());
    ASSERT_TRUE(port_.StartReader());
    pty_.Send("last words");
    ASSERT_TRUE(owner_.WaitForBytes(10));
    pty_.CloseSlave();
    pty_.CloseMaster();  // the line hangs up
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (port_.ReaderAlive() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(port_.ReaderAlive());
}

}  // namespace
}  // namespace velkaro
