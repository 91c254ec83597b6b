#include "app/locale_text.h"

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
    QString text = decoder_.decode(QByteArrayView(data, size));
    // Rewritten in place: each character maps to at most one, except the LF of a CR LF pair,
    // which is dropped.
    QChar* out = text.data();
    const QChar* in = out;
    const QChar* const end = in + text.size();
    for (; in != end; ++in) {
        const char16_t u = in->unicode();
        if (u >= 0x20 && u != 0x7F) {
            afterCR_ = false;
            *out++ = *in;
            continue;
        }
        if (u == u'\n') {
            if (!afterCR_) *out++ = QLatin1Char('\n');  // the LF of CR LF ended its line already
            afterCR_ = false;
            continue;
        }
        afterCR_ = u == u'\r';
        if (u == u'\r')
            *out++ = QLatin1Char('\n');
        else if (u == u'\t')
            *out++ = *in;
        else
            *out++ = QChar(char16_t(u == 0x7F ? 0x2421 : 0x2400 + u));
    }
    text.truncate(out - text.constData());
    return text;
}

}  // namespace velkaro
