// Writing the embedded help out so the desktop's viewer can open it. The file goes into a
// folder private to the user (mode 0700, owned by the user, not a link) and replaces any earlier
// copy atomically, so a link planted by another user is never followed. The user's runtime
// folder ($XDG_RUNTIME_DIR, private by design) comes first; then a folder with the user's id in
// its name in the temporary folder; when another user has taken that name, a fresh private
// folder made there by mkdtemp.
#pragma once

#include <QByteArray>
#include <QString>

namespace velkaro {

inline const char kHelpResource[] = ":/help/velkaro-help.html";
inline const char kHelpFileName[] = "Help.html";

// The written file's path, or empty when no folder could be written safely. `runtimeDir` may be
// empty (no runtime folder).
QString WriteHelpFile(const QByteArray& content, const QString& runtimeDir,
                      const QString& tempRoot);

// The folder of the user's id inside `tempRoot`, made and checked; empty when it is not safe.
QString PrivateHelpFolder(const QString& tempRoot);

}  // namespace velkaro
