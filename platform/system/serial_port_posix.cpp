// The POSIX terminal behind SerialPort. Reads and writes never block: the
// layer above polls on the clock and owns every time-out.
#include "platform/system/serial_port_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include <linux/serial.h>

#include "platform/files/text_file.h"
#include "platform/system/port_map.h"
#include "platform/system/serial_port_termios.h"

namespace platform {

namespace {

// A write that the driver does not take within this time plus the bytes' own
// transmission time is cut short; the layer above reports the short count.
constexpr int kWriteGraceMs = 1000;
constexpr int kBitsPerCharacter = 10;

bool IsPortName(const std::string& name) {
    if (name.size() < 4) return false;
    if (std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M')
        return false;
    return std::all_of(
        name.begin() + 3, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

class PosixSerialPort : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    ~PosixSerialPort() override { Close(); }

    bool Configure(const SerialSettings& settings) override {
        if (!Usable()) return false;
        std::string reason;
        if (!ValidSerialSettings(settings, &reason)) return FailAndClose(reason);
        if (!ApplyLineSettings(fd_, settings)) return FailAndClose(SystemErrorText(errno));
        RaiseRtsOnlyWhileSending();
        settings_ = settings;
        ::tcflush(fd_, TCIOFLUSH);
        reported_ = 0;
        return true;
    }

    SerialSettings Settings() const override { return settings_; }

    void PurgeInput() override {
        if (Usable()) ::tcflush(fd_, TCIFLUSH);
        reported_ = 0;
    }
    void PurgeOutput() override {
        if (Usable()) ::tcflush(fd_, TCOFLUSH);
    }

    int BytesWaiting() override {
        if (!Usable()) return -1;
        if (HungUp()) return Fail(SystemErrorText(EIO));
        int waiting = 0;
        if (::ioctl(fd_, FIONREAD, &waiting) != 0) return Fail(SystemErrorText(errno));
        reported_ = waiting;
        return waiting;
    }

    int BytesPending() override {
        if (!Usable()) return -1;
        int pending = 0;
        if (::ioctl(fd_, TIOCOUTQ, &pending) != 0) return Fail(SystemErrorText(errno));
        return pending;
    }

    int Read(uint8_t* buffer, int count) override {
        if (!Usable()) return -1;
        if (count <= 0) return 0;
        ssize_t got = ::read(fd_, buffer, static_cast<size_t>(count));
        if (got > 0) {
            reported_ = std::max(0, reported_ - static_cast<int>(got));
            return static_cast<int>(got);
        }
        int error_number = got < 0 ? errno : 0;
        if (got < 0 && error_number != EAGAIN && error_number != EINTR) return Fail(SystemErrorText(error_number));
        // Nothing although the driver just said bytes were waiting: the line
        // went away between the two calls.
        if (reported_ > 0 || HungUp()) {
            reported_ = 0;
            return Fail(SystemErrorText(EIO));
        }
        return 0;
    }

    int Write(const uint8_t* bytes, int count) override {
        if (!Usable()) return -1;
        int written = 0;
        const int limit_ms = kWriteGraceMs + static_cast<int>(int64_t{count} * kBitsPerCharacter * 1000 /
                                                              std::max<int32_t>(settings_.baud, 1));
        int waited_ms = 0;
        while (written < count) {
            ssize_t n = ::write(fd_, bytes + written, static_cast<size_t>(count - written));
            if (n > 0) {
                written += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) return Fail(SystemErrorText(errno));
            if (waited_ms >= limit_ms) break;
            // The driver's queue is full: wait (bounded) until it takes more.
            struct pollfd p {
                fd_, POLLOUT, 0
            };
            constexpr int kPollStepMs = 10;
            int r = ::poll(&p, 1, kPollStepMs);
            if (r < 0 && errno != EINTR) return Fail(SystemErrorText(errno));
            if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return Fail(SystemErrorText(EIO));
            if (r == 0) waited_ms += kPollStepMs;
        }
        return written;
    }

    std::string LastErrorText() const override { return error_; }

private:
    bool Usable() {
        if (fd_ >= 0) return true;
        if (error_.empty()) error_ = SystemErrorText(EBADF);
        return false;
    }

    // A hung-up line (the adapter went away, the far end of a pseudo
    // terminal closed) is a failed read, not a line that stays silent.
    bool HungUp() const {
        struct pollfd p {
            fd_, POLLIN, 0
        };
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

    int Fail(const std::string& text) {
        error_ = text;
        return -1;
    }

    bool FailAndClose(const std::string& text) {
        error_ = text;
        Close();
        return false;
    }

    // The line driver of a two-wire bus turns the transmitter on only while
    // sending. Ports that offer no such mode are plain RS232 and need none.
    void RaiseRtsOnlyWhileSending() {
        struct serial_rs485 rs485 {};
        if (::ioctl(fd_, TIOCGRS485, &rs485) != 0) return;
        rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
        rs485.flags &= ~SER_RS485_RTS_AFTER_SEND;
        ::ioctl(fd_, TIOCSRS485, &rs485);
    }

    void Close() {
        if (fd_ < 0) return;
        // Exclusive mode would outlive us on a terminal that someone else
        // still holds open (a test harness), and block the next open.
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }

    int fd_;
    SerialSettings settings_;
    int reported_ = 0;
    std::string error_;
};

}  // namespace

std::string SerialPortDevicePath(const std::string& name, std::string* error) {
    if (!IsPortName(name)) return name;
    if (std::optional<std::string> path = SerialDevicePath(name)) return *path;
    if (error != nullptr) *error = SystemErrorText(ENOENT);
    return {};
}

std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& name, std::string* error) {
    auto fail = [&](int error_number) -> std::unique_ptr<SerialPort> {
        if (error != nullptr) *error = SystemErrorText(error_number);
        return nullptr;
    };
    std::string path = SerialPortDevicePath(name, error);
    if (path.empty()) return name.empty() ? fail(ENOENT) : nullptr;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    auto close_and_fail = [&](int error_number) {
        ::close(fd);
        return fail(error_number);
    };
    if (!::isatty(fd)) return close_and_fail(ENOTTY);
    // The lock makes a second open fail even for a privileged user, whom the
    // terminal's exclusive mode does not stop.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return close_and_fail(errno == EWOULDBLOCK ? EBUSY : errno);
    ::ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixSerialPort>(fd);
}

}  // namespace platform
