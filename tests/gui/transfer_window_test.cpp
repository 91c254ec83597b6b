// Sends the window can show and stop: the progress row, "停止发送", the byte counters, the
// question before queued bytes would be dropped, and printers that go away mid-send.
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <fstream>
#include <functional>

#include "app/transfer_row.h"
#include "gui_test_util.h"
#include "support/loopback.h"
#include "support/pty_pair.h"
#include "support/test_bytes.h"

namespace velkaro::test {
namespace {

constexpr int kWait = 0, kDrop = 1, kCancel = -1;
constexpr int kOkButton = 1, kIpPortEdit = 1021;  // in the network settings dialog
constexpr int kLongMs = 30000;                    // generous: the machine may be busy

// Reads what the printer's end gets until `count` bytes or `quietMs` without data, letting
// the window run meanwhile.
std::string Drain(int fd, std::size_t count, int quietMs = 1000) {
    std::string got;
    std::vector<char> buffer(1 << 16);
    QElapsedTimer quiet;
    quiet.start();
    while (got.size() < count && quiet.elapsed() < quietMs) {
        const ssize_t n =
            ::recv(fd, buffer.data(), std::min(buffer.size(), count - got.size()), MSG_DONTWAIT);
        if (n > 0) {
            got.append(buffer.data(), static_cast<std::size_t>(n));
            quiet.restart();
        } else if (n == 0) {
            break;
        } else {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    return got;
}

// A network printer on the loopback address that reads only when the test says so.
class TransferWindowTest : public ::testing::Test {
  protected:
    TransferWindowTest() { w.dialog->show(); }

    UniqueFd Open() {
        w.ChooseKind("ETHERNET");
        w.dialog->m_strIPAddress = kLoopback;
        w.dialog->m_strIPPort = QString::fromStdString(printer->Port());
        w.Click(IDC_OPEN_PORT);
        return printer->Accept();
    }
    std::string File(const std::string& name, const std::string& content) {
        const std::string path = w.devices.Str() + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void SendFile(const std::string& path) {
        w.ui.fileToOpen = QString::fromStdString(path);
        w.Click(IDC_SEND_FILE);
    }
    QProgressBar* Bar() const {
        return Control<QProgressBar>(w.dialog.get(), IDC_TRANSFER_PROGRESS);
    }
    QString Counters() const { return Control<QLabel>(w.dialog.get(), IDC_BYTE_COUNTERS)->text(); }
    bool RowShown() const { return Bar()->isVisible(); }
    Transfer& Sender() { return w.dialog->SocketComm().Sender(); }

    WindowFixture w;
    // A fresh one for each connection, so no connection left waiting is taken for the next.
    std::unique_ptr<LoopbackListener> printer = std::make_unique<LoopbackListener>();
    const std::string job = Pattern(32 << 20);  // more than the socket buffers take
};

TEST_F(TransferWindowTest, TheRowShowsWhileBytesWaitAndLeavesTheLayoutAsItWas) {
    const QRect sendBox = w.SendBox()->geometry();
    const QRect status = Control<QLabel>(w.dialog.get(), IDC_STATUS)->geometry();
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    EXPECT_FALSE(RowShown());
    EXPECT_EQ(Counters(), "发送 0 字节 · 接收 0 字节");

    SendFile(File("job.prn", job));
    ASSERT_TRUE(RowShown());
    EXPECT_TRUE(Control<QPushButton>(w.dialog.get(), IDC_STOP_SENDING)->isVisible());
    EXPECT_TRUE(Bar()->format().contains("/ 33554432 字节")) << Bar()->format().toStdString();
    EXPECT_LE(w.SendBox()->geometry().bottom(), Bar()->geometry().top()) << "nothing hidden";
    EXPECT_EQ(Control<QLabel>(w.dialog.get(), IDC_STATUS)->geometry(), status);

    ::send(peer.Get(), "OK", 2, MSG_NOSIGNAL);
    const std::string got = Drain(peer.Get(), job.size(), kLongMs);
    EXPECT_TRUE(got == job) << got.size();
    EXPECT_TRUE(WaitUntil([&] { return !RowShown(); }, kLongMs));
    EXPECT_EQ(w.SendBox()->geometry(), sendBox);
    EXPECT_TRUE(WaitUntil([&] { return Counters() == "发送 33554432 字节 · 接收 2 字节"; }))
        << Counters().toStdString();
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_TRUE(w.dialog->Status().endsWith(" 打开"));
}

TEST_F(TransferWindowTest, StopLeavesExactlyTheReportedBytesAtThePrinterAndTheConnectionOpen) {
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    SendFile(File("job.prn", job));
    ASSERT_TRUE(WaitUntil([&] { return Sender().Current().written > 0; }, kLongMs));
    w.Click(IDC_STOP_SENDING);
    EXPECT_FALSE(RowShown());
    const QStringList parts = w.dialog->Status().split(' ');
    ASSERT_TRUE(w.dialog->Status().startsWith("已停止：已发送 ")) << parts.join(' ').toStdString();
    ASSERT_EQ(parts.size(), 5);
    EXPECT_EQ(parts[3], "33554432");
    const std::size_t sent = parts[1].toULongLong();
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, job.size());

    const std::string got = Drain(peer.Get(), job.size());
    EXPECT_EQ(got.size(), sent);
    EXPECT_TRUE(got == job.substr(0, sent));
    EXPECT_TRUE(w.dialog->PortOpen()) << "stopping never closes the connection";
    EXPECT_EQ(Counters(), QString("发送 %1 字节 · 接收 0 字节").arg(sent));

    w.SendBox()->setPlainText("~HS");
    w.Click(IDC_SEND_DATA);
    EXPECT_EQ(Drain(peer.Get(), 3), "~HS") << "the connection still works";
    EXPECT_TRUE(w.ui.messages.empty());
}

// Each of the four actions that would end the connection asks first while bytes wait, and each
// answer does what it says: Cancel nothing, "放弃发送" drops them and acts, "等待发送完成" acts
// once they are all delivered.
TEST_F(TransferWindowTest, ActionsThatEndTheConnectionAskFirst) {
    const struct {
        const char* what;
        std::function<void(WindowFixture&)> act;
        std::function<bool(WindowFixture&, std::uint64_t connection)> acted;
    } actions[] = {
        {"change of kind", [](WindowFixture& f) { f.ChooseKind("COM"); },
         [](WindowFixture& f, std::uint64_t) { return f.dialog->PortType() == "COM"; }},
        {"open again", [](WindowFixture& f) { f.Click(IDC_OPEN_PORT); },
         [](WindowFixture& f, std::uint64_t connection) {
             return f.dialog->SocketComm().Connection() > connection;
         }},
        {"new network settings",
         [](WindowFixture& f) {
             f.ui.onDialog = [](QDialog& d) {
                 Control<QLineEdit>(&d, kIpPortEdit)->setText("1");
                 Control<QPushButton>(&d, kOkButton)->click();
                 return d.result();
             };
             f.Click(IDC_PORT_SETUP);
         },
         [](WindowFixture& f, std::uint64_t) { return f.dialog->m_strIPPort == "1"; }},
        {"closing the window", [](WindowFixture& f) { f.dialog->close(); },
         [](WindowFixture& f, std::uint64_t) { return !f.dialog->isVisible(); }},
    };
    const std::string file = File("job.prn", job);
    for (const auto& action : actions) {
        for (const int answer : {kCancel, kDrop, kWait}) {
            SCOPED_TRACE(std::string(action.what) + " / answer " + std::to_string(answer));
            w.dialog->show();
            printer = std::make_unique<LoopbackListener>();
            UniqueFd peer = Open();
            ASSERT_TRUE(peer);
            const std::uint64_t connection = w.dialog->SocketComm().Connection();
            SendFile(file);
            ASSERT_FALSE(Sender().Idle());
            w.ui.questions.clear();
            w.ui.messages.clear();
            w.ui.answer = answer;
            action.act(w);

            ASSERT_EQ(w.ui.questions.size(), 1u);
            EXPECT_TRUE(w.ui.questions[0].text.startsWith("还有 "));
            EXPECT_EQ(w.ui.questions[0].buttons, QStringList({"等待发送完成", "放弃发送"}));
            if (answer == kCancel) {
                EXPECT_FALSE(action.acted(w, connection));
                EXPECT_FALSE(Sender().Idle()) << "still sending";
                EXPECT_TRUE(RowShown());
                Drain(peer.Get(), job.size(), kLongMs);
                EXPECT_TRUE(WaitUntil([&] { return !RowShown(); }, kLongMs));
                EXPECT_FALSE(action.acted(w, connection));
            } else if (answer == kDrop) {
                EXPECT_TRUE(action.acted(w, connection));
                EXPECT_LT(Drain(peer.Get(), job.size()).size(), job.size());
            } else {
                EXPECT_FALSE(action.acted(w, connection)) << "not before the queue drained";
                EXPECT_TRUE(RowShown());
                const std::string got = Drain(peer.Get(), job.size(), kLongMs);
                EXPECT_EQ(got.size(), job.size());
                EXPECT_TRUE(WaitUntil([&] { return action.acted(w, connection); }, kLongMs));
            }
            EXPECT_EQ(w.ui.questions.size(), 1u);
            EXPECT_TRUE(w.ui.messages.empty()) << w.ui.MessageTexts().join('|').toStdString();
            // Back to a known state for the next round.
            w.ui.answer = kDrop;
            w.dialog->SocketComm().Close();
            if (w.dialog->PortType() != "ETHERNET") w.ChooseKind("ETHERNET");
            QCoreApplication::processEvents();
        }
    }
}

TEST_F(TransferWindowTest, APrinterThatHangsUpMidSendIsReportedWithTheUndeliveredCount) {
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    SendFile(File("job.prn", job));
    ASSERT_EQ(Drain(peer.Get(), 1 << 20, kLongMs).size(), 1u << 20);
    peer.Reset();
    ASSERT_TRUE(WaitUntil([&] { return !w.ui.messages.empty(); }, kLongMs));
    const QString text = w.ui.messages[0].text;
    EXPECT_TRUE(text.startsWith("与打印机的连接已断开，")) << text.toStdString();
    const std::uint64_t undelivered = text.section("，", 1).section(" ", 0, 0).toULongLong();
    EXPECT_GT(undelivered, 0u);
    EXPECT_LE(undelivered, job.size() - (1u << 20));
    EXPECT_TRUE(WaitUntil([&] { return w.dialog->Status().endsWith(" 关闭"); }));
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_FALSE(RowShown());
    EXPECT_EQ(w.ui.messages.size(), 1u) << "said once";
}

TEST_F(TransferWindowTest, TheQueueIsBoundedAndARefusedSendQueuesNothing) {
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    const QByteArray mb(1 << 20, 'x');
    int accepted = 0;
    while (accepted < 100 && w.dialog->SendToPrinter(mb)) ++accepted;
    ASSERT_LT(accepted, 100);
    EXPECT_GE(accepted, 16);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_TRUE(w.ui.messages[0].text.startsWith("打印机未接收数据"));
    EXPECT_EQ(Drain(peer.Get(), std::size_t(accepted) << 20, kLongMs).size(), std::size_t(accepted)
                                                                                  << 20)
        << "every accepted block arrives";
    EXPECT_EQ(Drain(peer.Get(), 1, 300), "") << "nothing of the refused one";
}

TEST_F(TransferWindowTest, AFileThatShrinksWhileSentStopsAndSaysHowMuchWasSent) {
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    const std::string path = File("job.prn", job);
    SendFile(path);
    ASSERT_TRUE(WaitUntil([&] { return Sender().Current().written > 0; }, kLongMs));
    constexpr std::size_t kKept = 16 << 20;  // more than the socket buffers have taken yet
    ASSERT_LT(Sender().Current().written, kKept);
    ASSERT_EQ(::truncate(path.c_str(), kKept), 0);
    EXPECT_EQ(Drain(peer.Get(), job.size(), 3000).size(), kKept);
    ASSERT_TRUE(WaitUntil([&] { return !w.ui.messages.empty(); }, kLongMs));
    EXPECT_EQ(w.ui.MessageTexts(),
              QStringList{"文件在发送中变短，发送已停止：已发送 16777216 / 33554432 字节"});
    EXPECT_FALSE(RowShown());
    EXPECT_TRUE(w.dialog->PortOpen());
}

TEST_F(TransferWindowTest, AnEmptyFileSendsNothingAndIsNoError) {
    UniqueFd peer = Open();
    ASSERT_TRUE(peer);
    SendFile(File("empty.prn", ""));
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"文件为空，没有发送任何数据。"});
    EXPECT_EQ(w.ui.messages[0].icon, IUiServices::Icon::Information);
    EXPECT_EQ(Drain(peer.Get(), 1, 200), "");
    EXPECT_FALSE(RowShown());
}

// A serial printer on a pty that is unplugged mid-send.
TEST(TransferWindow, ASerialPrinterUnpluggedMidSendIsReported) {
    WindowFixture w;
    PtyPair pty;
    pty.LinkAs(w.devices.Path(), "ttyS0");
    const std::string job = Pattern(8 << 20, 2);
    const std::string path = w.devices.Str() + "/job.prn";
    std::ofstream(path, std::ios::binary) << job;
    w.ui.fileToOpen = QString::fromStdString(path);

    w.Click(IDC_OPEN_PORT);
    ASSERT_TRUE(w.dialog->PortOpen());
    pty.CloseSlave();
    w.Click(IDC_SEND_FILE);
    EXPECT_GE(pty.Receive(1 << 20, kLongMs).size(), 1u << 20);
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !w.ui.messages.empty(); }, kLongMs));
    EXPECT_TRUE(w.ui.messages[0].text.startsWith("与打印机的连接已断开，"));
    EXPECT_TRUE(w.ui.messages[0].text.endsWith(" 字节未送达。"));
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 关闭");
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.ui.messages.size(), 1u) << "said once";
}

}  // namespace
}  // namespace velkaro::test
