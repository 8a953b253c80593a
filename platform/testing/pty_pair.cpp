// Pseudo-terminal pair for serial tests.
#include "platform/testing/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/files/text_file.h"
#include "platform/system/serial_port_termios.h"

namespace platform {

PtyPair::~PtyPair() { Hangup(); }

bool PtyPair::Open(std::string* error) {
    Hangup();
    char name[128] = {};
    if (::openpty(&master_fd_, &slave_fd_, name, nullptr, nullptr) != 0) {
        if (error != nullptr) *error = SystemErrorText(errno);
        master_fd_ = slave_fd_ = -1;
        return false;
    }
    slave_path_ = name;
    // Raw at once: a cooked slave would echo what the master writes.
    struct termios raw {};
    ::tcgetattr(slave_fd_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_fd_, TCSANOW, &raw);
    ::fcntl(master_fd_, F_SETFL, ::fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_fd_, F_SETFD, FD_CLOEXEC);
    return true;
}

std::string PtyPair::ReadMaster(size_t count, int timeout_ms) {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (master_fd_ >= 0 && bytes.size() < count) {
        bytes += DrainMaster();
        if (bytes.size() >= count) break;
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) break;
        struct pollfd p {
            master_fd_, POLLIN, 0
        };
        ::poll(&p, 1, static_cast<int>(left));
    }
    return bytes;
}

std::string PtyPair::DrainMaster() {
    std::string bytes;
    char buffer[256];
    while (master_fd_ >= 0) {
        ssize_t n = ::read(master_fd_, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

bool PtyPair::WriteMaster(const std::string& bytes) {
    size_t done = 0;
    while (master_fd_ >= 0 && done < bytes.size()) {
        ssize_t n = ::write(master_fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        // The slave's input is full: nobody reads the port under test.
        constexpr int kFullWaitMs = 100;
        struct pollfd p {
            master_fd_, POLLOUT, 0
        };
        if (::poll(&p, 1, kFullWaitMs) == 0) return false;
    }
    return done == bytes.size();
}

void PtyPair::Hangup() {
    if (master_fd_ >= 0) ::close(master_fd_);
    if (slave_fd_ >= 0) ::close(slave_fd_);
    master_fd_ = slave_fd_ = -1;
}

bool PtyPair::SlaveAttributes(struct termios* attributes) const {
    return slave_fd_ >= 0 && ::tcgetattr(slave_fd_, attributes) == 0;
}

int32_t PtyPair::SlaveBaud() const { return slave_fd_ >= 0 ? TerminalBaud(slave_fd_) : -1; }

}  // namespace platform
