// Qt's own texts (the file dialog's "打开", "文件名", "取消", message box buttons) in the user
// interface's language, from the translations Debian ships in qt6-translations-l10n.
#pragma once

#include <QLocale>

namespace velkaro {

// Installs Qt's translations for `uiLocale` in the running application, replacing any installed
// earlier by this function. False when Qt has none for that language (its texts stay English).
bool InstallQtTranslations(const QLocale& uiLocale);

}  // namespace velkaro
