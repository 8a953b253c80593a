// What the adapter libraries need of the kernel, as one seam: the state of a
// network interface, bringing it up (at a bit rate) and down, and a raw CAN
// socket on it that sends and receives one frame at a time without waiting.
// Production uses the kernel's own (linux_can_system.h); tests put a stand-in
// socket with the virtual CAN bus behind it.
#pragma once

#include <linux/can.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace socketcan {

// Kinds of link driver that carry CAN: adapters, and the kernel's virtual
// CAN interfaces (which have no bit rate).
inline constexpr char kCanLinkKind[] = "can";
inline constexpr char kVirtualCanLinkKind[] = "vcan";
inline constexpr char kVirtualCanPairLinkKind[] = "vxcan";

struct LinkState {
    int error = 0;  // 0, or the errno of the query (ENODEV: no such interface)
    int index = 0;
    std::string kind;  // the link driver's kind; empty for a link without one
    bool up = false;
    uint32_t bitrate = 0;  // 0 when the link reports none
};

class CanSystem {
public:
    virtual ~CanSystem() = default;

    virtual LinkState QueryLink(const std::string& name) = 0;
    // Brings the link up, first setting `bitrate` when it is not 0 (a CAN
    // link takes a new rate only while it is down). 0 or an errno.
    virtual int SetLinkUp(const LinkState& link, uint32_t bitrate) = 0;
    virtual int SetLinkDown(const LinkState& link) = 0;

    // A raw CAN socket bound to the interface, taking standard frames and the
    // controller's error frames: its descriptor, or -errno.
    virtual int OpenSocket(const std::string& name) = 0;
    // One frame, never waiting: the bytes moved, or -errno (-EAGAIN: nothing
    // waits, or no room to send).
    virtual ssize_t Send(int socket, const can_frame& frame) = 0;
    virtual ssize_t Receive(int socket, can_frame& frame) = 0;
    virtual void CloseSocket(int socket) = 0;
};

}  // namespace socketcan
