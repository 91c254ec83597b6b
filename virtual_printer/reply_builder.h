// The replies to status queries, framed byte for byte as a printer frames them.
#pragma once

#include <string>

#include "printer_language/query_scanner.h"
#include "virtual_printer/printer_state.h"

namespace velkaro::virtual_printer {

// ~HS: three strings, each STX … ETX CR LF.
std::string ZplHostStatusReply(const PrinterState& state);
// The three ~HS strings without framing, joined by commas (SGD "device.host_status").
std::string ZplHostStatusFields(const PrinterState& state);
// ~HQES: STX, "PRINTER STATUS", "ERRORS: …", "WARNINGS: …" separated by CR LF, ETX.
std::string ZplHostQueryStatusReply(const PrinterState& state);
// ~HI: STX model,Vfirmware,dpmm,memoryKB ETX.
std::string ZplHostIdentificationReply(const PrinterState& state);
// ^ee: "00" CR LF, or the error codes joined by commas.
std::string EplErrorReply(const PrinterState& state);
// UQ: a few lines of configuration text.
std::string EplConfigurationReply(const PrinterState& state);
// ESC h: one status byte.
std::string CpclStatusReply(const PrinterState& state);
// ESC i: one extended status byte.
std::string CpclExtendedStatusReply(const PrinterState& state);
// ESC v: model and version, NUL-terminated.
std::string CpclVersionReply();

std::string ReplyFor(printer_language::QueryKind query, const PrinterState& state);

}  // namespace velkaro::virtual_printer
