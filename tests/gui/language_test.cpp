// The window's languages: which one the locale and --lang choose, the English window without a
// Chinese character left, the English help page beside the Chinese one, and Qt's own texts in
// Chinese.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTranslator>

#include "app/qt_translations.h"
#include "app/ui_language.h"
#include "gui_test_util.h"
#include "samples/sample_menu.h"
#include "settings/com_port_setup_dlg.h"
#include "settings/ethernet_setup_dlg.h"
#include "settings/parallel_port_setup_dlg.h"
#include "settings/usb_setup_dlg.h"
#include "support/about_dlg.h"
#include "widgets/hyperlink.h"

namespace velkaro::test {
namespace {

const QRegularExpression kHan(QStringLiteral("\\p{Han}"));

TEST(LanguageTest, LocaleAndOptionChooseTheLanguage) {
    const struct {
        const char* forced;
        QLocale system;
        UiLanguage expected;
    } cases[] = {
        {"", QLocale(QLocale::Chinese, QLocale::China), UiLanguage::Chinese},
        {"", QLocale(QLocale::Chinese, QLocale::Taiwan), UiLanguage::Chinese},
        {"", QLocale(QLocale::English, QLocale::UnitedStates), UiLanguage::English},
        {"", QLocale(QLocale::German, QLocale::Germany), UiLanguage::English},
        {"", QLocale::c(), UiLanguage::English},
        {"en", QLocale(QLocale::Chinese, QLocale::China), UiLanguage::English},
        {"zh", QLocale(QLocale::French, QLocale::France), UiLanguage::Chinese},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseUiLanguage(QString::fromLatin1(c.forced), c.system), c.expected)
            << c.forced << " " << c.system.name().toStdString();
}

// Installs the embedded English translation for the lifetime of the object.
class EnglishTranslation {
  public:
    EnglishTranslation() {
        loaded_ = translator_.load(QStringLiteral(":/i18n/velkaro_en.qm"));
        if (loaded_) QCoreApplication::installTranslator(&translator_);
    }
    ~EnglishTranslation() { QCoreApplication::removeTranslator(&translator_); }
    bool Loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

// Every text a user or a screen reader meets in `root` and its children that is still Chinese.
QStringList ChineseTexts(const QWidget& root) {
    QList<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<QWidget*>()) widgets << child;
    QStringList found;
    for (const QWidget* w : widgets) {
        QStringList texts{w->windowTitle(), w->accessibleName(), w->toolTip()};
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        if (auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
        if (auto* link = qobject_cast<const CXTHyperLink*>(w)) texts << link->Text();
        for (const QString& text : texts)
            if (text.contains(kHan)) found << w->objectName() + QStringLiteral(": ") + text;
    }
    return found;
}

TEST(LanguageTest, EnglishWindowAndDialogsHaveNoChineseLeft) {
    EnglishTranslation english;
    ASSERT_TRUE(english.Loaded());
    WindowFixture w;
    EXPECT_EQ(ChineseTexts(*w.dialog), QStringList());
    EXPECT_EQ(Control<QAbstractButton>(w.dialog.get(), IDC_OPEN_PORT)->text(),
              QStringLiteral("Open Port"));
    EXPECT_EQ(w.dialog->Status(), QStringLiteral("Status: COM1,9600,NONE,8,1 closed"));

    w.Click(IDC_SEND_FILE);  // the port is closed
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].text, QStringLiteral("The port is not open!"));

    CComPortSetupDlg com(w.dialog.get(), w.devices.Str());
    EXPECT_FALSE(com.DeviceNote().contains(kHan)) << com.DeviceNote().toStdString();
    CEthernetSetupDlg network(w.dialog.get());
    CParallelPortSetupDlg parallel(w.dialog.get());
    CUSBSetupDlg usb(w.dialog.get());
    CAboutDlg about(w.dialog.get());
    for (const QDialog* dialog :
         std::initializer_list<const QDialog*>{&com, &network, &parallel, &usb, &about})
        EXPECT_EQ(ChineseTexts(*dialog), QStringList()) << dialog->metaObject()->className();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Velkaro"));

    for (PrinterLanguage language :
         {PrinterLanguage::ZPL, PrinterLanguage::EPL, PrinterLanguage::CPCL}) {
        const auto menu = BuildSampleMenu(language, w.dialog.get());
        EXPECT_FALSE(menu->title().contains(kHan));
        for (const QAction* action : menu->actions())
            EXPECT_FALSE(action->text().contains(kHan)) << action->text().toStdString();
    }
}

TEST(LanguageTest, WithoutTranslationTheWindowStaysChinese) {
    WindowFixture w;
    EXPECT_EQ(Control<QAbstractButton>(w.dialog.get(), IDC_OPEN_PORT)->text(),
              QStringLiteral("打开端口"));
}

QByteArray ReadResource(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(LanguageTest, EnglishHelpPageHasTheChinesePagesSections) {
    const QString chinese = QString::fromUtf8(ReadResource(HelpPageResource(UiLanguage::Chinese)));
    const QString english = QString::fromUtf8(ReadResource(HelpPageResource(UiLanguage::English)));
    ASSERT_FALSE(chinese.isEmpty());
    ASSERT_FALSE(english.isEmpty());
    EXPECT_TRUE(english.contains(QLatin1String("<html lang=\"en\">")));
    EXPECT_FALSE(english.contains(kHan));
    auto anchors = [](const QString& page) {
        QStringList ids;
        const QRegularExpression id(QStringLiteral("id=\"([^\"]+)\""));
        for (auto it = id.globalMatch(page); it.hasNext();) ids << it.next().captured(1);
        return ids;
    };
    EXPECT_EQ(anchors(english), anchors(chinese));
    EXPECT_GT(english.size(), chinese.size() / 2);  // the whole page, not a stub
}

TEST(LanguageTest, QtsOwnButtonsSpeakChinese) {
    QTranslator* qt = InstallQtTranslations(*QCoreApplication::instance(),
                                            QLocale(QLocale::Chinese, QLocale::China));
    ASSERT_NE(qt, nullptr) << "Qt's translations are missing (Debian: qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QCoreApplication::removeTranslator(qt);
    delete qt;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace velkaro::test
