// A virtual printer served from a thread of its own on an ephemeral loopback port, with a
// private spool folder, for as long as the object lives.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#include "virtual_printer/printer_server.h"
#include "virtual_printer/virtual_printer.h"

namespace velkaro::test {

class RunningPrinter {
  public:
    explicit RunningPrinter(virtual_printer::PrinterConfig config = {},
                            const std::filesystem::path& ptyLink = {})
        : printer_(WithSpool(std::move(config)), [this](const std::string& line) { Keep(line); }),
          server_(printer_, {"127.0.0.1", 0}, ptyLink),
          thread_([this] { server_.Run(); }) {}
    ~RunningPrinter() {
        server_.Stop();
        thread_.join();
    }
    RunningPrinter(const RunningPrinter&) = delete;
    RunningPrinter& operator=(const RunningPrinter&) = delete;

    std::uint16_t Port() const { return server_.Port(); }
    virtual_printer::VirtualPrinter& Printer() { return printer_; }
    const std::filesystem::path& Spool() const { return spool_.Path(); }
    std::vector<std::string> LogLines() {
        std::lock_guard lock(mutex_);
        return log_;
    }

  private:
    virtual_printer::PrinterConfig WithSpool(virtual_printer::PrinterConfig config) {
        if (config.spoolFolder.empty()) config.spoolFolder = spool_.Path();
        return config;
    }
    void Keep(const std::string& line) {
        std::lock_guard lock(mutex_);
        log_.push_back(line);
    }

    TempDir spool_;
    std::mutex mutex_;
    std::vector<std::string> log_;
    virtual_printer::VirtualPrinter printer_;
    virtual_printer::PrinterServer server_;
    std::thread thread_;  // last: starts once the rest is in place
};

}  // namespace velkaro::test
