// The Set-Get-Do variables of the virtual printer. Some mirror its state (reading them shows the
// state, setting them changes it); any other name a host sets is kept and read back.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "printer_language/job_splitter.h"
#include "virtual_printer/printer_state.h"

namespace velkaro::virtual_printer {

class SgdVariables {
  public:
    explicit SgdVariables(printer_language::LanguageSet languages);

    // The value of `name`, or nullopt when the printer does not know it.
    std::optional<std::string> Get(const std::string& name, const PrinterState& state) const;

    // Stores `value`; a variable that mirrors the state changes the state. Returns false for a
    // read-only variable.
    bool Set(const std::string& name, const std::string& value, PrinterState& state);

  private:
    printer_language::LanguageSet languages_;
    std::map<std::string, std::string> stored_;
};

}  // namespace velkaro::virtual_printer
