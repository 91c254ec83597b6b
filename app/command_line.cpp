#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <optional>

#include "app/ui_language.h"
#include "support/program_strings.h"

namespace velkaro {
namespace {

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
    AddQtWindowOptions(parser);

    if (!parser.parse(arguments)) return ExitWith(2, parser.errorText());
    CommandLineRequest request;
    request.options.language = parser.value(lang);
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
