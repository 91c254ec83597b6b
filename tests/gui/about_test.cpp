// The About box, its mail link, and the window's context menu that leads to it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "gui_test_util.h"
#include "support/about_dlg.h"
#include "support/program_strings.h"
#include "widgets/hyperlink.h"

namespace velkaro::test {
namespace {

const QString kAddress = QString::fromUtf8(kContactAddress);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

void Hover(QWidget* widget, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
}

void LeftClick(QWidget* widget) {
    const QPointF at(2, 2);
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

TEST(AboutBox, ShowsNameVersionAndABlackMailLinkThatTurnsRedUnderTheMouse) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "关于 Velkaro");
    QStringList labels;
    for (const QLabel* label : about.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("Velkaro 1.00")) << labels.join('|').toStdString();

    CXTHyperLink* link = about.findChild<CXTHyperLink*>();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link, about.EmailLink());
    EXPECT_EQ(link->Text(), "Email:" + kAddress);
    EXPECT_EQ(link->URL(), "mailto:" + kAddress);
    EXPECT_FALSE(link->Underline());
    EXPECT_EQ(link->CurrentColor(), kBlack);
    Hover(link, true);
    EXPECT_EQ(link->CurrentColor(), kRed);
    Hover(link, false);
    EXPECT_EQ(link->CurrentColor(), kBlack);
}

TEST(AboutBox, TheLinkIsAnAccessibleLinkNamedByItsText) {
    CAboutDlg about;
    CXTHyperLink* link = about.EmailLink();
    std::vector<QUrl> opened;
    link->SetOpener([&](const QUrl& url) { opened.push_back(url); });
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Link);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Email:" + kAddress);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl("mailto:" + kAddress)});
}

TEST(AboutBox, AddAboutItemAppendsASeparatorAndTheItemOrNothing) {
    QMenu menu;
    menu.addAction("first");
    EXPECT_EQ(AddAboutItem(menu, QString()), nullptr);
    EXPECT_EQ(menu.actions().size(), 1);

    QAction* item = AddAboutItem(menu, QString::fromUtf8(kAboutMenuText));
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_TRUE(menu.actions().at(1)->isSeparator());
    EXPECT_EQ(menu.actions().at(2), item);
    EXPECT_EQ(item->text(), "关于 Velkaro(&A)...");
}

// The fake user, also noting which items of a popup menu are separators.
class MenuRecordingUi : public FakeUi {
  public:
    QAction* PopupMenu(QMenu& menu, const QPoint& at) override {
        separators.clear();
        for (const QAction* action : menu.actions()) separators.push_back(action->isSeparator());
        return FakeUi::PopupMenu(menu, at);
    }
    std::vector<bool> separators;
};

// The window's own context menu.
class ContextMenuTest : public ::testing::Test {
  protected:
    static DialogEnvironment Environment(const TempDir& devices) {
        DialogEnvironment environment;
        environment.deviceFolder = devices.Str();
        environment.sysfsRoot = devices.Str() + "/sys";
        environment.charset = "UTF-8";
        return environment;
    }
    void RightClick(const QPoint& at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog.mapToGlobal(at));
        QCoreApplication::sendEvent(&dialog, &event);
    }

    TempDir devices;
    MenuRecordingUi ui;
    CVelkaroDlg dialog{ui, Environment(devices)};
};

TEST_F(ContextMenuTest, OffersTheAboutItemAfterASeparator) {
    ui.chooseItem = -1;
    RightClick(QPoint(30, 20));
    EXPECT_EQ(ui.separators, (std::vector<bool>{true, false}));
    EXPECT_EQ(ui.menuTitles, (QStringList{"", "关于 Velkaro(&A)..."}));
    EXPECT_EQ(ui.popupAt, dialog.mapToGlobal(QPoint(30, 20)));
    EXPECT_EQ(ui.dialogsRun, 0) << "dismissed: no About box";

    // Choosing the separator does nothing either.
    ui.chooseItem = 0;
    RightClick(QPoint(30, 20));
    EXPECT_EQ(ui.dialogsRun, 0);
}

TEST_F(ContextMenuTest, ChoosingAboutRunsTheAboutBoxWhoseLinkOpensTheMailAddress) {
    bool wasAbout = false;
    QString shownVersion;
    QColor colourAfterClick;
    ui.onDialog = [&](QDialog& dialog) {
        wasAbout = qobject_cast<CAboutDlg*>(&dialog) != nullptr;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text().startsWith("Velkaro ")) shownVersion = label->text();
        if (auto* link = dialog.findChild<CXTHyperLink*>()) {
            LeftClick(link);
            colourAfterClick = link->CurrentColor();
        }
        return QDialog::Accepted;
    };
    ui.chooseItem = 1;
    RightClick(QPoint(30, 20));
    EXPECT_EQ(ui.dialogsRun, 1);
    EXPECT_TRUE(wasAbout);
    EXPECT_EQ(shownVersion, "Velkaro 1.00");
    EXPECT_EQ(colourAfterClick, kBlack) << "a visited mail link stays black";
    EXPECT_EQ(ui.openedUrls, std::vector<QUrl>{QUrl("mailto:" + kAddress)});
}

TEST_F(ContextMenuTest, OnAboutRunsTheSameBox) {
    ui.onDialog = [&](QDialog& dialog) {
        if (auto* link = dialog.findChild<CXTHyperLink*>()) link->Click();
        return QDialog::Accepted;
    };
    dialog.OnAbout();
    EXPECT_EQ(ui.dialogsRun, 1);
    EXPECT_EQ(ui.openedUrls, std::vector<QUrl>{QUrl("mailto:" + kAddress)});
}

}  // namespace
}  // namespace velkaro::test
