// The "打印机状态" window against the virtual printer as its network peer, in each state the
// printer can be started in: "查询" gets the printer's own replies and the summary says the
// state.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>
#include <ostream>

#include "gui_test_util.h"
#include "status/printer_status_window.h"
#include "virtual_printer/running_printer.h"

namespace velkaro::test {
namespace {

using Language = PrinterStatusWindow::QueryLanguage;

struct PrinterCase {
    const char* name;
    std::function<void(virtual_printer::PrinterState&)> state;
    Language language;
    const char* summary;
    const char* variable = "";  // for Set-Get-Do
};

void PrintTo(const PrinterCase& c, std::ostream* out) {
    *out << c.name;
}

class StatusAgainstVirtualPrinter : public ::testing::TestWithParam<PrinterCase> {};

TEST_P(StatusAgainstVirtualPrinter, SummarySaysThePrintersState) {
    virtual_printer::PrinterConfig config;
    config.languages = {true, true, true};
    GetParam().state(config.initial);
    RunningPrinter printer(config);
    WindowFixture w;
    w.ChooseKind("ETHERNET");
    w.dialog->m_strIPAddress = QStringLiteral("127.0.0.1");
    w.dialog->m_strIPPort = QString::number(printer.Port());
    w.Click(IDC_OPEN_PORT);
    ASSERT_TRUE(w.dialog->PortOpen()) << w.ui.MessageTexts().join(' ').toStdString();

    w.Click(IDC_PRINTER_STATUS);
    PrinterStatusWindow* window = w.dialog->StatusWindow();
    window->SetLanguage(GetParam().language);
    window->SetSgdVariable(QString::fromUtf8(GetParam().variable));
    window->findChild<QPushButton*>("query")->click();
    const QString expected = QString::fromUtf8(GetParam().summary);
    EXPECT_TRUE(WaitUntil([&] { return window->Summary() == expected; }, 10000))
        << window->Summary().toStdString() << " / " << w.ReceivedText().toStdString();
    EXPECT_FALSE(w.ReceivedText().isEmpty());  // the raw reply stays in the receive box
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusAgainstVirtualPrinter,
    ::testing::Values(
        PrinterCase{"ZplReady", [](virtual_printer::PrinterState&) {}, Language::Zpl, "就绪"},
        PrinterCase{"ZplPaperOut", [](virtual_printer::PrinterState& s) { s.paperOut = true; },
                    Language::Zpl, "缺纸"},
        PrinterCase{"ZplHeadOpen", [](virtual_printer::PrinterState& s) { s.headOpen = true; },
                    Language::Zpl, "打印头打开"},
        PrinterCase{"ZplPaused", [](virtual_printer::PrinterState& s) { s.paused = true; },
                    Language::Zpl, "暂停"},
        PrinterCase{"EplPaperOut", [](virtual_printer::PrinterState& s) { s.paperOut = true; },
                    Language::Epl, "缺纸或缺碳带"},
        PrinterCase{"EplHeadOpenPaused",
                    [](virtual_printer::PrinterState& s) { s.headOpen = s.paused = true; },
                    Language::Epl, "打印头抬起 · 暂停或标签待取"},
        PrinterCase{"CpclHeadOpen", [](virtual_printer::PrinterState& s) { s.headOpen = true; },
                    Language::Cpcl, "机盖打开"},
        PrinterCase{"SgdHeadLatchOpen", [](virtual_printer::PrinterState& s) { s.headOpen = true; },
                    Language::Sgd, "打印头打开", "head.latch"}),
    [](const ::testing::TestParamInfo<PrinterCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velkaro::test
