#include "window_services/ui_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace velkaro {

void QtUiServices::MessageBox(QWidget* owner, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QCoreApplication::translate("velkaro::QtUiServices", kMessageCaption), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

QString QtUiServices::GetOpenFileName(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QStringLiteral("(*.*) (*)"));
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
