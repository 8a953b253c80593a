// The far side of a CAN socket, joined to the virtual CAN bus.
#include "sim/can_socket_peer.h"

#include <linux/can/error.h>
#include <linux/can/raw.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sim {

namespace {

// The adapter library's message as the virtual bus reads and writes it:
// identifier, type (bit 0 remote), length, eight data bytes.
constexpr size_t kMessageSize = 16;
constexpr size_t kMessageTypeAt = 4;
constexpr size_t kMessageLengthAt = 5;
constexpr size_t kMessageDataAt = 6;
constexpr uint8_t kRemoteType = 0x01;
// Frames one pump moves each way at most, so a bus that never falls silent
// cannot hold it.
constexpr int kMaxFramesPerPump = 4096;
constexpr int kPumpPollMs = 1;

void ToMessage(const can_frame& frame, uint8_t* message) {
    std::memset(message, 0, kMessageSize);
    const uint32_t id = frame.can_id & ((frame.can_id & CAN_EFF_FLAG) != 0 ? CAN_EFF_MASK : CAN_SFF_MASK);
    std::memcpy(message, &id, sizeof id);
    message[kMessageTypeAt] = (frame.can_id & CAN_RTR_FLAG) != 0 ? kRemoteType : 0;
    message[kMessageLengthAt] = frame.len;
    std::memcpy(message + kMessageDataAt, frame.data, sizeof frame.data);
}

can_frame FromMessage(const uint8_t* message) {
    can_frame frame{};
    uint32_t id = 0;
    std::memcpy(&id, message, sizeof id);
    frame.can_id = (id & CAN_SFF_MASK) | ((message[kMessageTypeAt] & kRemoteType) != 0 ? CAN_RTR_FLAG : 0);
    frame.len = std::min<uint8_t>(message[kMessageLengthAt], CAN_MAX_DLEN);
    std::memcpy(frame.data, message + kMessageDataAt, sizeof frame.data);
    return frame;
}

}  // namespace

CanSocketPeer::CanSocketPeer(VirtualCanBus& bus) : bus_(bus) {}

CanSocketPeer::~CanSocketPeer() {
    StopPumping();
    Disconnect();
}

int CanSocketPeer::MakeSocketPair() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) < 0) return -errno;
    std::lock_guard<std::mutex> lock(mutex_);
    DisconnectLocked();
    socket_ = ends[1];
    bus_.Activate();
    return ends[0];
}

int CanSocketPeer::JoinInterface(const std::string& name) {
    const int fd = ::socket(PF_CAN, SOCK_RAW | SOCK_CLOEXEC, CAN_RAW);
    if (fd < 0) return -errno;
    sockaddr_can address{};
    address.can_family = AF_CAN;
    address.can_ifindex = static_cast<int>(::if_nametoindex(name.c_str()));
    if (address.can_ifindex == 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    DisconnectLocked();
    socket_ = fd;
    bus_.Activate();
    return 0;
}

void CanSocketPeer::Disconnect() {
    std::lock_guard<std::mutex> lock(mutex_);
    DisconnectLocked();
}

void CanSocketPeer::DisconnectLocked() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
    outgoing_.clear();
}

bool CanSocketPeer::Connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return socket_ >= 0;
}

void CanSocketPeer::Pump() {
    std::lock_guard<std::mutex> lock(mutex_);
    PumpLocked();
}

void CanSocketPeer::PumpLocked() {
    if (socket_ < 0) return;
    for (int n = 0; !hold_ && n < kMaxFramesPerPump; ++n) {
        can_frame frame{};
        const ssize_t got = ::recv(socket_, &frame, sizeof frame, MSG_DONTWAIT);
        if (got <= 0) break;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&frame);
        received_.emplace_back(bytes, bytes + got);
        if (static_cast<size_t>(got) != sizeof frame) continue;
        uint8_t message[kMessageSize];
        ToMessage(frame, message);
        bus_.Write(message);
    }
    for (int n = 0; n < kMaxFramesPerPump; ++n) {
        if (outgoing_.empty()) {
            uint8_t message[kMessageSize];
            if (bus_.Read(message) != 0) break;
            outgoing_.push_back(FromMessage(message));
        }
        // A full socket keeps the frame here until the program has read.
        if (::send(socket_, &outgoing_.front(), sizeof(can_frame), MSG_DONTWAIT | MSG_NOSIGNAL) !=
            static_cast<ssize_t>(sizeof(can_frame)))
            break;
        outgoing_.pop_front();
    }
}

void CanSocketPeer::StartPumping() {
    if (pump_.joinable()) return;
    stop_ = false;
    pump_ = std::thread([this] {
        while (!stop_) {
            int fd;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                fd = socket_;
            }
            pollfd wait{fd, POLLIN, 0};
            if (fd >= 0) ::poll(&wait, 1, kPumpPollMs);
            Pump();
        }
    });
}

void CanSocketPeer::StopPumping() {
    stop_ = true;
    if (pump_.joinable()) pump_.join();
}

void CanSocketPeer::SendFrame(const can_frame& frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    outgoing_.push_back(frame);
    PumpLocked();
}

void CanSocketPeer::SendErrorFrame(uint32_t events, const std::array<uint8_t, 8>& data) {
    can_frame frame{};
    frame.can_id = CAN_ERR_FLAG | (events & CAN_ERR_MASK);
    frame.len = CAN_ERR_DLC;
    std::copy(data.begin(), data.end(), frame.data);
    SendFrame(frame);
}

void CanSocketPeer::BusOff() {
    bus_.SetBusOff(true);
    SendErrorFrame(CAN_ERR_BUSOFF);
}

void CanSocketPeer::Restart() {
    bus_.SetBusOff(false);
    SendErrorFrame(CAN_ERR_RESTARTED);
}

void CanSocketPeer::HoldTransmit(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = on;
}

std::vector<std::vector<uint8_t>> CanSocketPeer::Received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

}  // namespace sim
