#include "app/ui_language.h"

#include <QCoreApplication>
#include <QTranslator>

#include "app/qt_translations.h"
#include "support/help_file.h"

// The translations are compiled into the program's library; this pulls them in.
static void InitTranslationResource() {
    Q_INIT_RESOURCE(velkaro_translations);
}

namespace velkaro {
namespace {

UiLanguage g_language = UiLanguage::Chinese;

}  // namespace

UiLanguage ChooseUiLanguage(const QString& forced, const QLocale& system) {
    if (forced == QLatin1String("zh")) return UiLanguage::Chinese;
    if (forced == QLatin1String("en")) return UiLanguage::English;
    return system.language() == QLocale::Chinese ? UiLanguage::Chinese : UiLanguage::English;
}

bool InstallUiLanguage(QCoreApplication& app, UiLanguage language, const QLocale& system) {
    g_language = language;
    if (language == UiLanguage::Chinese) {
        // Qt's dialogs in the desktop's Chinese (Traditional for zh_TW), else Simplified
        InstallQtTranslations(app, system.language() == QLocale::Chinese
                                       ? system
                                       : QLocale(QLocale::Chinese, QLocale::China));
        return true;
    }
    InstallQtTranslations(app, QLocale(QLocale::English));
    InitTranslationResource();
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/velkaro_en.qm"))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

UiLanguage CurrentUiLanguage() {
    return g_language;
}

QString HelpPageResource(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral(":/help/velkaro-help-en.html")
                                           : QString::fromLatin1(kHelpResource);
}

}  // namespace velkaro
