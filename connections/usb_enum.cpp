#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "connections/usb_device.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

std::string Trim(const std::string& text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ReadSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

// N for a name "lp<N>", -1 for any other name.
long PrinterIndex(const std::string& name) {
    if (name.size() < 3 || name.size() > 12 || name.compare(0, 2, "lp") != 0) return -1;
    long index = 0;
    for (std::size_t i = 2; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
        index = index * 10 + (name[i] - '0');
    }
    return index;
}

// The node below the device folder that the uevent file names, "usb/lp<N>" when it names none.
std::string DeviceName(const fs::path& entry, const std::string& name) {
    const std::string uevent = ReadSmallFile(entry / "uevent");
    std::size_t from = 0;
    while (from < uevent.size()) {
        std::size_t end = uevent.find('\n', from);
        if (end == std::string::npos) end = uevent.size();
        const std::string line = uevent.substr(from, end - from);
        if (line.compare(0, 8, "DEVNAME=") == 0) {
            std::string value = Trim(line.substr(8));
            value.erase(0, value.find_first_not_of('/'));
            if (!value.empty()) return value;
        }
        from = end + 1;
    }
    return "usb/" + name;
}

// The USB port path: the folder above the interface the entry's device link leads to.
std::string PortPath(const fs::path& entry, const std::string& name) {
    std::error_code error;
    fs::path interface = fs::canonical(entry / "device", error);
    if (error) {
        const fs::path link = fs::read_symlink(entry / "device", error);
        if (error) return name;  // no device link: the entry's own name tells it apart
        fs::path base = fs::canonical(entry, error);
        if (error) base = entry;
        interface = (link.is_absolute() ? link : base / link).lexically_normal();
    }
    const std::string port = interface.parent_path().filename().string();
    return port.empty() ? name : port;
}

}  // namespace

std::string PrinterNameFromDeviceId(const std::string& deviceId) {
    std::string manufacturer, model;
    std::size_t from = 0;
    while (from < deviceId.size()) {
        std::size_t end = deviceId.find(';', from);
        if (end == std::string::npos) end = deviceId.size();
        const std::string item = deviceId.substr(from, end - from);
        const std::size_t colon = item.find(':');
        if (colon != std::string::npos) {
            const std::string key = Upper(Trim(item.substr(0, colon)));
            std::string value = Trim(item.substr(colon + 1));
            for (char& c : value)
                if (std::iscntrl(static_cast<unsigned char>(c))) c = ' ';
            if ((key == "MFG" || key == "MANUFACTURER") && manufacturer.empty())
                manufacturer = value;
            else if ((key == "MDL" || key == "MODEL") && model.empty())
                model = value;
        }
        from = end + 1;
    }
    if (manufacturer.empty()) return model;
    if (model.empty()) return manufacturer;
    const std::string prefix = Upper(manufacturer) + ' ';
    if (Upper(model).compare(0, prefix.size(), prefix) == 0) return model;
    return manufacturer + ' ' + model;
}

void EnumUsbPrinters(std::vector<tagUSBDevice>& list, const std::string& sysRoot,
                     const std::string& devRoot) {
    list.clear();
    std::vector<std::pair<long, std::string>> names;
    std::error_code error;
    const fs::path folder = fs::path(sysRoot) / "class" / "usbmisc";
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const long index = PrinterIndex(name);
        if (index >= 0) names.emplace_back(index, name);
    }
    std::sort(names.begin(), names.end());

    for (const auto& [index, name] : names) {
        const fs::path entry = folder / name;
        tagUSBDevice device;
        device.strDevicePath = devRoot + "/" + DeviceName(entry, name);
        if (!fs::exists(device.strDevicePath, error)) continue;  // unplugged: the node is gone
        device.strLocation = PortPath(entry, name);
        const std::string printer =
            PrinterNameFromDeviceId(ReadSmallFile(entry / "device" / "ieee1284_id"));
        if (!printer.empty()) device.strLocation += ' ' + printer;
        list.push_back(std::move(device));
    }
}

}  // namespace velkaro
