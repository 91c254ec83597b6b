#include "app/receive_find_bar.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <cctype>

#include "app/locale_text.h"
#include "app/receive_view.h"

namespace velkaro {
namespace {

// "02 30 2C" or "02302c" as bytes; false when it is not whole hexadecimal bytes.
bool ParseHexBytes(const QString& text, QByteArray* bytes) {
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    if (digits.size() % 2 != 0) return false;
    for (const QChar c : digits)
        if (!std::isxdigit(c.unicode() < 128 ? c.toLatin1() : 'g')) return false;
    *bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

}  // namespace

ReceiveFindBar::ReceiveFindBar(ReceiveView& view)
    : QWidget(&view),
      view_(view),
      query_(new QLineEdit(this)),
      hex_(new QCheckBox(QCoreApplication::translate("velkaro::ReceiveFindBar", "十六进制字节(&X)"),
                         this)),
      count_(new QLabel(this)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    query_->setAccessibleName(QCoreApplication::translate("velkaro::ReceiveFindBar", "查找内容"));
    query_->installEventFilter(this);
    auto* previous =
        new QPushButton(QCoreApplication::translate("velkaro::ReceiveFindBar", "上一个(&P)"), this);
    auto* next =
        new QPushButton(QCoreApplication::translate("velkaro::ReceiveFindBar", "下一个(&N)"), this);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setAccessibleName(QCoreApplication::translate("velkaro::ReceiveFindBar", "关闭查找"));
    for (QPushButton* button : {previous, next}) button->setAutoDefault(false);
    count_->setAccessibleName(QCoreApplication::translate("velkaro::ReceiveFindBar", "匹配数"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    auto* label =
        new QLabel(QCoreApplication::translate("velkaro::ReceiveFindBar", "查找(&F):"), this);
    label->setBuddy(query_);
    row->addWidget(label);
    row->addWidget(query_, 1);
    row->addWidget(hex_);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(count_);
    row->addWidget(close);
    connect(query_, &QLineEdit::textChanged, this, [this] { Search(); });
    connect(hex_, &QCheckBox::toggled, this, [this] { Search(); });
    connect(previous, &QPushButton::clicked, this, [this] { Step(true); });
    connect(next, &QPushButton::clicked, this, [this] { Step(false); });
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void ReceiveFindBar::Open() {
    show();
    view_.SetBottomMargin(sizeHint().height());
    Place();
    raise();
    query_->setFocus(Qt::ShortcutFocusReason);
    query_->selectAll();
    Refresh();
}

void ReceiveFindBar::Place() {
    if (!isVisible()) return;
    const QRect rows = view_.viewport()->geometry();
    setGeometry(rows.left(), rows.bottom() + 1, rows.width(), sizeHint().height());
}

void ReceiveFindBar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    view_.SetBottomMargin(0);
    view_.setFocus(Qt::OtherFocusReason);
}

bool ReceiveFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == query_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Step(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ReceiveFindBar::Search() {
    QByteArray needle;
    badHex_ = false;
    if (hex_->isChecked())
        badHex_ = !ParseHexBytes(query_->text(), &needle);
    else
        needle = EncodeForPrinter(query_->text(), view_.Charset());
    view_.SetSearch(badHex_ ? QByteArray() : needle);
    view_.FindNext();
    Refresh();
}

void ReceiveFindBar::Step(bool backward) {
    view_.FindNext(backward);
    Refresh();
}

void ReceiveFindBar::Refresh() {
    const int count = view_.MatchCount();
    if (badHex_)
        count_->setText(QCoreApplication::translate("velkaro::ReceiveFindBar", "十六进制有误"));
    else if (query_->text().isEmpty())
        count_->clear();
    else if (count == 0)
        count_->setText(QCoreApplication::translate("velkaro::ReceiveFindBar", "无匹配"));
    else
        count_->setText(QStringLiteral("%1/%2%3")
                            .arg(view_.CurrentMatch() + 1)
                            .arg(count)
                            .arg(std::size_t(count) >= ReceiveView::kMaxMatches ? "+" : ""));
}

}  // namespace velkaro
