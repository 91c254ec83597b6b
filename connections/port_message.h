// What the port readers hand to their owner window. Readers never wait for the window: each
// message carries its own copy of the bytes and is posted, not sent.
#pragma once

#include <cstdint>
#include <string>

namespace velkaro {

enum PortMessageType : int {
    WM_SERIAL_DATA = 1125,
    WM_USB_DATA = 1225,
    WM_SOCKET_DATA = 1325,
    WM_SOCKET_CLOSED = 1326,
    WM_UPDATE_DONE = 1425,
    // A send's progress, its end, and a device that went away while the port was open.
    WM_TRANSFER_PROGRESS = 1500,
    WM_TRANSFER_DONE = 1501,
    WM_DEVICE_LOST = 1502,
};

// How a transfer ended (WM_TRANSFER_DONE); WM_DEVICE_LOST carries DeviceLost.
enum class TransferEnd : int { Drained = 0, Stopped, FileShrank, FileReadFailed, DeviceLost };

struct PortMessage {
    int type = 0;
    std::string bytes;
    // Which connection of the sending port the message belongs to (counts up from 1 with
    // every open), so the owner can tell a stale notice from the current connection's.
    std::uint64_t connection = 0;
    // Transfer reports: bytes written to the device and bytes queued since the transfer began.
    std::uint64_t written = 0;
    std::uint64_t queued = 0;
    TransferEnd end = TransferEnd::Drained;
};

class EventFd;

// Implemented by the window that owns the ports. PostPortMessage is called from reader threads
// and must return without waiting for the window.
class IPortOwner {
  public:
    virtual ~IPortOwner() = default;
    virtual void PostPortMessage(PortMessage message) = 0;
    // Flow control: readers call this before each read. It returns true once the owner has room
    // for more, or false as soon as `stop` is signalled, so a stopping reader never waits on
    // the owner. While the owner is full the reader does not read, and the device's own flow
    // control (TCP, the tty's buffers) holds the sender back: nothing is lost, nothing piles up.
    virtual bool WaitForRoom(const EventFd& stop) {
        (void)stop;
        return true;
    }
};

}  // namespace velkaro
