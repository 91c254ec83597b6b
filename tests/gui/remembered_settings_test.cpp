// The window's settings kept in a settings file: saved by one window, restored by the next; no
// file means today's defaults; values that no longer make sense fall back quietly.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>

#include "app/receive_view.h"
#include "app/remembered_settings.h"
#include "gui_test_util.h"
#include "support/fake_sysfs.h"

namespace velkaro::test {
namespace {

class RememberedSettingsTest : public ::testing::Test {
  protected:
    std::unique_ptr<QSettings> File() const {
        return std::make_unique<QSettings>(QString::fromStdString(config.Str() + "/Velkaro.conf"),
                                           QSettings::IniFormat);
    }
    static DialogEnvironment Environment(const WindowFixture& w) {
        DialogEnvironment environment;
        environment.deviceFolder = w.devices.Str();
        environment.sysfsRoot = w.devices.Str() + "/sys";
        return environment;
    }
    void SaveFrom(WindowFixture& w) const {
        auto file = File();
        RememberedSettings remembered(*file);
        RememberReceiveOptions(remembered);
        remembered.Save(*w.dialog);
    }
    void RestoreInto(WindowFixture& w) const {
        auto file = File();
        RememberedSettings remembered(*file);
        RememberReceiveOptions(remembered);
        remembered.Restore(*w.dialog, Environment(w));
    }
    static void AddUsbPrinter(const WindowFixture& w, int n, const std::string& port,
                              const std::string& model) {
        AddFakeUsbPrinter(w.devices.Path() / "sys", w.devices.Path(),
                          {n, port, "MFG:Zebra;MDL:" + model + ";"});
    }

    TempDir config;
};

TEST_F(RememberedSettingsTest, NoFileStartsWithTheDefaults) {
    WindowFixture w;
    RestoreInto(w);
    EXPECT_EQ(w.dialog->PortType(), QStringLiteral("COM"));
    EXPECT_EQ(w.dialog->Status(), QStringLiteral("当前状态：COM1,9600,NONE,8,1 关闭"));
    EXPECT_FALSE(w.dialog->TopMost());
    EXPECT_TRUE(w.dialog->m_strIPAddress.isEmpty());
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(RememberedSettingsTest, EverySettingRoundTrips) {
    {
        WindowFixture w;
        w.dialog->m_strComPort = QStringLiteral("COM34");
        w.dialog->m_strBaudRate = QStringLiteral("115200");
        w.dialog->m_strParity = QStringLiteral("EVEN");
        w.dialog->m_strDataBits = QStringLiteral("7");
        w.dialog->m_strStopBits = QStringLiteral("2");
        w.dialog->m_strLptPort = QStringLiteral("LPT3");
        w.dialog->m_strIPAddress = QStringLiteral("192.168.7.20");
        w.dialog->m_strIPPort = QStringLiteral("6101");
        w.ChooseKind(QStringLiteral("ETHERNET"));
        w.dialog->OnBnClickedTopMost();
        w.dialog->show();
        w.dialog->setGeometry(40, 50, 1000, 720);
        w.dialog->Receiver().SetHex(true);
        w.dialog->Receiver().SetTimestamps(true);
        w.dialog->Receiver().SetShowSent(true);
        w.dialog->Receiver().SetCap(8u << 20);
        w.dialog->SetCharset("Big5");
        SaveFrom(w);
    }
    WindowFixture w;
    RestoreInto(w);
    EXPECT_EQ(w.dialog->PortType(), QStringLiteral("ETHERNET"));
    EXPECT_EQ(w.dialog->Status(), QStringLiteral("当前状态：192.168.7.20:6101 关闭"));
    EXPECT_EQ(w.dialog->m_strComPort, QStringLiteral("COM34"));
    EXPECT_EQ(w.dialog->m_strBaudRate, QStringLiteral("115200"));
    EXPECT_EQ(w.dialog->m_strParity, QStringLiteral("EVEN"));
    EXPECT_EQ(w.dialog->m_strDataBits, QStringLiteral("7"));
    EXPECT_EQ(w.dialog->m_strStopBits, QStringLiteral("2"));
    EXPECT_EQ(w.dialog->m_strLptPort, QStringLiteral("LPT3"));
    EXPECT_TRUE(w.dialog->TopMost());
    EXPECT_TRUE(w.dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    w.dialog->show();
    EXPECT_EQ(w.dialog->geometry(), QRect(40, 50, 1000, 720));
    EXPECT_TRUE(w.dialog->Receiver().Hex());
    EXPECT_TRUE(w.dialog->Receiver().Timestamps());
    EXPECT_TRUE(w.dialog->Receiver().ShowSent());
    EXPECT_EQ(w.dialog->Receiver().Cap(), 8u << 20);
    EXPECT_EQ(w.dialog->Charset(), "Big5");
    EXPECT_EQ(w.dialog->Receiver().Charset(), "Big5");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(RememberedSettingsTest, UsbPrinterIsFoundByWhereItIsPlugged) {
    {
        WindowFixture w;
        AddUsbPrinter(w, 0, "1-1", "ZT410");
        AddUsbPrinter(w, 1, "1-2", "GK420d");
        w.ChooseKind(QStringLiteral("USB"));
        w.dialog->m_nUSBIndex = 1;
        SaveFrom(w);
    }
    WindowFixture w;  // plugged in again in the other order: the numbers swapped
    AddUsbPrinter(w, 0, "1-2", "GK420d");
    AddUsbPrinter(w, 1, "1-1", "ZT410");
    RestoreInto(w);
    EXPECT_EQ(w.dialog->PortType(), QStringLiteral("USB"));
    EXPECT_EQ(w.dialog->m_nUSBIndex, 0);
    EXPECT_EQ(w.dialog->Status(), QStringLiteral("当前状态：1-2 Zebra GK420d 关闭"));
}

TEST_F(RememberedSettingsTest, StaleValuesFallBackQuietly) {
    {
        auto file = File();
        file->setValue(QStringLiteral("connection/kind"), QStringLiteral("USB"));
        file->setValue(QStringLiteral("usb/location"), QStringLiteral("3-9 Zebra ZT610"));
        file->setValue(QStringLiteral("serial/port"), QStringLiteral("COM999"));
        file->setValue(QStringLiteral("serial/baudRate"), QStringLiteral("12345"));
        file->setValue(QStringLiteral("network/address"), QStringLiteral("999.1.1.1"));
        file->setValue(QStringLiteral("network/port"), QStringLiteral("70000"));
        file->setValue(QStringLiteral("window/geometry"), QByteArray("not a geometry"));
    }
    WindowFixture w;
    AddUsbPrinter(w, 0, "1-1", "ZT410");
    RestoreInto(w);
    EXPECT_EQ(w.dialog->PortType(), QStringLiteral("USB"));
    EXPECT_EQ(w.dialog->m_nUSBIndex, 0);  // the printer that is there
    EXPECT_EQ(w.dialog->Status(), QStringLiteral("当前状态：1-1 Zebra ZT410 关闭"));
    EXPECT_EQ(w.dialog->m_strComPort, QStringLiteral("COM1"));
    EXPECT_EQ(w.dialog->m_strBaudRate, QStringLiteral("9600"));
    EXPECT_TRUE(w.dialog->m_strIPAddress.isEmpty());
    EXPECT_TRUE(w.dialog->m_strIPPort.isEmpty());
    EXPECT_TRUE(w.ui.messages.empty());

    auto file = File();
    file->setValue(QStringLiteral("connection/kind"), QStringLiteral("SERIAL"));
    WindowFixture other;
    RestoreInto(other);
    EXPECT_EQ(other.dialog->PortType(), QStringLiteral("COM"));
}

TEST_F(RememberedSettingsTest, UserFileLivesInTheConfigFolder) {
    QStandardPaths::setTestModeEnabled(true);
    const auto file = RememberedSettings::OpenUserSettings();
    EXPECT_EQ(file->fileName().toStdString(),
              (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Velkaro/Velkaro.conf"))
                  .toStdString());
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
}  // namespace velkaro::test
