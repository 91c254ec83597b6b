// Opening a tty the way the serial port needs it, and applying line settings with termios.
#pragma once

#include <termios.h>

#include <string>

#include "platform/unique_fd.h"

namespace velkaro {

struct SerialLineSettings {
    int baudRate = 9600;
    int parity = 0;  // SerialParity code
    int dataBits = 8;
    int stopBits = 0;  // SerialStopBits code
};

// Opens read/write, non-blocking, without becoming the controlling tty, and takes the device
// for this process alone: TIOCEXCL keeps other (non-root) programs out and an flock() lock
// refuses any program that honours it, root included. Only character devices and FIFOs are
// opened. Invalid on failure, for any other kind of file, or when held.
UniqueFd OpenExclusive(const std::string& path);

// Raw mode, receiver on, modem lines ignored, no hardware or XON/XOFF flow control, then the
// given settings. Values outside their tables leave the driver's setting. Failures are ignored,
// as a device that is not a tty simply has no line settings.
void ApplyLineSettings(int fd, const SerialLineSettings& settings);

// The attributes ApplyLineSettings sets, computed from the driver's current ones.
termios LineAttributes(termios driver, const SerialLineSettings& settings);

}  // namespace velkaro
