#include "cli/device_link.h"

#include <arpa/inet.h>
#include <grp.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/device_names.h"

namespace velkaro::cli {
namespace {

constexpr int kWaitSliceMs = 100;  // how often a wait looks at the reader and the stop event

std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// Dotted IPv4 address of `host`, looked up by name when it is not one already.
bool ResolveIpv4(const std::string& host, std::string* address) {
    in_addr numeric{};
    if (::inet_pton(AF_INET, host.c_str(), &numeric) == 1) {
        *address = host;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    char text[INET_ADDRSTRLEN] = {};
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = ::inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    if (ok) *address = text;
    return ok;
}

}  // namespace

HostFolders HostFolders::FromEnvironment() {
    HostFolders folders;
    folders.devices = cli::FromEnvironment("VELKARO_DEVICE_FOLDER", "/dev");
    folders.sysfs = cli::FromEnvironment("VELKARO_SYSFS_ROOT", "/sys");
    return folders;
}

std::string DescribeOpenFailure(const std::string& path, const char* usualGroup) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return "no such device " + path;
    if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        // The node's own group when it has one other than root (udev gives serial lines
        // "dialout" and printers "lp"), else the group such nodes usually belong to.
        const group* owner = info.st_gid != 0 ? ::getgrgid(info.st_gid) : nullptr;
        const std::string name = owner && owner->gr_name ? owner->gr_name : usualGroup;
        return "permission denied on " + path + " (join the " + name + " group: sudo usermod -aG " +
               name + " $USER, then log in again)";
    }
    return "cannot open " + path + " (another program may be using it)";
}

DeviceLink::~DeviceLink() {
    m_SerialPort.StopReader();
    m_USBPort.StopReader();
    m_SocketComm.Close();
    m_ParallelPort.Close();
}

bool DeviceLink::Open(const DeviceSpec& spec, std::string* error) {
    m_Spec = spec;
    switch (spec.kind) {
        case DeviceKind::Serial: {
            m_SerialPort.SetDeviceFolder(m_Folders.devices);
            const std::string path = SerialDevicePath(spec.port, m_Folders.devices);
            if (path.empty()) {
                *error = "COM" + std::to_string(spec.port) + " names no serial device";
                return false;
            }
            if (!m_SerialPort.Open(this, spec.port, spec.line.baudRate, spec.line.parity,
                                   spec.line.dataBits, spec.line.stopBits)) {
                *error = DescribeOpenFailure(path, "dialout");
                return false;
            }
            m_SerialPort.StartReader();
            return true;
        }
        case DeviceKind::Parallel: {
            m_ParallelPort.SetDeviceFolder(m_Folders.devices);
            m_ParallelPort.SetOwner(this);
            const std::string path = ParallelDevicePath(spec.port, m_Folders.devices);
            if (path.empty()) {
                *error = "LPT" + std::to_string(spec.port) + " names no parallel device";
                return false;
            }
            if (!m_ParallelPort.Open(spec.port)) {
                *error = DescribeOpenFailure(path, "lp");
                return false;
            }
            return true;
        }
        case DeviceKind::Usb: {
            std::vector<tagUSBDevice> printers;
            CUSBPort::EnumDevices(printers, m_Folders.sysfs, m_Folders.devices);
            if (printers.empty()) {
                *error = "no USB printer is attached";
                return false;
            }
            if (static_cast<std::size_t>(spec.usbIndex) >= printers.size()) {
                *error = "there is no USB printer at position " + std::to_string(spec.usbIndex) +
                         " (" + std::to_string(printers.size()) + " attached)";
                return false;
            }
            const std::string& path = printers[spec.usbIndex].strDevicePath;
            if (!m_USBPort.Open(this, path)) {
                *error = DescribeOpenFailure(path, "lp");
                return false;
            }
            m_USBPort.StartReader();
            return true;
        }
        case DeviceKind::Tcp: {
            std::string address;
            if (!ResolveIpv4(spec.host, &address)) {
                *error = "cannot find the address of " + spec.host;
                return false;
            }
            const std::string port = std::to_string(spec.tcpPort);
            if (!m_SocketComm.Connect(this, address.c_str(), port.c_str())) {
                *error = "cannot connect to " + address + ':' + port +
                         " (refused, unreachable or no answer)";
                return false;
            }
            m_SocketComm.StartReader();
            return true;
        }
    }
    return false;
}

Transfer& DeviceLink::Sender() {
    switch (m_Spec.kind) {
        case DeviceKind::Serial:
            return m_SerialPort.Sender();
        case DeviceKind::Parallel:
            return m_ParallelPort.Sender();
        case DeviceKind::Usb:
            return m_USBPort.Sender();
        case DeviceKind::Tcp:
            break;
    }
    return m_SocketComm.Sender();
}

Transfer::Result DeviceLink::QueueBytes(std::string bytes) {
    switch (m_Spec.kind) {
        case DeviceKind::Serial:
            return m_SerialPort.SendBytes(std::move(bytes));
        case DeviceKind::Parallel:
            return m_ParallelPort.SendBytes(std::move(bytes));
        case DeviceKind::Usb:
            return m_USBPort.SendBytes(std::move(bytes));
        case DeviceKind::Tcp:
            break;
    }
    return m_SocketComm.SendBytes(std::move(bytes));
}

Transfer::Result DeviceLink::QueueFile(const std::string& path) {
    switch (m_Spec.kind) {
        case DeviceKind::Serial:
            return m_SerialPort.SendFile(path);
        case DeviceKind::Parallel:
            return m_ParallelPort.SendFile(path);
        case DeviceKind::Usb:
            return m_USBPort.SendFile(path);
        case DeviceKind::Tcp:
            break;
    }
    return m_SocketComm.SendFile(path);
}

DeviceLink::Tally DeviceLink::SendTally() {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Tally;
}

bool DeviceLink::WaitSent(const EventFd& stop) {
    while (!Sender().WaitIdle(kWaitSliceMs)) {
        if (stop.IsSignalled()) {
            Sender().Stop();
            return false;
        }
    }
    return true;
}

bool DeviceLink::Write(const std::string& bytes, const EventFd& stop) {
    const Tally before = SendTally();
    if (QueueBytes(bytes) != Transfer::Result::Queued || !WaitSent(stop)) return false;
    const Tally after = SendTally();
    return !after.cutShort && after.written - before.written == bytes.size();
}

bool DeviceLink::ConnectionLost() {
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_bClosed) return true;
    }
    switch (m_Spec.kind) {
        case DeviceKind::Serial:
            return !m_SerialPort.ReaderAlive();
        case DeviceKind::Usb:
            return !m_USBPort.ReaderAlive();
        case DeviceKind::Tcp:
        case DeviceKind::Parallel:
            break;
    }
    return false;
}

DeviceLink::Wait DeviceLink::Receive(std::string* bytes, int timeoutMs, const EventFd& stop) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_Lock);
            if (!m_Arrived.empty()) {
                for (const std::string& block : m_Arrived) bytes->append(block);
                m_Arrived.clear();
                if (!m_bClosed) m_HasNews.Reset();
                return Wait::Data;
            }
        }
        if (stop.IsSignalled()) return Wait::Stopped;
        if (ConnectionLost()) return Wait::Closed;
        int slice = kWaitSliceMs;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return Wait::TimedOut;
            slice = std::min<int>(slice, static_cast<int>(left.count()));
        }
        pollfd waits[] = {{m_HasNews.Fd(), POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
        ::poll(waits, 2, slice);
    }
}

void DeviceLink::PostPortMessage(PortMessage message) {
    std::lock_guard<std::mutex> lock(m_Lock);
    switch (message.type) {
        case WM_TRANSFER_PROGRESS:
            return;  // the command looks at the transfer's counts itself
        case WM_TRANSFER_DONE:
        case WM_DEVICE_LOST:
            m_Tally.written += message.written;
            m_Tally.queued += message.queued;
            if (message.written < message.queued && !m_Tally.cutShort) {
                m_Tally.cutShort = true;
                m_Tally.end = message.end;
            }
            if (message.type == WM_TRANSFER_DONE) return;
            m_bClosed = true;
            break;
        case WM_SOCKET_CLOSED:
            m_bClosed = true;
            break;
        default:
            if (message.bytes.empty()) return;
            m_Arrived.push_back(std::move(message.bytes));
            break;
    }
    m_HasNews.Signal();
}

}  // namespace velkaro::cli
