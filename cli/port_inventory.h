// The printer ports present on this machine, as `list` shows them.
#pragma once

#include <string>
#include <vector>

#include "cli/device_link.h"

namespace velkaro::cli {

struct PortEntry {
    std::string device;       // what to pass as DEVICE: "COM33", "LPT1", "USB:0"
    std::string kind;         // "serial", "parallel", "usb"
    std::string node;         // the device node
    std::string description;  // the kind of serial line, or the USB printer's location text
};

// Serial ports by COM number, parallel ports by LPT number, then the USB printers in the order
// of their positions. An on-board serial node is left out when the kernel found no UART behind
// it (its sysfs "type" is 0), as most such nodes exist whether or not there is a port.
std::vector<PortEntry> ListPorts(const HostFolders& folders);

}  // namespace velkaro::cli
