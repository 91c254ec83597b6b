#include "connections/serial_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

namespace velkaro {
namespace {

bool BaudConstant(int rate, speed_t* speed) {
    struct Entry {
        int rate;
        speed_t speed;
    };
    static constexpr Entry kRates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Entry& entry : kRates) {
        if (entry.rate == rate) {
            *speed = entry.speed;
            return true;
        }
    }
    return false;
}

void ApplyParity(termios& tio, int parity) {
    const tcflag_t all = PARENB | PARODD | CMSPAR;
    tcflag_t bits;
    switch (parity) {
        case 0:
            bits = 0;
            break;  // none
        case 1:
            bits = PARENB;
            break;  // even
        case 2:
            bits = PARENB | CMSPAR | PARODD;
            break;  // mark
        case 3:
            bits = PARENB | PARODD;
            break;  // odd
        case 4:
            bits = PARENB | CMSPAR;
            break;  // space
        default:
            return;
    }
    tio.c_cflag = (tio.c_cflag & ~all) | bits;
}

void ApplyDataBits(termios& tio, int dataBits) {
    tcflag_t size;
    switch (dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return;
    }
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
}

void ApplyStopBits(termios& tio, int stopBits) {
    switch (stopBits) {
        case 0:
            tio.c_cflag &= ~CSTOPB;
            break;
        // termios has no 1.5 stop bits; UARTs send 1.5 when CSTOPB meets 5 data bits.
        case 1:
        case 2:
            tio.c_cflag |= CSTOPB;
            break;
        default:
            break;
    }
}

}  // namespace

UniqueFd OpenExclusive(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return {};
    // A regular file left at a device's name (a copy sent with no printer attached) would read
    // as an endless end of file; only devices, and FIFOs standing in for them, are ports.
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))
        return {};
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return {};
    ::ioctl(fd.Get(), TIOCEXCL);
    return fd;
}

void ApplyLineSettings(int fd, const SerialLineSettings& settings) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;
    tio = LineAttributes(tio, settings);
    ::tcsetattr(fd, TCSANOW, &tio);
}

termios LineAttributes(
    termios tio,
    const SerialLineSettings& settings) {  // Raw mode would reset the frame bits; keep the driver's
                                           // until a setting replaces them.
    const tcflag_t frame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    const tcflag_t driverFrame = tio.c_cflag & frame;
    ::cfmakeraw(&tio);
    tio.c_cflag = (tio.c_cflag & ~frame) | driverFrame;
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    speed_t speed;
    if (BaudConstant(settings.baudRate, &speed)) {
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
    }
    ApplyParity(tio, settings.parity);
    ApplyDataBits(tio, settings.dataBits);
    ApplyStopBits(tio, settings.stopBits);
    return tio;
}

}  // namespace velkaro
