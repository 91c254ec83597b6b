// The printers of the kernel's USB printer class driver (usblp), as the USB port lists them.
#pragma once

#include <string>
#include <vector>

namespace velkaro {

struct tagUSBDevice {
    std::string strDevicePath;  // the device node, e.g. "/dev/usb/lp0"
    std::string strLocation;    // USB port path, then manufacturer and model: "1-1.4 Zebra ZT410"
};

// Lists <sysRoot>/class/usbmisc/lp<N> in the numeric order of N (lp2 before lp10).
// strDevicePath is <devRoot>/ followed by the DEVNAME of the entry's uevent file (usb/lp<N> when
// the file or the key is missing). strLocation is the name of the USB device folder above the
// interface that <entry>/device links to ("1-1.4" for .../1-1/1-1.4/1-1.4:1.0), followed, when
// the interface's IEEE 1284 device ID (<entry>/device/ieee1284_id) names them, by a space and the
// manufacturer and model (MFG:/MANUFACTURER: and MDL:/MODEL: keys), so two printers of one kind
// are told apart by their ports. An entry without a device link is located by its own name.
// Entries whose device node does not exist (a printer unplugged a moment ago) are left out.
void EnumUsbPrinters(std::vector<tagUSBDevice>& list, const std::string& sysRoot = "/sys",
                     const std::string& devRoot = "/dev");

// The manufacturer and model named by an IEEE 1284 device ID, joined by a space ("" when it names
// neither). A model that already begins with the manufacturer's name is given alone.
std::string PrinterNameFromDeviceId(const std::string& deviceId);

}  // namespace velkaro
