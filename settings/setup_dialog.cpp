#include "settings/setup_dialog.h"

#include <QComboBox>
#include <QPushButton>

#include "window_services/ui_services.h"

namespace velkaro {

CSetupDialog::CSetupDialog(const DialogTemplate& layout, QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    TemplateBuilder::Build(this, layout);
    setFixedSize(size());
    if (auto* ok = Control<QPushButton>(this, 1))
        connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    if (auto* cancel = Control<QPushButton>(this, 2))
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CSetupDialog::DoModal(IUiServices& ui) {
    OnInitDialog();
    return ui.RunDialog(*this);
}

void CSetupDialog::OnOK() {
    SaveControls();
    accept();
}

void SelectStringPrefix(QComboBox* combo, const QString& value) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(value, Qt::CaseInsensitive)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

}  // namespace velkaro
