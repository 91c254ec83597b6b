// Qt's own texts (the file dialog, message box buttons, the command-line help) in the window's
// language, from the translations Qt installs (Debian: qt6-translations-l10n).
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace velkaro {

// Installs Qt's translation for `locale` into `app` and returns it (owned by `app`); null when
// Qt has none for it.
QTranslator* InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace velkaro
