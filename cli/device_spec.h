// The DEVICE argument of the command-line tool: which port, and how it is set up.
//   COM33[:115200,N,8,1]   serial port (baud, parity N/E/O/M/S, data bits 5-8, stop bits 1/1.5/2)
//   LPT1                   parallel port (send only)
//   USB, USB:N             the USB printer at position N of `list` (0 when omitted)
//   tcp:ADDR[:PORT]        network printer, raw port 9100 unless given
#pragma once

#include <optional>
#include <string>

#include "connections/serial_line.h"

namespace velkaro::cli {

enum class DeviceKind { Serial, Parallel, Usb, Tcp };

struct DeviceSpec {
    DeviceKind kind = DeviceKind::Serial;
    std::string text;         // as the user wrote it, for messages
    int port = 0;             // COM<n> or LPT<n>
    SerialLineSettings line;  // serial only; codes as CASYNSerialPort::Open takes them
    int usbIndex = 0;         // position among the USB printers
    std::string host;         // tcp: address or name
    int tcpPort = 9100;
};

inline constexpr int kDefaultTcpPort = 9100;

// The device named by `text`, or nothing with `error` saying what is wrong with it.
std::optional<DeviceSpec> ParseDeviceSpec(const std::string& text, std::string* error);

// "9600,N,8,1" style text of serial line settings.
std::string DescribeLine(const SerialLineSettings& line);

}  // namespace velkaro::cli
