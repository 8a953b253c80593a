// Terminal settings through TCGETS2/TCSETS2. A rate of the classic table keeps
// its B-constant (so tcgetattr shows it); any other is set as BOTHER.
#include "platform/system/serial_port_termios.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cctype>

namespace platform {

namespace {

struct ClassicRate {
    int32_t baud;
    speed_t code;
};

constexpr ClassicRate kClassicRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

}  // namespace

uint32_t LineControlFlags(const SerialSettings& settings) {
    uint32_t flags = 0;
    switch (settings.data_bits) {
        case 5:
            flags |= CS5;
            break;
        case 6:
            flags |= CS6;
            break;
        case 7:
            flags |= CS7;
            break;
        default:
            flags |= CS8;
            break;
    }
    const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(settings.parity)));
    if (parity != 'N') flags |= PARENB;
    if (parity == 'O') flags |= PARODD;
    if (settings.stop_bits == 2) flags |= CSTOPB;
    return flags;
}

bool ApplyLineSettings(int fd, const SerialSettings& settings) {
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0) return false;
    // The check character may be XON, XOFF, CR or LF: nothing may map, strip
    // or swallow a byte, and the drives have no modem lines.
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK | IUCLC);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    speed_t code = BOTHER;
    for (const ClassicRate& rate : kClassicRates)
        if (rate.baud == settings.baud) code = rate.code;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= LineControlFlags(settings) | CLOCAL | CREAD | code | (code << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(settings.baud);
    t.c_ospeed = static_cast<speed_t>(settings.baud);
    // Reads return what has arrived at once; the layer above polls.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ::ioctl(fd, TCSETS2, &t) == 0;
}

int32_t TerminalBaud(int fd) {
    struct termios2 t {};
    if (::ioctl(fd, TCGETS2, &t) != 0) return -1;
    const speed_t code = t.c_cflag & CBAUD;
    if (code != BOTHER) {
        for (const ClassicRate& rate : kClassicRates)
            if (rate.code == code) return rate.baud;
    }
    return static_cast<int32_t>(t.c_ospeed);
}

}  // namespace platform
