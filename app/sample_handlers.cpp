// The ZPL, EPL and CPCL buttons and placing a sample in the send box.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "window_services/ui_services.h"
#include "app/velkaro_dlg.h"
#include "samples/sample_menu.h"
#include "widgets/dialog_template.h"

namespace velkaro {

void CVelkaroDlg::OnBnClickedZpl() {
    PopupSamples(PrinterLanguage::ZPL, IDC_ZPL);
}
void CVelkaroDlg::OnBnClickedEpl() {
    PopupSamples(PrinterLanguage::EPL, IDC_EPL);
}
void CVelkaroDlg::OnBnClickedCpcl() {
    PopupSamples(PrinterLanguage::CPCL, IDC_CPCL);
}

void CVelkaroDlg::PopupSamples(PrinterLanguage language, int buttonId) {
    const std::unique_ptr<QMenu> menu = BuildSampleMenu(language, this);
    const QWidget* button = Control<QWidget>(this, buttonId);
    // The menu's top-left corner touches the button's top-right corner.
    const QPoint at = button->mapToGlobal(QPoint(button->width(), 0));
    if (const SampleCommand* sample = SampleForAction(m_ui.PopupMenu(*menu, at)))
        PutSampleCommand(QString::fromLatin1(sample->bytes.data(),
                                             static_cast<qsizetype>(sample->bytes.size())));
}

void CVelkaroDlg::PutSampleCommand(const QString& strCommand) {
    m_edtSend->setPlainText(strCommand);
    m_edtSend->setFocus();
    m_edtSend->moveCursor(QTextCursor::End);
    m_edtSend->ensureCursorVisible();
}

}  // namespace velkaro
