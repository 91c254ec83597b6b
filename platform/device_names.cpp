#include "platform/device_names.h"

#include <cctype>
#include <climits>

namespace velkaro {
namespace {

struct SerialRange {
    int first;
    const char* stem;
};

constexpr SerialRange kSerialRanges[] = {
    {1, "ttyS"}, {33, "ttyUSB"}, {65, "ttyACM"}, {97, "ttyAMA"}, {129, "rfcomm"},
};
constexpr int kPortsPerRange = 32;
constexpr int kParallelPorts = 10;

}  // namespace

std::string SerialDevicePath(int portNumber, const std::string& deviceFolder) {
    for (const SerialRange& range : kSerialRanges) {
        const int index = portNumber - range.first;
        if (index >= 0 && index < kPortsPerRange)
            return deviceFolder + "/" + range.stem + std::to_string(index);
    }
    return {};
}

std::string ParallelDevicePath(int portNumber, const std::string& deviceFolder) {
    if (portNumber < 1 || portNumber > kParallelPorts) return {};
    return deviceFolder + "/lp" + std::to_string(portNumber - 1);
}

int LeadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // saturate
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int PortNumberFromName(const std::string& text, const std::string& prefix) {
    if (prefix.empty()) return LeadingNumber(text);
    std::string rest;  // one left-to-right pass, like a string replace
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(prefix, from)) != std::string::npos;
         from = at + prefix.size())
        rest.append(text, from, at - from);
    rest.append(text, from, std::string::npos);
    return LeadingNumber(rest);
}

}  // namespace velkaro
