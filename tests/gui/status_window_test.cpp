// The "打印机状态" window: its queries, the decoded table and summary, and its place in the
// main window, against a printer stand-in on the loopback address.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <string>
#include <vector>

#include "gui_test_util.h"
#include "status/printer_status_window.h"
#include "support/loopback.h"

namespace velkaro::test {
namespace {

using Language = PrinterStatusWindow::QueryLanguage;

const std::string kHostStatus =
    "\x02"
    "030,1,1,1225,000,0,0,0,000,0,0,0\x03\r\n\x02"
    "001,0,0,1,1,2,6,0,00000100,1,000\x03\r\n\x02"
    "1234,0\x03\r\n";

// The window with a send function that records what it is given.
struct StatusFixture {
    StatusFixture()
        : window([this](const std::string& bytes) {
              sent.push_back(bytes);
              return portOpen;
          }) {}

    QTableWidget* Table() const { return window.findChild<QTableWidget*>("fields"); }
    // The row whose first column reads `name` (after `from`), or -1.
    int RowOf(const QString& name, int from = 0) const {
        for (int row = from; row < Table()->rowCount(); ++row)
            if (Table()->item(row, 0) && Table()->item(row, 0)->text() == name) return row;
        return -1;
    }
    void Feed(const std::string& bytes) { window.Feed(bytes.data(), bytes.size()); }

    bool portOpen = true;
    std::vector<std::string> sent;
    PrinterStatusWindow window;
};

TEST(StatusWindow, ZplQueryShowsTheFieldsWithFaultsColouredAndSummarised) {
    StatusFixture f;
    f.window.findChild<QPushButton*>("query")->click();
    EXPECT_EQ(f.sent, (std::vector<std::string>{"~HS", "~HQES"}));
    EXPECT_EQ(f.window.Summary(), "正在查询…");
    for (const char c : kHostStatus) f.Feed(std::string(1, c));  // as slowly as a serial line
    EXPECT_EQ(f.window.Summary(), "缺纸 · 暂停 · 缺碳带");
    EXPECT_EQ(f.window.findChild<QLabel*>("summary")->palette().color(QPalette::WindowText),
              PrinterStatusWindow::kErrorColor);

    const int paperOut = f.RowOf("缺纸标志");
    ASSERT_GE(paperOut, 0);
    EXPECT_EQ(f.Table()->item(paperOut, 1)->text(), "1");
    EXPECT_EQ(f.Table()->item(paperOut, 2)->text(), "缺纸");
    EXPECT_EQ(f.Table()->item(paperOut, 2)->foreground().color(), PrinterStatusWindow::kErrorColor);
    const int paused = f.RowOf("暂停标志");
    EXPECT_EQ(f.Table()->item(paused, 0)->foreground().color(), PrinterStatusWindow::kWarningColor);
    const int length = f.RowOf("标签长度");
    EXPECT_EQ(f.Table()->item(length, 2)->text(), "1225 点");
    EXPECT_NE(f.Table()->item(length, 2)->foreground().color(), PrinterStatusWindow::kErrorColor);

    // The ~HQES reply joins the table; a fault both replies name is said once.
    f.Feed(
        "\x02PRINTER STATUS\r\nERRORS:   1 00000000 00000003\r\n"
        "WARNINGS: 0 00000000 00000000\r\n\x03");
    EXPECT_EQ(f.window.Summary(), "缺纸 · 暂停 · 缺碳带");
    EXPECT_GE(f.RowOf("ZPL 错误与警告 (~HQES)"), 0);
    EXPECT_GE(f.RowOf("ZPL 主机状态 (~HS)"), 0);
}

TEST(StatusWindow, EachLanguageSendsItsQueryAndDecodesTheAnswer) {
    const struct {
        Language language;
        const char* variable;
        std::string query;
        std::string reply;
        const char* summary;
    } cases[] = {
        {Language::Epl, "", "^ee\r\n", "07,12\r\n", "缺纸或缺碳带 · 暂停或标签待取"},
        {Language::Epl, "", "^ee\r\n", "00\r\n", "就绪"},
        {Language::Cpcl, "", "\x1bh", "\x02", "缺纸"},
        {Language::Sgd, "device.languages", "! U1 getvar \"device.languages\"\r\n", "\"zpl\"",
         "device.languages = zpl"},
        {Language::Sgd, "no.such", "! U1 getvar \"no.such\"\r\n", "\"?\"", "no.such 不支持"},
    };
    for (const auto& c : cases) {
        StatusFixture f;
        f.window.SetLanguage(c.language);
        f.window.SetSgdVariable(QString::fromUtf8(c.variable));
        f.window.Query();
        EXPECT_EQ(f.sent, std::vector<std::string>{c.query});
        f.Feed(c.reply);
        EXPECT_EQ(f.window.Summary(), QString::fromUtf8(c.summary)) << c.query;
    }
}

TEST(StatusWindow, ClosedPortNoReplyAndMissingVariableAreSaid) {
    StatusFixture f;
    f.portOpen = false;
    f.window.Query();
    EXPECT_EQ(f.window.Summary(), "端口未打开");

    f.portOpen = true;
    f.window.SetLanguage(Language::Sgd);
    f.window.Query();
    EXPECT_TRUE(f.sent.size() == 1);  // nothing sent without a variable name
    EXPECT_EQ(f.window.Summary(), "请输入 SGD 变量名");

    f.window.SetLanguage(Language::Cpcl);
    f.window.SetReplyTimeout(50);
    f.window.Query();
    EXPECT_TRUE(WaitUntil([&] { return f.window.Summary() == "无应答"; }));
    f.Feed("\x02");  // after the wait, a stray byte is not taken for the answer
    EXPECT_TRUE(f.window.Replies().empty());
}

TEST(StatusWindow, PassiveRepliesAndUndecodableFramesAppearWithoutAQuery) {
    StatusFixture f;
    f.Feed("label 1 printed\r\n\x02ZT410-300dpi,V72.20.01Z,12,8176KB\x03");
    EXPECT_TRUE(f.sent.empty());
    EXPECT_EQ(f.window.Summary(), "ZT410-300dpi · V72.20.01Z");
    f.Feed("\x02what is this\x03");
    const int raw = f.RowOf("原始应答");
    ASSERT_GE(raw, 0);
    EXPECT_EQ(f.Table()->item(raw, 1)->text(), "<STX>what is this<ETX>");
    EXPECT_EQ(f.Table()->item(raw, 2)->text(), "无法解码");
}

TEST(StatusWindow, ControlsAreNamedAndReachableByKeyboard) {
    StatusFixture f;
    EXPECT_EQ(f.window.windowTitle(), "打印机状态");
    const char* names[] = {"summary", "language", "variable", "query", "fields"};
    for (const char* name : names) {
        auto* widget = f.window.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << name;
        EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << name;
    }
    EXPECT_FALSE(f.window.findChild<QLineEdit*>("variable")->isEnabled());
    f.window.SetLanguage(Language::Sgd);
    EXPECT_TRUE(f.window.findChild<QLineEdit*>("variable")->isEnabled());
}

TEST(StatusWindowInMainWindow, ButtonSitsBelowCpclAndOpensTheWindow) {
    WindowFixture w;
    auto* button = Control<QPushButton>(w.dialog.get(), IDC_PRINTER_STATUS);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "状态");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "状态");
    const QWidget* cpcl = Control<QWidget>(w.dialog.get(), IDC_CPCL);
    const QWidget* help = Control<QWidget>(w.dialog.get(), IDC_HELP);
    EXPECT_EQ(button->size(), cpcl->size());
    EXPECT_EQ(button->x(), cpcl->x());
    EXPECT_GT(button->y(), cpcl->geometry().bottom());
    EXPECT_LT(button->geometry().bottom(), help->y());

    EXPECT_FALSE(w.dialog->StatusWindow()->isVisible());
    w.Click(IDC_PRINTER_STATUS);
    EXPECT_TRUE(w.dialog->StatusWindow()->isVisible());
    QTest::keyClick(w.dialog->StatusWindow()->findChild<QWidget*>("language"), Qt::Key_Escape);
    EXPECT_FALSE(w.dialog->StatusWindow()->isVisible());
}

TEST(StatusWindowInMainWindow, ReceiveBoxMenuOpensTheWindow) {
    WindowFixture w;
    w.dialog->OnReceiveBoxMenu(QPoint(5, 5));  // learn the items first: nothing is chosen
    ASSERT_TRUE(w.ui.menuTitles.contains("打印机状态")) << w.ui.menuTitles.join('|').toStdString();
    EXPECT_FALSE(w.dialog->StatusWindow()->isVisible());
    w.ui.chooseTitle = "打印机状态";
    w.dialog->OnReceiveBoxMenu(QPoint(5, 5));
    EXPECT_TRUE(w.dialog->StatusWindow()->isVisible());
}

// The main window open on a network printer stand-in: "查询" puts exactly the two ZPL queries on
// the wire, and the reply shows both in the window and, raw, in the receive box. (The states
// against the virtual printer are in status_virtual_printer_test.cpp.)
TEST(StatusWindowInMainWindow, QueryGoesOverTheOpenConnection) {
    LoopbackListener printer;
    WindowFixture w;
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = kLoopback;
    w.dialog->m_strIPPort = QString::fromStdString(printer.Port());
    w.Click(IDC_OPEN_PORT);
    const UniqueFd peer = printer.Accept(5000);
    ASSERT_TRUE(peer);
    w.Click(IDC_PRINTER_STATUS);
    w.dialog->StatusWindow()->findChild<QPushButton*>("query")->click();
    ASSERT_EQ(ReadFrom(peer.Get(), 8), "~HS~HQES");
    ASSERT_EQ(::send(peer.Get(), kHostStatus.data(), kHostStatus.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(kHostStatus.size()));
    EXPECT_TRUE(WaitUntil(
        [&] { return w.dialog->StatusWindow()->Summary() == "缺纸 · 暂停 · 缺碳带"; }, 10000))
        << w.dialog->StatusWindow()->Summary().toStdString();
    EXPECT_TRUE(w.ReceivedText().contains("1234,0"));
}

}  // namespace
}  // namespace velkaro::test
