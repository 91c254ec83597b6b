#include "virtual_printer/reply_builder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velkaro::virtual_printer {
namespace {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr char kCrLf[] = "\r\n";

template <typename... Values>
std::string Printf(const char* pattern, Values... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

int Flag(bool on) {
    return on ? 1 : 0;
}

std::string HostStatusString1(const PrinterState& s) {
    // communication settings, paper out, pause, label length, formats in buffer, buffer full,
    // diagnostic mode, partial format, unused, corrupt RAM, under and over temperature
    return Printf("030,%d,%d,%04d,%03d,0,0,0,000,0,0,0", Flag(s.paperOut), Flag(s.paused),
                  s.labelLengthDots % 10000, s.formatsWaiting % 1000);
}

std::string HostStatusString2(const PrinterState& s) {
    // function settings, unused, head up, ribbon out, thermal transfer, print mode (tear off),
    // print width mode, label waiting, labels remaining in batch, format while printing,
    // graphics stored
    return Printf("001,0,%d,%d,1,2,6,%d,%08lld,1,000", Flag(s.headOpen), Flag(s.ribbonOut),
                  Flag(s.labelsWaiting > 0), static_cast<long long>(s.labelsWaiting % 100000000));
}

constexpr char kHostStatusString3[] = "1234,0";  // password, no static RAM

std::string Framed(const std::string& text) {
    return kStx + text + kEtx;
}

}  // namespace

std::string ZplHostStatusReply(const PrinterState& state) {
    return Framed(HostStatusString1(state)) + kCrLf + Framed(HostStatusString2(state)) + kCrLf +
           Framed(kHostStatusString3) + kCrLf;
}

std::string ZplHostStatusFields(const PrinterState& state) {
    return HostStatusString1(state) + ',' + HostStatusString2(state) + ',' + kHostStatusString3;
}

std::string ZplHostQueryStatusReply(const PrinterState& state) {
    // Group 1 error bits: media out, ribbon out, head open, cutter fault; the next nibble holds
    // the over-temperature bits, never set here.
    const unsigned errors =
        (state.paperOut ? 0x1u : 0) | (state.ribbonOut ? 0x2u : 0) | (state.headOpen ? 0x4u : 0);
    return kStx + std::string("PRINTER STATUS") + kCrLf +
           Printf("ERRORS:   %d 00000000 %08X", Flag(errors != 0), errors) + kCrLf +
           "WARNINGS: 0 00000000 00000000" + kEtx;
}

std::string ZplHostIdentificationReply(const PrinterState& state) {
    return Framed(Printf("%s,%s,%d,%dKB", kModel, kFirmware, state.dotsPerMm, kMemoryKb));
}

std::string EplErrorReply(const PrinterState& state) {
    std::vector<std::string> codes;
    if (state.paperOut || state.ribbonOut) codes.push_back("07");
    if (state.headOpen) codes.push_back("11");
    if (state.paused) codes.push_back("12");
    if (codes.empty()) return std::string("00") + kCrLf;
    std::string reply;
    for (const std::string& code : codes) reply += (reply.empty() ? "" : ",") + code;
    return reply + kCrLf;
}

std::string EplConfigurationReply(const PrinterState& state) {
    const int widthDots = 104 * state.dotsPerMm;
    return Printf("%s EPL2 %s", kModel, kFirmware) + kCrLf + "S4 D10 R0,0 ZT UN" + kCrLf +
           Printf("I8,A,001 rN q%d Q%d,24", widthDots, state.labelLengthDots) + kCrLf +
           Printf("Option: D Ff  Labels printed: %lld",
                  static_cast<long long>(state.labelsPrinted)) +
           kCrLf;
}

std::string CpclStatusReply(const PrinterState& state) {
    // bit 0 busy, 1 out of paper, 2 latch open, 3 battery low, 4 reset
    const char status =
        static_cast<char>((state.paperOut ? 0x02 : 0) | (state.headOpen ? 0x04 : 0));
    return std::string(1, status);
}

std::string CpclExtendedStatusReply(const PrinterState& state) {
    // bit 4 paper jam, 5 label not removed, 6 paper low, 7 no ribbon; the low nibble is unused
    return std::string(1, static_cast<char>(state.ribbonOut ? 0x80 : 0));
}

std::string CpclVersionReply() {
    return Printf("%s CPCL %s", kModel, kFirmware) + '\0';
}

std::string ReplyFor(printer_language::QueryKind query, const PrinterState& state) {
    using printer_language::QueryKind;
    switch (query) {
        case QueryKind::ZplHostStatus:
            return ZplHostStatusReply(state);
        case QueryKind::ZplHostQueryStatus:
            return ZplHostQueryStatusReply(state);
        case QueryKind::ZplHostIdentification:
            return ZplHostIdentificationReply(state);
        case QueryKind::EplErrorReport:
            return EplErrorReply(state);
        case QueryKind::EplConfiguration:
            return EplConfigurationReply(state);
        case QueryKind::CpclStatus:
            return CpclStatusReply(state);
        case QueryKind::CpclExtendedStatus:
            return CpclExtendedStatusReply(state);
        case QueryKind::CpclVersion:
            return CpclVersionReply();
    }
    return {};
}

}  // namespace velkaro::virtual_printer
