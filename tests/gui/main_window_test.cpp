#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSizeGrip>
#include <QTest>

#include "gui_test_util.h"
#include "support/pty_pair.h"
#include "widgets/artwork.h"
#include "widgets/dialog_units.h"

namespace velkaro::test {
namespace {

QRect Geometry(const QWidget* dialog, int id) {
    return Control<QWidget>(dialog, id)->geometry();
}

TEST(MainWindow, StartsWithTheDefaultSerialSettingsClosed) {
    WindowFixture w;
    CVelkaroDlg& dlg = *w.dialog;
    EXPECT_EQ(dlg.windowTitle(), "Velkaro");
    EXPECT_EQ(dlg.Status(), "当前状态：COM1,9600,NONE,8,1 关闭");
    EXPECT_EQ(Control<QLabel>(&dlg, IDC_STATUS)->text(), dlg.Status());
    auto* kinds = Control<QComboBox>(&dlg, IDC_PORT_TYPE);
    ASSERT_EQ(kinds->count(), 4);
    EXPECT_EQ(kinds->itemText(0), "COM");
    EXPECT_EQ(kinds->itemText(3), "ETHERNET");
    EXPECT_EQ(kinds->currentText(), "COM");
    EXPECT_TRUE(w.SendBox()->toPlainText().isEmpty());
    EXPECT_TRUE(w.ReceiveBox()->toPlainText().isEmpty());
    EXPECT_FALSE(dlg.TopMost());
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Control<QWidget>(&dlg, IDC_HEX)->isHidden());
    EXPECT_FALSE(dlg.PortOpen());
}

TEST(MainWindow, ControlsFollowTheLayoutTableInDialogUnits) {
    WindowFixture w;
    const DialogUnits units(w.dialog->font());
    EXPECT_EQ(w.dialog->size(), QSize(units.X(522), units.Y(352)));
    EXPECT_EQ(Geometry(w.dialog.get(), IDC_RECEIVE), units.Rect(64, 11, 458, 151));
    EXPECT_EQ(Geometry(w.dialog.get(), IDC_SEND_DATA), units.Rect(455, 334, 56, 18));
    EXPECT_EQ(Geometry(w.dialog.get(), IDC_STATUS), units.Rect(15, 340, 183, 11));
}

TEST(MainWindow, AnchorsMoveAndGrowTheRightControls) {
    WindowFixture w;
    QWidget* dlg = w.dialog.get();
    w.dialog->show();
    const QSize start = dlg->size();
    const int ids[] = {IDC_RECEIVE,   IDC_SEND_BOX,  IDC_TOPMOST, IDC_CLEAR_RECEIVE,
                       IDC_SEND_FILE, IDC_SEND_DATA, IDC_STATUS,  IDC_UPDATE_LINK,
                       IDC_OPEN_PORT, IDC_ZPL};
    std::map<int, QRect> before;
    for (int id : ids) before[id] = Geometry(dlg, id);

    dlg->resize(start + QSize(100, 60));
    QCoreApplication::processEvents();
    auto moved = [&](int id) { return Geometry(dlg, id); };
    const struct {
        int id;
        QRect expected;
    } cases[] = {
        {IDC_RECEIVE, before[IDC_RECEIVE].adjusted(0, 0, 100, 0)},
        {IDC_SEND_BOX, before[IDC_SEND_BOX].adjusted(0, 0, 100, 60)},
        {IDC_TOPMOST, before[IDC_TOPMOST].translated(0, 60)},
        {IDC_CLEAR_RECEIVE, before[IDC_CLEAR_RECEIVE].translated(100, 0)},
        {IDC_SEND_FILE, before[IDC_SEND_FILE].translated(100, 60)},
        {IDC_SEND_DATA, before[IDC_SEND_DATA].translated(100, 60)},
        {IDC_STATUS, before[IDC_STATUS].translated(0, 60).adjusted(0, 0, 100, 0)},
        {IDC_UPDATE_LINK, before[IDC_UPDATE_LINK].translated(100, 60)},
        {IDC_OPEN_PORT, before[IDC_OPEN_PORT]},
        {IDC_ZPL, before[IDC_ZPL]},
    };
    for (const auto& c : cases) EXPECT_EQ(moved(c.id), c.expected) << c.id;

    EXPECT_EQ(dlg->minimumSize(), start) << "never smaller than at start";
    dlg->resize(start - QSize(50, 50));
    EXPECT_EQ(dlg->size(), start);
    EXPECT_NE(dlg->findChild<QSizeGrip*>(), nullptr);
}

TEST(MainWindow, EnterAndEscapeKeepTheWindowAndCloseEndsIt) {
    WindowFixture w;
    w.dialog->show();
    QTest::keyClick(w.dialog.get(), Qt::Key_Escape);
    QTest::keyClick(w.dialog.get(), Qt::Key_Return);
    QTest::keyClick(Control<QPushButton>(w.dialog.get(), IDC_OPEN_PORT), Qt::Key_Enter);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.dialog->isVisible());
    EXPECT_EQ(w.dialog->result(), 0);
    EXPECT_TRUE(w.ui.messages.size() <= 1) << "Enter on the open button at most tries to open";
    EXPECT_TRUE(w.dialog->close());
    EXPECT_FALSE(w.dialog->isVisible());
}

TEST(MainWindow, PinButtonTogglesStayingOnTop) {
    WindowFixture w;
    w.dialog->show();
    auto* pin = Control<QPushButton>(w.dialog.get(), IDC_TOPMOST);
    const QImage lying = pin->icon().pixmap(kPinSize).toImage();
    pin->click();
    EXPECT_TRUE(w.dialog->TopMost());
    EXPECT_TRUE(w.dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.dialog->isVisible());
    EXPECT_NE(pin->icon().pixmap(kPinSize).toImage(), lying) << "the pressed-in pin";
    pin->click();
    EXPECT_FALSE(w.dialog->TopMost());
    EXPECT_FALSE(w.dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(pin->icon().pixmap(kPinSize).toImage(), lying);
    EXPECT_FALSE(pin->accessibleName().isEmpty());
}

TEST(MainWindow, ChoosingAKindRebuildsTheStatusLine) {
    WindowFixture w;
    const struct {
        const char* kind;
        const char* status;
    } cases[] = {
        {"LPT", "当前状态：LPT1 打开"},
        {"USB", "当前状态：无USB设备连接"},
        {"COM", "当前状态：COM1,9600,NONE,8,1 关闭"},
    };
    for (const auto& c : cases) {
        w.ChooseKind(c.kind);
        EXPECT_EQ(w.dialog->PortType(), c.kind);
        EXPECT_EQ(w.dialog->Status(), c.status);
    }
    w.ChooseKind("ETHERNET");
    EXPECT_TRUE(w.dialog->Status().startsWith("当前状态："));
    EXPECT_TRUE(w.dialog->Status().endsWith(":9100 关闭")) << w.dialog->Status().toStdString();
}

class SerialWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { pty.LinkAs(w.devices.Path(), "ttyS0"); }
    WindowFixture w;
    PtyPair pty;
};

TEST_F(SerialWindowTest, OpenPortOpensCom1AndStartsTheReader) {
    w.Click(IDC_OPEN_PORT);
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 打开");
    EXPECT_TRUE(w.dialog->SerialPort().ReaderAlive());
    pty.Send("OK\r\n");
    EXPECT_TRUE(WaitUntil([&] { return w.ReceivedText() == "OK\n"; }));
}

TEST_F(SerialWindowTest, AFailedOpenShowsTheMessageAndLeavesItClosed) {
    w.dialog->m_strComPort = "COM2";  // no such device in the folder
    w.Click(IDC_OPEN_PORT);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].text, "端口打开失败");
    EXPECT_EQ(w.ui.messages[0].icon, IUiServices::Icon::Error);
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM2,9600,NONE,8,1 关闭");
}

TEST_F(SerialWindowTest, ChangingKindStopsTheReaderButChoosingTheSameKindChangesNothing) {
    w.Click(IDC_OPEN_PORT);
    ASSERT_TRUE(w.dialog->PortOpen());
    w.ChooseKind("COM");
    EXPECT_TRUE(w.dialog->PortOpen());
    EXPECT_TRUE(w.dialog->SerialPort().ReaderAlive());

    w.ChooseKind("USB");
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_TRUE(WaitUntil([&] { return !w.dialog->SerialPort().ReaderAlive(); }));
    EXPECT_TRUE(w.dialog->SerialPort().IsOpen()) << "the device stays open until reopened";
}

}  // namespace
}  // namespace velkaro::test
