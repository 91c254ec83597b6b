// The queries a host sends to learn a printer's state, byte for byte, in each language.
#pragma once

#include <string>

namespace velkaro::printer_language {

enum class Language { Zpl, Epl, Cpcl };

// ZPL host status (three framed strings), host query "ES" (error and warning flags) and host
// identification (model, firmware, resolution, memory).
inline const std::string kZplHostStatus = "~HS";
inline const std::string kZplHostQueryStatus = "~HQES";
inline const std::string kZplHostIdentification = "~HI";

// EPL: error report ("^ee") and the printer's configuration listing ("UQ"); EPL reads a
// command up to its line end.
inline const std::string kEplErrorReport = "^ee\r\n";
inline const std::string kEplConfiguration = "UQ\r\n";

// CPCL: ESC h (status byte), ESC i (extended status byte) and ESC v (model and version).
inline const std::string kCpclStatus = "\x1bh";
inline const std::string kCpclExtendedStatus = "\x1bi";
inline const std::string kCpclVersion = "\x1bv";

// Set-Get-Do, understood whatever language the printer is in.
std::string SgdGetvar(const std::string& name);
std::string SgdSetvar(const std::string& name, const std::string& value);
std::string SgdDo(const std::string& name, const std::string& value);

}  // namespace velkaro::printer_language
