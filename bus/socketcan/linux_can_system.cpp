#include "bus/socketcan/linux_can_system.h"

#include <linux/can/error.h>
#include <linux/can/raw.h>
#include <linux/netlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "bus/socketcan/link_netlink.h"

namespace socketcan {

namespace {

// The kernel answers a link request while it is being sent; the wait only
// guards against an answer that never comes.
constexpr time_t kAnswerWaitSeconds = 2;
// A link's answer with every attribute is a few kilobytes.
constexpr size_t kAnswerBufferSize = 32 * 1024;
// Answers of other requests are skipped; this many at most.
constexpr int kMaxAnswersRead = 8;
// The controller events that make the status; bus errors of single frames
// would only flood the socket.
constexpr can_err_mask_t kStatusErrors = CAN_ERR_CRTL | CAN_ERR_BUSOFF | CAN_ERR_RESTARTED;

std::atomic<uint32_t> g_sequence{1};

uint32_t NextSequence() { return g_sequence.fetch_add(1); }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

int SetLink(const LinkState& link, bool up, uint32_t bitrate) {
    const uint32_t sequence = NextSequence();
    int error = 0;
    const std::vector<uint8_t> answer = ExchangeWithKernel(SetLinkRequest(link.index, up, bitrate, sequence), error);
    if (error != 0) return error;
    return ReadAcknowledgement(answer.data(), answer.size(), sequence);
}

}  // namespace

std::vector<uint8_t> ExchangeWithKernel(const std::vector<uint8_t>& request, int& error) {
    error = 0;
    Descriptor socket(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (socket.get() < 0) {
        error = errno;
        return {};
    }
    timeval wait{kAnswerWaitSeconds, 0};
    ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(socket.get(),
                 request.data(),
                 request.size(),
                 0,
                 reinterpret_cast<const sockaddr*>(&kernel),
                 sizeof kernel) < 0) {
        error = errno;
        return {};
    }
    nlmsghdr sent{};
    std::memcpy(&sent, request.data(), sizeof sent);
    std::vector<uint8_t> answer(kAnswerBufferSize);
    for (int n = 0; n < kMaxAnswersRead; ++n) {
        const ssize_t got = ::recv(socket.get(), answer.data(), answer.size(), MSG_TRUNC);
        if (got < 0) {
            error = errno == EAGAIN ? ETIMEDOUT : errno;
            return {};
        }
        if (static_cast<size_t>(got) > answer.size() || static_cast<size_t>(got) < sizeof(nlmsghdr)) {
            error = EMSGSIZE;
            return {};
        }
        nlmsghdr first{};
        std::memcpy(&first, answer.data(), sizeof first);
        if (first.nlmsg_seq != sent.nlmsg_seq) continue;
        answer.resize(static_cast<size_t>(got));
        return answer;
    }
    error = EBADMSG;
    return {};
}

LinkState LinuxCanSystem::QueryLink(const std::string& name) {
    const uint32_t sequence = NextSequence();
    int error = 0;
    const std::vector<uint8_t> answer = ExchangeWithKernel(GetLinkRequest(name, sequence), error);
    if (error != 0) {
        LinkState link;
        link.error = error;
        return link;
    }
    return ReadLinkAnswer(answer.data(), answer.size(), sequence);
}

int LinuxCanSystem::SetLinkUp(const LinkState& link, uint32_t bitrate) { return SetLink(link, true, bitrate); }

int LinuxCanSystem::SetLinkDown(const LinkState& link) { return SetLink(link, false, 0); }

int LinuxCanSystem::OpenSocket(const std::string& name) {
    Descriptor socket(::socket(PF_CAN, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, CAN_RAW));
    if (socket.get() < 0) return -errno;
    const unsigned index = ::if_nametoindex(name.c_str());
    if (index == 0) return -errno;
    const can_err_mask_t errors = kStatusErrors;
    // Standard frames only: those whose extended-frame flag is clear.
    const can_filter standard{0, CAN_EFF_FLAG};
    if (::setsockopt(socket.get(), SOL_CAN_RAW, CAN_RAW_ERR_FILTER, &errors, sizeof errors) < 0 ||
        ::setsockopt(socket.get(), SOL_CAN_RAW, CAN_RAW_FILTER, &standard, sizeof standard) < 0)
        return -errno;
    sockaddr_can address{};
    address.can_family = AF_CAN;
    address.can_ifindex = static_cast<int>(index);
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) return -errno;
    return socket.release();
}

ssize_t LinuxCanSystem::Send(int socket, const can_frame& frame) {
    const ssize_t sent = ::send(socket, &frame, sizeof frame, MSG_DONTWAIT | MSG_NOSIGNAL);
    return sent < 0 ? -errno : sent;
}

ssize_t LinuxCanSystem::Receive(int socket, can_frame& frame) {
    const ssize_t got = ::recv(socket, &frame, sizeof frame, MSG_DONTWAIT);
    return got < 0 ? -errno : got;
}

void LinuxCanSystem::CloseSocket(int socket) {
    if (socket >= 0) ::close(socket);
}

CanSystem& TheLinuxCanSystem() {
    static LinuxCanSystem system;
    return system;
}

}  // namespace socketcan
