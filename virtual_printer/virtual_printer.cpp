#include "virtual_printer/virtual_printer.h"

#include <cctype>
#include <stdexcept>
#include <utility>

#include "printer_language/query_scanner.h"
#include "virtual_printer/label_facts.h"
#include "virtual_printer/reply_builder.h"

namespace velkaro::virtual_printer {

using printer_language::Language;
using printer_language::StreamUnit;

namespace {

// A short printable form of a command for the log.
std::string Printable(std::string_view bytes, std::size_t limit = 40) {
    std::string text;
    for (char c : bytes.substr(0, limit)) {
        if (c == '\r' || c == '\n') continue;
        text += std::isprint(static_cast<unsigned char>(c)) ? c : '.';
    }
    if (bytes.size() > limit) text += "...";
    return text;
}

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

}  // namespace

VirtualPrinter::VirtualPrinter(PrinterConfig config, LogSink log)
    : config_(std::move(config)),
      log_(std::move(log)),
      state_(config_.initial),
      sgd_(config_.languages),
      spool_(config_.spoolFolder) {}

void VirtualPrinter::SetJobHook(JobHook hook) {
    hook_ = std::move(hook);
}

VirtualPrinter::Input::Input(VirtualPrinter& printer)
    : printer_(printer), splitter_(printer.config_.languages) {}

std::string VirtualPrinter::Input::Feed(std::string_view bytes) {
    std::string replies;
    splitter_.Feed(bytes, [&](const StreamUnit& unit) { printer_.Handle(unit, replies); });
    return replies;
}

PrinterState VirtualPrinter::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

int VirtualPrinter::JobsSpooled() const {
    std::lock_guard lock(mutex_);
    return jobsSpooled_;
}

void VirtualPrinter::Log(const std::string& line) const {
    if (log_) log_(line);
}

void VirtualPrinter::Handle(const StreamUnit& unit, std::string& replies) {
    switch (unit.kind) {
        case StreamUnit::Kind::Job:
            HandleJob(unit);
            break;
        case StreamUnit::Kind::Query: {
            std::string reply;
            {
                std::lock_guard lock(mutex_);
                reply = ReplyFor(unit.query, state_);
            }
            Log(std::string("query ") + printer_language::QueryName(unit.query) + ": replied " +
                std::to_string(reply.size()) + " bytes");
            replies += reply;
            break;
        }
        case StreamUnit::Kind::Sgd:
            HandleSgd(unit.bytes, replies);
            break;
        case StreamUnit::Kind::Command:
            HandleCommand(unit);
            break;
        case StreamUnit::Kind::Ignored:
            Log("ignored " + std::to_string(unit.bytes.size()) +
                " bytes: " + Printable(unit.bytes));
            break;
    }
}

void VirtualPrinter::HandleJob(const StreamUnit& unit) {
    const long labels = LabelQuantity(unit.language, unit.bytes);
    SpooledJob job;
    job.language = unit.language;
    job.bytes = unit.bytes;
    job.labels = labels;
    bool printed = false;
    {
        std::lock_guard lock(mutex_);
        try {
            job.file = spool_.Write(unit.language, unit.bytes);
        } catch (const std::exception& error) {
            Log(std::string("job not spooled: ") + error.what());
        }
        job.number = spool_.LastNumber();
        ++jobsSpooled_;
        if (unit.language == Language::Zpl) {
            if (const auto length = ZplLabelLength(unit.bytes)) state_.labelLengthDots = *length;
        }
        ++state_.formatsWaiting;
        state_.labelsWaiting += labels;
        printed = state_.CanPrint();
        PrintWaitingLabels();
    }
    Log("job " + job.file.filename().string() + ": " + std::to_string(unit.bytes.size()) +
        " bytes, " + std::to_string(labels) + (labels == 1 ? " label" : " labels") +
        (printed ? "" : ", held until the printer is ready"));
    if (hook_ && !job.file.empty()) hook_(job);
}

void VirtualPrinter::PrintWaitingLabels() {
    if (!state_.CanPrint()) return;
    state_.labelsPrinted += state_.labelsWaiting;
    state_.printedDots += state_.labelsWaiting * state_.labelLengthDots;
    state_.labelsWaiting = 0;
    state_.formatsWaiting = 0;
}

void VirtualPrinter::HandleSgd(std::string_view line, std::string& replies) {
    const auto command = printer_language::ParseSgdLine(line);
    if (!command) {
        Log("sgd not understood: " + Printable(line));
        return;
    }
    using Verb = printer_language::SgdCommand::Verb;
    std::lock_guard lock(mutex_);
    if (command->verb == Verb::Getvar) {
        const std::string value = sgd_.Get(command->name, state_).value_or("?");
        replies += Quoted(value);
        Log("sgd getvar " + Quoted(command->name) + ": " + Quoted(value));
        return;
    }
    const bool stored = sgd_.Set(command->name, command->value, state_);
    PrintWaitingLabels();
    Log(std::string("sgd ") + (command->verb == Verb::Setvar ? "setvar " : "do ") +
        Quoted(command->name) + ' ' + Quoted(command->value) + (stored ? "" : ": read-only"));
}

void VirtualPrinter::HandleCommand(const StreamUnit& unit) {
    if (unit.language == Language::Zpl && unit.bytes.size() >= 3) {
        const std::string code{static_cast<char>(std::toupper(unit.bytes[1])),
                               static_cast<char>(std::toupper(unit.bytes[2]))};
        std::lock_guard lock(mutex_);
        if (code == "PP") state_.paused = true;
        if (code == "PS") state_.paused = false;
        if (code == "JA") {  // cancel all: drop what waits
            state_.formatsWaiting = 0;
            state_.labelsWaiting = 0;
        }
        PrintWaitingLabels();
    }
    Log("command " + Printable(unit.bytes));
}

}  // namespace velkaro::virtual_printer
