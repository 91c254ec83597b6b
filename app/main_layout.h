// The main window's layout table (522 x 352 dialog units).
#pragma once

#include "widgets/dialog_template.h"

namespace velkaro {

const DialogTemplate& MainDialogTemplate();

}  // namespace velkaro
