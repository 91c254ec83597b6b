// The command line of velkaro-printer.
#pragma once

#include <filesystem>
#include <string>

#include "virtual_printer/printer_server.h"
#include "virtual_printer/virtual_printer.h"

namespace velkaro::virtual_printer {

struct PrinterOptions {
    ListenAddress listen;
    std::filesystem::path pty;    // empty: no pseudo-terminal
    std::filesystem::path spool;  // empty: a private temporary folder
    printer_language::LanguageSet languages;
    PrinterState initial;
    bool help = false;
};

// Fills `options` from the arguments; on a bad argument returns false with `error` set.
bool ParsePrinterOptions(int argc, const char* const* argv, PrinterOptions& options,
                         std::string& error);

const char* PrinterUsage();

}  // namespace velkaro::virtual_printer
