#include "window_services/ui_services.h"

#include <QCoreApplication>
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
    QMessageBox box(shown, QCoreApplication::translate("velkaro::QtUiServices", kMessageCaption),
                    text, QMessageBox::Ok, owner);
    box.exec();
}

int QtUiServices::AskWithButtons(QWidget* owner, const QString& text, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("velkaro::QtUiServices", kMessageCaption), text,
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

void PrepareOpenFileDialog(QFileDialog& dialog) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // One entry labelled "(*.*)" that matches every file, with a dot in its name or without.
    dialog.setNameFilter(QStringLiteral("(*.*) (*)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
}

QString QtUiServices::GetOpenFileName(QWidget* owner) {
    QFileDialog dialog(owner);
    PrepareOpenFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

QString QtUiServices::GetSaveFileName(QWidget* owner, const QString& suggestedName,
                                      const QString& filter) {
    QFileDialog dialog(owner);
    PrepareOpenFileDialog(dialog);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
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
