// Reading the update file's text: line 1 the newest version, line 2 the download address.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velkaro {

struct UpdateNotice {
    QString version;
    QString link;
};

// A notice when the text names a version other than `ownVersion` and a second line with an
// http or https address; nothing otherwise. Any other kind of address (a local file, a program,
// mail) is never offered for opening.
std::optional<UpdateNotice> ReadUpdateNotice(const QByteArray& text, const QString& ownVersion);

}  // namespace velkaro
