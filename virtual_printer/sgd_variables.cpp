#include "virtual_printer/sgd_variables.h"

#include <string>

#include "virtual_printer/reply_builder.h"

namespace velkaro::virtual_printer {
namespace {

constexpr double kDotsPerInchPerDotsPerMm = 25.4;

std::string LanguagesValue(printer_language::LanguageSet languages) {
    std::string value;
    auto add = [&value](const char* name) {
        value += (value.empty() ? "" : "_") + std::string(name);
    };
    if (languages.epl) add("epl");
    if (languages.zpl) add("zpl");
    if (languages.cpcl) add("cpcl");
    return value;
}

std::string PrintLength(const PrinterState& state) {
    const double mm = static_cast<double>(state.printedDots) / state.dotsPerMm;
    return std::to_string(static_cast<long long>(mm / kDotsPerInchPerDotsPerMm)) + " INCHES, " +
           std::to_string(static_cast<long long>(mm / 10)) + " CENTIMETERS";
}

bool IsOn(const std::string& value) {
    return value != "0" && value != "off";
}

}  // namespace

SgdVariables::SgdVariables(printer_language::LanguageSet languages) : languages_(languages) {
    stored_["device.friendly_name"] = kModel;
}

std::optional<std::string> SgdVariables::Get(const std::string& name,
                                             const PrinterState& state) const {
    if (name == "device.languages") return LanguagesValue(languages_);
    if (name == "appl.name") return std::string(kFirmware);
    if (name == "head.latch") return std::string(state.headOpen ? "open" : "ok");
    if (name == "media.status") return std::string(state.paperOut ? "out" : "ok");
    if (name == "ribbon.status") return std::string(state.ribbonOut ? "out" : "ok");
    if (name == "device.pause") return std::string(state.paused ? "1" : "0");
    if (name == "device.host_status") return ZplHostStatusFields(state);
    if (name == "odometer.total_print_length") return PrintLength(state);
    if (name == "odometer.total_label_count") return std::to_string(state.labelsPrinted);
    const auto stored = stored_.find(name);
    if (stored != stored_.end()) return stored->second;
    return std::nullopt;
}

bool SgdVariables::Set(const std::string& name, const std::string& value, PrinterState& state) {
    if (name == "device.languages" || name == "appl.name" || name == "device.host_status" ||
        name == "odometer.total_print_length" || name == "odometer.total_label_count")
        return false;
    if (name == "head.latch") {
        state.headOpen = value == "open";
    } else if (name == "media.status") {
        state.paperOut = value == "out";
    } else if (name == "ribbon.status") {
        state.ribbonOut = value == "out";
    } else if (name == "device.pause") {
        state.paused = IsOn(value);
    } else {
        stored_[name] = value;
    }
    return true;
}

}  // namespace velkaro::virtual_printer
