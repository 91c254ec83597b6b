#include "virtual_printer/printer_options.h"

#include <string_view>

namespace velkaro::virtual_printer {

const char* PrinterUsage() {
    return "usage: velkaro-printer [--listen ADDR:PORT] [--pty PATH] [--language zpl|epl|cpcl]...\n"
           "                       [--spool DIR] [--paper-out] [--head-open] [--paused]\n"
           "A virtual label printer: prints label jobs into the spool folder and answers\n"
           "status queries like a real printer. Listens on 127.0.0.1:9100 unless told.\n";
}

bool ParsePrinterOptions(int argc, const char* const* argv, PrinterOptions& options,
                         std::string& error) {
    bool languageGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = std::string(option) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--paper-out") {
            options.initial.paperOut = true;
        } else if (option == "--head-open") {
            options.initial.headOpen = true;
        } else if (option == "--paused") {
            options.initial.paused = true;
        } else if (option == "--listen") {
            if (!value(text)) return false;
            if (!ParseListenAddress(text, options.listen)) {
                error = "not an address and port: " + text;
                return false;
            }
        } else if (option == "--pty") {
            if (!value(text)) return false;
            options.pty = text;
        } else if (option == "--spool") {
            if (!value(text)) return false;
            options.spool = text;
        } else if (option == "--language") {
            if (!value(text)) return false;
            if (!languageGiven) options.languages = {false, false, false};
            languageGiven = true;
            if (text == "zpl")
                options.languages.zpl = true;
            else if (text == "epl")
                options.languages.epl = true;
            else if (text == "cpcl")
                options.languages.cpcl = true;
            else {
                error = "unknown language: " + text + " (zpl, epl or cpcl)";
                return false;
            }
        } else {
            error = "unknown option: " + std::string(option);
            return false;
        }
    }
    return true;
}

}  // namespace velkaro::virtual_printer
