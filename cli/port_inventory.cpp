#include "cli/port_inventory.h"

#include <sys/stat.h>

#include <fstream>

#include "connections/usb_device.h"
#include "platform/device_names.h"

namespace velkaro::cli {
namespace {

constexpr int kLastComPort = 160;
constexpr int kLastLptPort = 10;

bool Exists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

std::string NodeName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

const char* SerialKind(const std::string& node) {
    if (node.rfind("ttyUSB", 0) == 0) return "USB serial adapter";
    if (node.rfind("ttyACM", 0) == 0) return "USB CDC-ACM device";
    if (node.rfind("ttyAMA", 0) == 0) return "ARM UART";
    if (node.rfind("rfcomm", 0) == 0) return "Bluetooth serial";
    return "on-board UART";
}

// False only when sysfs says that no UART answers behind an on-board node.
bool UartPresent(const std::string& sysfs, const std::string& node) {
    if (node.rfind("ttyS", 0) != 0) return true;
    std::ifstream type(sysfs + "/class/tty/" + node + "/type");
    int value = -1;
    if (!(type >> value)) return true;
    return value != 0;
}

}  // namespace

std::vector<PortEntry> ListPorts(const HostFolders& folders) {
    std::vector<PortEntry> ports;
    for (int n = 1; n <= kLastComPort; ++n) {
        const std::string path = SerialDevicePath(n, folders.devices);
        if (!Exists(path) || !UartPresent(folders.sysfs, NodeName(path))) continue;
        ports.push_back({"COM" + std::to_string(n), "serial", path, SerialKind(NodeName(path))});
    }
    for (int n = 1; n <= kLastLptPort; ++n) {
        const std::string path = ParallelDevicePath(n, folders.devices);
        if (Exists(path)) ports.push_back({"LPT" + std::to_string(n), "parallel", path, ""});
    }
    std::vector<tagUSBDevice> printers;
    EnumUsbPrinters(printers, folders.sysfs, folders.devices);
    for (std::size_t i = 0; i < printers.size(); ++i)
        ports.push_back({"USB:" + std::to_string(i), "usb", printers[i].strDevicePath,
                         printers[i].strLocation});
    return ports;
}

}  // namespace velkaro::cli
