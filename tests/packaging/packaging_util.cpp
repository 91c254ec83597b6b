#include "packaging/packaging_util.h"

#include <QProcess>
#include <QStandardPaths>

namespace velkaro::test {

CommandResult RunCommand(const QString& program, const QStringList& arguments,
                         const QString& folder) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(program, arguments);
    CommandResult result;
    result.started = process.waitForStarted(60000);
    if (!result.started) return result;
    process.waitForFinished(-1);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

bool HaveProgram(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QStringList ExpectedInstalledFiles() {
    QStringList files = {
        QStringLiteral("bin/velkaro"),
        QStringLiteral("share/applications/velkaro.desktop"),
        QStringLiteral("share/metainfo/com.velkaro.Velkaro.metainfo.xml"),
        QStringLiteral("share/icons/hicolor/scalable/apps/velkaro.svg"),
        QStringLiteral("share/man/man1/velkaro.1.gz"),
        QStringLiteral("share/doc/velkaro/copyright"),
    };
    for (const QString& size : QStringLiteral(VELKARO_ICON_SIZES).split(QLatin1Char(',')))
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/velkaro.png").arg(size);
    if (VELKARO_HAS_PRINTER)
        files << QStringLiteral("bin/velkaro-printer")
              << QStringLiteral("share/man/man1/velkaro-printer.1.gz");
    if (VELKARO_HAS_CLI)
        files << QStringLiteral("bin/velkaro-cli")
              << QStringLiteral("share/man/man1/velkaro-cli.1.gz");
    return files;
}

}  // namespace velkaro::test
