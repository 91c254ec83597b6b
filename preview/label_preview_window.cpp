#include "preview/label_preview_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "preview/send_box_bytes.h"
#include "window_services/ui_services.h"

namespace velkaro {
namespace {

constexpr double kMmPerInch = 25.4;

// A caption and the control it names, the caption doubling as the control's accessible name.
template <typename Control>
Control* Captioned(QHBoxLayout* bar, const QString& caption, Control* control) {
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    control->setAccessibleName(caption);
    bar->addWidget(label);
    bar->addWidget(control);
    return control;
}

QString LanguageName(label::Language language) {
    switch (language) {
        case label::Language::ZPL:
            return QStringLiteral("ZPL");
        case label::Language::EPL:
            return QStringLiteral("EPL");
        case label::Language::CPCL:
            return QStringLiteral("CPCL");
        default:
            return QCoreApplication::translate("velkaro::LabelPreviewWindow", "自动");
    }
}

}  // namespace

LabelPreviewWindow::LabelPreviewWindow(IUiServices& ui, QPlainTextEdit* source,
                                       const QByteArray& charset, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_ui(ui), m_source(source), m_charset(charset) {
    setWindowTitle(QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签预览"));
    setAccessibleName(QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签预览"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    BuildToolbar(bar);
    layout->addLayout(bar);

    m_pages = new QTabBar;
    m_pages->setAccessibleName(
        QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签页"));
    m_pages->setDocumentMode(true);
    m_pages->setExpanding(false);
    layout->addWidget(m_pages);

    // The label on a white card over a grey table, dots kept square and sharp at every zoom.
    m_view = new QLabel;
    m_view->setAccessibleName(QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签"));
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setStyleSheet(QStringLiteral("background: white; border: 1px solid #888;"));
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAccessibleName(
        QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签预览"));
    layout->addWidget(m_scroll, 1);

    m_summary = new QLabel;
    m_summary->setAccessibleName(
        QCoreApplication::translate("velkaro::LabelPreviewWindow", "预览状态"));
    layout->addWidget(m_summary);

    auto* problemsCaption =
        new QLabel(QCoreApplication::translate("velkaro::LabelPreviewWindow", "未能识别的内容："));
    m_problems = new QListWidget;
    m_problems->setAccessibleName(
        QCoreApplication::translate("velkaro::LabelPreviewWindow", "未能识别的内容"));
    m_problems->setMaximumHeight(110);
    problemsCaption->setBuddy(m_problems);
    layout->addWidget(problemsCaption);
    layout->addWidget(m_problems);

    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(kRedrawDelayMs);
    connect(&m_redrawTimer, &QTimer::timeout, this, &LabelPreviewWindow::RedrawNow);
    connect(m_source, &QPlainTextEdit::textChanged, this, &LabelPreviewWindow::ScheduleRedraw);
    connect(m_pages, &QTabBar::currentChanged, this, &LabelPreviewWindow::ShowPage);
    connect(m_problems, &QListWidget::currentRowChanged, this, &LabelPreviewWindow::SelectProblem);
    connect(m_problems, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { SelectProblem(m_problems->row(item)); });
    resize(640, 760);
    RedrawNow();
}

void LabelPreviewWindow::BuildToolbar(QHBoxLayout* bar) {
    m_dotsPerMm = Captioned(
        bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "分辨率"), new QComboBox);
    for (int dpmm : {6, 8, 12, 24}) {
        const int dpi = dpmm == 6 ? 152 : dpmm == 8 ? 203 : dpmm == 12 ? 300 : 600;
        m_dotsPerMm->addItem(
            QCoreApplication::translate("velkaro::LabelPreviewWindow", "%1 点/毫米 (%2 dpi)")
                .arg(dpmm)
                .arg(dpi),
            dpmm);
    }
    m_dotsPerMm->setCurrentIndex(1);

    m_width = Captioned(bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "宽"),
                        new QDoubleSpinBox);
    m_height = Captioned(bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "高"),
                         new QDoubleSpinBox);
    for (QDoubleSpinBox* box : {m_width, m_height}) {
        box->setDecimals(2);
        box->setRange(0.25, 40);
        box->setSingleStep(0.25);
        box->setKeyboardTracking(false);
    }
    m_width->setValue(4);
    m_height->setValue(6);

    m_unit = Captioned(bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "单位"),
                       new QComboBox);
    m_unit->addItems({QCoreApplication::translate("velkaro::LabelPreviewWindow", "英寸"),
                      QCoreApplication::translate("velkaro::LabelPreviewWindow", "毫米")});

    m_zoom = Captioned(bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "缩放"),
                       new QComboBox);
    for (int percent : {25, 50, 75, 100, 150, 200, 400}) {
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    }
    m_zoom->setCurrentIndex(1);

    m_language = Captioned(bar, QCoreApplication::translate("velkaro::LabelPreviewWindow", "语言"),
                           new QComboBox);
    for (label::Language language : {label::Language::Auto, label::Language::ZPL,
                                     label::Language::EPL, label::Language::CPCL}) {
        m_language->addItem(LanguageName(language), static_cast<int>(language));
    }

    m_export =
        new QPushButton(QCoreApplication::translate("velkaro::LabelPreviewWindow", "导出PNG…"));
    m_export->setAccessibleName(
        QCoreApplication::translate("velkaro::LabelPreviewWindow", "导出PNG…"));
    bar->addStretch(1);
    bar->addWidget(m_export);

    auto redraw = [this] { RedrawNow(); };
    connect(m_dotsPerMm, QOverload<int>::of(&QComboBox::currentIndexChanged), this, redraw);
    connect(m_language, QOverload<int>::of(&QComboBox::currentIndexChanged), this, redraw);
    connect(m_width, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, redraw);
    connect(m_height, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, redraw);
    connect(m_unit, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &LabelPreviewWindow::OnUnitChanged);
    connect(m_zoom, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &LabelPreviewWindow::ShowPage);
    connect(m_export, &QPushButton::clicked, this, &LabelPreviewWindow::ExportPng);
}

void LabelPreviewWindow::ScheduleRedraw() {
    m_redrawTimer.start();  // restarts while the user keeps typing
}

void LabelPreviewWindow::OnUnitChanged() {
    const bool inches = m_unit->currentIndex() == 0;
    if (inches == m_inches) return;
    m_inches = inches;
    const double factor = inches ? 1 / kMmPerInch : kMmPerInch;
    for (QDoubleSpinBox* box : {m_width, m_height}) {
        const QSignalBlocker quiet(box);
        const double value = box->value() * factor;
        box->setDecimals(inches ? 2 : 1);
        box->setRange(inches ? 0.25 : 6, inches ? 40 : 1016);
        box->setSingleStep(inches ? 0.25 : 1);
        box->setValue(value);
    }
    RedrawNow();
}

label::RenderOptions LabelPreviewWindow::Options() const {
    label::RenderOptions options;
    options.dotsPerMm = m_dotsPerMm->currentData().toInt();
    const double toMm = m_inches ? kMmPerInch : 1.0;
    options.widthMm = m_width->value() * toMm;
    options.heightMm = m_height->value() * toMm;
    options.language = static_cast<label::Language>(m_language->currentData().toInt());
    return options;
}

void LabelPreviewWindow::RedrawNow() {
    m_redrawTimer.stop();
    m_renderedText = m_source->toPlainText();
    const SendBoxBytes job(m_renderedText, m_charset);
    m_result = label::Render(job.Bytes(), Options());

    const int page = m_pages->currentIndex();
    {
        const QSignalBlocker quiet(m_pages);
        while (m_pages->count() > 0) m_pages->removeTab(0);
        for (std::size_t i = 0; i < m_result.labels.size(); ++i) {
            m_pages->addTab(
                QCoreApplication::translate("velkaro::LabelPreviewWindow", "标签 %1").arg(i + 1));
        }
        if (page >= 0 && page < m_pages->count()) m_pages->setCurrentIndex(page);
    }
    m_pages->setVisible(m_result.labels.size() > 1);

    m_problems->blockSignals(true);
    m_problems->clear();
    for (const label::NotUnderstood& item : m_result.notUnderstood) {
        m_problems->addItem(
            QCoreApplication::translate("velkaro::LabelPreviewWindow", "%1（第 %2 字节）")
                .arg(item.command)
                .arg(item.offset + 1));
    }
    m_problems->blockSignals(false);

    const QString language = LanguageName(m_result.language);
    m_summary->setText(
        m_result.labels.empty()
            ? QCoreApplication::translate("velkaro::LabelPreviewWindow", "%1：没有要打印的标签")
                  .arg(language)
            : QCoreApplication::translate("velkaro::LabelPreviewWindow",
                                          "%1：%2 张标签，%3 × %4 点")
                  .arg(language)
                  .arg(m_result.labels.size())
                  .arg(m_result.labels.front().width())
                  .arg(m_result.labels.front().height()));
    m_export->setEnabled(!m_result.labels.empty());
    ShowPage();
}

int LabelPreviewWindow::CurrentPage() const {
    return m_result.labels.empty() ? -1 : std::max(0, m_pages->currentIndex());
}

QImage LabelPreviewWindow::CurrentLabel() const {
    const int page = CurrentPage();
    return page < 0 ? QImage() : m_result.labels[static_cast<std::size_t>(page)];
}

void LabelPreviewWindow::ShowPage() {
    const QImage label = CurrentLabel();
    if (label.isNull()) {
        m_view->setPixmap(QPixmap());
        m_view->setText(
            QCoreApplication::translate("velkaro::LabelPreviewWindow", "没有要打印的标签"));
        m_view->adjustSize();
        return;
    }
    const double zoom = m_zoom->currentData().toInt() / 100.0;
    const QSize size(std::max(1, static_cast<int>(label.width() * zoom)),
                     std::max(1, static_cast<int>(label.height() * zoom)));
    // Enlarged dots stay square; reduced labels are smoothed so thin lines do not vanish.
    const Qt::TransformationMode mode =
        zoom >= 1 ? Qt::FastTransformation : Qt::SmoothTransformation;
    m_view->setPixmap(QPixmap::fromImage(
        label.convertToFormat(QImage::Format_RGB32).scaled(size, Qt::IgnoreAspectRatio, mode)));
    m_view->adjustSize();
}

void LabelPreviewWindow::SelectProblem(int row) {
    if (row < 0 || row >= static_cast<int>(m_result.notUnderstood.size())) return;
    if (m_source->toPlainText() != m_renderedText) return;  // the list is out of date
    const label::NotUnderstood& item = m_result.notUnderstood[static_cast<std::size_t>(row)];
    int start = 0;
    int end = 0;
    SendBoxBytes(m_renderedText, m_charset).CharacterRange(item.offset, item.length, &start, &end);
    QTextCursor cursor(m_source->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_source->setTextCursor(cursor);
    m_source->ensureCursorVisible();
}

void LabelPreviewWindow::ExportPng() {
    QImage label = CurrentLabel();
    if (label.isNull()) return;
    const QString path = m_ui.GetSaveFileName(
        this, QStringLiteral("label-%1.png").arg(CurrentPage() + 1), QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    const int dotsPerMetre = Options().dotsPerMm * 1000;
    label.setDotsPerMeterX(dotsPerMetre);
    label.setDotsPerMeterY(dotsPerMetre);
    if (!label.save(path, "PNG")) {
        m_ui.MessageBox(
            this, QCoreApplication::translate("velkaro::LabelPreviewWindow", "PNG文件保存失败！"),
            IUiServices::Icon::Error);
    }
}

}  // namespace velkaro
