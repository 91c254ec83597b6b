#include "app/locale_text.h"

#include <langinfo.h>

namespace velkaro {
namespace {

QStringDecoder MakeDecoder(const QByteArray& charset) {
    // A byte order mark from the printer is data too: keep it visible.
    const auto flags = QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decoder(charset.constData(), flags);
    if (!decoder.isValid()) decoder = QStringDecoder(QStringConverter::Utf8, flags);
    return decoder;
}

}  // namespace

QByteArray LocaleCharset() {
    const char* codeset = ::nl_langinfo(CODESET);
    QByteArray name = codeset ? QByteArray(codeset) : QByteArray();
    // The C locale reports ASCII; treat it as UTF-8, which agrees on every ASCII byte.
    if (name.isEmpty() || name == "ANSI_X3.4-1968" || name == "ASCII") return "UTF-8";
    if (!QStringDecoder(name.constData()).isValid()) return "UTF-8";
    return name;
}

QByteArray EncodeForPrinter(const QString& text, const QByteArray& charset) {
    QStringEncoder encoder(charset.constData());
    if (!encoder.isValid()) encoder = QStringEncoder(QStringConverter::Utf8);
    return encoder.encode(text);
}

ReceivedTextDecoder::ReceivedTextDecoder(const QByteArray& charset)
    : charset_(charset), decoder_(MakeDecoder(charset)) {}

void ReceivedTextDecoder::Reset() {
    decoder_ = MakeDecoder(charset_);
    afterCR_ = false;
}

QString ReceivedTextDecoder::Decode(const char* data, qsizetype size) {
    const QString decoded = decoder_.decode(QByteArrayView(data, size));
    QString out;
    out.reserve(decoded.size());
    for (QChar c : decoded) {
        const char16_t u = c.unicode();
        if (u == u'\n') {
            if (!afterCR_) out += QLatin1Char('\n');  // the LF of CR LF ended its line already
            afterCR_ = false;
            continue;
        }
        afterCR_ = u == u'\r';
        if (u == u'\r')
            out += QLatin1Char('\n');
        else if (u == u'\t')
            out += c;
        else if (u < 0x20)
            out += QChar(char16_t(0x2400 + u));
        else if (u == 0x7F)
            out += QChar(char16_t(0x2421));
        else
            out += c;
    }
    return out;
}

}  // namespace velkaro
