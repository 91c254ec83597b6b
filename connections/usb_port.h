// The USB connection to a printer of the kernel's USB printer class driver: its device node
// (/dev/usb/lp<N>) opened exclusively, a reader thread that hands each reply to the owner, and
// writes that drain in the background in order while the caller waits a bounded time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "connections/port_message.h"
#include "connections/transfer.h"
#include "connections/usb_device.h"
#include "platform/unique_fd.h"
#include "platform/worker_thread.h"

namespace velkaro {

class CUSBPort {
  public:
    static constexpr std::size_t kReadBufferSize = 512;

    CUSBPort() = default;
    ~CUSBPort();
    CUSBPort(const CUSBPort&) = delete;
    CUSBPort& operator=(const CUSBPort&) = delete;

    // The printers there are now; see EnumUsbPrinters.
    static void EnumDevices(std::vector<tagUSBDevice>& list, const std::string& sysRoot = "/sys",
                            const std::string& devRoot = "/dev") {
        EnumUsbPrinters(list, sysRoot, devRoot);
    }

    // Stops and joins a running reader, drops the writes not yet sent, closes the old device
    // (pausing 50 ms so the driver settles), then opens `devicePath` for this program alone.
    // False when it cannot be opened or another program holds it.
    bool Open(IPortOwner* owner, const std::string& devicePath);
    // Starts the reader: every read of one or more bytes (at most kReadBufferSize) is posted as
    // WM_USB_DATA. It ends by itself when the printer goes away. False when no device is open.
    bool StartReader();
    // Tells the reader to end and returns at once; the device stays open.
    void StopReader();
    // Queues a copy of the block behind earlier ones and returns at once; it drains in the
    // background. False when no device is open or the queue has no room for it. An empty block
    // is true at once.
    bool Write(const char* data, std::size_t length);
    // Queues a block or streams a file; see Transfer.
    Transfer::Result SendBytes(std::string bytes) {
        return m_Writer.QueueBytes(m_hDevice, std::move(bytes));
    }
    Transfer::Result SendFile(const std::string& path) {
        return m_Writer.QueueFile(m_hDevice, path);
    }
    Transfer& Sender() { return m_Writer; }

    bool IsOpen() const { return m_hDevice && m_hDevice->Valid(); }
    bool ReaderAlive() const { return m_Reader.Alive(); }
    // Counts up with every successful Open; the messages of the reader carry it.
    std::uint64_t Connection() const { return m_nConnection; }
    const std::string& DevicePath() const { return m_strDevicePath; }

  private:
    static void ReadLoop(int fd, const EventFd& stop, IPortOwner* owner, std::uint64_t connection,
                         Transfer* writer);
    void CloseDevice();

    std::shared_ptr<UniqueFd> m_hDevice;
    IPortOwner* m_pOwner = nullptr;
    std::string m_strDevicePath;
    std::uint64_t m_nConnection = 0;
    Transfer m_Writer;
    WorkerThread m_Reader;  // declared last: it stops before anything it uses is destroyed
};

}  // namespace velkaro
