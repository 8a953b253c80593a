// The kernel's side of the adapter libraries' seam: routing netlink for the
// link, a raw CAN socket for the frames.
#pragma once

#include <cstdint>
#include <vector>

#include "bus/socketcan/can_system.h"

namespace socketcan {

class LinuxCanSystem : public CanSystem {
public:
    LinkState QueryLink(const std::string& name) override;
    int SetLinkUp(const LinkState& link, uint32_t bitrate) override;
    int SetLinkDown(const LinkState& link) override;
    int OpenSocket(const std::string& name) override;
    // send and recv with MSG_DONTWAIT on any socket that carries one
    // struct can_frame per packet.
    ssize_t Send(int socket, const can_frame& frame) override;
    ssize_t Receive(int socket, can_frame& frame) override;
    void CloseSocket(int socket) override;
};

// The one kernel system of a library.
CanSystem& TheLinuxCanSystem();

// One request to the kernel's routing netlink and its answer: the answer's
// bytes, or empty with `error` set when none came.
std::vector<uint8_t> ExchangeWithKernel(const std::vector<uint8_t>& request, int& error);

}  // namespace socketcan
