// Reading the update file's text: line 1 the newest version, line 2 the download address.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velkaro {

struct UpdateNotice {
    QString version;  // at most kMaxVersionChars, without control or format characters
    QString link;     // the address to open, fully encoded
    QString host;     // the address's host, for the notice's tooltip
};

inline constexpr int kMaxVersionChars = 32;

// A notice when the text names a version other than `ownVersion` and a second line with an
// http or https address of a plain host name or IPv4 address (no user part, nothing
// percent-encoded in the host); spaces in the address are percent-encoded. Nothing otherwise:
// any other kind of address (a local file, a program, mail) is never offered for opening.
std::optional<UpdateNotice> ReadUpdateNotice(const QByteArray& text, const QString& ownVersion);

}  // namespace velkaro
