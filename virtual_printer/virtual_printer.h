// The virtual label printer: takes bytes from its inputs, prints (counts and spools) the label
// jobs in them and answers their status queries and Set-Get-Do lines. No sockets here: the
// server feeds it, tests may feed it directly.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "printer_language/job_splitter.h"
#include "virtual_printer/printer_state.h"
#include "virtual_printer/sgd_variables.h"
#include "virtual_printer/spool_writer.h"

namespace velkaro::virtual_printer {

struct PrinterConfig {
    printer_language::LanguageSet languages;
    std::filesystem::path spoolFolder;
    PrinterState initial;
};

// A label job once it is in the spool folder.
struct SpooledJob {
    int number = 0;
    printer_language::Language language = printer_language::Language::Zpl;
    std::filesystem::path file;
    std::string_view bytes;  // valid during the hook only
    long labels = 1;
};

class VirtualPrinter {
  public:
    using LogSink = std::function<void(const std::string& line)>;
    using JobHook = std::function<void(const SpooledJob& job)>;

    VirtualPrinter(PrinterConfig config, LogSink log);

    // Called for every job after it has been spooled, on the thread that fed it.
    void SetJobHook(JobHook hook);

    // One byte stream into the printer (the network port across its connections, or the
    // pseudo-terminal). Jobs are cut by language only, so a job may span connections.
    class Input {
      public:
        explicit Input(VirtualPrinter& printer);
        // Takes the next bytes; returns the replies they call for, in order.
        std::string Feed(std::string_view bytes);

      private:
        VirtualPrinter& printer_;
        printer_language::JobSplitter splitter_;
    };

    PrinterState State() const;
    const std::filesystem::path& SpoolFolder() const { return spool_.Folder(); }
    int JobsSpooled() const;
    printer_language::LanguageSet Languages() const { return config_.languages; }
    void Log(const std::string& line) const;

  private:
    void Handle(const printer_language::StreamUnit& unit, std::string& replies);
    void HandleJob(const printer_language::StreamUnit& unit);
    void HandleSgd(std::string_view line, std::string& replies);
    void HandleCommand(const printer_language::StreamUnit& unit);
    void PrintWaitingLabels();  // with the lock held

    PrinterConfig config_;
    LogSink log_;
    JobHook hook_;
    mutable std::mutex mutex_;  // guards state_, sgd_ and spool_
    PrinterState state_;
    SgdVariables sgd_;
    SpoolWriter spool_;
    int jobsSpooled_ = 0;
};

}  // namespace velkaro::virtual_printer
