#include "virtual_printer/printer_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace velkaro::virtual_printer {
namespace {

constexpr std::size_t kReadChunk = 256 * 1024;
// How long a reply may wait for a peer that does not read before it is dropped (and logged).
constexpr int kReplyTimeoutMs = 5000;
// While no program has the serial line open, the master side reads as hung up; it is looked at
// again this often rather than spun on.
constexpr int kHungUpLineRetryMs = 50;

std::runtime_error SystemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::string AddressText(const ListenAddress& address) {
    return address.host + ':' + std::to_string(address.port);
}

}  // namespace

bool ParseListenAddress(const std::string& text, ListenAddress& address) {
    const std::size_t colon = text.rfind(':');
    const std::string host = colon == std::string::npos ? address.host : text.substr(0, colon);
    const std::string port = colon == std::string::npos ? text : text.substr(colon + 1);
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long number = std::strtol(port.c_str(), nullptr, 10);
    in_addr ignored{};
    if (number > 65535 ||
        ::inet_pton(AF_INET, host.empty() ? "0.0.0.0" : host.c_str(), &ignored) != 1)
        return false;
    address.host = host.empty() ? "0.0.0.0" : host;
    address.port = static_cast<std::uint16_t>(number);
    return true;
}

PrinterServer::PrinterServer(VirtualPrinter& printer, const ListenAddress& address,
                             const std::filesystem::path& ptyLink)
    : printer_(printer), network_(printer) {
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_port = htons(address.port);
    if (::inet_pton(AF_INET, address.host.c_str(), &self.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address: " + address.host);
    listener_.Reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int on = 1;
    socklen_t size = sizeof self;
    if (!listener_ ||
        ::setsockopt(listener_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
        ::listen(listener_.Get(), 8) != 0 ||
        ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
        throw SystemError("cannot listen on " + AddressText(address));
    port_ = ntohs(self.sin_port);

    if (ptyLink.empty()) return;
    int master = -1, slave = -1;
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) throw SystemError("openpty");
    ptyMaster_.Reset(master);
    // The slave side is not kept open here: serial ports refuse a line another program holds,
    // and the line keeps its raw settings and any waiting bytes until a client opens it.
    ::close(slave);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ptyName_ = name;
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(ptyLink, error)))
        std::filesystem::remove(ptyLink, error);
    std::filesystem::create_symlink(ptyName_, ptyLink, error);
    if (error) throw std::runtime_error("cannot link " + ptyLink.string() + ": " + error.message());
    ptyLink_ = ptyLink;
    serial_ = std::make_unique<VirtualPrinter::Input>(printer_);
}

PrinterServer::~PrinterServer() {
    std::error_code ignored;
    if (!ptyLink_.empty()) std::filesystem::remove(ptyLink_, ignored);
}

void PrinterServer::Run() {
    readBuffer_.resize(kReadChunk);
    while (!stop_.IsSignalled()) {
        pollfd fds[3] = {{stop_.Fd(), POLLIN, 0},
                         {client_ ? client_.Get() : listener_.Get(), POLLIN, 0},
                         {ptyMaster_.Get(), POLLIN, 0}};
        const nfds_t count = ptyMaster_ && !ptyHungUp_ ? 3 : 2;
        const int timeout = ptyMaster_ && ptyHungUp_ ? kHungUpLineRetryMs : -1;
        ptyHungUp_ = false;
        if (::poll(fds, count, timeout) < 0) {
            if (errno == EINTR) continue;
            throw SystemError("poll");
        }
        if (fds[0].revents) break;
        if (fds[1].revents) {
            if (!client_) {
                Accept();
            } else if (!Serve(client_.Get(), network_)) {
                DropClient();
            }
        }
        if (count == 3 && fds[2].revents) ptyHungUp_ = !Serve(ptyMaster_.Get(), *serial_);
    }
    const std::size_t unfinished = network_.Pending() + (serial_ ? serial_->Pending() : 0);
    if (unfinished > 0)
        printer_.Log("stopped with " + std::to_string(unfinished) +
                     " bytes of an unfinished job or command");
}

void PrinterServer::Accept() {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    UniqueFd fd(
        ::accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC));
    if (!fd) return;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    printer_.Log(std::string("client connected from ") + text + ':' +
                 std::to_string(ntohs(peer.sin_port)));
    client_ = std::move(fd);
}

void PrinterServer::DropClient() {
    client_.Reset();
    const std::size_t pending = network_.Pending();
    printer_.Log(pending == 0 ? std::string("client left")
                              : "client left in the middle of a job or command; its " +
                                    std::to_string(pending) + " bytes wait for the rest");
}

bool PrinterServer::Serve(int fd, VirtualPrinter::Input& input) {
    const ssize_t n = ::read(fd, readBuffer_.data(), readBuffer_.size());
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) return false;
    const std::string replies = input.Feed(std::string_view(readBuffer_.data(), n));
    if (!replies.empty()) Reply(fd, replies);
    return true;
}

void PrinterServer::Reply(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kReplyTimeoutMs) <= 0) break;
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (w > 0)
                done += static_cast<std::size_t>(w);
            else if (errno != EAGAIN && errno != EINTR)
                break;
            continue;
        }
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (errno != EAGAIN && errno != EINTR)
            break;
    }
    if (done < bytes.size())
        printer_.Log("reply not delivered: " + std::to_string(bytes.size() - done) + " bytes");
}

}  // namespace velkaro::virtual_printer
