#include "app/receive_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include "app/receive_accessible.h"
#include "app/receive_find_bar.h"
#include "app/receive_menu.h"
#include "platform/hex_dump.h"
#include "window_services/ui_services.h"

namespace velkaro {
namespace {

constexpr int kMargin = 4;
constexpr int kRepaintIntervalMs = 16;
const QColor kSentColour(0, 80, 200);
const QColor kTypedColour(0, 120, 60);
const QColor kPrefixColour(128, 128, 128);
const QColor kMatchColour(255, 230, 80);

std::int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// The bytes of a text row without the line break that ends it.
std::uint64_t TextEnd(const ByteStream& stream, const ReceiveRow& row) {
    std::uint64_t end = row.end;
    if (end > row.begin && stream.At(end - 1) == '\n') --end;
    if (end > row.begin && stream.At(end - 1) == '\r') --end;
    return end;
}

// Where byte `index` (0..15) of a hexadecimal row appears: its hex digits and its character.
int HexColumn(std::size_t index) {
    return 10 + 3 * static_cast<int>(index) + (index >= kHexDumpBytesPerLine / 2 ? 1 : 0);
}
int CharColumn(std::size_t index) {
    return 10 + 3 * static_cast<int>(kHexDumpBytesPerLine) + 2 + static_cast<int>(index);
}

}  // namespace

ReceiveView::ReceiveView(IUiServices& ui, const QByteArray& charset, QWidget* parent)
    : QAbstractScrollArea(parent), ui_(ui), charset_(charset) {
    InstallReceiveViewAccessibility();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    updateTimer_.setSingleShot(true);
    updateTimer_.setInterval(kRepaintIntervalMs);
    connect(&updateTimer_, &QTimer::timeout, this, [this] { Flush(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { followEnd_ = value == verticalScrollBar()->maximum(); });
}

ReceiveView::~ReceiveView() = default;

ReceiveView* ReceiveView::ReplaceEdit(QWidget* edit, IUiServices& ui, const QByteArray& charset) {
    QWidget* parent = edit->parentWidget();
    auto* view = new ReceiveView(ui, charset, parent);
    // The hexadecimal dump needs a font whose characters all have one width.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(edit->font().pointSizeF());
    view->setFont(fixed);
    view->setObjectName(edit->objectName());
    view->setAccessibleName(edit->accessibleName());
    view->setGeometry(edit->geometry());
    for (QLabel* label : parent->findChildren<QLabel*>())
        if (label->buddy() == edit) label->setBuddy(view);
    view->stackUnder(edit);
    QWidget::setTabOrder(edit, view);
    edit->setObjectName(QString());
    delete edit;
    return view;
}

void ReceiveView::Append(const char* data, qsizetype size) {
    if (size <= 0) return;
    if (logFile_ && logFile_->write(data, size) != size) {
        StopLog();
        ui_.MessageBox(
            this,
            QCoreApplication::translate("velkaro::ReceiveView", "写入记录文件失败，记录已停止！"),
            IUiServices::Icon::Error);
    }
    typedSizes_.clear();
    log_.Append(ReceiveKind::Received, data, static_cast<std::size_t>(size), NowMs());
    Changed();
}

void ReceiveView::AppendSent(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    typedSizes_.clear();
    log_.Append(ReceiveKind::Sent, bytes.constData(), static_cast<std::size_t>(bytes.size()),
                NowMs());
    Changed();
}

void ReceiveView::AppendTyped(const QString& text) {
    const QByteArray bytes = EncodeForPrinter(text, charset_);
    if (bytes.isEmpty()) return;
    // Each character's bytes, so that Backspace takes back a whole character.
    for (int i = 0; i < text.size(); ++i) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        typedSizes_.push_back(
            static_cast<int>(EncodeForPrinter(text.mid(i, length), charset_).size()));
        i += length - 1;
    }
    log_.Append(ReceiveKind::Typed, bytes.constData(), static_cast<std::size_t>(bytes.size()),
                NowMs());
    followEnd_ = true;
    Changed();
}

void ReceiveView::Clear() {
    log_.Clear();
    typedSizes_.clear();
    anchorRow_ = cursorRow_ = SIZE_MAX;
    matches_.clear();
    current_ = -1;
    widest_ = 0;
    followEnd_ = true;
    Flush();
    if (findBar_) findBar_->Refresh();
}

void ReceiveView::Changed() {
    ++textVersion_;
    if (!updateTimer_.isActive()) updateTimer_.start();
}

void ReceiveView::Flush() {
    ++textVersion_;
    updateTimer_.stop();
    UpdateScrollBars();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, QVariant());
        QAccessible::updateAccessibility(&event);
    }
}

void ReceiveView::SetCharset(const QByteArray& charset) {
    charset_ = charset;
    matchesGeneration_ = 0;  // a text search means other bytes now
    widest_ = 0;
    Flush();
}

void ReceiveView::SetHex(bool hex) {
    log_.SetHex(hex);
    anchorRow_ = cursorRow_ = SIZE_MAX;
    widest_ = 0;
    followEnd_ = true;
    Flush();
}

void ReceiveView::SetTimestamps(bool on) {
    timestamps_ = on;
    widest_ = 0;
    Flush();
}

void ReceiveView::SetShowSent(bool on) {
    log_.SetShowSent(on);
    anchorRow_ = cursorRow_ = SIZE_MAX;
    followEnd_ = true;
    Flush();
}

void ReceiveView::SetCap(quint64 bytes) {
    log_.SetCap(bytes);
    Flush();
}

bool ReceiveView::SaveReceived(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const ByteStream& stream = log_.Stream(ReceiveKind::Received);
    for (std::uint64_t at = stream.Begin(); at < stream.End(); at += ByteStream::kBlockSize) {
        const std::string bytes = stream.Bytes(at, at + ByteStream::kBlockSize);
        if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
            return false;
    }
    return file.flush();
}

bool ReceiveView::StartLog(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: what arrived is on disk at once, whatever happens to the program later.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return false;
    logFile_ = std::move(file);
    return true;
}

void ReceiveView::StopLog() {
    logFile_.reset();
}

QString ReceiveView::DecodeRowText(const ReceiveRow& row, ReceivedTextDecoder& decoder) const {
    const ByteStream& stream = log_.Stream(row.kind);
    const std::string bytes = stream.Bytes(row.begin, TextEnd(stream, row));
    return decoder.Decode(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

ReceiveView::Shown ReceiveView::Display(std::size_t index, ReceivedTextDecoder& decoder) const {
    Shown shown;
    const ReceiveRow row = log_.Row(index);
    if (row.type == ReceiveRow::Type::DroppedNote) {
        shown.text = QCoreApplication::translate("velkaro::ReceiveView",
                                                 "[为限制内存，已从视图顶部移除较早的 %1 字节]")
                         .arg(log_.Dropped());
        return shown;
    }
    shown.kind = static_cast<int>(row.kind);
    const ByteStream& stream = log_.Stream(row.kind);
    if (timestamps_ && row.end > row.begin) {
        shown.prefix = QLatin1Char('[') +
                       QDateTime::fromMSecsSinceEpoch(stream.TimeAt(row.begin))
                           .toString(QStringLiteral("HH:mm:ss.zzz")) +
                       QStringLiteral("] ");
    }
    if (row.kind == ReceiveKind::Sent)
        shown.prefix += QCoreApplication::translate("velkaro::ReceiveView", "发→ ");
    if (row.type == ReceiveRow::Type::Hex) {
        const std::string bytes = stream.Bytes(row.begin, row.end);
        shown.text = QString::fromLatin1(HexDumpLine(
            row.begin, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    } else {
        shown.text = DecodeRowText(row, decoder);
    }
    return shown;
}

QString ReceiveView::RowText(std::size_t row) const {
    ReceivedTextDecoder decoder(charset_);
    const Shown shown = Display(row, decoder);
    return shown.prefix + shown.text;
}

QString ReceiveView::toPlainText() const {
    QString text;
    ReceivedTextDecoder decoder(charset_);
    int lastKind = -2;
    for (std::size_t i = 0, rows = log_.RowCount(); i < rows; ++i) {
        const ReceiveRow row = log_.Row(i);
        // One decoder per run of rows of one kind: a display break may split nothing.
        const int kind = row.type == ReceiveRow::Type::DroppedNote ? -1 : int(row.kind);
        if (kind != lastKind) decoder.Reset();
        lastKind = kind;
        if (i > 0 && !row.continuesLine) text += QLatin1Char('\n');
        const Shown shown = Display(i, decoder);
        text += shown.prefix;
        text += shown.text;
    }
    return text;
}

const QString& ReceiveView::CachedText() const {
    if (cachedVersion_ != textVersion_) {
        cachedText_ = toPlainText();
        cachedVersion_ = textVersion_;
    }
    return cachedText_;
}

std::size_t ReceiveView::TopRow() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

int ReceiveView::RowsInView() const {
    return std::max(1, viewport()->height() / fontMetrics().lineSpacing());
}

void ReceiveView::UpdateScrollBars() {
    const int rows = static_cast<int>(std::min<std::size_t>(log_.RowCount(), INT_MAX));
    const int inView = RowsInView();
    const bool follow = followEnd_;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rows - inView));
    bar->setPageStep(inView);
    bar->setSingleStep(1);
    if (follow) bar->setValue(bar->maximum());
    followEnd_ = follow || bar->value() == bar->maximum();
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, widest_ + 2 * kMargin - viewport()->width()));
    across->setPageStep(viewport()->width());
    across->setSingleStep(fontMetrics().averageCharWidth() * 4);
}

void ReceiveView::ScrollToRow(std::size_t row) {
    const std::size_t top = TopRow();
    const std::size_t inView = static_cast<std::size_t>(RowsInView());
    if (row < top || row >= top + inView) {
        const std::size_t target = row > inView / 2 ? row - inView / 2 : 0;
        verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(target, INT_MAX)));
    }
    viewport()->update();
}

std::size_t ReceiveView::RowAt(int y) const {
    const std::size_t row = TopRow() + static_cast<std::size_t>(std::max(0, y)) /
                                           static_cast<std::size_t>(fontMetrics().lineSpacing());
    return std::min(row, log_.RowCount() > 0 ? log_.RowCount() - 1 : 0);
}

void ReceiveView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int left = kMargin - horizontalScrollBar()->value();
    const std::size_t rows = log_.RowCount();
    const std::size_t selectFrom = std::min(anchorRow_, cursorRow_);
    const std::size_t selectTo = std::max(anchorRow_, cursorRow_);
    const QPalette& colours = palette();
    ReceivedTextDecoder decoder(charset_);
    const int widestBefore = widest_;
    int y = 0;
    for (std::size_t i = TopRow(); i < rows && y < viewport()->height(); ++i, y += lineHeight) {
        decoder.Reset();
        const Shown shown = Display(i, decoder);
        const bool selected = anchorRow_ != SIZE_MAX && i >= selectFrom && i <= selectTo;
        if (selected)
            painter.fillRect(QRect(0, y, viewport()->width(), lineHeight),
                             colours.brush(QPalette::Highlight));
        const QRect line(left, y, 1 << 22, lineHeight);
        int x = left;
        if (!shown.prefix.isEmpty()) {
            painter.setPen(selected ? colours.color(QPalette::HighlightedText) : kPrefixColour);
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, shown.prefix);
            x += metrics.horizontalAdvance(shown.prefix);
        }
        if (!matches_.empty() && current_ >= 0) PaintMatch(painter, log_.Row(i), shown, x, y);
        QColor colour = colours.color(QPalette::Text);
        if (shown.kind == int(ReceiveKind::Sent)) colour = kSentColour;
        if (shown.kind == int(ReceiveKind::Typed)) colour = kTypedColour;
        if (shown.kind < 0) colour = kPrefixColour;
        if (selected) colour = colours.color(QPalette::HighlightedText);
        painter.setPen(colour);
        QRect used;
        painter.drawText(line.adjusted(x - left, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs, shown.text, &used);
        widest_ = std::max(widest_, used.right() - left);
    }
    if (widest_ > widestBefore) QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
}

void ReceiveView::PaintMatch(QPainter& painter, const ReceiveRow& row, const Shown& shown, int x,
                             int y) {
    const ReceiveMatch& match = matches_[static_cast<std::size_t>(current_)];
    const std::uint64_t matchEnd = match.offset + static_cast<std::uint64_t>(needle_.size());
    if (row.type == ReceiveRow::Type::DroppedNote || match.kind != row.kind ||
        matchEnd <= row.begin || match.offset >= row.end)
        return;
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.lineSpacing();
    auto mark = [&](const QString& before, const QString& marked) {
        painter.fillRect(QRect(x + metrics.horizontalAdvance(before), y,
                               std::max(2, metrics.horizontalAdvance(marked)), height),
                         kMatchColour);
    };
    const std::uint64_t from = std::max(match.offset, row.begin);
    const std::uint64_t to = std::min(matchEnd, row.end);
    if (row.type == ReceiveRow::Type::Hex) {
        for (std::uint64_t at = from; at < to; ++at) {
            const std::size_t index = at - row.begin;
            mark(shown.text.left(HexColumn(index)), shown.text.mid(HexColumn(index), 2));
            mark(shown.text.left(CharColumn(index)), shown.text.mid(CharColumn(index), 1));
        }
        return;
    }
    const ByteStream& stream = log_.Stream(row.kind);
    ReceivedTextDecoder decoder(charset_);
    const std::string head = stream.Bytes(row.begin, from);
    const QString before = decoder.Decode(head.data(), static_cast<qsizetype>(head.size()));
    const std::string body = stream.Bytes(from, std::min(to, TextEnd(stream, row)));
    mark(before, decoder.Decode(body.data(), static_cast<qsizetype>(body.size())));
}

void ReceiveView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (findBar_) findBar_->Place();
    UpdateScrollBars();
}

void ReceiveView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ReceiveView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Find)) {
        ShowFindBar();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        anchorRow_ = 0;
        cursorRow_ = log_.RowCount() > 0 ? log_.RowCount() - 1 : 0;
        viewport()->update();
        return;
    }
    if (event->matches(QKeySequence::FindNext) || event->matches(QKeySequence::FindPrevious)) {
        FindNext(event->matches(QKeySequence::FindPrevious));
        if (findBar_) findBar_->Refresh();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        AppendTyped(QApplication::clipboard()->text());
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return;
        case Qt::Key_Home:
            if (event->modifiers() & Qt::ControlModifier) bar->setValue(0);
            return;
        case Qt::Key_End:
            if (event->modifiers() & Qt::ControlModifier) bar->setValue(bar->maximum());
            return;
        case Qt::Key_Escape:
            if (findBar_ && findBar_->isVisible()) {
                findBar_->hide();
                return;
            }
            break;
        case Qt::Key_Backspace:
            if (!typedSizes_.empty() &&
                log_.EraseTyped(static_cast<std::size_t>(typedSizes_.back()))) {
                typedSizes_.pop_back();
                Changed();
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            AppendTyped(QStringLiteral("\n"));
            return;
        default:
            break;
    }
    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && !(event->modifiers() & Qt::ControlModifier) &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    if (printable) {
        AppendTyped(text);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ReceiveView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    const std::size_t row = RowAt(event->position().toPoint().y());
    if (!(event->modifiers() & Qt::ShiftModifier) || anchorRow_ == SIZE_MAX) anchorRow_ = row;
    cursorRow_ = row;
    viewport()->update();
}

void ReceiveView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || anchorRow_ == SIZE_MAX) return;
    cursorRow_ = RowAt(event->position().toPoint().y());
    viewport()->update();
}

void ReceiveView::CopySelection() const {
    if (anchorRow_ == SIZE_MAX) return;
    QString text;
    ReceivedTextDecoder decoder(charset_);
    const std::size_t to = std::min(std::max(anchorRow_, cursorRow_), log_.RowCount() - 1);
    for (std::size_t i = std::min(anchorRow_, cursorRow_); i <= to; ++i) {
        if (!text.isEmpty() && !log_.Row(i).continuesLine) text += QLatin1Char('\n');
        decoder.Reset();
        const Shown shown = Display(i, decoder);
        text += shown.prefix + shown.text;
    }
    QApplication::clipboard()->setText(text);
}

void ReceiveView::contextMenuEvent(QContextMenuEvent* event) {
    PopupReceiveMenu(*this, ui_, event->globalPos(), menuExtension_);
}

void ReceiveView::PopupMenu(const QPoint& at) {
    PopupReceiveMenu(*this, ui_, mapToGlobal(at), menuExtension_);
}

void ReceiveView::SetSearch(const QByteArray& needle) {
    needle_ = needle;
    matches_ = log_.Find(needle.toStdString(), kMaxMatches);
    matchesGeneration_ = log_.Generation();
    current_ = -1;
    viewport()->update();
}

bool ReceiveView::FindNext(bool backward) {
    if (needle_.isEmpty()) return false;
    if (matchesGeneration_ != log_.Generation()) {  // new data, or another layout
        const bool had = current_ >= 0;
        const ReceiveMatch last = had ? matches_[std::size_t(current_)] : ReceiveMatch{};
        SetSearch(needle_);
        for (std::size_t i = 0; had && i < matches_.size(); ++i)
            if (matches_[i].kind == last.kind && matches_[i].offset == last.offset)
                current_ = static_cast<int>(i);
    }
    if (matches_.empty()) return false;
    const int count = MatchCount();
    if (current_ < 0)
        current_ = backward ? count - 1 : 0;
    else
        current_ = (current_ + (backward ? count - 1 : 1)) % count;
    const ReceiveMatch& match = matches_[std::size_t(current_)];
    followEnd_ = false;
    ScrollToRow(log_.RowOf(match.kind, match.offset));
    return true;
}

ReceiveFindBar* ReceiveView::FindBar() {
    if (!findBar_) findBar_ = new ReceiveFindBar(*this);
    return findBar_;
}

void ReceiveView::ShowFindBar() {
    FindBar()->Open();
}

}  // namespace velkaro
