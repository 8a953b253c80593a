#include "bus/socketcan/socket_can_adapter.h"

#include <linux/can/error.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bus/socketcan/adapter_results.h"
#include "bus/socketcan/bit_timing.h"
#include "bus/socketcan/can_interface_name.h"
#include "bus/socketcan/linux_can_system.h"
#include "platform/base/format.h"
#include "platform/base/log_sink.h"
#include "platform/files/text_file.h"

namespace socketcan {

namespace {

// Frames taken in but not yet read; beyond this they wait in the socket.
constexpr size_t kMaxQueuedFrames = 4096;
constexpr uint32_t kPerMille = 1000;

bool IsVirtualKind(const std::string& kind) { return kind == kVirtualCanLinkKind || kind == kVirtualCanPairLinkKind; }

bool SameRate(uint32_t actual, uint32_t wanted) {
    const uint64_t difference = actual > wanted ? actual - wanted : wanted - actual;
    return difference * kPerMille <= uint64_t{wanted} * kBitRateTolerancePerMille;
}

// What a user runs to set the interface up at the rate.
std::string SetUpCommand(const std::string& interface, uint32_t bitrate, bool isVirtual, bool linkIsUp) {
    if (isVirtual) return "ip link set " + interface + " up";
    std::string command;
    if (linkIsUp) command = "ip link set " + interface + " down; ";
    return command + "ip link set " + interface + " up type can bitrate " + std::to_string(bitrate);
}

bool IsQueueFull(ssize_t error) { return error == -EAGAIN || error == -EWOULDBLOCK || error == -ENOBUFS; }

}  // namespace

SocketCanAdapter::SocketCanAdapter(CanSystem* system) : system_(system != nullptr ? system : &TheLinuxCanSystem()) {}

SocketCanAdapter::~SocketCanAdapter() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
}

void SocketCanAdapter::UseSystem(CanSystem* system) {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
    system_ = system != nullptr ? system : &TheLinuxCanSystem();
}

void SocketCanAdapter::CloseLocked() {
    if (socket_ >= 0) system_->CloseSocket(socket_);
    socket_ = -1;
    // The interface is left as this adapter found it.
    if (broughtUp_) system_->SetLinkDown(*broughtUp_);
    broughtUp_.reset();
    received_.clear();
    busOff_ = false;
    controller_ = ControllerState::kActive;
    overrun_ = false;
    transmitFull_ = false;
    socketFailed_ = false;
}

uint32_t SocketCanAdapter::Refuse(const std::string& interface, uint32_t bitrate, const std::string& reason,
                                  bool isVirtual, bool linkIsUp) {
    platform::LogLine("CAN interface " + interface + " " + reason +
                      "; as root: " + SetUpCommand(interface, bitrate, isVirtual, linkIsUp));
    return kCanResultNoInterface;
}

uint32_t SocketCanAdapter::ReadyLinkLocked(const std::string& interface, uint32_t bitrate) {
    const std::string rate = std::to_string(bitrate) + " bit/s";
    const LinkState link = system_->QueryLink(interface);
    if (link.error == ENODEV) {
        return Refuse(interface,
                      bitrate,
                      "not found (" + platform::SystemErrorText(link.error) +
                          "); connect the adapter or name its interface in " + kCanInterfaceVariable +
                          ", and set it up at " + rate,
                      false,
                      false);
    }
    if (link.error != 0) {
        return Refuse(interface,
                      bitrate,
                      "cannot be queried (" + platform::SystemErrorText(link.error) + "); it is wanted at " + rate,
                      false,
                      false);
    }
    const bool isVirtual = IsVirtualKind(link.kind);
    if (link.kind != kCanLinkKind && !isVirtual) {
        platform::LogLine("CAN interface " + interface + " is no CAN interface (kind \"" + link.kind +
                          "\"); name the adapter's interface in " + kCanInterfaceVariable);
        return kCanResultNoInterface;
    }
    if (link.up) {
        // A virtual interface has no rate; a link reporting none is taken as set.
        if (!isVirtual && link.bitrate != 0 && !SameRate(link.bitrate, bitrate)) {
            return Refuse(interface,
                          bitrate,
                          "is up at " + std::to_string(link.bitrate) + " bit/s, not at the " + rate + " wanted",
                          false,
                          true);
        }
    } else {
        const int error = system_->SetLinkUp(link, isVirtual ? 0 : bitrate);
        if (error != 0) {
            return Refuse(
                interface,
                bitrate,
                "is down and could not be brought up at " + rate + " (" + platform::SystemErrorText(error) + ")",
                isVirtual,
                false);
        }
        broughtUp_ = link;
    }
    return kCanResultOk;
}

uint32_t SocketCanAdapter::Init(uint16_t timing, int messageType) {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
    const std::optional<uint32_t> bitrate = BitRateOfTimingWord(timing);
    if (!bitrate) {
        platform::LogLine(platform::Format("CAN adapter: timing word 0x%04X is no bit rate the adapter knows", timing));
        return kCanResultIllegalParameter;
    }
    if (messageType != kStandardFrames) {
        platform::LogLine(
            platform::Format("CAN adapter: message type %d refused; it sends standard frames only (0)", messageType));
        return kCanResultIllegalParameter;
    }
    const std::string interface = ChosenCanInterface();
    if (!IsInterfaceName(interface)) {
        platform::LogLine("CAN interface name \"" + interface + "\" is no interface name; set " +
                          kCanInterfaceVariable + " to the adapter's interface, for example " + kDefaultCanInterface);
        return kCanResultNoInterface;
    }
    if (const uint32_t result = ReadyLinkLocked(interface, *bitrate); result != kCanResultOk) return result;
    const int socket = system_->OpenSocket(interface);
    if (socket < 0) {
        CloseLocked();
        const bool noCanSockets = socket == -EAFNOSUPPORT || socket == -EPROTONOSUPPORT;
        platform::LogLine("CAN interface " + interface + " cannot be opened for " + std::to_string(*bitrate) +
                          " bit/s (" + platform::SystemErrorText(-socket) + ")" +
                          (noCanSockets ? "; the kernel needs its CAN socket support (can_raw)" : ""));
        return kCanResultNoInterface;
    }
    socket_ = socket;
    interface_ = interface;
    return kCanResultOk;
}

uint32_t SocketCanAdapter::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
    return kCanResultOk;
}

void SocketCanAdapter::TakeErrorFrame(const can_frame& frame) {
    const canid_t events = frame.can_id & CAN_ERR_MASK;
    if ((events & CAN_ERR_RESTARTED) != 0) {
        busOff_ = false;
        controller_ = ControllerState::kActive;
    }
    if ((events & CAN_ERR_BUSOFF) != 0) busOff_ = true;
    if ((events & CAN_ERR_CRTL) != 0) {
        const uint8_t controller = frame.data[1];
        if ((controller & (CAN_ERR_CRTL_RX_OVERFLOW | CAN_ERR_CRTL_TX_OVERFLOW)) != 0) overrun_ = true;
        if ((controller & (CAN_ERR_CRTL_RX_PASSIVE | CAN_ERR_CRTL_TX_PASSIVE)) != 0) {
            controller_ = ControllerState::kPassive;
        } else if ((controller & (CAN_ERR_CRTL_RX_WARNING | CAN_ERR_CRTL_TX_WARNING)) != 0) {
            controller_ = ControllerState::kWarning;
        } else if ((controller & CAN_ERR_CRTL_ACTIVE) != 0) {
            controller_ = ControllerState::kActive;
        }
    }
}

void SocketCanAdapter::TakeInLocked(size_t wanted) {
    for (int n = 0; n < kMaxFramesPerCall && received_.size() < wanted; ++n) {
        can_frame frame{};
        const ssize_t got = system_->Receive(socket_, frame);
        if (got < 0 && (got == -EAGAIN || got == -EWOULDBLOCK || got == -EINTR)) return;
        if (got <= 0) {
            socketFailed_ = true;
            return;
        }
        socketFailed_ = false;
        // Only classic frames of the full size are frames of ours.
        if (static_cast<size_t>(got) != sizeof frame) continue;
        if ((frame.can_id & CAN_ERR_FLAG) != 0) {
            TakeErrorFrame(frame);
        } else if ((frame.can_id & CAN_EFF_FLAG) == 0) {
            received_.push_back(frame);
        }
    }
}

uint32_t SocketCanAdapter::Status() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (socket_ < 0) return kCanResultNotInitialised;
    // Error frames waiting behind data frames count already.
    TakeInLocked(std::min(received_.size() + kMaxFramesPerCall, kMaxQueuedFrames));
    // The drivers compare the status with the bus-off value as a whole.
    if (busOff_) return kCanResultBusOff;
    uint32_t status = kCanResultOk;
    if (controller_ == ControllerState::kWarning) status |= kCanResultErrorWarning;
    if (controller_ == ControllerState::kPassive) status |= kCanResultErrorPassive;
    if (overrun_) status |= kCanResultOverrun;
    if (transmitFull_) status |= kCanResultTransmitFull;
    if (socketFailed_) status |= kCanResultSocketError;
    overrun_ = false;
    return status;
}

uint32_t SocketCanAdapter::Read(CanMessage* message) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (socket_ < 0) return kCanResultNotInitialised;
    if (message == nullptr) return kCanResultIllegalParameter;
    if (received_.empty()) TakeInLocked(1);
    if (received_.empty()) return kCanResultReceiveEmpty;
    const can_frame frame = received_.front();
    received_.pop_front();
    message->id = frame.can_id & CAN_SFF_MASK;
    message->messageType = (frame.can_id & CAN_RTR_FLAG) != 0 ? kCanMessageRemote : kCanMessageStandard;
    message->length = std::min<uint8_t>(frame.len, kCanDataBytes);
    std::memset(message->data, 0, sizeof message->data);
    if (message->messageType == kCanMessageStandard) std::memcpy(message->data, frame.data, message->length);
    return kCanResultOk;
}

uint32_t SocketCanAdapter::Write(const CanMessage* message) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (socket_ < 0) return kCanResultNotInitialised;
    if (message == nullptr || message->id > CAN_SFF_MASK || (message->messageType & ~kCanMessageRemote) != 0 ||
        message->length > kCanDataBytes)
        return kCanResultIllegalParameter;
    can_frame frame{};
    const bool remote = message->messageType == kCanMessageRemote;
    frame.can_id = message->id | (remote ? CAN_RTR_FLAG : 0);
    frame.len = message->length;
    if (!remote) std::memcpy(frame.data, message->data, message->length);
    const ssize_t sent = system_->Send(socket_, frame);
    if (sent == static_cast<ssize_t>(sizeof frame)) {
        transmitFull_ = false;
        socketFailed_ = false;
        return kCanResultOk;
    }
    if (IsQueueFull(sent)) {
        transmitFull_ = true;
        return kCanResultTransmitFull;
    }
    socketFailed_ = true;
    return kCanResultSocketError;
}

int SocketCanAdapter::ReceiveDescriptor() {
    std::lock_guard<std::mutex> lock(mutex_);
    return socket_;
}

uint32_t SocketCanAdapter::VersionInfo(const char* library, char* text) {
    if (text == nullptr) return kCanResultIllegalParameter;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string interface = socket_ >= 0 ? interface_ : ChosenCanInterface();
    std::snprintf(
        text, kCanVersionTextSize, "%s %s, SocketCAN interface %s", library, kAdapterLibraryVersion, interface.c_str());
    return kCanResultOk;
}

}  // namespace socketcan
