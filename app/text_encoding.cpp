#include "app/text_encoding.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringEncoder>

namespace velkaro {
namespace {

// Encodes and decodes back: a character the set lacks comes back as a substitute (or sets the
// error flag), so the round trip tells whether the bytes mean the text.
bool RoundTrips(QStringView text, const QByteArray& charset, QByteArray* bytes) {
    QStringEncoder encoder(charset.constData(), QStringConverter::Flag::Stateless);
    QStringDecoder decoder(charset.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid() || !decoder.isValid()) return false;
    *bytes = encoder.encode(text);
    if (encoder.hasError()) return false;
    const QString back = decoder.decode(*bytes);
    return !decoder.hasError() && back == text;
}

}  // namespace

const std::vector<TextEncoding>& TextEncodings() {
    static const std::vector<TextEncoding> encodings{
        {"UTF-8", QStringLiteral("UTF-8")},
        {"GB18030", QStringLiteral("GB18030 (GBK/GB2312)")},
        {"Big5", QStringLiteral("Big5")},
        {"Shift_JIS", QStringLiteral("Shift-JIS")},
        {"windows-1252", QStringLiteral("Windows-1252 (Latin-1)")},
    };
    return encodings;
}

QByteArray DefaultTextEncoding(const QLocale& locale) {
    return locale.language() == QLocale::Chinese ? "GB18030" : "UTF-8";
}

std::optional<QByteArray> EncodeExactly(const QString& text, const QByteArray& charset,
                                        QString* unencodable) {
    QByteArray bytes;
    if (RoundTrips(text, charset, &bytes)) return bytes;
    // Find the culprit, one code point at a time.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        QByteArray ignored;
        if (!RoundTrips(QStringView(text).mid(i, length), charset, &ignored)) {
            if (unencodable) *unencodable = text.mid(i, length);
            return std::nullopt;
        }
        i += length;
    }
    if (unencodable) unencodable->clear();
    return std::nullopt;  // every character alone is fine, only not the whole: refuse anyway
}

QString UnencodableMessage(const QString& character, const QByteArray& charset) {
    QString label = QString::fromLatin1(charset);
    for (const TextEncoding& encoding : TextEncodings())
        if (encoding.name == charset) label = encoding.label;
    const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
    const QString hex = QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'));
    return QCoreApplication::translate("velkaro::TextEncoding",
                                       "字符“%1”（U+%2）无法用发送编码 %3 表示，没有发送任何数据。")
        .arg(character, hex.toUpper(), label);
}

}  // namespace velkaro
