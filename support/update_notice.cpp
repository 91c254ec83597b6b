#include "support/update_notice.h"

#include <QUrl>

namespace velkaro {
namespace {

// Control and format characters (a right-to-left override among them) would let the server
// disguise the text; they are dropped, and the rest is cut to a length the status line holds.
QString ShownVersion(const QString& raw) {
    QString shown;
    for (const QChar c : raw) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format) continue;
        shown += c;
        if (shown.size() >= kMaxVersionChars) break;
    }
    if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
    return shown.trimmed();
}

bool IsPlainHost(const QString& host) {
    if (host.isEmpty()) return false;
    for (const QChar c : host) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('.') || c == QLatin1Char('-');
        if (!plain) return false;
    }
    return true;
}

}  // namespace

std::optional<UpdateNotice> ReadUpdateNotice(const QByteArray& text, const QString& ownVersion) {
    const qsizetype firstEnd = text.indexOf("\r\n");
    if (firstEnd < 0) return std::nullopt;
    const QString version = ShownVersion(QString::fromUtf8(text.left(firstEnd)));
    if (version.isEmpty() || version == ownVersion) return std::nullopt;
    const QByteArray rest = text.mid(firstEnd + 2);
    const qsizetype secondEnd = rest.indexOf("\r\n");
    if (secondEnd < 0) return std::nullopt;
    QString link = QString::fromUtf8(rest.left(secondEnd)).trimmed();
    link.replace(QLatin1Char(' '), QLatin1String("%20"));
    const QUrl url(link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    // The authority as written: a user part or an encoded host can make the link look like it
    // leads somewhere it does not.
    const QString host = url.host(QUrl::FullyEncoded);
    if (!url.userInfo().isEmpty() || !IsPlainHost(host) ||
        url.authority(QUrl::FullyEncoded).contains(QLatin1Char('%')))
        return std::nullopt;
    return UpdateNotice{version, url.toString(QUrl::FullyEncoded), host};
}

}  // namespace velkaro
