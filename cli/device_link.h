// One open connection to a printer for the command-line tool, over the program's port classes.
// Replies arrive on the ports' reader threads and are queued here; the command's thread takes
// them with a timeout, so it never waits longer than it was told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "cli/device_spec.h"
#include "connections/parallel_port.h"
#include "connections/port_message.h"
#include "connections/serial_port.h"
#include "connections/socket_comm.h"
#include "connections/usb_port.h"
#include "platform/event_fd.h"

namespace velkaro::cli {

// Where device nodes and the kernel's device tree are looked up: /dev and /sys, unless the
// environment names other folders (VELKARO_DEVICE_FOLDER, VELKARO_SYSFS_ROOT), for containers
// and tests.
struct HostFolders {
    std::string devices = "/dev";
    std::string sysfs = "/sys";
    static HostFolders FromEnvironment();
};

class DeviceLink : public IPortOwner {
  public:
    enum class Wait { Data, TimedOut, Stopped, Closed };

    explicit DeviceLink(HostFolders folders) : m_Folders(std::move(folders)) {}
    ~DeviceLink() override;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Opens the device and, where it can answer, starts listening to it. False with `error`
    // one line saying why (a permission problem names the group to join).
    bool Open(const DeviceSpec& spec, std::string* error);
    // The parallel port only sends.
    bool CanReceive() const { return m_Spec.kind != DeviceKind::Parallel; }
    const DeviceSpec& Spec() const { return m_Spec; }

    // The port's transfer, which writes everything sent in the background.
    Transfer& Sender();
    // Queue a block or a regular file on the port's transfer; see Transfer.
    Transfer::Result QueueBytes(std::string bytes);
    Transfer::Result QueueFile(const std::string& path);

    // What the transfer has reported so far: the bytes of every finished run added up, and
    // whether any run ended before all it was given was written.
    struct Tally {
        std::uint64_t written = 0;
        std::uint64_t queued = 0;
        bool cutShort = false;
        TransferEnd end = TransferEnd::Drained;  // the first end that cut a run short
    };
    Tally SendTally();

    // Waits until the transfer is idle (true), or `stop` is signalled, which stops it (false).
    bool WaitSent(const EventFd& stop);
    // Sends a short command and waits for it to be written. True when every byte was.
    bool Write(const std::string& bytes, const EventFd& stop);

    // Waits up to `timeoutMs` (-1: no limit) for bytes from the printer and appends them.
    Wait Receive(std::string* bytes, int timeoutMs, const EventFd& stop);

    void PostPortMessage(PortMessage message) override;

  private:
    bool OpenNode(const std::string& path, std::string* error);
    bool ConnectionLost();

    HostFolders m_Folders;
    DeviceSpec m_Spec;
    std::mutex m_Lock;
    std::deque<std::string> m_Arrived;
    bool m_bClosed = false;  // the printer hung up or the device went away
    Tally m_Tally;
    EventFd m_HasNews;  // signalled while something arrived or the connection closed
    CASYNSerialPort m_SerialPort;
    CParallelPort m_ParallelPort;
    CUSBPort m_USBPort;
    CSocketComm m_SocketComm;
};

// Why the device node at `path` could not be opened, as the rest of an error line.
std::string DescribeOpenFailure(const std::string& path, const char* usualGroup);

}  // namespace velkaro::cli
