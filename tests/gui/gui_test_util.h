// Helpers for window tests that run offscreen.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <memory>

#include "app/receive_view.h"
#include "app/velkaro_dlg.h"
#include "fake_ui.h"
#include "support/temp_dir.h"
#include "widgets/dialog_template.h"

namespace velkaro::test {

// Lets the event loop run until `done()` holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A main window wired to a fake user and a private device folder.
class WindowFixture {
  public:
    explicit WindowFixture(DialogEnvironment environment = {}) {
        environment.deviceFolder = devices.Str();
        if (environment.sysfsRoot == "/sys") environment.sysfsRoot = devices.Str() + "/sys";
        if (environment.charset.isEmpty()) environment.charset = "UTF-8";
        dialog = std::make_unique<CVelkaroDlg>(ui, environment);
    }

    QPlainTextEdit* SendBox() const { return Control<QPlainTextEdit>(dialog.get(), IDC_SEND_BOX); }
    ReceiveView* ReceiveBox() const { return Control<ReceiveView>(dialog.get(), IDC_RECEIVE); }
    QString ReceivedText() const {
        dialog->Receiver().Flush();
        return ReceiveBox()->toPlainText();
    }
    void Click(int id) const { Control<QPushButton>(dialog.get(), id)->click(); }
    void ChooseKind(const QString& kind) const;

    TempDir devices;
    FakeUi ui;
    std::unique_ptr<CVelkaroDlg> dialog;
};

}  // namespace velkaro::test
