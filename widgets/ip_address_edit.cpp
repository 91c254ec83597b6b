#include "widgets/ip_address_edit.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

namespace velkaro {

CIPAddressCtrl::CIPAddressCtrl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new QIntValidator(0, 255, field));
        field->setAccessibleName(tr("IP 地址第 %1 段").arg(i + 1));
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.toInt() > 255) fields_[i]->setText(QStringLiteral("255"));
            if (text.size() == 3 && i < 3) {  // a full field moves on, as typing an address flows
                fields_[i + 1]->setFocus();
                fields_[i + 1]->selectAll();
            }
        });
        fields_[i] = field;
    }
    setFocusProxy(fields_[0]);
    LayoutFields();
}

QString CIPAddressCtrl::Text() const {
    QStringList parts;
    bool anyFilled = false;
    for (QLineEdit* field : fields_) {
        // Each field as a plain decimal number: a typed "010" is ten, never an octal eight.
        bool ok = false;
        const int value = field->text().toInt(&ok, 10);
        parts << (ok ? QString::number(value) : field->text());
        anyFilled = anyFilled || !field->text().isEmpty();
    }
    return anyFilled ? parts.join(QLatin1Char('.')) : QString();
}

void CIPAddressCtrl::SetText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i) {
        QString value;
        if (parts.size() == 4) {
            bool ok = false;
            const int number = parts[i].trimmed().toInt(&ok);
            if (ok && number >= 0 && number <= 255) value = QString::number(number);
        }
        fields_[i]->setText(value);
    }
}

bool CIPAddressCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (int i = 0; i < 3; ++i) {
            if (watched == fields_[i] && key->text() == QLatin1String(".")) {
                fields_[i + 1]->setFocus();
                fields_[i + 1]->selectAll();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CIPAddressCtrl::resizeEvent(QResizeEvent*) {
    LayoutFields();
}

void CIPAddressCtrl::LayoutFields() {
    const int dot = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 4;
    const int fieldWidth = std::max(10, (width() - 3 * dot) / 4);
    for (QLabel* old : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) delete old;
    for (int i = 0; i < 4; ++i) {
        fields_[i]->setGeometry(i * (fieldWidth + dot), 0, fieldWidth, height());
        if (i < 3) {
            auto* separator = new QLabel(QStringLiteral("."), this);
            separator->setAlignment(Qt::AlignCenter);
            separator->setGeometry(i * (fieldWidth + dot) + fieldWidth, 0, dot, height());
            separator->show();
        }
    }
}

}  // namespace velkaro
