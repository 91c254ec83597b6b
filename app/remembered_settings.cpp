#include "app/remembered_settings.h"

#include <QComboBox>
#include <QHostAddress>
#include <QMetaProperty>
#include <QRegularExpression>

#include "app/receive_view.h"
#include "app/text_encoding.h"
#include "widgets/dialog_template.h"

namespace velkaro {
namespace {

// Keys of the settings file.
const QString kKind = QStringLiteral("connection/kind");
const QString kComPort = QStringLiteral("serial/port");
const QString kBaudRate = QStringLiteral("serial/baudRate");
const QString kParity = QStringLiteral("serial/parity");
const QString kDataBits = QStringLiteral("serial/dataBits");
const QString kStopBits = QStringLiteral("serial/stopBits");
const QString kLptPort = QStringLiteral("parallel/port");
const QString kUsbLocation = QStringLiteral("usb/location");
const QString kIpAddress = QStringLiteral("network/address");
const QString kIpPort = QStringLiteral("network/port");
const QString kTopMost = QStringLiteral("window/topMost");
const QString kGeometry = QStringLiteral("window/geometry");

bool Listed(const QString& value, std::initializer_list<const char*> list) {
    for (const char* entry : list)
        if (value == QLatin1String(entry)) return true;
    return false;
}

bool NumberedName(const QString& value, const char* prefix, int last) {
    const QRegularExpression pattern(QStringLiteral("^%1([1-9][0-9]{0,2})$").arg(prefix));
    const QRegularExpressionMatch match = pattern.match(value);
    return match.hasMatch() && match.captured(1).toInt() <= last;
}

// The settings dialogs' choices; anything else in the file is not taken.
const std::vector<std::pair<QString, std::function<bool(const QString&)>>>& Checks() {
    static const std::vector<std::pair<QString, std::function<bool(const QString&)>>> checks{
        {kComPort, [](const QString& v) { return NumberedName(v, "COM", 255); }},
        {kBaudRate,
         [](const QString& v) {
             return Listed(v,
                           {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
         }},
        {kParity,
         [](const QString& v) {
             return Listed(v, {"NONE", "ODD", "EVEN", "MARK", "SPACE"});
         }},
        {kDataBits,
         [](const QString& v) {
             return Listed(v, {"8", "7", "6"});
         }},
        {kStopBits,
         [](const QString& v) {
             return Listed(v, {"1", "1.5", "2"});
         }},
        {kLptPort, [](const QString& v) { return NumberedName(v, "LPT", 10); }},
        {kIpAddress,
         [](const QString& v) {
             return QHostAddress(v).protocol() == QAbstractSocket::IPv4Protocol;
         }},
        {kIpPort,
         [](const QString& v) {
             bool ok = false;
             const int port = v.toInt(&ok);
             return ok && port > 0 && port < 65536;
         }},
    };
    return checks;
}

QString* Field(CVelkaroDlg& dialog, const QString& key) {
    if (key == kComPort) return &dialog.m_strComPort;
    if (key == kBaudRate) return &dialog.m_strBaudRate;
    if (key == kParity) return &dialog.m_strParity;
    if (key == kDataBits) return &dialog.m_strDataBits;
    if (key == kStopBits) return &dialog.m_strStopBits;
    if (key == kLptPort) return &dialog.m_strLptPort;
    if (key == kIpAddress) return &dialog.m_strIPAddress;
    if (key == kIpPort) return &dialog.m_strIPPort;
    return nullptr;
}

// The position of the printer at `location` in the list, or 0 (the first) when it is gone.
int UsbIndexOf(const std::vector<tagUSBDevice>& devices, const QString& location) {
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (QString::fromStdString(devices[i].strLocation) == location) return static_cast<int>(i);
    return 0;
}

}  // namespace

RememberedSettings::RememberedSettings(QSettings& settings) : m_settings(settings) {}

std::unique_ptr<QSettings> RememberedSettings::OpenUserSettings() {
    return std::make_unique<QSettings>(QStringLiteral("Velkaro"), QStringLiteral("Velkaro"));
}

void RememberedSettings::Remember(Value value) {
    m_values.push_back(std::move(value));
}

void RememberedSettings::RememberControl(const QString& key, int id) {
    auto property = [id](CVelkaroDlg& dialog) -> std::pair<QWidget*, QMetaProperty> {
        QWidget* control = Control<QWidget>(&dialog, id);
        if (!control) return {nullptr, {}};
        return {control, control->metaObject()->userProperty()};
    };
    Remember({key,
              [property](CVelkaroDlg& dialog) {
                  const auto [control, user] = property(dialog);
                  return control && user.isValid() ? user.read(control) : QVariant();
              },
              [property](CVelkaroDlg& dialog, const QVariant& value) {
                  const auto [control, user] = property(dialog);
                  if (control && user.isValid() && value.canConvert(user.metaType()))
                      user.write(control, value);
              }});
}

void RememberReceiveOptions(RememberedSettings& remembered) {
    using Dialog = CVelkaroDlg;
    const auto flag = [&](const char* key, bool (ReceiveView::*get)() const,
                          void (ReceiveView::*set)(bool)) {
        remembered.Remember(
            {QString::fromLatin1(key), [get](Dialog& d) { return QVariant((d.Receiver().*get)()); },
             [set](Dialog& d, const QVariant& v) { (d.Receiver().*set)(v.toBool()); }});
    };
    flag("receive/hexView", &ReceiveView::Hex, &ReceiveView::SetHex);
    flag("receive/timestamps", &ReceiveView::Timestamps, &ReceiveView::SetTimestamps);
    flag("receive/showSent", &ReceiveView::ShowSent, &ReceiveView::SetShowSent);
    // Only the view sizes the menu offers, and only the encodings it lists.
    remembered.Remember({QStringLiteral("receive/capMb"),
                         [](Dialog& d) { return QVariant(d.Receiver().Cap() >> 20); },
                         [](Dialog& d, const QVariant& v) {
                             const quint64 mb = v.toULongLong();
                             if (mb == 1 || mb == 8 || mb == 64 || mb == 512)
                                 d.Receiver().SetCap(mb << 20);
                         }});
    remembered.Remember({QStringLiteral("text/encoding"),
                         [](Dialog& d) { return QVariant(QString::fromLatin1(d.Charset())); },
                         [](Dialog& d, const QVariant& v) {
                             const QByteArray name = v.toString().toLatin1();
                             for (const TextEncoding& encoding : TextEncodings())
                                 if (encoding.name == name) d.SetCharset(name);
                         }});
}

void RememberedSettings::Restore(CVelkaroDlg& dialog, const DialogEnvironment& environment) const {
    for (const auto& [key, valid] : Checks()) {
        const QString value = m_settings.value(key).toString();
        if (!value.isEmpty() && valid(value)) *Field(dialog, key) = value;
    }
    // The printer is looked up by where it is plugged in; its number may have changed.
    if (m_settings.contains(kUsbLocation)) {
        CUSBPort::EnumDevices(dialog.m_arrUSBDevice, environment.sysfsRoot,
                              environment.deviceFolder);
        dialog.m_nUSBIndex =
            UsbIndexOf(dialog.m_arrUSBDevice, m_settings.value(kUsbLocation).toString());
    }
    // Choosing the kind works as if the user had picked it from the list.
    auto* kinds = Control<QComboBox>(&dialog, IDC_PORT_TYPE);
    const int kind = kinds->findText(m_settings.value(kKind).toString(), Qt::MatchExactly);
    if (kind >= 0) {
        kinds->setCurrentIndex(kind);
        dialog.OnCbnSelchangePortType();
        if (m_settings.contains(kUsbLocation))  // the list was read again for the kind
            dialog.m_nUSBIndex =
                UsbIndexOf(dialog.m_arrUSBDevice, m_settings.value(kUsbLocation).toString());
    }
    dialog.UpdateStatus();
    if (m_settings.value(kTopMost).toBool() != dialog.TopMost()) dialog.OnBnClickedTopMost();
    if (m_settings.contains(kGeometry))
        dialog.restoreGeometry(m_settings.value(kGeometry).toByteArray());
    for (const Value& value : m_values)
        if (m_settings.contains(value.key)) value.apply(dialog, m_settings.value(value.key));
}

void RememberedSettings::Save(CVelkaroDlg& dialog) {
    m_settings.setValue(kKind, dialog.PortType());
    for (const auto& check : Checks()) {
        const QString value = *Field(dialog, check.first);
        if (value.isEmpty())
            m_settings.remove(check.first);
        else
            m_settings.setValue(check.first, value);
    }
    const auto& devices = dialog.m_arrUSBDevice;
    const int index = dialog.m_nUSBIndex;
    if (index >= 0 && index < static_cast<int>(devices.size()))
        m_settings.setValue(
            kUsbLocation,
            QString::fromStdString(devices[static_cast<std::size_t>(index)].strLocation));
    m_settings.setValue(kTopMost, dialog.TopMost());
    m_settings.setValue(kGeometry, dialog.saveGeometry());
    for (const Value& value : m_values) {
        const QVariant current = value.read(dialog);
        if (current.isValid()) m_settings.setValue(value.key, current);
    }
    m_settings.sync();
}

}  // namespace velkaro
