#include "widgets/hyperlink.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace velkaro {

CXTHyperLink::CXTHyperLink(const QString& text, QWidget* parent)
    : QWidget(parent),
      text_(text),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);  // a tab stop once it has a text and a target
    setAttribute(Qt::WA_Hover);
}

void CXTHyperLink::SetText(const QString& text) {
    if (text_ == text) return;
    text_ = text;
    TakeFocusOnlyWhenUsable();
    update();
    updateGeometry();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void CXTHyperLink::SetURL(const QString& target) {
    target_ = target;
    setToolTip(target);
    TakeFocusOnlyWhenUsable();
}

void CXTHyperLink::TakeFocusOnlyWhenUsable() {
    setFocusPolicy(text_.isEmpty() || target_.isEmpty() ? Qt::NoFocus : Qt::TabFocus);
}

void CXTHyperLink::SetUnderline(bool underline) {
    underline_ = underline;
    update();
}

void CXTHyperLink::SetColors(const QColor& normal, const QColor& visited, const QColor& hover) {
    normal_ = normal;
    visitedColor_ = visited;
    hover_ = hover;
    update();
}

QColor CXTHyperLink::CurrentColor() const {
    if (hovered_) return hover_;
    return visited_ ? visitedColor_ : normal_;
}

void CXTHyperLink::Click() {
    if (text_.isEmpty()) return;
    visited_ = true;
    update();
    emit clicked();
    if (!target_.isEmpty() && opener_) opener_(QUrl(target_));
}

QSize CXTHyperLink::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(text_) + 2, fontMetrics().height());
}

void CXTHyperLink::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont font = this->font();
    font.setUnderline(underline_);
    painter.setFont(font);
    painter.setPen(CurrentColor());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CXTHyperLink::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void CXTHyperLink::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

void CXTHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void CXTHyperLink::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Click();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

namespace {

class HyperlinkAccessible : public QAccessibleWidget {
  public:
    explicit HyperlinkAccessible(CXTHyperLink* link) : QAccessibleWidget(link, QAccessible::Link) {
        addControllingSignal(QStringLiteral("clicked()"));
    }
    QString text(QAccessible::Text t) const override {
        const auto* link = static_cast<const CXTHyperLink*>(widget());
        switch (t) {
            case QAccessible::Name:
                return link->Text();
            case QAccessible::Description:
                return link->URL();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) static_cast<CXTHyperLink*>(widget())->Click();
    }
};

QAccessibleInterface* HyperlinkFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("velkaro::CXTHyperLink") && object && object->isWidgetType())
        return new HyperlinkAccessible(static_cast<CXTHyperLink*>(object));
    return nullptr;
}

}  // namespace

void InstallHyperlinkAccessibility() {
    static bool installed = false;
    if (!installed) QAccessible::installFactory(HyperlinkFactory);
    installed = true;
}

}  // namespace velkaro
