#include "cli/device_spec.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "connections/serial_port.h"

namespace velkaro::cli {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// A whole decimal number in [low, high], nothing else around it.
std::optional<int> Number(const std::string& text, long low, long high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const long value = std::stol(text);
    if (value < low || value > high) return std::nullopt;
    return static_cast<int>(value);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

bool ParseLine(const std::string& text, SerialLineSettings* line, std::string* error) {
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() > 4) {
        *error = "too many serial settings (baud,parity,data bits,stop bits)";
        return false;
    }
    if (const auto baud = Number(parts[0], 50, 4000000)) {
        line->baudRate = *baud;
    } else {
        *error = "bad baud rate \"" + parts[0] + "\"";
        return false;
    }
    if (parts.size() > 1) {
        static const std::string kLetters = "NEMOS";  // in the order of the parity codes
        const std::string letter = Upper(parts[1]);
        const std::size_t code = letter.size() == 1 ? kLetters.find(letter[0]) : std::string::npos;
        if (code == std::string::npos) {
            *error = "bad parity \"" + parts[1] + "\" (N, E, O, M or S)";
            return false;
        }
        line->parity = static_cast<int>(code);
    }
    if (parts.size() > 2) {
        const auto bits = Number(parts[2], 5, 8);
        if (!bits) {
            *error = "bad data bits \"" + parts[2] + "\" (5 to 8)";
            return false;
        }
        line->dataBits = *bits;
    }
    if (parts.size() > 3) {
        if (parts[3] == "1") {
            line->stopBits = kOneStopBit;
        } else if (parts[3] == "1.5") {
            line->stopBits = kOne5StopBits;
        } else if (parts[3] == "2") {
            line->stopBits = kTwoStopBits;
        } else {
            *error = "bad stop bits \"" + parts[3] + "\" (1, 1.5 or 2)";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<DeviceSpec> ParseDeviceSpec(const std::string& text, std::string* error) {
    DeviceSpec spec;
    spec.text = text;
    const std::size_t colon = text.find(':');
    const std::string head = Upper(text.substr(0, colon));
    const std::string rest = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    const bool hasRest = colon != std::string::npos;

    if (head == "TCP") {
        spec.kind = DeviceKind::Tcp;
        const std::size_t portColon = rest.rfind(':');
        spec.host = rest.substr(0, portColon);
        if (portColon != std::string::npos) {
            const auto port = Number(rest.substr(portColon + 1), 1, 65535);
            if (!port) {
                *error = "bad TCP port \"" + rest.substr(portColon + 1) + "\" (1 to 65535)";
                return std::nullopt;
            }
            spec.tcpPort = *port;
        }
        if (spec.host.empty()) {
            *error = "no printer address (tcp:ADDR[:PORT])";
            return std::nullopt;
        }
        return spec;
    }
    if (head == "USB") {
        spec.kind = DeviceKind::Usb;
        if (hasRest) {
            const auto index = Number(rest, 0, 9999);
            if (!index) {
                *error = "bad USB position \"" + rest + "\" (USB:0 is the first printer)";
                return std::nullopt;
            }
            spec.usbIndex = *index;
        }
        return spec;
    }
    for (const auto& [prefix, kind] :
         {std::pair{"COM", DeviceKind::Serial}, std::pair{"LPT", DeviceKind::Parallel}}) {
        const std::string name(prefix);
        if (head.compare(0, name.size(), name) != 0) continue;
        const auto number = Number(head.substr(name.size()), 1, 9999);
        if (!number) break;
        spec.kind = kind;
        spec.port = *number;
        if (!hasRest) return spec;
        if (kind == DeviceKind::Parallel) {
            *error = "a parallel port takes no settings";
            return std::nullopt;
        }
        if (!ParseLine(rest, &spec.line, error)) return std::nullopt;
        return spec;
    }
    *error = "unknown device (use COMn[:baud,parity,bits,stop], LPTn, USB[:N] or tcp:ADDR[:PORT])";
    return std::nullopt;
}

std::string DescribeLine(const SerialLineSettings& line) {
    static const char* const kParity[] = {"N", "E", "M", "O", "S"};
    static const char* const kStop[] = {"1", "1.5", "2"};
    return std::to_string(line.baudRate) + ',' + kParity[line.parity] + ',' +
           std::to_string(line.dataBits) + ',' + kStop[line.stopBits];
}

}  // namespace velkaro::cli
