// Text to and from the printer in a named character set (the one chosen under "发送编码" /
// "显示编码"): encoding typed text and decoding replies that arrive in pieces.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace velkaro {

QByteArray EncodeForPrinter(const QString& text, const QByteArray& charset);

// Decodes a byte stream delivered in pieces: a character split across two pieces comes out
// whole. Every received byte becomes visible: control bytes other than TAB and the line
// breaks show as their Unicode control pictures (NUL as U+2400, STX as U+2402, DEL as U+2421),
// and CR LF, a lone LF and a lone CR each end a line ("\n" in the result).
class ReceivedTextDecoder {
  public:
    explicit ReceivedTextDecoder(const QByteArray& charset);
    QString Decode(const char* data, qsizetype size);
    void Reset();

  private:
    QByteArray charset_;
    QStringDecoder decoder_;
    bool afterCR_ = false;
};

}  // namespace velkaro
