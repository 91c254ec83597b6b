#include "app/receive_accessible.h"

#include <QAccessibleWidget>

#include "app/receive_view.h"

namespace velkaro {
namespace {

class ReceiveViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ReceiveViewAccessible(ReceiveView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return View()->CachedText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiLine = true;
        s.editable = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface, over the whole shown text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return All().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(All().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        int s = 0, e = 0;
        Unit(offset, type, &s, &e);
        return Unit(s - 1, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        int s = 0, e = 0;
        Unit(offset, type, &s, &e);
        return Unit(e, type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        return Unit(offset, type, start, end);
    }

  private:
    ReceiveView* View() const { return static_cast<ReceiveView*>(widget()); }
    const QString& All() const { return View()->CachedText(); }
    // The character, or the line, at `offset`; the whole text for no boundary.
    QString Unit(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
        const QString& all = All();
        *start = *end = -1;
        if (offset < 0 || offset > all.size()) return {};
        if (type == QAccessible::NoBoundary) {
            *start = 0;
            *end = static_cast<int>(all.size());
            return all;
        }
        if (type == QAccessible::CharBoundary) {
            if (offset >= all.size()) return {};
            *start = offset;
            *end = offset + 1;
            return all.mid(offset, 1);
        }
        const qsizetype lineStart =
            offset == 0 ? 0 : all.lastIndexOf(QLatin1Char('\n'), offset - 1) + 1;
        qsizetype lineEnd = all.indexOf(QLatin1Char('\n'), offset);
        lineEnd = lineEnd < 0 ? all.size() : lineEnd + 1;
        *start = static_cast<int>(lineStart);
        *end = static_cast<int>(lineEnd);
        return all.mid(lineStart, lineEnd - lineStart);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String(ReceiveView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ReceiveViewAccessible(static_cast<ReceiveView*>(object));
    return nullptr;
}

}  // namespace

void InstallReceiveViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace velkaro
