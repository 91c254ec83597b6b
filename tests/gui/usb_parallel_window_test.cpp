// "USB" and "LPT" in the main window: printers in a fake sysfs whose nodes lead to
// pseudo-terminals, and parallel nodes that are FIFOs read by the test.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <thread>

#include "gui_test_util.h"
#include "support/fake_sysfs.h"
#include "support/fifo_printer.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

namespace fs = std::filesystem;

constexpr int kOk = 1;

// ---- USB ----

class UsbWindowTest : public ::testing::Test {
  protected:
    // Adds printer lp<n> on USB port `port`, named by its device ID. Its device node leads to
    // the pty's slave side, or is a FIFO that nobody reads.
    void AddPrinter(int n, const std::string& port, const std::string& deviceId,
                    const PtyPair* node = nullptr) {
        FakeUsbPrinter printer{n, port, deviceId};
        if (node) {
            printer.node = UsbNode::kSymlink;
            printer.linkTarget = node->SlaveName();
        }
        AddFakeUsbPrinter(w.devices.Path() / "sys", w.devices.Path(), printer);
    }
    std::string Node(int n) const { return w.devices.Str() + "/usb/lp" + std::to_string(n); }
    void SendText(const QString& text) {
        w.SendBox()->setPlainText(text);
        w.Click(IDC_SEND_DATA);
    }
    // Sends through the open window and answers from the printer's side of the pty.
    void ExpectARoundTrip() {
        SendText("^XA^FDUSB^FS\n^XZ");
        const std::string sent = "^XA^FDUSB^FS\r\n^XZ";
        EXPECT_EQ(pty.Receive(sent.size()), sent);
        pty.Send("00,0,0\r\n");
        EXPECT_TRUE(WaitUntil([&] { return w.ReceivedText() == "00,0,0\n"; }))
            << w.ReceivedText().toStdString();
    }

    PtyPair pty;
    WindowFixture w;
};

TEST_F(UsbWindowTest, WithoutPrintersOpeningSaysSoAndLeavesTheStatus) {
    w.ChooseKind("USB");
    EXPECT_EQ(w.dialog->Status(), "当前状态：无USB设备连接");
    w.Click(IDC_OPEN_PORT);
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"没有USB打印设备连接！"});
    EXPECT_EQ(w.ui.messages[0].icon, IUiServices::Icon::Error);
    EXPECT_EQ(w.dialog->Status(), "当前状态：无USB设备连接");
    EXPECT_FALSE(w.dialog->PortOpen());
}

TEST_F(UsbWindowTest, OpensThePrinterSendsExactlyAndShowsItsReply) {
    AddPrinter(0, "1-1.4", "MFG:Zebra;CMD:ZPL;MDL:ZT410;", &pty);
    w.ChooseKind("USB");
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1.4 Zebra ZT410 关闭");
    w.Click(IDC_OPEN_PORT);
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1.4 Zebra ZT410 打开");
    EXPECT_EQ(w.dialog->USBPort().DevicePath(), Node(0));
    ExpectARoundTrip();
}

TEST_F(UsbWindowTest, ChoosingUsbAfterTheListShrankStartsAtTheFirstPrinter) {
    AddPrinter(0, "1-1", "MFG:Zebra;MDL:GK420d;");
    AddPrinter(1, "1-2", "MFG:Zebra;MDL:ZT230;");
    w.ChooseKind("USB");
    w.dialog->m_nUSBIndex = 1;
    w.ChooseKind("COM");
    fs::remove(Node(1));  // unplugged
    w.ChooseKind("USB");
    EXPECT_EQ(w.dialog->m_nUSBIndex, 0);
    ASSERT_EQ(w.dialog->m_arrUSBDevice.size(), 1u);
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1 Zebra GK420d 关闭");
}

TEST_F(UsbWindowTest, NoChoiceFromTheDialogFallsBackToTheFirstPrinter) {
    AddPrinter(0, "1-1.4", "MFG:Zebra;MDL:ZT410;", &pty);
    AddPrinter(1, "1-2", "MFG:Zebra;MDL:ZT230;");
    w.ChooseKind("USB");
    w.ui.onDialog = [](QDialog& d) {
        Control<QComboBox>(&d, 1003)->setCurrentIndex(-1);
        Control<QPushButton>(&d, kOk)->click();
        return d.result();
    };
    w.Click(IDC_PORT_SETUP);
    ASSERT_EQ(w.ui.dialogsRun, 1);
    EXPECT_EQ(w.dialog->m_nUSBIndex, -1);
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1.4 Zebra ZT410 关闭");
    w.Click(IDC_OPEN_PORT);
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1.4 Zebra ZT410 打开");
    EXPECT_EQ(w.dialog->USBPort().DevicePath(), Node(0));
    ExpectARoundTrip();
}

TEST_F(UsbWindowTest, APrinterUnpluggedSinceItWasListedFailsToOpen) {
    AddPrinter(0, "1-1.4", "MFG:Zebra;MDL:ZT410;", &pty);
    w.ChooseKind("USB");
    fs::remove(Node(0));
    w.Click(IDC_OPEN_PORT);
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"USB端口打开失败"});
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：1-1.4 Zebra ZT410 关闭");
}

// ---- LPT ----

class ParallelWindowTest : public ::testing::Test {
  protected:
    std::string Node(int n) const { return w.devices.Str() + "/lp" + std::to_string(n); }
    WindowFixture w;
};

TEST_F(ParallelWindowTest, ChoosingLptCountsAsOpenAtOnce) {
    w.ChooseKind("LPT");
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT1 打开");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(ParallelWindowTest, EachSendDeliversTheExactBytesAndClosesTheNode) {
    std::string file(10000, '\0');
    for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i * 7 + i / 256);
    const std::string path = w.devices.Str() + "/label.prn";
    std::ofstream(path, std::ios::binary) << file;

    const struct {
        const char* what;
        int button;
        std::string expected;
    } cases[] = {
        {"send box", IDC_SEND_DATA, "^XA^FDLPT^FS\r\n^XZ"},
        {"file", IDC_SEND_FILE, file},
    };
    w.ChooseKind("LPT");
    w.SendBox()->setPlainText("^XA^FDLPT^FS\n^XZ");
    w.ui.fileToOpen = QString::fromStdString(path);
    for (const auto& c : cases) {
        ASSERT_EQ(::mkfifo(Node(0).c_str(), 0600), 0);
        FifoPrinter printer(Node(0), 3000);
        printer.Start();
        w.Click(c.button);
        const std::string received = printer.Received();
        EXPECT_TRUE(printer.EndOfFile()) << c.what;
        EXPECT_EQ(received.size(), c.expected.size()) << c.what;
        EXPECT_TRUE(received == c.expected) << c.what;
        EXPECT_TRUE(w.ui.messages.empty()) << c.what;
        EXPECT_EQ(w.dialog->Status(), "当前状态：LPT1 打开");
        fs::remove(Node(0));
    }
}

TEST_F(ParallelWindowTest, AMissingNodeFailsTheSendAndLeavesItClosed) {
    w.dialog->m_strLptPort = "LPT2";
    w.ChooseKind("LPT");
    w.SendBox()->setPlainText("^XA^XZ");
    w.Click(IDC_SEND_DATA);
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"端口打开失败"});
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT2 关闭");

    // The node is there now, but the window counts the port as closed: nothing is sent, the
    // node is not even opened, and nothing is said.
    ASSERT_EQ(::mkfifo(Node(1).c_str(), 0600), 0);
    const UniqueFd printer(::open(Node(1).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    w.Click(IDC_SEND_DATA);
    pollfd p{printer.Get(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 200), 0);
    EXPECT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT2 关闭");
}

}  // namespace
}  // namespace velkaro::test
