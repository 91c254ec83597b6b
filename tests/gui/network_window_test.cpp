// "ETHERNET" in the main window against a printer stand-in listening on the loopback address.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <thread>
#include <vector>

#include "gui_test_util.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

using namespace std::chrono_literals;

constexpr char kLoopback[] = "127.0.0.1";

sockaddr_in LoopbackAddress(std::uint16_t port = 0) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::inet_addr(kLoopback);
    address.sin_port = htons(port);
    return address;
}

// The printer: a listening socket on 127.0.0.1 with a port the system picks.
class Listener {
  public:
    explicit Listener(int backlog = 4) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in self = LoopbackAddress();
        socklen_t size = sizeof self;
        if (!fd_ || ::bind(fd_.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
            ::listen(fd_.Get(), backlog) != 0 ||
            ::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
            throw std::runtime_error("loopback listener failed");
        port_ = ntohs(self.sin_port);
    }
    std::uint16_t Number() const { return port_; }
    QString Port() const { return QString::number(port_); }
    void Close() { fd_.Reset(); }
    UniqueFd Accept(int timeoutMs = 2000) const {
        pollfd p{fd_.Get(), POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return UniqueFd();
        return UniqueFd(::accept4(fd_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    }

  private:
    UniqueFd fd_;
    std::uint16_t port_ = 0;
};

// What arrives within `timeoutMs`, up to `count` bytes or the end of the stream.
std::string ReadFrom(int fd, std::size_t count, int timeoutMs = 2000) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, count - got.size()), 0);
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

bool SeesEndOfStream(int fd, int timeoutMs = 2000) {
    pollfd p{fd, POLLIN, 0};
    char byte;
    return ::poll(&p, 1, timeoutMs) > 0 && ::recv(fd, &byte, 1, 0) == 0;
}

void WriteTo(int fd, const std::string& bytes) {
    ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
}

TEST(NetworkWindow, FirstChoiceProposesThisMachineAndPort9100AndLaterChoicesKeepEdits) {
    WindowFixture w;
    w.ChooseKind("ETHERNET");
    std::string local;
    CSocketComm::GetLocalAddress(local);
    EXPECT_EQ(w.dialog->m_strIPAddress.toStdString(), local);
    EXPECT_EQ(w.dialog->m_strIPPort, "9100");
    EXPECT_EQ(w.dialog->Status().toStdString(), "当前状态：" + local + ":9100 关闭");

    w.dialog->m_strIPAddress = "10.20.30.40";
    w.dialog->m_strIPPort = "6101";
    w.ChooseKind("COM");
    w.ChooseKind("ETHERNET");
    EXPECT_EQ(w.dialog->m_strIPAddress, "10.20.30.40");
    EXPECT_EQ(w.dialog->m_strIPPort, "6101");
    EXPECT_EQ(w.dialog->Status(), "当前状态：10.20.30.40:6101 关闭");
    EXPECT_TRUE(w.ui.messages.empty());
}

class NetworkWindowTest : public ::testing::Test {
  protected:
    // Chooses the kind, aims it at the listener and opens; the printer's end of the connection.
    UniqueFd Open() {
        w.ChooseKind("ETHERNET");
        w.dialog->m_strIPAddress = kLoopback;
        w.dialog->m_strIPPort = printer.Port();
        w.Click(IDC_OPEN_PORT);
        return printer.Accept();
    }
    QString OpenStatus() const { return "当前状态：127.0.0.1:" + printer.Port() + " 打开"; }
    void SendText(const QString& text) {
        w.SendBox()->setPlainText(text);
        w.Click(IDC_SEND_DATA);
    }

    Listener printer;
    PtyPair pty;
    WindowFixture w;
};

TEST_F(NetworkWindowTest, OpenSendsTheBoxExactlyAndShowsTheReply) {
    const UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), OpenStatus());

    SendText("^XA^FO50,50^FDVelkaro^FS\n^XZ\n");
    const std::string sent = "^XA^FO50,50^FDVelkaro^FS\r\n^XZ\r\n";
    EXPECT_EQ(ReadFrom(peer.Get(), sent.size() + 1, 300), sent) << "nothing more";

    WriteTo(peer.Get(), "PQ OK\r\n");
    EXPECT_TRUE(WaitUntil([&] { return w.ReceivedText() == "PQ OK\n"; }))
        << w.ReceivedText().toStdString();
}

TEST_F(NetworkWindowTest, WhenThePrinterHangsUpItIsClosedAndSendingSendsNothing) {
    const UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    ASSERT_EQ(::shutdown(peer.Get(), SHUT_WR), 0);  // the printer's end; it still listens
    EXPECT_TRUE(WaitUntil([&] { return w.dialog->Status().endsWith(" 关闭"); }))
        << w.dialog->Status().toStdString();
    EXPECT_EQ(w.dialog->Status(), "当前状态：127.0.0.1:" + printer.Port() + " 关闭");
    EXPECT_FALSE(w.dialog->PortOpen());

    SendText("~HS");
    EXPECT_EQ(ReadFrom(peer.Get(), 1, 200), "");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(NetworkWindowTest, ReopeningEndsTheOldConnectionWithoutClosingTheNewOne) {
    const UniqueFd first = Open();
    ASSERT_TRUE(first);
    w.Click(IDC_OPEN_PORT);
    const UniqueFd second = printer.Accept();
    ASSERT_TRUE(second);
    EXPECT_TRUE(SeesEndOfStream(first.Get()));
    EXPECT_FALSE(WaitUntil([&] { return !w.dialog->PortOpen(); }, 150));
    EXPECT_EQ(w.dialog->Status(), OpenStatus());

    SendText("^XA^XZ");
    EXPECT_EQ(ReadFrom(second.Get(), 6), "^XA^XZ");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(NetworkWindowTest, AClosedPortFailsToOpen) {
    Listener gone;
    const QString port = gone.Port();
    gone.Close();
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = kLoopback;
    w.dialog->m_strIPPort = port;
    w.Click(IDC_OPEN_PORT);
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"网络端口打开失败"});
    EXPECT_EQ(w.ui.messages[0].icon, IUiServices::Icon::Error);
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：127.0.0.1:" + port + " 关闭");
}

TEST(NetworkWindow, APrinterThatNeverAnswersTimesOutWhileTheWindowKeepsWorking) {
    Listener full(0);
    std::vector<UniqueFd> waiting;  // connects nobody accepts fill the accept queue
    for (int i = 0; i < 4; ++i) {
        UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const sockaddr_in to = LoopbackAddress(full.Number());
        ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
        waiting.push_back(std::move(fd));
    }
    std::this_thread::sleep_for(50ms);

    DialogEnvironment environment;
    environment.connectTimeoutMs = 300;
    WindowFixture w(environment);
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = kLoopback;
    w.dialog->m_strIPPort = full.Port();
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start();
    QElapsedTimer clock;
    clock.start();
    w.Click(IDC_OPEN_PORT);
    const qint64 elapsed = clock.elapsed();
    if (w.dialog->PortOpen()) GTEST_SKIP() << "this kernel took the connection despite the queue";
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"网络端口打开失败"});
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 2000);
    EXPECT_GE(ticks, 5) << "the window went on with its events during the attempt";
}

TEST_F(NetworkWindowTest, SwitchingToComClosesTheSocketAndALateNoticeLeavesComAlone) {
    const UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    // The printer hangs up; its notice is posted but the window has not seen it yet.
    ASSERT_EQ(::shutdown(peer.Get(), SHUT_WR), 0);
    for (int i = 0; i < 400 && w.dialog->SocketComm().ReaderAlive(); ++i)
        std::this_thread::sleep_for(5ms);
    ASSERT_FALSE(w.dialog->SocketComm().ReaderAlive());

    w.ChooseKind("COM");
    EXPECT_TRUE(SeesEndOfStream(peer.Get())) << "the window let go of the socket";
    EXPECT_FALSE(w.dialog->SocketComm().IsOpen());
    pty.LinkAs(w.devices.Path(), "ttyS0");
    w.Click(IDC_OPEN_PORT);
    ASSERT_TRUE(w.dialog->PortOpen());

    EXPECT_FALSE(WaitUntil([&] { return !w.dialog->PortOpen(); }, 150));
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 打开");
    EXPECT_TRUE(w.ui.messages.empty());
}

}  // namespace
}  // namespace velkaro::test
