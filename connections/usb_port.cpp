#include "connections/usb_port.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "connections/serial_line.h"
#include "platform/fd_wait.h"

namespace velkaro {
namespace {

// After a read that brought nothing: true when the node reports a hang-up or an error, so
// waiting for it again would return at once for ever.
bool HungUp(int fd) {
    pollfd p{fd, POLLIN, 0};
    int n;
    do {
        n = ::poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

CUSBPort::~CUSBPort() {
    m_Reader.Stop();
    m_Reader.Join();
    m_hDevice.reset();
}

bool CUSBPort::Open(IPortOwner* owner, const std::string& devicePath) {
    m_Reader.Stop();
    m_Reader.Join();
    CloseDevice();
    m_pOwner = owner;
    m_strDevicePath = devicePath;

    if (devicePath.empty()) return false;
    UniqueFd fd = OpenExclusive(devicePath);
    if (!fd) return false;
    m_hDevice = std::make_shared<UniqueFd>(std::move(fd));
    ++m_nConnection;
    m_Writer.SetOwner(owner, m_nConnection);
    return true;
}

void CUSBPort::CloseDevice() {
    m_Writer.Stop();  // the window asks before it drops what the old connection had queued
    if (m_hDevice) {
        m_hDevice.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool CUSBPort::StartReader() {
    if (!IsOpen()) return false;
    m_Reader.Stop();
    m_Reader.Join();
    const int fd = m_hDevice->Get();  // stays open until the reader has been joined
    IPortOwner* owner = m_pOwner;
    const std::uint64_t connection = m_nConnection;
    Transfer* writer = &m_Writer;
    return m_Reader.Start([fd, owner, connection, writer](const EventFd& stop) {
        ReadLoop(fd, stop, owner, connection, writer);
    });
}

void CUSBPort::StopReader() {
    m_Reader.Stop();
}

bool CUSBPort::Write(const char* data, std::size_t length) {
    if (!IsOpen()) return false;
    if (length == 0 || !data) return true;
    return SendBytes(std::string(data, length)) == Transfer::Result::Queued;
}

// One message per read that brings bytes. A printer that is unplugged makes reads fail (EIO,
// ENODEV, ...) or leaves a node that reports a hang-up and reads nothing: the reader ends.
void CUSBPort::ReadLoop(int fd, const EventFd& stop, IPortOwner* owner, std::uint64_t connection,
                        Transfer* writer) {
    char buffer[kReadBufferSize];
    for (;;) {
        if (owner && !owner->WaitForRoom(stop)) return;
        if (WaitReadable(fd, stop, -1) == WaitResult::Stopped) return;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (owner)
                owner->PostPortMessage(
                    {WM_USB_DATA, std::string(buffer, static_cast<std::size_t>(n)), connection});
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        const bool nothing = n == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
        if (!nothing || HungUp(fd)) {
            writer->DeviceLost();  // reports what could not be delivered
            return;
        }
    }
}

}  // namespace velkaro
