#include "connections/serial_port.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "connections/serial_line.h"
#include "platform/device_names.h"
#include "platform/fd_wait.h"

namespace velkaro {

CASYNSerialPort::~CASYNSerialPort() {
    m_Reader.Stop();
    m_Reader.Join();
}

bool CASYNSerialPort::Open(IPortOwner* owner, int port, int baudRate, int parity, int dataBits,
                           int stopBits) {
    m_Reader.Stop();
    m_Reader.Join();
    CloseDevice();
    m_pOwner = owner;
    m_nPort = port;

    const std::string path = SerialDevicePath(port, m_strDeviceFolder);
    if (path.empty()) return false;
    UniqueFd fd = OpenExclusive(path);
    if (!fd) return false;
    ApplyLineSettings(fd.Get(), SerialLineSettings{baudRate, parity, dataBits, stopBits});
    m_hComm = std::make_shared<UniqueFd>(std::move(fd));
    ++m_nConnection;
    m_Writer.SetOwner(owner, m_nConnection);
    return true;
}

void CASYNSerialPort::CloseDevice() {
    m_Writer.Stop();  // the window asks before it closes a port with bytes still queued
    if (m_hComm) {
        m_hComm.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool CASYNSerialPort::StartReader() {
    if (!IsOpen()) return false;
    m_Reader.Stop();
    m_Reader.Join();
    const int fd = m_hComm->Get();
    const std::uint64_t connection = m_nConnection;
    const int interval = m_nReadIntervalMs;
    return m_Reader.Start([this, fd, connection, interval](const EventFd& stop) {
        ReadLoop(fd, stop, connection, interval);
    });
}

void CASYNSerialPort::StopReader() {
    m_Reader.Stop();
}

bool CASYNSerialPort::Write(const char* data, std::size_t length) {
    if (!IsOpen()) return false;
    if (length == 0 || !data) return true;
    return SendBytes(std::string(data, length)) == Transfer::Result::Queued;
}

void CASYNSerialPort::Purge() {
    m_Writer.Stop();
    if (IsOpen()) ::tcflush(m_hComm->Get(), TCIOFLUSH);
}

void CASYNSerialPort::Deliver(std::string bytes, std::uint64_t connection) {
    if (m_pOwner) m_pOwner->PostPortMessage({WM_SERIAL_DATA, std::move(bytes), connection});
}

// A block ends when it holds kReadBufferSize bytes or when the line has been quiet for the
// read interval after at least one byte. A device that goes away ends the reader.
void CASYNSerialPort::ReadLoop(int fd, const EventFd& stop, std::uint64_t connection,
                               int intervalMs) {
    char buffer[kReadBufferSize];
    for (;;) {
        if (m_pOwner && !m_pOwner->WaitForRoom(stop)) return;
        if (WaitReadable(fd, stop, -1) == WaitResult::Stopped) return;
        std::size_t filled = 0;
        bool deviceGone = false;
        bool stopped = false;
        while (filled < kReadBufferSize) {
            const ssize_t n = ::read(fd, buffer + filled, kReadBufferSize - filled);
            if (n > 0) {
                filled += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const int wait = filled > 0 ? intervalMs : -1;
                const WaitResult result = WaitReadable(fd, stop, wait);
                if (result == WaitResult::Ready) continue;
                stopped = result == WaitResult::Stopped;
                break;
            }
            deviceGone = true;  // end of file, EIO after a hang-up, ENXIO, ...
            break;
        }
        if (filled > 0) Deliver(std::string(buffer, filled), connection);
        if (deviceGone) m_Writer.DeviceLost();  // reports what could not be delivered
        if (deviceGone || stopped) return;
    }
}

}  // namespace velkaro
