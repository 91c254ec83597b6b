#include "support/update_notice.h"

#include <QUrl>

namespace velkaro {

std::optional<UpdateNotice> ReadUpdateNotice(const QByteArray& text, const QString& ownVersion) {
    const qsizetype firstEnd = text.indexOf("\r\n");
    if (firstEnd < 0) return std::nullopt;
    const QString version = QString::fromUtf8(text.left(firstEnd));
    if (version == ownVersion) return std::nullopt;
    const QByteArray rest = text.mid(firstEnd + 2);
    const qsizetype secondEnd = rest.indexOf("\r\n");
    if (secondEnd < 0) return std::nullopt;
    const QString link = QString::fromUtf8(rest.left(secondEnd));
    const QUrl url(link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return UpdateNotice{version, link};
}

}  // namespace velkaro
