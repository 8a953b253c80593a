// The few routing-netlink messages the adapter libraries exchange with the
// kernel about one link: the query of its state and the request that brings
// it up (with a CAN bit rate) or down, and the reading of the answers. Bytes
// only; linux_can_system.cpp sends and receives them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bus/socketcan/can_system.h"

namespace socketcan {

// RTM_GETLINK for the link named `name`.
std::vector<uint8_t> GetLinkRequest(const std::string& name, uint32_t sequence);
// RTM_NEWLINK that sets link `index` up or down, with the bit rate of a CAN
// link when `bitrate` is not 0; the kernel acknowledges it.
std::vector<uint8_t> SetLinkRequest(int index, bool up, uint32_t bitrate, uint32_t sequence);

// The link's state from the kernel's answer to GetLinkRequest; an error
// answer gives its errno, an answer that cannot be read EBADMSG.
LinkState ReadLinkAnswer(const uint8_t* data, size_t size, uint32_t sequence);
// 0 for the acknowledgement of `sequence`, else the answer's errno (EBADMSG
// when it cannot be read).
int ReadAcknowledgement(const uint8_t* data, size_t size, uint32_t sequence);

}  // namespace socketcan
