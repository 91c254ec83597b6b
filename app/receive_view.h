// The receive box's text store. Deliveries are decoded and queued, and the queued text is
// inserted at the end of the box once per turn of the event loop, so a delivery costs the same
// however much was received before, and text the user typed into the box stays. The view
// follows the end.
#pragma once

#include <QObject>
#include <QString>

#include "app/locale_text.h"

class QPlainTextEdit;

namespace velkaro {

class ReceiveView : public QObject {
  public:
    ReceiveView(QPlainTextEdit* box, const QByteArray& charset);

    void Append(const char* data, qsizetype size);
    void Clear();
    // Decodes what arrives from now on in `charset`.
    void SetCharset(const QByteArray& charset);
    // Inserts what is queued now (the event loop does it by itself).
    void Flush();
    qsizetype QueuedChars() const { return queued_.size(); }

  private:
    QPlainTextEdit* box_;
    ReceivedTextDecoder decoder_;
    QString queued_;
    bool flushScheduled_ = false;
};

}  // namespace velkaro
