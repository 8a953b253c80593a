// Program-wide flags: single bytes on the GUI thread that keep timer work and
// nested requests away while event processing runs inside a box, a wait or a
// transfer. They guard against re-entry, not against other threads.
#pragma once

#include <cstdint>

// Set while a device search or scan, a device activation, a parameter-base file
// or bus transfer, a data-set copy, a firmware download, a run-mode
// installation or a message box runs. Set at program start; the first
// successful device activation clears it. Raise it through BusTransferGuard.
extern bool BusTransferFlag;
// Set while a bus is opened or closed (and by the device reset's wait) and
// while any message box is open.
extern bool ModalFlag;
// Set for the duration of every message box.
extern bool MessageBoxOpenFlag;
// Set while an error box is shown.
extern bool ErrorBoxFlag;
// Set while the serial port layer processes events during a receive wait.
extern bool SerialWaitFlag;
// Set when the user chose to uncouple after a device error but the uncoupling
// had to wait; the next device-bound timer check or signature check uncouples.
extern bool UncouplingPending;
// Clear until the main window exists; no box is shown while it is clear.
extern bool MessageBoxesEnabled;
// While set, every device access of every parameter base succeeds at once
// without bus traffic. Set by ShowDeviceError, cleared when a base is set up.
extern bool DevicesUncoupled;
// While set, the serial bus logs every parameter write before sending it.
// Set at start; whole-table transfers clear it for their run.
extern bool BusWriteLogging;
// Added by the CANopen bus to an array element's subindex: 1 at start, then
// set with every device activation to 0 for device families 3 and 4 and to 1
// for all others.
extern uint8_t CanArraySubindexOffset;
// Set while an activity or progress window is open (one at a time).
extern bool ActivityWindowOpen;
// Start-up options of the main profile.
extern bool AnimationOff;         // [Options] Animation = 0
extern bool ShowDeviceErrorFlag;  // [Options] ShowDeviceError
extern bool UserStateFlag;        // [Options] UserState
// Divides the poll interval of every polling window; 1.0 by default.
extern double PollRateFactor;

// Raises BusTransferFlag for a scope and lowers it at the end only when this
// guard raised it, so nested users leave the outer one's flag alone.
class BusTransferGuard {
public:
    BusTransferGuard();
    ~BusTransferGuard();
    BusTransferGuard(const BusTransferGuard&) = delete;
    BusTransferGuard& operator=(const BusTransferGuard&) = delete;

    // Whether this guard raised the flag (it was clear before).
    bool Raised() const { return raised_; }
    // Keeps the flag set when the guard ends (a failed device activation
    // leaves it set so guarded timers stay idle).
    void Keep() { raised_ = false; }

private:
    bool raised_;
};

// Set while a device action runs that no timer may interrupt (a firmware
// download). Clear at start; raise it through DeviceBusyGuard.
extern bool DeviceBusyFlag;

// Raises DeviceBusyFlag for a scope and lowers it at the end only when this
// guard raised it.
class DeviceBusyGuard {
public:
    DeviceBusyGuard() : raised_(!DeviceBusyFlag) { DeviceBusyFlag = true; }
    ~DeviceBusyGuard() {
        if (raised_) DeviceBusyFlag = false;
    }
    DeviceBusyGuard(const DeviceBusyGuard&) = delete;
    DeviceBusyGuard& operator=(const DeviceBusyGuard&) = delete;

private:
    bool raised_;
};
