// The built program answers --version and --help on the terminal, with no display at all.
#include <gtest/gtest.h>

#include <QProcess>

namespace velkaro::test {
namespace {

struct ProgramRun {
    int exitCode;
    QString out, err;
};

ProgramRun RunWithoutDisplay(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELKARO_BUILD_DIR "/velkaro"), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(ProgramTest, VersionAndHelpNeedNoDisplay) {
    const ProgramRun version = RunWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QStringLiteral("Velkaro 1.00\n"));

    const ProgramRun help = RunWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains(QLatin1String("--lang"))) << help.out.toStdString();
}

TEST(ProgramTest, UnknownOptionFailsBeforeLookingForADisplay) {
    const ProgramRun run = RunWithoutDisplay({QStringLiteral("--no-such-option")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QLatin1String("no-such-option"))) << run.err.toStdString();
}

}  // namespace
}  // namespace velkaro::test
