// `cmake --install` into a temporary prefix: every file in its place, icons of the size their
// folder names, and the desktop entry and AppStream data accepted by the desktop's validators.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "packaging/packaging_util.h"

namespace velkaro::test {
namespace {

class InstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix_ = new QTemporaryDir;
        ASSERT_TRUE(prefix_->isValid());
        const CommandResult install =
            RunCommand(QStringLiteral(VELKARO_CMAKE),
                       {QStringLiteral("--install"), QStringLiteral(VELKARO_BUILD_DIR),
                        QStringLiteral("--prefix"), prefix_->path()});
        ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();
    }
    static void TearDownTestSuite() {
        delete prefix_;
        prefix_ = nullptr;
    }
    static QString Installed(const QString& relative) { return prefix_->filePath(relative); }
    static QTemporaryDir* prefix_;
};
QTemporaryDir* InstallTest::prefix_ = nullptr;

TEST_F(InstallTest, PutsEveryFileUnderThePrefix) {
    for (const QString& file : ExpectedInstalledFiles()) {
        const QFileInfo info(Installed(file));
        EXPECT_TRUE(info.isFile() && info.size() > 0) << file.toStdString();
        if (file.startsWith(QLatin1String("bin/"))) {
            EXPECT_TRUE(info.isExecutable()) << file.toStdString();
        }
    }
}

TEST_F(InstallTest, ThemeIconsHaveTheSizeTheirFolderNames) {
    for (const QString& size : QStringLiteral(VELKARO_ICON_SIZES).split(QLatin1Char(','))) {
        const QImage icon(
            Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/velkaro.png").arg(size)));
        ASSERT_FALSE(icon.isNull()) << size.toStdString();
        EXPECT_EQ(icon.size(), QSize(size.toInt(), size.toInt()));
        EXPECT_TRUE(icon.hasAlphaChannel());
        // drawn, not blank: the printer body covers the upper middle
        EXPECT_GT(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 4)), 0) << size.toStdString();
    }
    // the scalable one is well-formed SVG of the same square design
    QFile svg(Installed(QStringLiteral("share/icons/hicolor/scalable/apps/velkaro.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QLatin1String("svg"));
    EXPECT_EQ(xml.attributes().value(QLatin1String("viewBox")), QLatin1String("0 0 64 64"));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST_F(InstallTest, DesktopEntryPassesDesktopFileValidate) {
    if (!HaveProgram(QStringLiteral("desktop-file-validate")))
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const CommandResult check =
        RunCommand(QStringLiteral("desktop-file-validate"),
                   {Installed(QStringLiteral("share/applications/velkaro.desktop"))});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_FALSE(check.output.contains(QLatin1String("error:"))) << check.output.toStdString();
}

TEST_F(InstallTest, MetainfoPassesAppstreamValidate) {
    if (!HaveProgram(QStringLiteral("appstreamcli")))
        GTEST_SKIP() << "appstreamcli is not installed";
    const CommandResult check =
        RunCommand(QStringLiteral("appstreamcli"),
                   {QStringLiteral("validate"), QStringLiteral("--no-net"),
                    Installed(QStringLiteral("share/metainfo/com.velkaro.Velkaro.metainfo.xml"))});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
}

}  // namespace
}  // namespace velkaro::test
