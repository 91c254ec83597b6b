// The virtual printer's ports: a TCP listener that serves one client at a time and keeps
// accepting after a client leaves, and optionally a pseudo-terminal standing in for a serial
// line. One thread runs them all with poll(); Stop() may be called from any thread or a signal
// handler.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/event_fd.h"
#include "platform/unique_fd.h"
#include "virtual_printer/virtual_printer.h"

namespace velkaro::virtual_printer {

struct ListenAddress {
    std::string host = "127.0.0.1";
    std::uint16_t port = 9100;
};

class PrinterServer {
  public:
    // Binds and listens at once (port 0 lets the system choose); with a non-empty `ptyLink`
    // also opens a pseudo-terminal and makes `ptyLink` a symlink to its slave side. Throws
    // std::runtime_error with a readable reason on failure.
    PrinterServer(VirtualPrinter& printer, const ListenAddress& address,
                  const std::filesystem::path& ptyLink = {});
    ~PrinterServer();
    PrinterServer(const PrinterServer&) = delete;
    PrinterServer& operator=(const PrinterServer&) = delete;

    std::uint16_t Port() const { return port_; }
    const std::string& PtyName() const { return ptyName_; }

    // Serves until Stop().
    void Run();
    void Stop() const { stop_.Signal(); }
    // The descriptor Stop() writes to, for a signal handler.
    int StopFd() const { return stop_.Fd(); }

  private:
    void Accept();
    void DropClient();
    // Reads what `fd` has; false when the other side has gone.
    bool Serve(int fd, VirtualPrinter::Input& input);
    void Reply(int fd, const std::string& bytes);

    VirtualPrinter& printer_;
    EventFd stop_;
    UniqueFd listener_;
    UniqueFd client_;
    std::uint16_t port_ = 0;
    VirtualPrinter::Input network_;
    UniqueFd ptyMaster_;
    bool ptyHungUp_ = false;  // no program has the serial line open at the moment
    std::string ptyName_;
    std::filesystem::path ptyLink_;
    std::unique_ptr<VirtualPrinter::Input> serial_;
    std::string readBuffer_;
};

// Reads "ADDR:PORT", ":PORT" (all addresses) or "PORT" (keeps the host); false when malformed.
bool ParseListenAddress(const std::string& text, ListenAddress& address);

}  // namespace velkaro::virtual_printer
