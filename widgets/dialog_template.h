// Dialogs are laid out from tables: each control with its id, kind, caption, and position and
// size in dialog units. Builder creates the widgets in table order (later ones on top), names
// each "id<number>" so code and tests find it by id, and gives every control an accessible name.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "widgets/dialog_units.h"

namespace velkaro {

enum class ControlKind {
    GroupBox,
    ComboList,  // drop-down list, no free text; the table height includes the list
    PushButton,
    DefaultButton,  // pressed by Enter unless the focus is on another push button
    Label,
    MultiLineEdit,  // accepts Enter as a line break
    CheckBox,
    Edit,
    IpAddress,
    Icon,
    Link,
};

// Captions and accessible names in layout tables are marked with
// QT_TRANSLATE_NOOP("DialogLayout", ...) so that lupdate finds them; Build shows them in
// the window's language.
inline const char kLayoutContext[] = "DialogLayout";

struct ControlSpec {
    int id;  // -1 for labels that code never addresses
    ControlKind kind;
    QString caption;
    int x, y, width, height;
    QString accessibleName = {};  // for controls without a caption of their own
    bool hidden = false;
};

struct DialogTemplate {
    QString caption;
    int pointSize;
    int width, height;
    std::vector<ControlSpec> controls;
};

class TemplateBuilder {
  public:
    // Sets the dialog's font, caption and client size, and creates every control.
    static DialogUnits Build(QWidget* dialog, const DialogTemplate& layout);
};

QString ControlName(int id);

// The control with the given id inside `dialog`, or null.
template <typename T>
T* Control(const QWidget* dialog, int id) {
    return dialog->findChild<T*>(ControlName(id));
}

}  // namespace velkaro
