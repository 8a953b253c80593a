// What both CAN adapter libraries are: the driver function set (CAN_Init ...
// CAN_VersionInfo) over one SocketCAN interface. CAN_Init finds the interface,
// brings it up at the timing word's bit rate when it is down, and opens a raw
// CAN socket on it; reads and writes never wait; the controller's error
// frames make the status. Problems with the interface go to the platform's
// log sink as one line that says what a user can do. Thread-safe: the
// drivers read and write from the CANopen worker and poll from the GUI
// thread.
#pragma once

#include <linux/can.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "bus/can/can_driver_api.h"
#include "bus/socketcan/can_system.h"

namespace socketcan {

// Message type CAN_Init takes: standard frames.
inline constexpr int kStandardFrames = 0;
// A rate the kernel reports may differ this much (per mille) from the one it
// was set to, where the controller's clock cannot make it exactly.
inline constexpr uint32_t kBitRateTolerancePerMille = 5;
// Frames one CAN_Read or CAN_Status takes in before it answers, so a flood of
// error frames cannot hold the caller.
inline constexpr int kMaxFramesPerCall = 64;
inline constexpr char kAdapterLibraryVersion[] = "1.0";

class SocketCanAdapter {
public:
    // `system` null: the kernel's.
    explicit SocketCanAdapter(CanSystem* system = nullptr);
    ~SocketCanAdapter();
    SocketCanAdapter(const SocketCanAdapter&) = delete;
    SocketCanAdapter& operator=(const SocketCanAdapter&) = delete;

    // Closes what is open and uses `system` (null: the kernel's) from now on.
    void UseSystem(CanSystem* system);

    // 0 when the interface runs at the word's bit rate and the socket is
    // open; else kCanResultIllegalParameter or kCanResultNoInterface, with
    // one log line. A second Init closes the first.
    uint32_t Init(uint16_t timing, int messageType);
    // Closes the socket, and takes down an interface this adapter brought up.
    uint32_t Close();
    // The state bits; while the controller is off the bus exactly
    // kCanResultBusOff.
    uint32_t Status();
    uint32_t Write(const CanMessage* message);
    // 0 with the oldest waiting standard frame in `message`, else
    // kCanResultReceiveEmpty (or kCanResultNotInitialised).
    uint32_t Read(CanMessage* message);
    // "<library> <version>, SocketCAN interface <name>" into `text`
    // (kCanVersionTextSize bytes); 0.
    uint32_t VersionInfo(const char* library, char* text);
    // The CAN socket, which polls readable while a frame waits in it; -1
    // before CAN_Init. Frames a status call took in wait in the adapter
    // instead, until the next Read.
    int ReceiveDescriptor();

private:
    enum class ControllerState { kActive, kWarning, kPassive };

    void CloseLocked();
    // Finds the interface at `bitrate`, bringing it up when it is down:
    // kCanResultOk, or kCanResultNoInterface with the log line.
    uint32_t ReadyLinkLocked(const std::string& interface, uint32_t bitrate);
    // Logs why the interface cannot be used, with the command that sets it
    // up; returns kCanResultNoInterface.
    uint32_t Refuse(const std::string& interface, uint32_t bitrate, const std::string& reason, bool isVirtual,
                    bool linkIsUp);
    // Takes frames from the socket: error frames into the state, standard
    // frames into the queue, until `wanted` frames wait or nothing more comes.
    void TakeInLocked(size_t wanted);
    void TakeErrorFrame(const can_frame& frame);

    std::mutex mutex_;
    CanSystem* system_;
    int socket_ = -1;
    std::string interface_;
    // The link this adapter brought up, to take down again at Close.
    std::optional<LinkState> broughtUp_;
    std::deque<can_frame> received_;
    bool busOff_ = false;
    ControllerState controller_ = ControllerState::kActive;
    bool overrun_ = false;
    bool transmitFull_ = false;
    bool socketFailed_ = false;
};

}  // namespace socketcan
