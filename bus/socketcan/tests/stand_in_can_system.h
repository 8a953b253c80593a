// The kernel as the adapter libraries' tests see it: a table of links that
// the test sets (kind, up or down, bit rate, whether they may be configured),
// and CAN sockets that are one end of a SOCK_SEQPACKET pair with the virtual
// CAN bus on the far side. Frames travel through the kernel's own send and
// receive of the production system; the far side is pumped at each of them,
// so the virtual clock alone decides when a reply is there.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "bus/socketcan/linux_can_system.h"
#include "sim/can_socket_peer.h"

namespace socketcan_test {

struct StandInLink {
    std::string kind = socketcan::kCanLinkKind;
    bool up = false;
    uint32_t bitrate = 0;
    // errno of any attempt to bring the link up or down (EPERM: not allowed).
    int configureError = 0;
};

class StandInCanSystem : public socketcan::LinuxCanSystem {
public:
    explicit StandInCanSystem(sim::VirtualCanBus& bus);

    void SetLink(const std::string& name, const StandInLink& link);
    StandInLink Link(const std::string& name) const;
    // errno of the next socket opens.
    void SetOpenError(int error);
    // What the adapter asked: "up can0 125000", "down can0", "open can0", "close".
    std::vector<std::string> Calls() const;
    void ClearCalls();
    sim::CanSocketPeer& Peer() { return peer_; }

    socketcan::LinkState QueryLink(const std::string& name) override;
    int SetLinkUp(const socketcan::LinkState& link, uint32_t bitrate) override;
    int SetLinkDown(const socketcan::LinkState& link) override;
    int OpenSocket(const std::string& name) override;
    ssize_t Send(int socket, const can_frame& frame) override;
    ssize_t Receive(int socket, can_frame& frame) override;
    void CloseSocket(int socket) override;

private:
    struct Entry {
        std::string name;
        StandInLink link;
    };
    // The entry of a link index (its position + 1); null for none.
    Entry* ByIndex(int index);

    mutable std::mutex mutex_;
    std::vector<Entry> links_;
    int openError_ = 0;
    std::vector<std::string> calls_;
    sim::CanSocketPeer peer_;
};

}  // namespace socketcan_test
