#include "settings/usb_setup_dlg.h"

#include <QComboBox>

namespace velkaro {
namespace {

constexpr int IDC_PRINTER = 1003;

const DialogTemplate& Layout() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QT_TRANSLATE_NOOP("DialogLayout", "USB口设置"),
        10,
        185,
        102,
        {
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "打印机名称"), 22, 29, 41, 8},
            {IDC_PRINTER, K::ComboList, {}, 70, 27, 94, 30},
            {1, K::DefaultButton, QT_TRANSLATE_NOOP("DialogLayout", "确定"), 24, 63, 57, 18},
            {2, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "取消"), 104, 63, 57, 18},
        }};
    // clang-format on
    return layout;
}

}  // namespace

CUSBSetupDlg::CUSBSetupDlg(QWidget* parent) : CSetupDialog(Layout(), parent) {}

void CUSBSetupDlg::OnInitDialog() {
    QComboBox* printers = Control<QComboBox>(this, IDC_PRINTER);
    printers->clear();
    for (const tagUSBDevice& device : m_arrUSBDevice)
        printers->addItem(QString::fromStdString(device.strLocation));
    const bool valid = m_nUSBIndex >= 0 && m_nUSBIndex < printers->count();
    printers->setCurrentIndex(valid ? m_nUSBIndex : -1);
}

void CUSBSetupDlg::SaveControls() {
    m_nUSBIndex = Control<QComboBox>(this, IDC_PRINTER)->currentIndex();
}

}  // namespace velkaro
