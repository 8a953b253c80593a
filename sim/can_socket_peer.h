// The far side of a CAN socket: frames the program sends on it reach the
// nodes of the virtual CAN bus, and frames the bus has for the program, with
// the error frames a test raises, come out of it, one struct can_frame per
// packet. The socket is one end of a SOCK_SEQPACKET pair (a stand-in for a
// raw CAN socket where the kernel has none), or a raw CAN socket of the
// peer's own on a CAN interface. Frames move when Pump is called, or all the
// time on a thread of the peer's own. Safe from any thread.
#pragma once

#include <linux/can.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/can_bus.h"

namespace sim {

class CanSocketPeer {
public:
    explicit CanSocketPeer(VirtualCanBus& bus);
    ~CanSocketPeer();
    CanSocketPeer(const CanSocketPeer&) = delete;
    CanSocketPeer& operator=(const CanSocketPeer&) = delete;

    // A new socket pair in place of any earlier connection: the program's
    // end (the caller closes it), or -errno.
    int MakeSocketPair();
    // Joins CAN interface `name` through a raw socket of its own: 0 or -errno.
    int JoinInterface(const std::string& name);
    void Disconnect();
    bool Connected() const;

    // Moves frames until nothing more moves: the program's to the bus's
    // nodes, and the bus's due frames to the program.
    void Pump();
    // Pumps on a thread of the peer's own until StopPumping, for a real
    // socket that no call of the program's side drives.
    void StartPumping();
    void StopPumping();

    // A frame for the program as it is, whatever its flags.
    void SendFrame(const can_frame& frame);
    // An error frame as the kernel reports a controller event: the event
    // bits (CAN_ERR_BUSOFF ...) and the eight data bytes.
    void SendErrorFrame(uint32_t events, const std::array<uint8_t, 8>& data = {});
    // The controller leaves the bus, so nothing passes either way, and says
    // so; Restart brings it back and says that.
    void BusOff();
    void Restart();
    // While held, frames the program sends stay in the socket, whose queue
    // fills up as a transmit queue does on a bus nobody acknowledges.
    void HoldTransmit(bool on);

    // Packets the program sent, byte for byte.
    std::vector<std::vector<uint8_t>> Received() const;

private:
    void PumpLocked();
    void DisconnectLocked();

    VirtualCanBus& bus_;
    mutable std::mutex mutex_;
    int socket_ = -1;
    bool hold_ = false;
    std::deque<can_frame> outgoing_;
    std::vector<std::vector<uint8_t>> received_;
    std::atomic<bool> stop_{false};
    std::thread pump_;
};

}  // namespace sim
