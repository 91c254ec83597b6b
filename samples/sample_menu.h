// The popup menu of one printer language's samples; each action carries its command id.
#pragma once

#include <QMenu>
#include <memory>

#include "samples/sample_commands.h"

namespace velkaro {

std::unique_ptr<QMenu> BuildSampleMenu(PrinterLanguage language, QWidget* parent);
// The sample behind a chosen action, or null.
const SampleCommand* SampleForAction(const QAction* action);

}  // namespace velkaro
