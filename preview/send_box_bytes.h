// The send box's text as the bytes "发送数据" sends (line breaks as CR LF, in the window's
// character set), and the way back from a byte range to the characters that produced it.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>

namespace velkaro {

class SendBoxBytes {
  public:
    SendBoxBytes(const QString& text, const QByteArray& charset);

    const std::string& Bytes() const { return m_bytes; }
    // The characters [*start, *end) of the text whose bytes overlap [offset, offset+length).
    void CharacterRange(std::size_t offset, std::size_t length, int* start, int* end) const;

  private:
    QString m_text;
    QByteArray m_charset;
    std::string m_bytes;
};

}  // namespace velkaro
