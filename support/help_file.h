// Writing the embedded help out so the desktop's viewer can open it. The file goes into a
// folder private to the user (mode 0700, owned by the user, not a link) inside the temporary
// folder and replaces any earlier copy atomically, so a link planted by another user in a
// shared temporary folder is never followed.
#pragma once

#include <QByteArray>
#include <QString>

namespace velkaro {

inline const char kHelpResource[] = ":/help/velkaro-help.html";
inline const char kHelpFileName[] = "Help.html";

// The written file's path, or empty when it could not be written safely.
QString WriteHelpFile(const QByteArray& content, const QString& tempRoot);

// The folder WriteHelpFile uses, made and checked; empty when it is not safe to use.
QString PrivateHelpFolder(const QString& tempRoot);

}  // namespace velkaro
