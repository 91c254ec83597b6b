// The window's language: Chinese, in which its texts are written, or English from the embedded
// translation. Chosen by --lang, else by the desktop's locale.
#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace velkaro {

enum class UiLanguage { Chinese, English };

// `forced` is "zh", "en" or empty; empty: Chinese for a Chinese locale, English for any other.
UiLanguage ChooseUiLanguage(const QString& forced, const QLocale& system = QLocale::system());

// Installs the translations `language` needs into `app` (ours for English, Qt's own for either)
// and makes it the language CurrentUiLanguage() reports. False when the English translation
// is missing from the program.
bool InstallUiLanguage(QCoreApplication& app, UiLanguage language,
                       const QLocale& system = QLocale::system());

UiLanguage CurrentUiLanguage();

// The embedded help page in `language`.
QString HelpPageResource(UiLanguage language);

}  // namespace velkaro
