// The parallel connection, send only. The window opens the port, writes and closes it for every
// send; the bytes drain in the background, so neither Write nor Close ever waits for the printer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "connections/transfer.h"
#include "platform/unique_fd.h"

namespace velkaro {

class CParallelPort {
  public:
    CParallelPort();
    ~CParallelPort();
    CParallelPort(const CParallelPort&) = delete;
    CParallelPort& operator=(const CParallelPort&) = delete;

    // Where the device nodes live; "/dev" unless a test says otherwise. LPT<n> is
    // ParallelDevicePath(n, folder).
    void SetDeviceFolder(std::string folder) { m_strDeviceFolder = std::move(folder); }

    // Lets go of a node still held (pausing 50 ms when that closes it), then opens LPT<port>
    // for this program alone. A node of this port that is still draining an earlier send is
    // taken up again rather than opened anew, so the new bytes follow the old ones. False when
    // the port number names no device, the node cannot be opened or another program holds it.
    bool Open(int port);
    // Where the transfer reports go (none until set).
    void SetOwner(IPortOwner* owner) { m_pOwner = owner; }
    // Queues a copy of the block and returns at once. False when no node is open.
    bool Write(const char* data, std::size_t length);
    // Queues a block or streams a file to the open node; see Transfer.
    Transfer::Result SendBytes(std::string bytes) {
        return m_Writer.QueueBytes(m_hPort, std::move(bytes));
    }
    Transfer::Result SendFile(const std::string& path) { return m_Writer.QueueFile(m_hPort, path); }
    Transfer& Sender() { return m_Writer; }
    // Lets go of the node at once. Blocks still queued are sent in full; the node closes right
    // after the last of them.
    void Close();
    // Waits up to `timeoutMs` for everything queued to be sent; true when it has.
    bool WaitIdle(int timeoutMs) { return m_Writer.WaitIdle(timeoutMs); }
    // Counts up with every node opened anew; the transfer reports carry it.
    std::uint64_t Connection() const { return m_nConnection; }

    bool IsOpen() const { return m_hPort && m_hPort->Valid(); }
    // The port of the last Open.
    int Port() const { return m_nPort; }

  private:
    struct OpenNodes;  // this port's descriptors that are not closed yet, by path

    std::shared_ptr<UniqueFd> m_hPort;
    std::shared_ptr<OpenNodes> m_pNodes;
    int m_nPort = 0;
    IPortOwner* m_pOwner = nullptr;
    std::uint64_t m_nConnection = 0;
    std::string m_strDeviceFolder = "/dev";
    Transfer m_Writer;  // declared last: cancelled before the nodes it drains to are forgotten
};

}  // namespace velkaro
