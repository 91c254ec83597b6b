// The common ground of the port settings dialogs: built from a layout table, initialised once
// before being shown, OK saves the controls into the public members.
#pragma once

#include <QDialog>

#include "widgets/dialog_template.h"

class QComboBox;

namespace velkaro {

class IUiServices;

class CSetupDialog : public QDialog {
    Q_OBJECT
  public:
    // Initialises the controls from the members and runs the dialog modally.
    int DoModal(IUiServices& ui);

  protected:
    CSetupDialog(const DialogTemplate& layout, QWidget* parent);
    virtual void OnInitDialog() = 0;
    // Saves the controls into the members; OK then ends the dialog with Accepted.
    virtual void SaveControls() = 0;

  private:
    void OnOK();
};

// Selects the first entry, from the top, that begins with `value` regardless of case; with no
// such entry the selection stays as it was.
void SelectStringPrefix(QComboBox* combo, const QString& value);

}  // namespace velkaro
