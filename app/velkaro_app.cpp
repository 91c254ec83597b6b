#include "app/velkaro_app.h"

#include <QFontDatabase>

#include "app/remembered_settings.h"
#include "app/velkaro_dlg.h"
#include "support/program_strings.h"
#include "widgets/hyperlink.h"
#include "window_services/ui_services.h"

namespace velkaro {

CVelkaroApp::CVelkaroApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Velkaro"));
    setApplicationVersion(QString::fromUtf8(kProgramVersion));
    setDesktopFileName(QStringLiteral("velkaro"));  // the menu entry's icon on Wayland too
    InstallHyperlinkAccessibility();
}

int CVelkaroApp::InitInstance(const StartOptions& options) {
    QtUiServices ui;
    DialogEnvironment environment;
    environment.updateUrl = QString::fromUtf8(kUpdateUrl);
    CVelkaroDlg dialog(ui, environment);
    const std::unique_ptr<QSettings> settingsFile = RememberedSettings::OpenUserSettings();
    RememberedSettings remembered(*settingsFile);
    RememberReceiveOptions(remembered);
    remembered.Restore(dialog, environment);
    dialog.show();
    dialog.ApplyStartOptions(options);  // the command line wins over what was remembered
    const int result = exec();
    remembered.Save(dialog);
    return result;
}

QString MissingDisplayReason() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return {};
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral(
        "Velkaro needs a graphical desktop, but neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
        "Start it from a desktop session, or under a virtual display: xvfb-run ./velkaro");
}

}  // namespace velkaro
