#include "preview/send_box_bytes.h"

#include <QStringEncoder>

namespace velkaro {
namespace {

QStringEncoder MakeEncoder(const QByteArray& charset) {
    QStringEncoder encoder(charset.constData());
    if (!encoder.isValid()) encoder = QStringEncoder(QStringConverter::Utf8);
    return encoder;
}

QString AsSent(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

}  // namespace

SendBoxBytes::SendBoxBytes(const QString& text, const QByteArray& charset)
    : m_text(text), m_charset(charset) {
    QStringEncoder encoder = MakeEncoder(charset);
    const QByteArray bytes = encoder.encode(AsSent(text));
    m_bytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SendBoxBytes::CharacterRange(std::size_t offset, std::size_t length, int* start,
                                  int* end) const {
    // Walk the text a character at a time, counting the bytes each one becomes.
    QStringEncoder encoder = MakeEncoder(m_charset);
    const std::size_t stop = offset + std::max<std::size_t>(length, 1);
    std::size_t bytes = 0;
    *start = -1;
    *end = static_cast<int>(m_text.size());
    int i = 0;
    while (i < m_text.size()) {
        const int width = m_text.at(i).isHighSurrogate() && i + 1 < m_text.size() ? 2 : 1;
        const QByteArray encoded = encoder.encode(AsSent(m_text.mid(i, width)));
        const std::size_t next = bytes + static_cast<std::size_t>(encoded.size());
        if (*start < 0 && next > offset) *start = i;
        if (next >= stop && *start >= 0) {
            *end = i + width;
            return;
        }
        bytes = next;
        i += width;
    }
    if (*start < 0) *start = static_cast<int>(m_text.size());
}

}  // namespace velkaro
