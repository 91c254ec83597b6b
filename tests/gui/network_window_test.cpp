// "ETHERNET" in the main window against a printer stand-in listening on the loopback address.
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
#include "support/loopback.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

using namespace std::chrono_literals;

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
        w.dialog->m_strIPPort = QString::fromStdString(printer.Port());
        w.Click(IDC_OPEN_PORT);
        return printer.Accept(2000);
    }
    QString OpenStatus() const {
        return "当前状态：127.0.0.1:" + QString::number(printer.Number()) + " 打开";
    }
    void SendText(const QString& text) {
        w.SendBox()->setPlainText(text);
        w.Click(IDC_SEND_DATA);
    }

    LoopbackListener printer{4};
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
    EXPECT_EQ(w.dialog->Status(),
              "当前状态：127.0.0.1:" + QString::number(printer.Number()) + " 关闭");
    EXPECT_FALSE(w.dialog->PortOpen());

    SendText("~HS");
    EXPECT_EQ(ReadFrom(peer.Get(), 1, 200), "");
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"与打印机的连接已断开，没有未送达的数据。"});
}

TEST_F(NetworkWindowTest, ReopeningEndsTheOldConnectionWithoutClosingTheNewOne) {
    const UniqueFd first = Open();
    ASSERT_TRUE(first);
    w.Click(IDC_OPEN_PORT);
    const UniqueFd second = printer.Accept(2000);
    ASSERT_TRUE(second);
    EXPECT_TRUE(SeesEndOfStream(first.Get()));
    EXPECT_FALSE(WaitUntil([&] { return !w.dialog->PortOpen(); }, 150));
    EXPECT_EQ(w.dialog->Status(), OpenStatus());

    SendText("^XA^XZ");
    EXPECT_EQ(ReadFrom(second.Get(), 6, 2000), "^XA^XZ");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(NetworkWindowTest, AClosedPortFailsToOpen) {
    LoopbackListener gone(4);
    const QString port = QString::number(gone.Number());
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
    LoopbackListener full(0);
    const std::vector<UniqueFd> waiting = FillAcceptQueue(full);
    std::this_thread::sleep_for(50ms);

    DialogEnvironment environment;
    environment.connectTimeoutMs = 300;
    WindowFixture w(environment);
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = kLoopback;
    w.dialog->m_strIPPort = QString::fromStdString(full.Port());
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
