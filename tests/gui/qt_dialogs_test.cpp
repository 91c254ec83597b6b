// Qt's own dialogs as the window uses them: in Chinese, the open-file dialog with its single
// "(*.*)" entry that matches every file, and the About box laid out as its template says.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QTranslator>
#include <QFileSystemModel>
#include <QLabel>

#include "app/qt_translations.h"
#include "gui_test_util.h"
#include "support/about_dlg.h"
#include "support/program_strings.h"
#include "widgets/dialog_units.h"
#include "window_services/ui_services.h"

namespace velkaro::test {
namespace {

TEST(QtDialogs, QtsOwnTextsFollowTheInterfaceLanguage) {
    QTranslator* chinese = InstallQtTranslations(*QCoreApplication::instance(),
                                                 QLocale(QLocale::Chinese, QLocale::China));
    ASSERT_TRUE(chinese) << "qt6-translations-l10n is missing";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Open"), "打开");
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").startsWith("文件名"));
    QCoreApplication::removeTranslator(chinese);
    delete chinese;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Open"), "Open");  // as the others run
}

TEST(QtDialogs, TheOpenFileDialogHasOneEntryMatchingEveryFile) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    PrepareOpenFileDialog(dialog);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), "(*.*)");
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), QStringList{"*"}) << "names without a dot match too";
}

TEST(QtDialogs, TheAboutBoxsRightsNoticeIs142DialogUnitsWide) {
    CAboutDlg about;
    const DialogUnits units(about.font());
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text() != QString::fromUtf8(kRightsNotice)) continue;
        EXPECT_EQ(label->geometry(), units.Rect(47, 31, 142, 8));
        return;
    }
    FAIL() << "no rights notice";
}

}  // namespace
}  // namespace velkaro::test
