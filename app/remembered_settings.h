// What the main window keeps between runs, in the user's configuration folder
// ($XDG_CONFIG_HOME/Velkaro/Velkaro.conf): the connection kind and every kind's settings, the
// pin, the window's place and size and the receive box's options. Without a saved file the
// window starts with its defaults; a saved choice that no longer makes sense (a USB printer
// that is gone, a kind or value the lists do not offer) falls back quietly.
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "app/velkaro_dlg.h"

namespace velkaro {

class RememberedSettings {
  public:
    // Reads and writes `settings`, which must outlive this object.
    explicit RememberedSettings(QSettings& settings);

    // The settings file of the installed program.
    static std::unique_ptr<QSettings> OpenUserSettings();

    // A further value to keep: read from the window when saving, handed back after restoring.
    struct Value {
        QString key;
        std::function<QVariant(CVelkaroDlg&)> read;
        std::function<void(CVelkaroDlg&, const QVariant&)> apply;
    };
    void Remember(Value value);
    // Keeps the main window's control `id` by its user property (a check box's state, a combo
    // box's current text, a spin box's value) under `key`.
    void RememberControl(const QString& key, int id);

    // Before the window is shown. `environment` says where USB printers are listed.
    void Restore(CVelkaroDlg& dialog, const DialogEnvironment& environment) const;
    // After the window has closed.
    void Save(CVelkaroDlg& dialog);

  private:
    QSettings& m_settings;
    std::vector<Value> m_values;
};

// Registers the receive box's view options with `remembered`, each under a "receive/" key.
void RememberReceiveOptions(RememberedSettings& remembered);

}  // namespace velkaro
