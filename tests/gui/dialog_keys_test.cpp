// Enter and Escape as a keyboard user presses them: in each settings dialog Enter presses the
// focused push button and OK from any other control, Escape cancels; in the main window Enter
// presses the focused button.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "gui_test_util.h"
#include "settings/com_port_setup_dlg.h"
#include "settings/ethernet_setup_dlg.h"
#include "settings/parallel_port_setup_dlg.h"
#include "settings/usb_setup_dlg.h"
#include "widgets/ip_address_edit.h"

namespace velkaro::test {
namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// Shows the window, gives `target` the keyboard focus and presses `key` where the focus is.
void PressAt(QWidget* window, QWidget* target, Qt::Key key) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    target->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == target; }));
    QTest::keyClick(QApplication::focusWidget(), key);
}

std::unique_ptr<CSetupDialog> MakeDialog(const QString& caption) {
    if (caption == "串口设置") {
        auto dlg = std::make_unique<CComPortSetupDlg>();
        dlg->m_strComPort = "COM1";
        return dlg;
    }
    if (caption == "并口设置") return std::make_unique<CParallelPortSetupDlg>();
    if (caption == "USB口设置") {
        auto dlg = std::make_unique<CUSBSetupDlg>();
        dlg->m_arrUSBDevice.resize(2);
        return dlg;
    }
    auto dlg = std::make_unique<CEthernetSetupDlg>();
    dlg->m_strIPAddress = "10.0.0.1";
    dlg->m_strIPPort = "9100";
    return dlg;
}

// The first combo box of each dialog, or the address's first field, or the port edit.
QWidget* Other(QDialog& dialog, int which) {
    if (which == 1020) return Control<CIPAddressCtrl>(&dialog, 1020)->Field(0);
    if (which == 1021) return Control<QLineEdit>(&dialog, 1021);
    return dialog.findChild<QComboBox*>();
}

TEST(DialogKeys, EnterPressesTheFocusedButtonOrOkAndEscapeCancels) {
    const struct {
        const char* dialog;
        int focus;  // kOk, kCancel, or another control (0: the first list)
        Qt::Key key;
        int result;
    } cases[] = {
        {"串口设置", kOk, Qt::Key_Return, QDialog::Accepted},
        {"串口设置", kCancel, Qt::Key_Return, QDialog::Rejected},
        {"串口设置", 0, Qt::Key_Return, QDialog::Accepted},
        {"串口设置", 0, Qt::Key_Enter, QDialog::Accepted},
        {"串口设置", 0, Qt::Key_Escape, QDialog::Rejected},
        {"并口设置", kOk, Qt::Key_Return, QDialog::Accepted},
        {"并口设置", kCancel, Qt::Key_Return, QDialog::Rejected},
        {"并口设置", kCancel, Qt::Key_Enter, QDialog::Rejected},
        {"并口设置", 0, Qt::Key_Return, QDialog::Accepted},
        {"并口设置", kOk, Qt::Key_Escape, QDialog::Rejected},
        {"USB口设置", kCancel, Qt::Key_Return, QDialog::Rejected},
        {"USB口设置", 0, Qt::Key_Return, QDialog::Accepted},
        {"USB口设置", 0, Qt::Key_Escape, QDialog::Rejected},
        {"网络端口设置", kCancel, Qt::Key_Return, QDialog::Rejected},
        {"网络端口设置", kOk, Qt::Key_Return, QDialog::Accepted},
        {"网络端口设置", 1020, Qt::Key_Return, QDialog::Accepted},
        {"网络端口设置", 1021, Qt::Key_Enter, QDialog::Accepted},
        {"网络端口设置", 1021, Qt::Key_Escape, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        const QString caption = QString::fromUtf8(c.dialog);
        SCOPED_TRACE(std::string(c.dialog) + " focus " + std::to_string(c.focus) + " key " +
                     std::to_string(c.key));
        auto dlg = MakeDialog(caption);
        ASSERT_EQ(dlg->windowTitle(), caption);
        FakeUi ui;
        bool closed = false;
        ui.onDialog = [&](QDialog& d) {
            d.setResult(-1);
            QWidget* target = c.focus == kOk || c.focus == kCancel
                                  ? Control<QPushButton>(&d, c.focus)
                                  : Other(d, c.focus);
            PressAt(&d, target, c.key);
            closed = !d.isVisible();
            return d.result();
        };
        EXPECT_EQ(dlg->DoModal(ui), c.result);
        EXPECT_TRUE(closed);
    }
}

TEST(DialogKeys, EnterOnAFocusedMainWindowButtonPressesIt) {
    WindowFixture w;
    // The pin last: pressing it re-creates the window. (Help is left out: it would write into
    // the real temporary folder.)
    for (int id : {IDC_PORT_SETUP, IDC_OPEN_PORT, IDC_ZPL, IDC_EPL, IDC_CPCL, IDC_CLEAR_RECEIVE,
                   IDC_SEND_FILE, IDC_SEND_DATA, IDC_TOPMOST}) {
        auto* button = Control<QPushButton>(w.dialog.get(), id);
        SCOPED_TRACE(id);
        QSignalSpy clicked(button, &QPushButton::clicked);
        PressAt(w.dialog.get(), button, Qt::Key_Return);
        EXPECT_EQ(clicked.count(), 1) << button->accessibleName().toStdString();
    }
    EXPECT_TRUE(w.dialog->isVisible());  // neither Enter nor Escape ends the main window
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(w.dialog->isVisible());
}

}  // namespace
}  // namespace velkaro::test
