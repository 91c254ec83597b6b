// The receive box: what the printer sent back, as text or as a hexadecimal dump, optionally
// with the local time of each line and with what the window sent, in a distinct colour. The
// bytes live in a ReceiveLog; the box paints only the rows in view, at most every 16 ms, so a
// delivery costs the same however much was received before, and memory stays within the
// view's cap. Text the user types into the box is kept among the rows. An assistive tool
// reads the box as an editable text.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/locale_text.h"
#include "app/receive_menu.h"
#include "platform/receive_log.h"

namespace velkaro {

class IUiServices;
class ReceiveFindBar;

class ReceiveView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr std::size_t kMaxMatches = 100000;

    ReceiveView(IUiServices& ui, const QByteArray& charset, QWidget* parent = nullptr);
    ~ReceiveView() override;
    // Puts a receive view in the place of a dialog template's edit control, taking over its
    // name, geometry, label and tab order; the edit is deleted.
    static ReceiveView* ReplaceEdit(QWidget* edit, IUiServices& ui, const QByteArray& charset);

    // Bytes from the printer; written to the log file at once when logging.
    void Append(const char* data, qsizetype size);
    // Bytes the window handed to the port.
    void AppendSent(const QByteArray& bytes);
    void Clear();
    // Brings the scroll bars and the painted rows up to date now (a timer does it by itself).
    void Flush();
    // The character set of the text view; what is shown is decoded again.
    void SetCharset(const QByteArray& charset);
    const QByteArray& Charset() const { return charset_; }

    void SetHex(bool hex);
    void SetTimestamps(bool on);
    void SetShowSent(bool on);
    void SetCap(quint64 bytes);
    bool Hex() const { return log_.Hex(); }
    bool Timestamps() const { return timestamps_; }
    bool ShowSent() const { return log_.ShowSent(); }
    quint64 Cap() const { return log_.Cap(); }
    const ReceiveLog& Log() const { return log_; }

    // Writes the received bytes the view holds, exactly as they came; false on failure.
    bool SaveReceived(const QString& path) const;
    // Appends every byte received from now on to `path` until stopped; false when it cannot
    // be opened.
    bool StartLog(const QString& path);
    void StopLog();
    bool Logging() const { return logFile_ != nullptr; }

    // Everything shown, rows joined by line ends, as an assistive tool reads it.
    QString toPlainText() const;
    // The same, kept until the shown text changes: assistive tools ask for it piece by piece.
    const QString& CachedText() const;
    QString RowText(std::size_t row) const;

    // Searching the shown bytes: text in the view's character set, or bytes.
    void SetSearch(const QByteArray& needle);
    // Moves to the next (or previous) match and scrolls it into view; false when none.
    bool FindNext(bool backward = false);
    int MatchCount() const { return static_cast<int>(matches_.size()); }
    int CurrentMatch() const { return current_; }  // -1 before the first move
    ReceiveFindBar* FindBar();
    void ShowFindBar();

    // Room under the rows for the find bar.
    void SetBottomMargin(int pixels) { setViewportMargins(0, 0, 0, pixels); }
    // The window's own items at the end of the context menu.
    void SetMenuExtension(ReceiveMenuExtension extension) { menuExtension_ = std::move(extension); }
    // Pops up the context menu at `at` (in the view's coordinates).
    void PopupMenu(const QPoint& at);
    std::size_t TopRow() const;
    int RowsInView() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    struct Shown {
        QString prefix;  // time stamp and direction mark
        QString text;
        int kind = -1;  // ReceiveKind, or -1 for the note on dropped data
    };
    Shown Display(std::size_t row, ReceivedTextDecoder& decoder) const;
    QString DecodeRowText(const ReceiveRow& row, ReceivedTextDecoder& decoder) const;
    void AppendTyped(const QString& text);
    void Changed();
    void UpdateScrollBars();
    void ScrollToRow(std::size_t row);
    std::size_t RowAt(int y) const;
    void CopySelection() const;
    void PaintMatch(QPainter& painter, const ReceiveRow& row, const Shown& shown, int x, int y);

    IUiServices& ui_;
    ReceiveMenuExtension menuExtension_;
    QByteArray charset_;
    ReceiveLog log_;
    bool timestamps_ = false;
    bool followEnd_ = true;
    QTimer updateTimer_;
    int widest_ = 0;
    std::unique_ptr<QFile> logFile_;
    std::vector<int> typedSizes_;  // bytes of each character typed since the last delivery
    // Selected rows, anchor and moving end; none while anchor is past the end.
    std::size_t anchorRow_ = SIZE_MAX;
    std::size_t cursorRow_ = SIZE_MAX;
    QByteArray needle_;
    std::vector<ReceiveMatch> matches_;
    std::uint64_t matchesGeneration_ = 0;
    int current_ = -1;
    ReceiveFindBar* findBar_ = nullptr;
    std::uint64_t textVersion_ = 1;  // changes with anything that changes the shown text
    mutable std::uint64_t cachedVersion_ = 0;
    mutable QString cachedText_;
};

}  // namespace velkaro
