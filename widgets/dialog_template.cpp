#include "widgets/dialog_template.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "widgets/artwork.h"
#include "widgets/hyperlink.h"
#include "widgets/ip_address_edit.h"

namespace velkaro {
namespace {

QWidget* CreateControl(QWidget* dialog, const ControlSpec& spec, const DialogUnits& units) {
    QWidget* widget = nullptr;
    switch (spec.kind) {
        case ControlKind::GroupBox:
            widget = new QGroupBox(spec.caption, dialog);
            break;
        case ControlKind::ComboList: {
            auto* combo = new QComboBox(dialog);
            combo->setEditable(false);
            widget = combo;
            break;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(spec.caption, dialog);
            // Enter presses the focused push button; elsewhere it presses the default button.
            button->setAutoDefault(true);
            button->setDefault(spec.kind == ControlKind::DefaultButton);
            widget = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(spec.caption, dialog);
            label->setTextFormat(Qt::PlainText);
            widget = label;
            break;
        }
        case ControlKind::MultiLineEdit: {
            auto* edit = new QPlainTextEdit(dialog);
            edit->setTabChangesFocus(true);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            widget = edit;
            break;
        }
        case ControlKind::CheckBox:
            widget = new QCheckBox(spec.caption, dialog);
            break;
        case ControlKind::Edit:
            widget = new QLineEdit(spec.caption, dialog);
            break;
        case ControlKind::IpAddress:
            widget = new CIPAddressCtrl(dialog);
            break;
        case ControlKind::Icon: {
            auto* label = new QLabel(dialog);
            label->setPixmap(AppIcon().pixmap(units.X(spec.width), units.Y(spec.height)));
            widget = label;
            break;
        }
        case ControlKind::Link:
            widget = new CXTHyperLink(spec.caption, dialog);
            break;
    }
    QRect rect = units.Rect(spec.x, spec.y, spec.width, spec.height);
    if (spec.kind == ControlKind::ComboList)  // only the closed box takes room on the dialog
        rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
    widget->setGeometry(rect);
    widget->setObjectName(spec.id == -1 ? QString() : ControlName(spec.id));
    if (!spec.accessibleName.isEmpty()) widget->setAccessibleName(spec.accessibleName);
    if (spec.hidden) widget->hide();
    return widget;
}

QString Translated(const QString& text) {
    if (text.isEmpty()) return text;
    return QCoreApplication::translate(kLayoutContext, text.toUtf8().constData());
}

}  // namespace

QString ControlName(int id) {
    return QStringLiteral("id%1").arg(id);
}

DialogUnits TemplateBuilder::Build(QWidget* dialog, const DialogTemplate& layout) {
    dialog->setFont(DialogFont(layout.pointSize));
    dialog->setWindowTitle(Translated(layout.caption));
    const DialogUnits units(dialog->font());
    dialog->resize(units.X(layout.width), units.Y(layout.height));
    QLabel* pendingLabel = nullptr;
    for (ControlSpec spec : layout.controls) {
        spec.caption = Translated(spec.caption);
        spec.accessibleName = Translated(spec.accessibleName);
        QWidget* widget = CreateControl(dialog, spec, units);
        // A label names the control that follows it, for screen readers.
        if (pendingLabel && spec.kind != ControlKind::Label && spec.kind != ControlKind::GroupBox) {
            pendingLabel->setBuddy(widget);
            if (widget->accessibleName().isEmpty() && spec.caption.isEmpty())
                widget->setAccessibleName(pendingLabel->text());
        }
        pendingLabel = spec.kind == ControlKind::Label ? qobject_cast<QLabel*>(widget) : nullptr;
    }
    return units;
}

}  // namespace velkaro
