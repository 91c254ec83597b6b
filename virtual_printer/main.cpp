// velkaro-printer: a virtual label printer on TCP (and optionally a pseudo-terminal).
#include <csignal>
#include <cstdio>
#include <exception>

#include "virtual_printer/printer_options.h"
#include "virtual_printer/printer_server.h"
#include "virtual_printer/spool_writer.h"
#include "virtual_printer/virtual_printer.h"

namespace {

int g_stopFd = -1;

void OnSignal(int) {
    const unsigned long long one = 1;
    [[maybe_unused]] ssize_t n = ::write(g_stopFd, &one, sizeof one);
}

void LogLine(const std::string& line) {
    std::fprintf(stderr, "velkaro-printer: %s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velkaro::virtual_printer;
    PrinterOptions options;
    std::string error;
    if (!ParsePrinterOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "velkaro-printer: %s\n%s", error.c_str(), PrinterUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(PrinterUsage(), stdout);
        return 0;
    }
    try {
        PrinterConfig config;
        config.languages = options.languages;
        config.spoolFolder = options.spool.empty() ? MakePrivateSpoolFolder() : options.spool;
        config.initial = options.initial;
        VirtualPrinter printer(config, LogLine);
        PrinterServer server(printer, options.listen, options.pty);
        g_stopFd = server.StopFd();
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        std::signal(SIGPIPE, SIG_IGN);
        LogLine("listening on " + options.listen.host + ':' + std::to_string(server.Port()));
        if (!server.PtyName().empty())
            LogLine("serial line " + options.pty.string() + " -> " + server.PtyName());
        LogLine("spooling jobs to " + printer.SpoolFolder().string());
        server.Run();
        LogLine("stopped");
    } catch (const std::exception& failure) {
        LogLine(failure.what());
        return 1;
    }
    return 0;
}
