// USB printers in a fake sysfs and device folder, laid out as the USB printer class driver
// leaves them: the interface folder with its ieee1284_id, the class/usbmisc/lp<n> entry with its
// uevent and its device link, and the node <dev>/usb/lp<n>.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace velkaro::test {

// What stands at <dev>/usb/lp<n>.
enum class UsbNode { kNone, kRegularFile, kFifo, kSymlink };

struct FakeUsbPrinter {
    int n = 0;                      // lp<n>
    std::string port{};             // USB port path, "1-1.4"
    std::string deviceId{};         // ieee1284_id, none when empty
    UsbNode node = UsbNode::kFifo;  // a FIFO nobody reads unless told otherwise
    std::string linkTarget{};       // what a UsbNode::kSymlink node leads to
    bool linked = true;             // class/usbmisc/lp<n> is a link into the interface folder,
                                    // as the kernel makes it; else a folder of its own whose
                                    // device link is absolute
    bool uevent = true;             // MAJOR, MINOR and DEVNAME=usb/lp<n>
};

// Lays out `p` below the fake sysfs `sys` and the device folder `dev`; returns the node's path.
inline std::string AddFakeUsbPrinter(const std::filesystem::path& sys,
                                     const std::filesystem::path& dev, const FakeUsbPrinter& p) {
    namespace fs = std::filesystem;
    const std::string name = "lp" + std::to_string(p.n);
    fs::path usbDevice =
        sys / "devices/pci0000:00/0000:00:14.0" / ("usb" + p.port.substr(0, p.port.find('-')));
    for (std::size_t dot = p.port.find('.'); dot != std::string::npos;
         dot = p.port.find('.', dot + 1))
        usbDevice /= p.port.substr(0, dot);  // the hubs on the way
    usbDevice /= p.port;
    const fs::path interface = usbDevice / (p.port + ":1.0");
    fs::create_directories(interface);
    if (!p.deviceId.empty()) std::ofstream(interface / "ieee1284_id") << p.deviceId << "\n";

    const fs::path classFolder = sys / "class/usbmisc";
    fs::create_directories(classFolder);
    const fs::path entry = p.linked ? interface / "usbmisc" / name : classFolder / name;
    fs::create_directories(entry);
    if (p.linked) {
        fs::create_directory_symlink(fs::relative(entry, classFolder), classFolder / name);
        fs::create_directory_symlink("../../../" + p.port + ":1.0", entry / "device");
    } else {
        fs::create_directory_symlink(interface, entry / "device");
    }
    if (p.uevent)
        std::ofstream(entry / "uevent")
            << "MAJOR=180\nMINOR=" << p.n << "\nDEVNAME=usb/" << name << "\n";

    const std::string node = (dev / "usb" / name).string();
    if (p.node == UsbNode::kNone) return node;
    fs::create_directories(dev / "usb");
    switch (p.node) {
        case UsbNode::kRegularFile:
            if (!std::ofstream(node)) throw std::runtime_error("cannot create " + node);
            break;
        case UsbNode::kFifo:
            if (::mkfifo(node.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
            break;
        case UsbNode::kSymlink:
            fs::create_symlink(p.linkTarget, node);
            break;
        case UsbNode::kNone:
            break;
    }
    return node;
}

}  // namespace velkaro::test
