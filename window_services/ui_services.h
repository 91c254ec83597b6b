// Everything modal the program does to the user goes through this interface, so tests can
// replace it and drive every handler without a person at the screen.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

class QAction;
class QDialog;
class QFileDialog;
class QMenu;
class QWidget;

namespace velkaro {

inline const char kMessageCaption[] = QT_TRANSLATE_NOOP("velkaro::QtUiServices", "提示信息");

class IUiServices {
  public:
    enum class Icon { Error, Exclamation, Information };

    virtual ~IUiServices() = default;
    // A message box with the caption "提示信息" and an OK button, owned by `owner`.
    virtual void MessageBox(QWidget* owner, const QString& text, Icon icon) = 0;
    // A question with the caption "提示信息", the given buttons and a Cancel button (which
    // Escape also presses): the index of the button chosen, or -1 for Cancel. Unless
    // overridden, the question is cancelled, so nothing is dropped without a person's word.
    virtual int AskWithButtons(QWidget* owner, const QString& text, const QStringList& buttons) {
        (void)owner;
        (void)text;
        (void)buttons;
        return -1;
    }
    // The open-file dialog with the filter "(*.*)"; empty when the user cancels.
    virtual QString GetOpenFileName(QWidget* owner) = 0;
    // The save-file dialog proposing `suggestedName` and offering `filter` (e.g. "PNG (*.png)";
    // empty: every file); empty when the user cancels.
    virtual QString GetSaveFileName(QWidget* owner, const QString& suggestedName,
                                    const QString& filter = QString()) = 0;
    // Runs an initialised dialog modally; QDialog::Accepted or QDialog::Rejected.
    virtual int RunDialog(QDialog& dialog) = 0;
    // Pops up a menu with its top-left corner at `at` (screen); the chosen action or null.
    virtual QAction* PopupMenu(QMenu& menu, const QPoint& at) = 0;
    // Opens a document or address with the desktop's default handler.
    virtual void OpenUrl(const QUrl& url) = 0;
};

// The open-file dialog's mode and its one filter entry, "(*.*)", matching every file.
void PrepareOpenFileDialog(QFileDialog& dialog);

// The real thing: Qt's message boxes, file dialog, menus and desktop services.
class QtUiServices : public IUiServices {
  public:
    void MessageBox(QWidget* owner, const QString& text, Icon icon) override;
    int AskWithButtons(QWidget* owner, const QString& text, const QStringList& buttons) override;
    QString GetOpenFileName(QWidget* owner) override;
    QString GetSaveFileName(QWidget* owner, const QString& suggestedName,
                            const QString& filter) override;
    int RunDialog(QDialog& dialog) override;
    QAction* PopupMenu(QMenu& menu, const QPoint& at) override;
    void OpenUrl(const QUrl& url) override;
};

}  // namespace velkaro
