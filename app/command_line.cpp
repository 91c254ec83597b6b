#include "app/command_line.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <optional>

#include "app/ui_language.h"
#include "support/program_strings.h"

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

const char kContext[] = "velkaro::CommandLine";

QString Tr(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// Qt's own options for windowed programs; QApplication reads them, so they are not errors.
void AddQtWindowOptions(QCommandLineParser& parser) {
    for (const char* name : {"platform", "style", "stylesheet", "qwindowgeometry", "qwindowtitle",
                             "qwindowicon", "platformtheme", "plugin"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLineRequest ExitWith(int code, const QString& text, const CommandLineOptions& options = {}) {
    CommandLineRequest request;
    request.options = options;
    request.exitNow = true;
    request.exitCode = code;
    request.text = text;
    return request;
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

CommandLineRequest ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "标签和条码打印机调试助手")));
    // -platform and the other single-dash Qt options stay one word
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine",
                             "界面语言：zh（中文）或 en（英文）；默认按系统语言")),
        QStringLiteral("zh|en"));
    parser.addOption(lang);
    // The connection the window chooses (and opens) at start; ParseStartOptions checks them.
    const QList<QCommandLineOption> start{
        {QStringLiteral("tcp"),
         Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "选择网络端口 ADDR:PORT")),
         QStringLiteral("ADDR:PORT")},
        {QStringLiteral("com"), Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "选择串口 COMn")),
         QStringLiteral("COMn")},
        {QStringLiteral("baud"), Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "串口波特率")),
         QStringLiteral("RATE")},
        {QStringLiteral("lpt"), Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "选择并口 LPTn")),
         QStringLiteral("LPTn")},
        {QStringLiteral("open"),
         Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "启动时打开所选端口"))},
    };
    parser.addOptions(start);
    AddQtWindowOptions(parser);

    if (!parser.parse(arguments)) return ExitWith(2, parser.errorText());
    CommandLineRequest request;
    request.options.language = parser.value(lang);
    QStringList startArguments;
    for (const QCommandLineOption& option : start) {
        if (!parser.isSet(option)) continue;
        startArguments << QStringLiteral("--") + option.names().first();
        if (!option.valueName().isEmpty()) startArguments << parser.value(option);
    }
    QString startError;
    if (!ParseStartOptions(startArguments, request.options.start, startError))
        return ExitWith(2, startError);
    if (!parser.positionalArguments().isEmpty())
        return ExitWith(2, Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine", "多余的参数：%1"))
                               .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    if (parser.isSet(help)) return ExitWith(0, parser.helpText(), request.options);
    if (parser.isSet(version))
        return ExitWith(0, QStringLiteral("Velkaro %1\n").arg(QString::fromUtf8(kProgramVersion)),
                        request.options);
    if (parser.isSet(lang)) {
        if (request.options.language != QLatin1String("zh") &&
            request.options.language != QLatin1String("en"))
            return ExitWith(2, Tr(QT_TRANSLATE_NOOP("velkaro::CommandLine",
                                                    "--lang 只接受 zh 或 en，而不是“%1”"))
                                   .arg(request.options.language));
    }
    return request;
}

CommandLineRequest ReadCommandLine(int& argc, char** argv) {
    std::optional<QCoreApplication> shortLived;
    if (!QCoreApplication::instance()) shortLived.emplace(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velkaro"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kProgramVersion));
    const QStringList arguments = QCoreApplication::arguments();
    const CommandLineRequest request = ParseCommandLine(arguments);
    if (!request.exitNow || !shortLived) return request;
    // What is printed is in the language the window would have.
    InstallUiLanguage(*shortLived, ChooseUiLanguage(request.options.language));
    return ParseCommandLine(arguments);
}

int PrintCommandLineText(const CommandLineRequest& request) {
    QString text = request.text;
    if (!text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), request.exitCode == 0 ? stdout : stderr);
    return request.exitCode;
}

}  // namespace velkaro
