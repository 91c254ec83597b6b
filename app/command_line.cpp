#include "app/command_line.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace velkaro {
namespace {

// "COM3", "com3" -> "COM3"; empty when `text` is not <prefix><number from 1>.
QString PortName(const QString& text, const QString& prefix) {
    const QRegularExpression pattern(QStringLiteral("^%1([1-9][0-9]{0,2})$").arg(prefix),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? prefix + match.captured(1) : QString();
}

bool ChooseKind(StartOptions& options, const QString& kind, QString& error) {
    if (!options.portType.isEmpty() && options.portType != kind) {
        error = QStringLiteral("choose one connection: --com, --lpt or --tcp");
        return false;
    }
    options.portType = kind;
    return true;
}

}  // namespace

bool ParseStartOptions(const QStringList& arguments, StartOptions& options, QString& error) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const bool takesValue =
            option == QLatin1String("--tcp") || option == QLatin1String("--com") ||
            option == QLatin1String("--baud") || option == QLatin1String("--lpt");
        if (option == QLatin1String("--open")) {
            options.open = true;
            continue;
        }
        if (!takesValue) {
            options.unknown << option;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = option + QStringLiteral(" needs a value");
            return false;
        }
        const QString value = arguments[++i];
        if (option == QLatin1String("--tcp")) {
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            const QString address = value.left(colon);
            bool numeric = false;
            const int port = value.mid(colon + 1).toInt(&numeric);
            QHostAddress host;
            if (colon <= 0 || !numeric || port < 1 || port > 65535 || !host.setAddress(address) ||
                host.protocol() != QAbstractSocket::IPv4Protocol) {
                error = QStringLiteral(
                            "--tcp wants an IPv4 address and a port, such as "
                            "127.0.0.1:9100, not ") +
                        value;
                return false;
            }
            if (!ChooseKind(options, QStringLiteral("ETHERNET"), error)) return false;
            options.ipAddress = host.toString();
            options.ipPort = QString::number(port);
        } else if (option == QLatin1String("--com")) {
            options.comPort = PortName(value, QStringLiteral("COM"));
            if (options.comPort.isEmpty()) {
                error = QStringLiteral("--com wants a port such as COM1, not ") + value;
                return false;
            }
            if (!ChooseKind(options, QStringLiteral("COM"), error)) return false;
        } else if (option == QLatin1String("--lpt")) {
            options.lptPort = PortName(value, QStringLiteral("LPT"));
            if (options.lptPort.isEmpty()) {
                error = QStringLiteral("--lpt wants a port such as LPT1, not ") + value;
                return false;
            }
            if (!ChooseKind(options, QStringLiteral("LPT"), error)) return false;
        } else {  // --baud
            bool numeric = false;
            const int rate = value.toInt(&numeric);
            if (!numeric || rate <= 0) {
                error = QStringLiteral("--baud wants a rate such as 9600, not ") + value;
                return false;
            }
            options.baudRate = QString::number(rate);
        }
    }
    return true;
}

QString StartOptionsUsage() {
    return QStringLiteral(
        "  --tcp ADDR:PORT   choose the network connection to ADDR:PORT\n"
        "  --com COMn        choose serial port COMn (--baud RATE sets its speed)\n"
        "  --lpt LPTn        choose parallel port LPTn\n"
        "  --open            open the chosen connection at start\n");
}

}  // namespace velkaro
