#include "window_services/ui_services.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace velkaro {

void QtUiServices::MessageBox(QWidget* owner, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromUtf8(kMessageCaption), text, QMessageBox::Ok, owner);
    box.exec();
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
