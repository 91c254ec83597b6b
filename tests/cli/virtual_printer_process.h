// The virtual printer, velkaro-printer, run as a process of its own on an ephemeral loopback
// port (and, when asked, a pseudo-terminal), with a private spool folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "cli_process.h"
#include "support/temp_dir.h"

namespace velkaro::test {

inline const std::string kVirtualPrinter = VELKARO_PRINTER_PATH;

class VirtualPrinterProcess {
  public:
    // `flags` such as --paper-out; `ptyLink` makes the printer also answer on a serial line.
    explicit VirtualPrinterProcess(std::vector<std::string> flags = {},
                                   const std::filesystem::path& ptyLink = {})
        : process_(kVirtualPrinter, Arguments(std::move(flags), ptyLink, spool_.Str())) {
        if (!process_.WaitForError("spooling jobs to", 30000))
            throw std::runtime_error("the virtual printer did not start: " + process_.SoFar().err);
        std::smatch found;
        const std::string& log = process_.SoFar().err;
        if (!std::regex_search(log, found, std::regex(R"(listening on 127\.0\.0\.1:(\d+))")))
            throw std::runtime_error("no port in the virtual printer's log: " + log);
        port_ = found[1];
    }

    std::string Device() const { return "tcp:127.0.0.1:" + port_; }

    // The spooled jobs in the order printed.
    std::vector<std::string> Jobs() const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(spool_.Path()))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::vector<std::string> jobs;
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            jobs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return jobs;
    }

  private:
    static std::vector<std::string> Arguments(std::vector<std::string> flags,
                                              const std::filesystem::path& ptyLink,
                                              const std::string& spool) {
        flags.insert(flags.end(), {"--listen", "127.0.0.1:0", "--spool", spool});
        if (!ptyLink.empty()) flags.insert(flags.end(), {"--pty", ptyLink.string()});
        return flags;
    }

    TempDir spool_;
    ChildProcess process_;
    std::string port_;
};

}  // namespace velkaro::test
