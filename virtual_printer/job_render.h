// velkaro-printer --render: each spooled job also drawn as PNG beside its file (Qt GUI; the
// rest of the printer stays Qt-free).
#pragma once

#include <functional>
#include <string>

#include "virtual_printer/virtual_printer.h"

namespace velkaro::virtual_printer {

// A job hook that writes NNNN.png (and NNNN-2.png, ... when the job prints several different
// labels) next to the job's spool file and logs what it wrote and what it did not understand.
// Needs a QGuiApplication for the fonts; runs on whatever thread calls the hook.
VirtualPrinter::JobHook MakeRenderHook(std::function<void(const std::string&)> log);

}  // namespace velkaro::virtual_printer
