#include "settings/parallel_port_setup_dlg.h"

#include <QComboBox>

namespace velkaro {
namespace {

constexpr int IDC_LPT = 1003;

const DialogTemplate& Layout() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QT_TRANSLATE_NOOP("DialogLayout", "并口设置"),
        10,
        186,
        93,
        {
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "并口"), 23, 22, 17, 8},
            {IDC_LPT, K::ComboList, {}, 59, 20, 102, 30},
            {1, K::DefaultButton, QT_TRANSLATE_NOOP("DialogLayout", "确定"), 28, 54, 57, 18},
            {2, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "取消"), 100, 54, 57, 18},
        }};
    // clang-format on
    return layout;
}

}  // namespace

CParallelPortSetupDlg::CParallelPortSetupDlg(QWidget* parent) : CSetupDialog(Layout(), parent) {}

void CParallelPortSetupDlg::OnInitDialog() {
    QComboBox* ports = Control<QComboBox>(this, IDC_LPT);
    ports->clear();
    for (int n = 1; n <= 10; ++n) ports->addItem(QStringLiteral("LPT%1").arg(n));
    ports->setCurrentIndex(0);
    SelectStringPrefix(ports, m_strLptPort);
}

void CParallelPortSetupDlg::SaveControls() {
    m_strLptPort = Control<QComboBox>(this, IDC_LPT)->currentText();
}

}  // namespace velkaro
