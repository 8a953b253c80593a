// The virtual CAN bus: a CAN adapter whose driver function set (CAN_Init,
// CAN_Close, CAN_Read, CAN_Write, CAN_Status, CAN_VersionInfo,
// CAN_SpecialFunktion) is registered as a loadable module under the adapter
// libraries' names. Frames the program writes are captured and delivered to
// the attached nodes; their answers, and frames a test injects, wait in the
// receive queue until their clock time has come. Safe to use from the
// program's worker thread and the test thread at once.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// One CAN frame on the virtual bus.
struct CanFrame {
    uint32_t id = 0;
    bool remote = false;
    uint8_t length = 0;
    std::array<uint8_t, 8> data{};

    static CanFrame Data(uint32_t id, std::vector<uint8_t> bytes);
    static CanFrame Remote(uint32_t id, uint8_t length);
};

struct CapturedFrame {
    uint64_t time_us = 0;
    bool from_program = true;  // written by the program, else read by it
    CanFrame frame;
};

// Library names the module is registered under.
inline constexpr char kVirtualParallelLibrary[] = "pcan_dng.dll";
inline constexpr char kVirtualUsbLibrary[] = "pcan_usb.dll";

// Status bits the adapter reports.
inline constexpr uint32_t kAdapterStatusBusOff = 0x10;
inline constexpr uint32_t kAdapterStatusOverrun = 0x08;
// Status bit and CAN_Write result of a transmit queue with no room.
inline constexpr uint32_t kAdapterTransmitFull = 0x01;
// CAN_Read's answer when no frame is waiting.
inline constexpr uint32_t kAdapterQueueEmpty = 0x20;
inline constexpr uint32_t kAdapterNotInitialised = 0x40;
// Frames the receive queue holds before it overruns, unless set otherwise.
inline constexpr size_t kDefaultReceiveCapacity = 256;

class CanNodeDevice;

// How the program initialised the adapter.
struct AdapterInit {
    bool usb = false;  // the USB library's CAN_Init (else the parallel port's)
    uint16_t timing = 0;
    int message_type = 0;
    int hardware_type = 0;
    uint32_t io_port = 0;
    uint16_t interrupt = 0;
};

class VirtualCanBus {
public:
    VirtualCanBus();
    ~VirtualCanBus();
    VirtualCanBus(const VirtualCanBus&) = delete;
    VirtualCanBus& operator=(const VirtualCanBus&) = delete;

    // Back to a bus without nodes, frames, faults or history.
    void Reset();

    // Nodes see every frame the program writes; not owned.
    void Attach(CanNodeDevice* node);
    void Detach(CanNodeDevice* node);

    // A frame for the program, readable from `delay_us` on the clock from now.
    void Inject(const CanFrame& frame, uint64_t delay_us = 0);
    // Frames waiting for the program (due or not).
    size_t Waiting() const;

    std::vector<CapturedFrame> Capture() const;
    // Frames the program wrote, as "602: 22 64 20 00 34 12 00 00"
    // ("701 r1" for a remote frame of length 1).
    std::vector<std::string> Written() const;
    void ClearCapture();

    // Faults.
    void SetBusOff(bool on);
    // The queue overruns beyond `frames`: further frames are lost and the
    // status reports the overrun until it is read.
    void SetReceiveCapacity(size_t frames);
    // Every CAN_Read delivers a copy of `frame`, as an adapter on a bus that
    // never falls silent (ended by SetBabbling with nothing).
    void SetBabbling(bool on, const CanFrame& frame = {});
    void SetInitResult(uint32_t result);
    // While on, every CAN_Write blocks the caller until it is switched off,
    // as a program thread the machine keeps from running would be late.
    void HoldWrites(bool on);
    // After `after` more CAN_Writes, the next `count` are refused with
    // kAdapterTransmitFull, as by a transmit queue with no room: nothing
    // reaches the bus, and the status reports the full queue until a write
    // goes through.
    void RefuseWrites(int count, int after = 0);
    int RefusedWrites() const;
    void SetVersionInfo(std::string text, uint32_t result = 0);
    // Ready for frames without a CAN_Init, as the bus behind a CAN socket is
    // (CanSocketPeer); Close or Reset ends it.
    void Activate();

    // What the program did.
    std::vector<AdapterInit> Inits() const;
    int Closes() const;
    int Reads() const;
    bool Initialised() const;

    // The driver function set, called by the module's exported functions.
    uint32_t InitAdapter(const AdapterInit& init);
    uint32_t Close();
    uint32_t Read(uint8_t* message);
    uint32_t Write(const uint8_t* message);
    uint32_t Status();
    uint32_t VersionInfo(char* text);
    // A descriptor that polls readable while a frame is due for the program
    // (the adapter's receive event); -1 before CAN_Init. A frame that comes
    // due only as the clock moves on is not signalled.
    int ReceiveDescriptor();

private:
    struct Pending {
        uint64_t due_us;
        CanFrame frame;
    };

    void QueueLocked(const CanFrame& frame, uint64_t due_us);
    // Sets or clears the receive signal to match the queue.
    void SignalLocked();

    mutable std::mutex mutex_;
    std::vector<CanNodeDevice*> nodes_;
    std::deque<Pending> queue_;
    std::vector<CapturedFrame> capture_;
    std::vector<AdapterInit> inits_;
    bool initialised_ = false;
    int closes_ = 0;
    int reads_ = 0;
    bool bus_off_ = false;
    bool overrun_ = false;
    size_t capacity_ = kDefaultReceiveCapacity;
    bool babbling_ = false;
    bool hold_writes_ = false;
    std::condition_variable writes_released_;
    CanFrame babble_;
    uint32_t init_result_ = 0;
    std::string version_text_ = "Virtual CAN adapter 1.0";
    uint32_t version_result_ = 0;
    int refuse_writes_ = 0;
    int refuse_after_ = 0;
    int refused_writes_ = 0;
    bool transmit_full_ = false;
    int receive_signal_ = -1;
    bool signalled_ = false;
};

// The one virtual bus of the process; the driver functions know no other.
// It is reset before every test.
VirtualCanBus& TheVirtualCanBus();

// Registers the driver function set under both library names. `omit` names
// an entry point to leave out (a library that lacks it).
void RegisterVirtualCanAdapter(std::string_view omit = {});

// "22 64 20 00": bytes as spaced hex pairs.
std::string HexFrameBytes(const CanFrame& frame);

// Something on the bus that hears every frame the program writes.
class CanNodeDevice {
public:
    virtual ~CanNodeDevice() = default;
    struct Answer {
        CanFrame frame;
        uint64_t delay_us = 0;
    };
    // Called with the bus locked; must not call back into the bus.
    virtual std::vector<Answer> OnFrame(const CanFrame& frame) = 0;
};

}  // namespace sim
