#include "settings/com_port_setup_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <filesystem>

#include "platform/device_names.h"

namespace velkaro {
namespace {

enum {
    IDC_PORT = 1000,
    IDC_BAUD = 1004,
    IDC_PARITY = 1005,
    IDC_DATA_BITS = 1006,
    IDC_STOP_BITS = 1007
};

const DialogTemplate& Layout() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QT_TRANSLATE_NOOP("DialogLayout", "串口设置"),
        10,
        223,
        185,
        {
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "端口"), 29, 19, 17, 8},
            {IDC_PORT, K::ComboList, {}, 91, 17, 102, 87},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "波特率"), 29, 45, 25, 8},
            {IDC_BAUD, K::ComboList, {}, 91, 43, 102, 86},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "校验位"), 29, 71, 25, 8},
            {IDC_PARITY, K::ComboList, {}, 91, 69, 102, 70},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "数据位"), 29, 97, 25, 8},
            {IDC_DATA_BITS, K::ComboList, {}, 91, 95, 102, 65},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "停止位"), 29, 123, 25, 8},
            {IDC_STOP_BITS, K::ComboList, {}, 91, 121, 102, 53},
            {1, K::DefaultButton, QT_TRANSLATE_NOOP("DialogLayout", "确定"), 39, 147, 57, 18},
            {2, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "取消"), 127, 147, 57, 18},
            // Tells which Linux device node the chosen name opens.
            {1099, K::Label, {}, 91, 30, 130, 8, QT_TRANSLATE_NOOP("DialogLayout", "设备节点")},
        }};
    // clang-format on
    return layout;
}

QComboBox* Combo(const QWidget* dialog, int id) {
    return Control<QComboBox>(dialog, id);
}

}  // namespace

CComPortSetupDlg::CComPortSetupDlg(QWidget* parent, std::string deviceFolder)
    : CSetupDialog(Layout(), parent), m_strDeviceFolder(std::move(deviceFolder)) {
    Combo(this, IDC_BAUD)
        ->addItems({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    Combo(this, IDC_PARITY)->addItems({"NONE", "ODD", "EVEN", "MARK", "SPACE"});
    Combo(this, IDC_DATA_BITS)->addItems({"8", "7", "6"});
    Combo(this, IDC_STOP_BITS)->addItems({"1", "1.5", "2"});
    for (int id : {IDC_BAUD, IDC_PARITY, IDC_DATA_BITS, IDC_STOP_BITS})
        Combo(this, id)->setCurrentIndex(-1);
    m_lblDevice = Control<QLabel>(this, 1099);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    m_lblDevice->setFont(small);
    connect(Combo(this, IDC_PORT), &QComboBox::currentIndexChanged, this,
            [this] { ShowDeviceNote(); });
}

void CComPortSetupDlg::FillPortList() {
    QComboBox* ports = Combo(this, IDC_PORT);
    ports->clear();
    for (int n = 1; n <= 255; ++n) ports->addItem(QStringLiteral("COM%1").arg(n));
    ports->setCurrentIndex(0);
}

void CComPortSetupDlg::OnInitDialog() {
    FillPortList();
    SelectStringPrefix(Combo(this, IDC_PORT), m_strComPort);
    SelectStringPrefix(Combo(this, IDC_BAUD), m_strBaudRate);
    SelectStringPrefix(Combo(this, IDC_PARITY), m_strParity);
    SelectStringPrefix(Combo(this, IDC_DATA_BITS), m_strDataBits);
    SelectStringPrefix(Combo(this, IDC_STOP_BITS), m_strStopBits);
    ShowDeviceNote();
}

void CComPortSetupDlg::SaveControls() {
    m_strComPort = Combo(this, IDC_PORT)->currentText();
    m_strBaudRate = Combo(this, IDC_BAUD)->currentText();
    m_strParity = Combo(this, IDC_PARITY)->currentText();
    m_strDataBits = Combo(this, IDC_DATA_BITS)->currentText();
    m_strStopBits = Combo(this, IDC_STOP_BITS)->currentText();
}

QString CComPortSetupDlg::DeviceNote() const {
    const QString name = Combo(this, IDC_PORT)->currentText();
    const std::string path =
        SerialDevicePath(PortNumberFromName(name.toStdString(), "COM"), m_strDeviceFolder);
    if (path.empty()) return tr("%1 没有对应的设备").arg(name);
    std::error_code error;
    const bool present = std::filesystem::exists(path, error);
    return tr("%1（%2）").arg(QString::fromStdString(path), present ? tr("存在") : tr("不存在"));
}

void CComPortSetupDlg::ShowDeviceNote() {
    m_lblDevice->setText(DeviceNote());
    m_lblDevice->setToolTip(m_lblDevice->text());
}

}  // namespace velkaro
