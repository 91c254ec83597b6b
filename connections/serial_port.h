// The serial connection: a tty opened exclusively in raw mode, a reader thread that hands each
// burst of received bytes to the owner, and writes that drain in the background in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "connections/port_message.h"
#include "connections/transfer.h"
#include "platform/unique_fd.h"
#include "platform/worker_thread.h"

namespace velkaro {

// Line settings as codes, the way the main window passes them.
enum SerialParity {
    kParityNone = 0,
    kParityEven = 1,
    kParityMark = 2,
    kParityOdd = 3,
    kParitySpace = 4
};
enum SerialStopBits { kOneStopBit = 0, kOne5StopBits = 1, kTwoStopBits = 2 };

class CASYNSerialPort {
  public:
    static constexpr std::size_t kReadBufferSize = 512;
    static constexpr int kDefaultReadIntervalMs = 100;

    CASYNSerialPort() = default;
    ~CASYNSerialPort();
    CASYNSerialPort(const CASYNSerialPort&) = delete;
    CASYNSerialPort& operator=(const CASYNSerialPort&) = delete;

    // Stops a running reader, closes the old device (pausing 50 ms so the driver settles), then
    // opens COM<port> exclusively and applies the line settings. A parity or stop-bits code
    // outside its table, or an unknown baud rate or data-bit count, leaves that setting as the
    // driver has it. False when the device cannot be opened or another program holds it.
    bool Open(IPortOwner* owner, int port, int baudRate, int parity, int dataBits, int stopBits);
    bool StartReader();
    // Tells the reader to end and returns at once; the device stays open.
    void StopReader();
    // Queues a copy of the block; it drains in the background. False when no device is open
    // or the queue has no room for it.
    bool Write(const char* data, std::size_t length);
    // Queues a block or streams a file; see Transfer.
    Transfer::Result SendBytes(std::string bytes) {
        return m_Writer.QueueBytes(m_hComm, std::move(bytes));
    }
    Transfer::Result SendFile(const std::string& path) { return m_Writer.QueueFile(m_hComm, path); }
    Transfer& Sender() { return m_Writer; }

    // Line silence that ends a read block once at least one byte has arrived.
    void SetReadIntervalTimeout(int milliseconds) { m_nReadIntervalMs = milliseconds; }
    // Drops whatever is queued in either direction (a running transfer ends as stopped).
    void Purge();

    bool IsOpen() const { return m_hComm && m_hComm->Valid(); }
    bool ReaderAlive() const { return m_Reader.Alive(); }
    int Fd() const { return IsOpen() ? m_hComm->Get() : -1; }
    // Where the device nodes live; "/dev" unless a test says otherwise.
    void SetDeviceFolder(std::string folder) { m_strDeviceFolder = std::move(folder); }
    std::uint64_t Connection() const { return m_nConnection; }

  private:
    void ReadLoop(int fd, const EventFd& stop, std::uint64_t connection, int intervalMs);
    void Deliver(std::string bytes, std::uint64_t connection);
    void CloseDevice();

    std::shared_ptr<UniqueFd> m_hComm;
    IPortOwner* m_pOwner = nullptr;
    int m_nPort = 0;
    int m_nReadIntervalMs = kDefaultReadIntervalMs;
    std::uint64_t m_nConnection = 0;
    std::string m_strDeviceFolder = "/dev";
    Transfer m_Writer;
    WorkerThread m_Reader;  // declared last: it stops before anything it uses is destroyed
};

}  // namespace velkaro
