// The "预览" button and the "标签预览" window, driven offscreen.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "gui_test_util.h"
#include "preview/label_preview_window.h"

namespace velkaro::test {
namespace {

constexpr char kBox[] = "^XA^FO10,10^GB50,50,50^FS^XZ";

class PreviewWindowTest : public ::testing::Test {
  protected:
    LabelPreviewWindow* OpenPreview() {
        window.Click(IDC_PREVIEW);
        LabelPreviewWindow* preview = window.dialog->PreviewWindow();
        EXPECT_NE(preview, nullptr);
        return preview;
    }

    WindowFixture window;
};

TEST_F(PreviewWindowTest, ButtonSitsInTheLeftColumnAndTogglesTheWindow) {
    auto* button = Control<QPushButton>(window.dialog.get(), IDC_PREVIEW);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("预览"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
              QStringLiteral("预览"));
    const QRect cpcl = Control<QPushButton>(window.dialog.get(), IDC_CPCL)->geometry();
    const QRect help = Control<QPushButton>(window.dialog.get(), IDC_HELP)->geometry();
    EXPECT_EQ(button->geometry().size(), cpcl.size());
    EXPECT_EQ(button->geometry().left(), cpcl.left());
    EXPECT_GT(button->geometry().top(), cpcl.bottom());
    EXPECT_LT(button->geometry().bottom(), help.top());

    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("标签预览"));
    EXPECT_EQ(preview->windowModality(), Qt::NonModal);  // the main window stays usable
    window.Click(IDC_PREVIEW);
    EXPECT_FALSE(preview->isVisible());
    window.Click(IDC_PREVIEW);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(window.dialog->PreviewWindow(), preview);  // the same window again
}

TEST_F(PreviewWindowTest, RedrawsOnlyAfterTypingStops) {
    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->Result().labels.empty());
    window.SendBox()->setPlainText(QString::fromLatin1(kBox));
    // Nothing is drawn while the user may still be typing.
    EXPECT_TRUE(preview->RedrawPending());
    EXPECT_TRUE(preview->Result().labels.empty());
    QTest::keyClicks(window.SendBox(), QStringLiteral(" "));
    EXPECT_TRUE(preview->Result().labels.empty());
    ASSERT_TRUE(WaitUntil([&] { return !preview->RedrawPending(); }));
    ASSERT_EQ(preview->Result().labels.size(), 1u);
    EXPECT_EQ(preview->CurrentLabel().size(), QSize(813, 1219));  // 4 x 6 in at 8 dots/mm
    EXPECT_FALSE(preview->LabelView()->pixmap().isNull());
}

TEST_F(PreviewWindowTest, ToolbarChangesResolutionSizeAndLanguage) {
    window.SendBox()->setPlainText(QString::fromLatin1(kBox));
    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    preview->DotsPerMmBox()->setCurrentIndex(preview->DotsPerMmBox()->findData(12));
    EXPECT_EQ(preview->CurrentLabel().size(), QSize(1219, 1829));
    preview->UnitBox()->setCurrentIndex(1);  // millimetres: the size is converted
    EXPECT_NEAR(preview->WidthBox()->value(), 101.6, 0.1);
    preview->WidthBox()->setValue(50);
    preview->HeightBox()->setValue(30);
    EXPECT_EQ(preview->CurrentLabel().size(), QSize(600, 360));
    // The same text read as EPL is not understood.
    preview->LanguageBox()->setCurrentIndex(preview->LanguageBox()->findText("EPL"));
    EXPECT_EQ(preview->Result().language, label::Language::EPL);
    EXPECT_GT(preview->ProblemList()->count(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{
             preview->DotsPerMmBox(), preview->UnitBox(), preview->WidthBox(), preview->HeightBox(),
             preview->ZoomBox(), preview->LanguageBox()}) {
        EXPECT_FALSE(control->accessibleName().isEmpty());
    }
}

TEST_F(PreviewWindowTest, SeveralLabelsBecomePages) {
    window.SendBox()->setPlainText("^XA^FO10,10^GB50,50,50^FS^XZ\n^XA^FO300,300^GB50,50,50^FS^XZ");
    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->Pages()->count(), 2);
    EXPECT_EQ(preview->Pages()->tabText(1), QStringLiteral("标签 2"));
    EXPECT_EQ(qGray(preview->CurrentLabel().pixel(20, 20)), 0);
    preview->Pages()->setCurrentIndex(1);
    EXPECT_EQ(qGray(preview->CurrentLabel().pixel(20, 20)), 255);
    EXPECT_EQ(qGray(preview->CurrentLabel().pixel(320, 320)), 0);
}

TEST_F(PreviewWindowTest, ProblemSelectsItsPlaceInTheSendBox) {
    // Chinese text before the problem: byte offsets and character positions differ.
    window.SendBox()->setPlainText(
        QStringLiteral("^XA^CI28\n^FO10,10^A0N,30,30^FD标签^FS\n^QQ1,2\n^XZ"));
    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->ProblemList()->count(), 1);
    EXPECT_TRUE(preview->ProblemList()->item(0)->text().startsWith("^QQ"));
    preview->ProblemList()->setCurrentRow(0);
    EXPECT_EQ(window.SendBox()->textCursor().selectedText(), QStringLiteral("^QQ1,2"));
}

TEST_F(PreviewWindowTest, ExportSavesTheLabelAsPng) {
    window.SendBox()->setPlainText(QString::fromLatin1(kBox));
    LabelPreviewWindow* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    TempDir folder;
    window.ui.fileToSave = QString::fromStdString(folder.Str() + "/label.png");
    auto* button = preview->findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("导出PNG…"));
    button->click();
    EXPECT_EQ(window.ui.saveDialogs, 1);
    QImage saved(window.ui.fileToSave);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(813, 1219));
    EXPECT_EQ(qGray(saved.pixel(30, 30)), 0);
    EXPECT_EQ(qGray(saved.pixel(100, 100)), 255);
    // Cancelled: nothing written, nothing said.
    window.ui.fileToSave.clear();
    button->click();
    EXPECT_EQ(window.ui.saveDialogs, 2);
    EXPECT_TRUE(window.ui.messages.empty());
    // A place that cannot be written is reported.
    window.ui.fileToSave = QString::fromStdString(folder.Str() + "/missing/label.png");
    button->click();
    EXPECT_EQ(window.ui.MessageTexts(), QStringList{QStringLiteral("PNG文件保存失败！")});
}

}  // namespace
}  // namespace velkaro::test
