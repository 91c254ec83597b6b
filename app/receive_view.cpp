#include "app/receive_view.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

namespace velkaro {

ReceiveView::ReceiveView(QPlainTextEdit* box, const QByteArray& charset)
    : QObject(box), box_(box), decoder_(charset) {
    // An undo history of everything received would double the memory the box needs.
    box->setUndoRedoEnabled(false);
}

void ReceiveView::Append(const char* data, qsizetype size) {
    queued_ += decoder_.Decode(data, size);
    if (!flushScheduled_ && !queued_.isEmpty()) {
        flushScheduled_ = true;
        QTimer::singleShot(0, this, [this] { Flush(); });
    }
}

void ReceiveView::Clear() {
    queued_.clear();
    decoder_.Reset();
    box_->clear();
}

void ReceiveView::SetCharset(const QByteArray& charset) {
    decoder_ = ReceivedTextDecoder(charset);
}

void ReceiveView::Flush() {
    flushScheduled_ = false;
    if (queued_.isEmpty()) return;
    QTextCursor end(box_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(queued_);
    queued_.clear();
    QScrollBar* bar = box_->verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace velkaro
