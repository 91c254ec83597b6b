#include "window_services/ui_services.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace velkaro {

void QtUiServices::MessageBox(QWidget* owner, const QString& text, Icon icon) {
    const QMessageBox::Icon shown = icon == Icon::Error         ? QMessageBox::Critical
                                    : icon == Icon::Exclamation ? QMessageBox::Warning
                                                                : QMessageBox::Information;
    QMessageBox box(shown, QString::fromUtf8(kMessageCaption), text, QMessageBox::Ok, owner);
    box.exec();
}

int QtUiServices::AskWithButtons(QWidget* owner, const QString& text, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kMessageCaption), text,
                    QMessageBox::NoButton, owner);
    QList<QAbstractButton*> choices;
    for (const QString& caption : buttons)
        choices << box.addButton(caption, QMessageBox::AcceptRole);
    QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setEscapeButton(cancel);
    if (!choices.isEmpty()) box.setDefaultButton(qobject_cast<QPushButton*>(choices.front()));
    box.exec();
    return static_cast<int>(choices.indexOf(box.clickedButton()));
}

QString QtUiServices::GetOpenFileName(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QStringLiteral("(*.*) (*)"));
}

QString QtUiServices::GetSaveFileName(QWidget* owner, const QString& suggestedName) {
    return QFileDialog::getSaveFileName(owner, QString(), suggestedName,
                                        QStringLiteral("(*.*) (*)"));
}

int QtUiServices::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

QAction* QtUiServices::PopupMenu(QMenu& menu, const QPoint& at) {
    return menu.exec(at);
}

void QtUiServices::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

}  // namespace velkaro
