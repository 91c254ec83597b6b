// The character sets the window offers for text to and from the printer. One choice serves
// both directions: what is typed goes out in it, byte for byte, and replies are shown in it.
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

namespace velkaro {

struct TextEncoding {
    QByteArray name;  // as the converters know it
    QString label;    // as the menus show it
};

// UTF-8, GB18030 (which covers GBK and GB2312), Big5, Shift-JIS and Windows-1252 (Latin-1).
const std::vector<TextEncoding>& TextEncodings();

// GB18030 under a Chinese locale, where printers carry GB fonts; UTF-8 otherwise.
QByteArray DefaultTextEncoding(const QLocale& locale = QLocale::system());

// The text in `charset`, exactly. When the set cannot represent a character, nothing: the first
// such character goes to `unencodable` (a whole code point).
std::optional<QByteArray> EncodeExactly(const QString& text, const QByteArray& charset,
                                        QString* unencodable);

// The refusal shown when a text cannot be sent in `charset`.
QString UnencodableMessage(const QString& character, const QByteArray& charset);

}  // namespace velkaro
