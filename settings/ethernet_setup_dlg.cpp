#include "settings/ethernet_setup_dlg.h"

#include <QLineEdit>

#include "widgets/ip_address_edit.h"

namespace velkaro {
namespace {

enum { IDC_ADDRESS = 1020, IDC_PORT = 1021 };

const DialogTemplate& Layout() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QT_TRANSLATE_NOOP("DialogLayout", "网络端口设置"),
        10,
        202,
        140,
        {
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "打印机IP地址"), 21, 32, 49, 8},
            {IDC_ADDRESS, K::IpAddress, {}, 80, 29, 100, 15, QT_TRANSLATE_NOOP("DialogLayout", "打印机IP地址")},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "打印机端口"), 21, 65, 41, 8},
            {IDC_PORT, K::Edit, {}, 80, 62, 100, 15, QT_TRANSLATE_NOOP("DialogLayout", "打印机端口")},
            {1, K::DefaultButton, QT_TRANSLATE_NOOP("DialogLayout", "确定"), 37, 103, 57, 18},
            {2, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "取消"), 107, 103, 57, 18},
        }};
    // clang-format on
    return layout;
}

}  // namespace

// OK is the default button, so Enter in the port edit acts as OK.
CEthernetSetupDlg::CEthernetSetupDlg(QWidget* parent) : CSetupDialog(Layout(), parent) {}

void CEthernetSetupDlg::OnInitDialog() {
    Control<CIPAddressCtrl>(this, IDC_ADDRESS)->SetText(m_strIPAddress);
    Control<QLineEdit>(this, IDC_PORT)->setText(m_strIPPort);
}

void CEthernetSetupDlg::SaveControls() {
    m_strIPAddress = Control<CIPAddressCtrl>(this, IDC_ADDRESS)->Text();
    m_strIPPort = Control<QLineEdit>(this, IDC_PORT)->text();
}

}  // namespace velkaro
