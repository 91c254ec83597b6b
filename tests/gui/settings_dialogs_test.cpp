// The four settings dialogs, on their own and as the main window runs them.
#include <arpa/inet.h>
#include <netinet/in.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "gui_test_util.h"
#include "settings/com_port_setup_dlg.h"
#include "settings/ethernet_setup_dlg.h"
#include "settings/parallel_port_setup_dlg.h"
#include "settings/usb_setup_dlg.h"
#include "support/fake_sysfs.h"
#include "support/loopback.h"
#include "support/pty_pair.h"
#include "widgets/ip_address_edit.h"

namespace velkaro::test {
namespace {

namespace fs = std::filesystem;

constexpr int kOk = 1;
constexpr int kCancel = 2;
enum { kComPort = 1000, kBaud = 1004, kParity = 1005, kDataBits = 1006, kStopBits = 1007 };
enum { kLptOrUsbCombo = 1003, kAddress = 1020, kIpPort = 1021 };

QComboBox* Combo(QDialog& dialog, int id) {
    return Control<QComboBox>(&dialog, id);
}

// A user at a settings dialog: sees the initialised controls, changes them, then clicks OK or
// Cancel.
std::function<int(QDialog&)> User(std::function<void(QDialog&)> act, int button = kOk) {
    return [act = std::move(act), button](QDialog& dialog) {
        if (act) act(dialog);
        Control<QPushButton>(&dialog, button)->click();
        return dialog.result();
    };
}

// ---- "串口设置" ----

TEST(ComPortSetupDialog, PreselectsTheFirstEntryThatBeginsWithEachSetting) {
    const struct {
        QStringList settings;  // port, baud, parity, data bits, stop bits
        QStringList selected;  // what the lists show, and what OK hands back
    } cases[] = {
        {{"COM1", "9600", "NONE", "8", "1"}, {"COM1", "9600", "NONE", "8", "1"}},
        {{"COM12", "9600", "NONE", "8", "1"}, {"COM12", "9600", "NONE", "8", "1"}},
        {{"com5", "115200", "even", "7", "2"}, {"COM5", "115200", "EVEN", "7", "2"}},
        {{"COM3", "12345", "ODD", "6", "1.5"}, {"COM3", "", "ODD", "6", "1.5"}},
        {{"LPT3", "1200", "SPACE", "8", "1"}, {"COM1", "1200", "SPACE", "8", "1"}},
    };
    const int ids[] = {kComPort, kBaud, kParity, kDataBits, kStopBits};
    for (const auto& c : cases) {
        CComPortSetupDlg dlg(nullptr, "/nonexistent");
        QString* members[] = {&dlg.m_strComPort, &dlg.m_strBaudRate, &dlg.m_strParity,
                              &dlg.m_strDataBits, &dlg.m_strStopBits};
        for (int i = 0; i < 5; ++i) *members[i] = c.settings[i];
        FakeUi ui;
        QStringList shown;
        ui.onDialog = User([&](QDialog& d) {
            for (int id : ids) shown << Combo(d, id)->currentText();
        });
        ASSERT_EQ(dlg.DoModal(ui), QDialog::Accepted);
        EXPECT_EQ(shown, c.selected) << c.settings.join(',').toStdString();
        for (int i = 0; i < 5; ++i) EXPECT_EQ(*members[i], c.selected[i]) << i;
    }
}

TEST(ComPortSetupDialog, ListsEveryChoiceAndStartsFromCom1At9600None8And1) {
    CComPortSetupDlg dlg;
    FakeUi ui;
    ui.onDialog = User([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "串口设置");
        EXPECT_EQ(Combo(d, kComPort)->count(), 255);
        EXPECT_EQ(Combo(d, kComPort)->itemText(254), "COM255");
        EXPECT_EQ(Combo(d, kBaud)->count(), 8);
        EXPECT_EQ(Combo(d, kStopBits)->itemText(1), "1.5");
        Combo(d, kBaud)->setCurrentText("19200");
        Combo(d, kParity)->setCurrentText("MARK");
    });
    ASSERT_EQ(dlg.DoModal(ui), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strComPort, "COM1");
    EXPECT_EQ(dlg.m_strBaudRate, "19200");
    EXPECT_EQ(dlg.m_strParity, "MARK");
    EXPECT_EQ(dlg.m_strDataBits, "8");
    EXPECT_EQ(dlg.m_strStopBits, "1");
}

class ComSetupInWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { pty.LinkAs(w.devices.Path(), "ttyS0"); }
    void OpenCom1() {
        w.Click(IDC_OPEN_PORT);
        ASSERT_TRUE(w.dialog->PortOpen());
        ASSERT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 打开");
    }
    PtyPair pty;
    WindowFixture w;
};

TEST_F(ComSetupInWindowTest, OkWithoutAChangeKeepsTheFlagButRebuildsTheStatus) {
    for (bool open : {false, true}) {
        if (open) OpenCom1();
        w.dialog->m_strBaudRate = "4800";  // the status line does not show it yet
        w.ui.onDialog = User(nullptr);
        w.Click(IDC_PORT_SETUP);
        EXPECT_EQ(w.dialog->PortOpen(), open);
        EXPECT_EQ(w.dialog->Status(),
                  QStringLiteral("当前状态：COM1,4800,NONE,8,1") + (open ? " 打开" : " 关闭"));
        w.dialog->m_strBaudRate = "9600";
    }
}

TEST_F(ComSetupInWindowTest, OkWithAChangeMarksItClosedWhileTheDeviceStaysOpen) {
    OpenCom1();
    w.ui.onDialog = User([](QDialog& d) { Combo(d, kBaud)->setCurrentText("19200"); });
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.ui.dialogsRun, 1);
    EXPECT_EQ(w.dialog->m_strBaudRate, "19200");
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,19200,NONE,8,1 关闭");
    EXPECT_TRUE(w.dialog->SerialPort().IsOpen()) << "the device keeps its old settings";
}

TEST_F(ComSetupInWindowTest, CancelChangesNothing) {
    OpenCom1();
    w.ui.onDialog = User(
        [](QDialog& d) {
            Combo(d, kComPort)->setCurrentText("COM7");
            Combo(d, kStopBits)->setCurrentText("2");
        },
        kCancel);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strComPort, "COM1");
    EXPECT_EQ(w.dialog->m_strStopBits, "1");
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 打开");
}

TEST_F(ComSetupInWindowTest, TheDeviceNoteNamesTheNodeAndWhetherItIsThere) {
    const QString folder = QString::fromStdString(w.devices.Str());
    QStringList notes, labels;
    w.ui.onDialog = User(
        [&](QDialog& d) {
            auto& com = dynamic_cast<CComPortSetupDlg&>(d);
            for (const char* port : {"COM1", "COM33"}) {
                Combo(d, kComPort)->setCurrentText(port);
                notes << com.DeviceNote();
                labels << Control<QLabel>(&d, 1099)->text();
            }
        },
        kCancel);
    w.Click(IDC_PORT_SETUP);
    const QStringList expected = {folder + "/ttyS0（存在）", folder + "/ttyUSB0（不存在）"};
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(labels, expected) << "the note follows the chosen port";
}

// ---- "并口设置" ----

TEST(ParallelPortSetupDialog, PreselectsTheSettingOrLpt1) {
    const struct {
        const char* setting;
        const char* selected;
    } cases[] = {{"", "LPT1"},     {"LPT1", "LPT1"},  {"LPT10", "LPT10"},
                 {"lpt3", "LPT3"}, {"LPT11", "LPT1"}, {"COM2", "LPT1"}};
    for (const auto& c : cases) {
        CParallelPortSetupDlg dlg;
        dlg.m_strLptPort = c.setting;
        FakeUi ui;
        QString shown;
        ui.onDialog = User([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "并口设置");
            EXPECT_EQ(Combo(d, kLptOrUsbCombo)->count(), 10);
            shown = Combo(d, kLptOrUsbCombo)->currentText();
        });
        ASSERT_EQ(dlg.DoModal(ui), QDialog::Accepted);
        EXPECT_EQ(shown, c.selected) << c.setting;
        EXPECT_EQ(dlg.m_strLptPort, c.selected) << c.setting;
    }
}

TEST(ParallelPortSetupDialog, InTheWindowANewNameMarksItOpenAndCancelChangesNothing) {
    WindowFixture w;
    w.ChooseKind("LPT");
    w.Click(IDC_OPEN_PORT);  // there is no lp0 in the device folder
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"端口打开失败"});
    ASSERT_EQ(w.dialog->Status(), "当前状态：LPT1 关闭");

    w.ui.onDialog =
        User([](QDialog& d) { Combo(d, kLptOrUsbCombo)->setCurrentText("LPT3"); }, kCancel);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strLptPort, "LPT1");
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT1 关闭");

    w.ui.onDialog = User(nullptr);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT1 关闭") << "no change, no new flag";

    w.ui.onDialog = User([](QDialog& d) { Combo(d, kLptOrUsbCombo)->setCurrentText("LPT2"); });
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strLptPort, "LPT2");
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：LPT2 打开");
    EXPECT_EQ(w.ui.dialogsRun, 3);
}

// ---- "USB口设置" ----

class UsbSetupTest : public ::testing::Test {
  protected:
    // A printer of the USB printer class driver at lp<n> on USB port `port`, named by its
    // device ID, with a device node that exists.
    void AddPrinter(int n, const std::string& port, const std::string& deviceId) {
        AddFakeUsbPrinter(w.devices.Path() / "sys", w.devices.Path(), {n, port, deviceId});
    }
    std::string Node(int n) const { return w.devices.Str() + "/usb/lp" + std::to_string(n); }

    WindowFixture w;
};

TEST_F(UsbSetupTest, ListsThePrintersThereNowAndHandsBackThePosition) {
    const struct {
        int printers;
        int position;
        int selected;  // and handed back by OK
    } cases[] = {{2, 0, 0}, {2, 1, 1}, {1, 1, -1}, {0, 0, -1}};
    const QStringList all = {"1-1.4 Zebra ZT410", "1-2 Zebra GK420d"};
    for (const auto& c : cases) {
        fs::remove_all(w.devices.Path() / "sys");
        fs::remove_all(w.devices.Path() / "usb");
        if (c.printers > 0) AddPrinter(0, "1-1.4", "MFG:Zebra;MDL:ZT410;");
        if (c.printers > 1) AddPrinter(1, "1-2", "MFG:Zebra;MDL:GK420d;");
        w.ChooseKind("USB");
        w.dialog->m_nUSBIndex = c.position;
        QStringList listed;
        int shown = -2, handedBack = -2;
        w.ui.onDialog = [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "USB口设置");
            for (int i = 0; i < Combo(d, kLptOrUsbCombo)->count(); ++i)
                listed << Combo(d, kLptOrUsbCombo)->itemText(i);
            shown = Combo(d, kLptOrUsbCombo)->currentIndex();
            const int result = User(nullptr)(d);
            handedBack = dynamic_cast<CUSBSetupDlg&>(d).m_nUSBIndex;
            return result;
        };
        w.Click(IDC_PORT_SETUP);
        const std::string what =
            std::to_string(c.printers) + " printers at " + std::to_string(c.position);
        EXPECT_EQ(listed, all.mid(0, c.printers)) << what;
        EXPECT_EQ(shown, c.selected) << what;
        EXPECT_EQ(handedBack, c.selected) << what;
        EXPECT_EQ(w.dialog->m_nUSBIndex, c.selected) << what;
        w.ChooseKind("COM");
    }
}

TEST_F(UsbSetupTest, CancelKeepsThePosition) {
    AddPrinter(0, "1-1", "MFG:Zebra;MDL:ZT230;");
    AddPrinter(1, "1-2", "MFG:Zebra;MDL:ZT410;");
    w.ChooseKind("USB");
    w.dialog->m_nUSBIndex = 1;
    w.ui.onDialog = User([](QDialog& d) { Combo(d, kLptOrUsbCombo)->setCurrentIndex(0); }, kCancel);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_nUSBIndex, 1);
    EXPECT_EQ(w.ui.dialogsRun, 1);
}

// ---- "网络端口设置" ----

QStringList Fields(QDialog& dialog) {
    auto* address = Control<CIPAddressCtrl>(&dialog, kAddress);
    QStringList fields;
    for (int i = 0; i < 4; ++i) fields << address->Field(i)->text();
    return fields;
}

TEST(EthernetSetupDialog, FillsTheFieldsAndHandsBackWhatWasTyped) {
    const struct {
        const char* address;
        QStringList fields;
        const char* port;
    } cases[] = {
        {"", {"", "", "", ""}, "9100"},
        {"192.168.1.20", {"192", "168", "1", "20"}, "9100"},
        {"10.0.0.7", {"10", "0", "0", "7"}, "91x0"},
    };
    for (const auto& c : cases) {
        CEthernetSetupDlg dlg;
        dlg.m_strIPAddress = c.address;
        dlg.m_strIPPort = c.port;
        FakeUi ui;
        ui.onDialog = User([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "网络端口设置");
            EXPECT_EQ(Fields(d), c.fields) << c.address;
            EXPECT_EQ(Control<QLineEdit>(&d, kIpPort)->text(), c.port);
        });
        ASSERT_EQ(dlg.DoModal(ui), QDialog::Accepted);
        EXPECT_EQ(dlg.m_strIPAddress, c.address);
        EXPECT_EQ(dlg.m_strIPPort, c.port);
    }
}

TEST(EthernetSetupDialog, APartlyBlankAddressIsNoAddress) {
    const QStringList cases[] = {{"192", "168", "", "5"},
                                 {"", "168", "1", "20"},
                                 {"192", "168", "1", ""},
                                 {"", "", "", "1"}};
    for (const QStringList& fields : cases) {
        CEthernetSetupDlg dlg;
        dlg.m_strIPAddress = "192.168.1.20";
        FakeUi ui;
        ui.onDialog = User([&](QDialog& d) {
            auto* address = Control<CIPAddressCtrl>(&d, kAddress);
            for (int i = 0; i < 4; ++i) address->Field(i)->setText(fields[i]);
        });
        ASSERT_EQ(dlg.DoModal(ui), QDialog::Accepted);
        EXPECT_EQ(::inet_addr(dlg.m_strIPAddress.toLatin1().constData()), INADDR_NONE)
            << dlg.m_strIPAddress.toStdString();
    }
}

TEST(EthernetSetupDialog, OkIsTheDefaultButtonSoEnterInThePortAccepts) {
    CEthernetSetupDlg dlg;
    dlg.m_strIPAddress = "192.168.1.20";
    FakeUi ui;
    ui.onDialog = [](QDialog& d) {
        EXPECT_TRUE(Control<QPushButton>(&d, kOk)->isDefault());
        EXPECT_FALSE(Control<QPushButton>(&d, kCancel)->isDefault());
        d.show();
        auto* port = Control<QLineEdit>(&d, kIpPort);
        port->setText("6101");
        QTest::keyClick(port, Qt::Key_Return);
        return d.result();
    };
    EXPECT_EQ(dlg.DoModal(ui), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strIPPort, "6101");
    EXPECT_FALSE(dlg.isVisible());
}

TEST(EthernetSetupDialog, InTheWindowOkWithoutAChangeKeepsTheConnectionAndCancelChangesNothing) {
    LoopbackListener printer(4);
    WindowFixture w;
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = "127.0.0.1";
    w.dialog->m_strIPPort = QString::fromStdString(printer.Port());
    w.Click(IDC_OPEN_PORT);
    const QString open = "当前状态：127.0.0.1:" + QString::fromStdString(printer.Port()) + " 打开";
    ASSERT_EQ(w.dialog->Status(), open);

    w.ui.onDialog = User(nullptr);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strIPAddress, "127.0.0.1");
    EXPECT_EQ(w.dialog->m_strIPPort, QString::fromStdString(printer.Port()));
    EXPECT_EQ(w.dialog->Status(), open);

    w.ui.onDialog = User(
        [](QDialog& d) {
            Control<CIPAddressCtrl>(&d, kAddress)->SetText("10.1.1.1");
            Control<QLineEdit>(&d, kIpPort)->setText("1");
        },
        kCancel);
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strIPAddress, "127.0.0.1");
    EXPECT_EQ(w.dialog->Status(), open);

    w.ui.onDialog = User([](QDialog& d) { Control<QLineEdit>(&d, kIpPort)->setText("91x0"); });
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strIPPort, "91x0");
    EXPECT_EQ(w.dialog->Status(), "当前状态：127.0.0.1:91x0 关闭");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST(EthernetSetupDialog, InTheWindowAPartlyBlankAddressFailsToOpen) {
    WindowFixture w;
    w.ChooseKind("ETHERNET");
    w.ui.onDialog = User([](QDialog& d) {
        auto* address = Control<CIPAddressCtrl>(&d, kAddress);
        address->SetText("127.0.0.1");
        address->Field(2)->clear();
    });
    w.Click(IDC_PORT_SETUP);
    EXPECT_EQ(w.dialog->m_strIPAddress, "127.0..1");
    w.Click(IDC_OPEN_PORT);
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"网络端口打开失败"});
    EXPECT_FALSE(w.dialog->PortOpen());
}

}  // namespace
}  // namespace velkaro::test
