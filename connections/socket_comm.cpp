#include "connections/socket_comm.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/device_names.h"
#include "platform/fd_wait.h"

namespace velkaro {

CSocketComm::~CSocketComm() {
    Close();
}

bool CSocketComm::Connect(IPortOwner* owner, const char* address, const char* port, int timeoutMs) {
    Close();
    if (!owner || !address || !port) return false;
    m_pOwner = owner;

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = ::inet_addr(address);  // dotted numbers only: no lookup can block
    const int number = LeadingNumber(port);
    if (peer.sin_addr.s_addr == INADDR_NONE || number < 1 || number > 65535) return false;
    peer.sin_port = htons(static_cast<std::uint16_t>(number));

    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS) return false;
        const int wait = timeoutMs > 0 ? timeoutMs : 0;
        if (WaitWritable(fd.Get(), m_ConnectStop, wait) != WaitResult::Ready) return false;
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
            return false;
    }
    m_hSocket = std::make_shared<UniqueFd>(std::move(fd));
    ++m_nConnection;
    m_Writer.SetOwner(owner, m_nConnection);
    return true;
}

bool CSocketComm::StartReader() {
    if (!IsOpen()) return false;
    m_Reader.Stop();
    m_Reader.Join();
    const int fd = m_hSocket->Get();
    const std::uint64_t connection = m_nConnection;
    return m_Reader.Start(
        [this, fd, connection](const EventFd& stop) { ReadLoop(fd, stop, connection); });
}

void CSocketComm::Close() {
    // The reader is joined before the socket closes, so it never sees its own shutdown.
    m_Reader.Stop();
    m_Reader.Join();
    m_Writer.Stop();  // afterwards nothing else holds the socket
    if (m_hSocket) {
        if (m_hSocket->Valid()) ::shutdown(m_hSocket->Get(), SHUT_RDWR);
        m_hSocket.reset();
    }
}

int CSocketComm::Send(const char* data, int length) {
    if (!IsOpen() || !data || length < 0) return -1;
    if (length == 0) return 0;
    const Transfer::Result result = SendBytes(std::string(data, static_cast<std::size_t>(length)));
    return result == Transfer::Result::Queued ? length : -1;
}

int CSocketComm::Receive(char* buffer) {
    if (!IsOpen() || !buffer) return -1;
    ssize_t n;
    do {
        n = ::recv(m_hSocket->Get(), buffer, kReceiveSize, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return -1;
    buffer[n] = '\0';
    return static_cast<int>(n);
}

void CSocketComm::GetLocalAddress(std::string& text) {
    text = "127.0.0.1";
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        const auto* bytes = reinterpret_cast<const unsigned char*>(
            &reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
        char dotted[16];
        std::snprintf(dotted, sizeof dotted, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
        text = dotted;
        break;
    }
    ::freeifaddrs(list);
}

void CSocketComm::Post(int type, std::string bytes, std::uint64_t connection) {
    if (m_pOwner) m_pOwner->PostPortMessage({type, std::move(bytes), connection});
}

// Each recv with data is one delivery. A peer that closes, or a socket in error, ends the reader
// with a single closed notice; a stop from Close, Connect or destruction ends it silently.
void CSocketComm::ReadLoop(int fd, const EventFd& stop, std::uint64_t connection) {
    char buffer[kReceiveSize];
    for (;;) {
        if (m_pOwner && !m_pOwner->WaitForRoom(stop)) return;
        if (WaitReadable(fd, stop, -1) == WaitResult::Stopped) return;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            Post(WM_SOCKET_DATA, std::string(buffer, static_cast<std::size_t>(n)), connection);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
        // A peer closing just as we are stopped is our own close: no notice for it.
        if (stop.IsSignalled()) return;
        m_Writer.DeviceLost();  // reports what could not be delivered
        Post(WM_SOCKET_CLOSED, std::string(), connection);
        return;
    }
}

}  // namespace velkaro
