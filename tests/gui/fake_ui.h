// Stands in for the user at the modal steps: records message boxes and opened addresses,
// answers the file dialog, settings dialogs and popup menus as the test scripted.
#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QStringList>
#include <functional>
#include <vector>

#include "window_services/ui_services.h"

namespace velkaro::test {

class FakeUi : public IUiServices {
  public:
    struct Message {
        QString text;
        Icon icon;
    };

    struct Question {
        QString text;
        QStringList buttons;
    };

    void MessageBox(QWidget*, const QString& text, Icon icon) override {
        messages.push_back({text, icon});
    }
    int AskWithButtons(QWidget*, const QString& text, const QStringList& buttons) override {
        questions.push_back({text, buttons});
        return answer;
    }
    QString GetOpenFileName(QWidget*) override {
        ++fileDialogs;
        return fileToOpen;
    }
    int RunDialog(QDialog& dialog) override {
        ++dialogsRun;
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }
    QAction* PopupMenu(QMenu& menu, const QPoint& at) override {
        popupAt = at;
        menuTitles.clear();
        for (QAction* action : menu.actions()) menuTitles << action->text();
        if (onMenu) return onMenu(menu);
        if (!chooseTitle.isEmpty()) {
            for (QAction* action : menu.actions())
                if (action->text() == chooseTitle) return action;
            return nullptr;
        }
        if (chooseItem < 0 || chooseItem >= menu.actions().size()) return nullptr;
        return menu.actions().at(chooseItem);
    }
    void OpenUrl(const QUrl& url) override { openedUrls.push_back(url); }
    QString GetSaveFileName(QWidget*, const QString& suggestedName, const QString&) override {
        ++saveDialogs;
        suggestedSaveName = suggestedName;
        return fileToSave;
    }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const Message& m : messages) texts << m.text;
        return texts;
    }

    std::vector<Message> messages;
    std::vector<Question> questions;
    int answer = -1;  // the button AskWithButtons presses; -1 is Cancel
    QString fileToOpen;
    int fileDialogs = 0;
    int dialogsRun = 0;
    std::function<int(QDialog&)> onDialog;
    int chooseItem = -1;
    std::function<QAction*(QMenu&)> onMenu;  // when set, picks the item instead of chooseItem
    QString chooseTitle;  // when set, the item with this text is chosen instead
    QPoint popupAt;
    QStringList menuTitles;
    std::vector<QUrl> openedUrls;
    QString fileToSave;  // the save-file dialog's answer; empty: cancelled
    QString suggestedSaveName;
    int saveDialogs = 0;
};

}  // namespace velkaro::test
