// `cpack -G DEB` from the build folder: a package named velkaro whose Depends come from the
// libraries the program links (dpkg-shlibdeps) plus the font and Qt's translations, and whose
// files all live under /usr.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "packaging/packaging_util.h"

namespace velkaro::test {
namespace {

TEST(DebPackageTest, ControlFileAndFileList) {
    if (!HaveProgram(QStringLiteral("dpkg-deb")) || !HaveProgram(QStringLiteral("dpkg-shlibdeps")))
        GTEST_SKIP() << "dpkg-dev is not installed";
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    const CommandResult pack = RunCommand(
        QStringLiteral(VELKARO_CPACK),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), output.path()},
        QStringLiteral(VELKARO_BUILD_DIR));
    ASSERT_EQ(pack.exitCode, 0) << pack.output.toStdString();
    const QStringList debs = QDir(output.path()).entryList({QStringLiteral("velkaro_*.deb")});
    ASSERT_EQ(debs.size(), 1) << pack.output.toStdString();
    const QString deb = output.filePath(debs.first());

    const CommandResult control = RunCommand(
        QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Package"),
                                     QStringLiteral("Architecture"), QStringLiteral("Depends")});
    ASSERT_EQ(control.exitCode, 0) << control.output.toStdString();
    EXPECT_TRUE(control.output.contains(QLatin1String("Package: velkaro\n")));
    const QString depends = control.output.section(QLatin1String("Depends:"), 1);
    for (const char* package :
         {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6",
          "fonts-wqy-microhei", "fonts-dejavu-extra", "fonts-freefont-ttf",
          "qt6-translations-l10n"})
        EXPECT_TRUE(depends.contains(QLatin1String(package)))
            << package << " missing in" << depends.toStdString();
    // shlibdeps gives versioned library dependencies, not bare names
    EXPECT_TRUE(depends.contains(QRegularExpression(QStringLiteral("libqt6widgets6 \\(>= [0-9]"))))
        << depends.toStdString();

    const CommandResult contents =
        RunCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb});
    ASSERT_EQ(contents.exitCode, 0) << contents.output.toStdString();
    QStringList files;
    for (const QString& line : contents.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString path = line.section(QLatin1Char(' '), -1);
        if (!path.endsWith(QLatin1Char('/'))) files << path;
    }
    for (const QString& expected : ExpectedInstalledFiles()) {
        EXPECT_TRUE(files.contains(QStringLiteral("./usr/") + expected)) << expected.toStdString();
    }
    for (const QString& file : files)
        EXPECT_TRUE(file.startsWith(QLatin1String("./usr/"))) << file.toStdString();
}

}  // namespace
}  // namespace velkaro::test
