// The network connection: a TCP client socket to a printer's raw port, a reader thread that hands
// each received chunk to the owner, and sends that drain in the background in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "connections/port_message.h"
#include "connections/transfer.h"
#include "platform/event_fd.h"
#include "platform/unique_fd.h"
#include "platform/worker_thread.h"

namespace velkaro {

class CSocketComm {
  public:
    static constexpr std::size_t kReceiveSize = 4099;  // most bytes one delivery carries
    static constexpr int kDefaultConnectTimeoutMs = 10000;

    CSocketComm() = default;
    // Closes the socket, stops and joins the reader, promptly.
    ~CSocketComm();

    // Closes any earlier connection first (its reader ends without posting a notice), then
    // connects to the dotted-decimal IPv4 `address` (no name lookup) and the decimal `port`
    // (1..65535), waiting at most `timeoutMs`. The system picks the source address. False on
    // refusal, timeout, bad arguments or any error, leaving no socket open.
    bool Connect(IPortOwner* owner, const char* address, const char* port,
                 int timeoutMs = kDefaultConnectTimeoutMs);
    // Starts the reader for the current connection (false with no socket).
    bool StartReader();
    // Stops and joins the reader, drops data not sent yet, shuts down and closes the socket.
    // Harmless when nothing is open.
    void Close();
    // Queues a copy of the block; it drains in the background in order. Returns `length` when
    // queued (0 for length 0), -1 with no socket, a null pointer or a negative length.
    int Send(const char* data, int length);
    // Queues a block or streams a file with sendfile; see Transfer.
    Transfer::Result SendBytes(std::string bytes) {
        return m_Writer.QueueBytes(m_hSocket, std::move(bytes));
    }
    Transfer::Result SendFile(const std::string& path) {
        return m_Writer.QueueFile(m_hSocket, path);
    }
    Transfer& Sender() { return m_Writer; }
    // One non-blocking recv of at most kReceiveSize bytes into `buffer` (room for
    // kReceiveSize + 1; the bytes are followed by a '\0'). Returns the count, or -1 with no
    // socket, a null buffer, nothing to read, the peer closed, or an error.
    int Receive(char* buffer);

    // The first IPv4 address of an interface that is up and not loopback, "127.0.0.1" if none.
    static void GetLocalAddress(std::string& text);

    bool IsOpen() const { return m_hSocket && m_hSocket->Valid(); }
    bool ReaderAlive() const { return m_Reader.Alive(); }
    // Counts up by one with every successful Connect; messages carry it.
    std::uint64_t Connection() const { return m_nConnection; }

  private:
    void ReadLoop(int fd, const EventFd& stop, std::uint64_t connection);
    void Post(int type, std::string bytes, std::uint64_t connection);

    std::shared_ptr<UniqueFd> m_hSocket;  // shared with the writer while a block drains
    IPortOwner* m_pOwner = nullptr;
    std::uint64_t m_nConnection = 0;
    EventFd m_ConnectStop;  // never signalled: a connect ends by success, error or its timeout
    Transfer m_Writer{Transfer::Kind::Socket};
    WorkerThread m_Reader;  // declared last: it stops before anything it uses is destroyed
};

}  // namespace velkaro
