#include "status/printer_status_window.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "printer_language/printer_queries.h"
#include "status/status_summary.h"

namespace velkaro {

namespace pl = printer_language;

namespace {

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), utf8.size());
}

QColor ColorOf(pl::Severity severity) {
    switch (severity) {
        case pl::Severity::Error:
            return PrinterStatusWindow::kErrorColor;
        case pl::Severity::Warning:
            return PrinterStatusWindow::kWarningColor;
        case pl::Severity::Ok:
            break;
    }
    return {};
}

}  // namespace

PrinterStatusWindow::PrinterStatusWindow(SendFunction send, QWidget* parent)
    : QWidget(parent, Qt::Window), send_(std::move(send)) {
    setWindowTitle(tr("打印机状态"));
    setObjectName(QStringLiteral("PrinterStatusWindow"));
    BuildControls();
    OnLanguageChosen();
    ShowSummary(tr("尚无状态：请按“查询”"), pl::Severity::Ok);
}

void PrinterStatusWindow::BuildControls() {
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setAccessibleName(tr("状态摘要"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary_->setFocusPolicy(Qt::TabFocus);
    QFont bold = summary_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    summary_->setFont(bold);

    language_ = new QComboBox(this);
    language_->setObjectName(QStringLiteral("language"));
    language_->addItems({QStringLiteral("ZPL"), QStringLiteral("EPL"), QStringLiteral("CPCL"),
                         QStringLiteral("SGD")});
    language_->setAccessibleName(tr("语言"));
    auto* languageLabel = new QLabel(tr("语言(&L)："), this);
    languageLabel->setBuddy(language_);

    variable_ = new QLineEdit(this);
    variable_->setObjectName(QStringLiteral("variable"));
    variable_->setPlaceholderText(QStringLiteral("device.languages"));
    variable_->setAccessibleName(tr("SGD 变量"));
    auto* variableLabel = new QLabel(tr("SGD 变量(&V)："), this);
    variableLabel->setBuddy(variable_);

    query_ = new QPushButton(tr("查询"), this);
    query_->setObjectName(QStringLiteral("query"));
    query_->setAccessibleName(tr("查询"));
    query_->setDefault(true);
    query_->setAutoDefault(true);

    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName(QStringLiteral("fields"));
    table_->setAccessibleName(tr("状态字段"));
    table_->setHorizontalHeaderLabels({tr("名称"), tr("值"), tr("含义")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    auto* row = new QHBoxLayout;
    row->addWidget(languageLabel);
    row->addWidget(language_);
    row->addWidget(variableLabel);
    row->addWidget(variable_, 1);
    row->addWidget(query_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addLayout(row);
    layout->addWidget(table_, 1);
    setTabOrder(language_, variable_);
    setTabOrder(variable_, query_);
    setTabOrder(query_, table_);
    setTabOrder(table_, summary_);
    resize(560, 420);

    replyTimer_ = new QTimer(this);
    replyTimer_->setSingleShot(true);
    replyTimer_->setInterval(kReplyTimeoutMs);
    connect(replyTimer_, &QTimer::timeout, this, &PrinterStatusWindow::OnReplyTimeout);
    connect(query_, &QPushButton::clicked, this, &PrinterStatusWindow::Query);
    connect(variable_, &QLineEdit::returnPressed, this, &PrinterStatusWindow::Query);
    connect(language_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PrinterStatusWindow::OnLanguageChosen);
}

void PrinterStatusWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PrinterStatusWindow::SetLanguage(QueryLanguage language) {
    language_->setCurrentIndex(static_cast<int>(language));
}

void PrinterStatusWindow::SetSgdVariable(const QString& name) {
    variable_->setText(name);
}

void PrinterStatusWindow::SetReplyTimeout(int ms) {
    replyTimer_->setInterval(ms);
}

QString PrinterStatusWindow::Summary() const {
    return summary_->text();
}

void PrinterStatusWindow::OnLanguageChosen() {
    variable_->setEnabled(language_->currentIndex() == static_cast<int>(QueryLanguage::Sgd));
}

void PrinterStatusWindow::Query() {
    const auto language = static_cast<QueryLanguage>(language_->currentIndex());
    const std::string name = variable_->text().trimmed().toStdString();
    if (language == QueryLanguage::Sgd && name.empty()) {
        ShowSummary(tr("请输入 SGD 变量名"), pl::Severity::Warning);
        variable_->setFocus();
        return;
    }
    std::vector<std::string> queries;
    stream_.CancelExpected();
    switch (language) {
        case QueryLanguage::Zpl:  // framed replies: found without expecting them
            queries = {pl::kZplHostStatus, pl::kZplHostQueryStatus};
            break;
        case QueryLanguage::Epl:
            queries = {pl::kEplErrorReport};
            stream_.Expect(pl::ReplyKind::EplErrorReport);
            break;
        case QueryLanguage::Cpcl:
            queries = {pl::kCpclStatus};
            stream_.Expect(pl::ReplyKind::CpclStatus);
            break;
        case QueryLanguage::Sgd:
            queries = {pl::SgdGetvar(name)};
            stream_.Expect(pl::ReplyKind::SgdValue, name);
            break;
    }
    for (const std::string& query : queries) {
        if (!send_ || !send_(query)) {
            stream_.CancelExpected();
            ShowSummary(tr("端口未打开"), pl::Severity::Error);
            return;
        }
    }
    replies_.clear();
    Refresh();
    awaitingReply_ = true;
    ShowSummary(tr("正在查询…"), pl::Severity::Ok);
    replyTimer_->start();
}

void PrinterStatusWindow::Feed(const char* data, std::size_t size) {
    std::vector<pl::StatusReply> replies = stream_.Feed(std::string_view(data, size));
    if (replies.empty()) return;
    for (pl::StatusReply& reply : replies) Keep(std::move(reply));
    awaitingReply_ = false;
    Refresh();
}

void PrinterStatusWindow::OnReplyTimeout() {
    stream_.CancelExpected();
    if (!awaitingReply_) return;
    awaitingReply_ = false;
    ShowSummary(tr("无应答"), pl::Severity::Warning);
}

void PrinterStatusWindow::Keep(pl::StatusReply reply) {
    // A newer reply of a kind replaces the older one; other kinds stay beside it.
    const auto same = std::find_if(replies_.begin(), replies_.end(),
                                   [&](const auto& shown) { return shown.kind == reply.kind; });
    if (same != replies_.end())
        *same = std::move(reply);
    else
        replies_.push_back(std::move(reply));
}

void PrinterStatusWindow::Refresh() {
    table_->setRowCount(0);
    for (const pl::StatusReply& reply : replies_) {
        AddHeaderRow(reply);
        if (!reply.decoded)
            AddFieldRow(tr("原始应答"), Text(ReadableBytes(reply.raw)), tr("无法解码"),
                        pl::Severity::Ok);
        for (const pl::StatusField& field : reply.fields)
            AddFieldRow(Text(field.name), Text(field.raw), Text(field.meaning), field.severity);
    }
    if (!replies_.empty()) ShowSummary(Text(CombinedSummary(replies_)), CombinedSeverity(replies_));
}

void PrinterStatusWindow::AddHeaderRow(const pl::StatusReply& reply) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* item = new QTableWidgetItem(Text(pl::ReplyKindName(reply.kind)));
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setBackground(palette().alternateBase());
    table_->setItem(row, 0, item);
    table_->setSpan(row, 0, 1, 3);
}

void PrinterStatusWindow::AddFieldRow(const QString& name, const QString& value,
                                      const QString& meaning, pl::Severity severity) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    const QString texts[] = {name, value, meaning};
    for (int column = 0; column < 3; ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        if (severity != pl::Severity::Ok) {
            item->setForeground(ColorOf(severity));
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        table_->setItem(row, column, item);
    }
}

void PrinterStatusWindow::ShowSummary(const QString& text, pl::Severity severity) {
    summary_->setText(text);
    QPalette colors = palette();
    if (severity != pl::Severity::Ok) colors.setColor(QPalette::WindowText, ColorOf(severity));
    summary_->setPalette(colors);
    summary_->setAccessibleDescription(text);
}

}  // namespace velkaro
