// The two adapter drivers: the parallel-port adapter (library "pcan_dng.dll")
// and the USB adapter ("pcan_usb.dll"). They share everything but the library,
// its initialisation call and the handling of the version text.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "bus/can/can_drv_base.h"
#include "platform/system/dynamic_library.h"

inline constexpr char kParallelAdapterLibrary[] = "pcan_dng.dll";
inline constexpr char kUsbAdapterLibrary[] = "pcan_usb.dll";
// Settings the parallel-port adapter starts with.
inline constexpr uint32_t kDefaultParallelIoPort = 0x378;
inline constexpr uint32_t kDefaultParallelInterrupt = 7;
inline constexpr int kMonitorRingEntries = 10;
// Most frames one drain or receive poll takes from the library, so an adapter
// that never runs dry cannot hold the caller for ever.
inline constexpr int kMaxFramesPerPoll = 4096;

// The bus-timing word of a baud rate; none for a rate the adapters cannot run.
std::optional<uint16_t> CanTimingWord(int32_t baudRate);

// What both adapter drivers share: the library and its entry points, the
// message objects, the receive poll and the monitor ring.
class CanAdapterDriver : public CCanDrvBase {
public:
    ~CanAdapterDriver() override;

    int Init(const CanAdapterSettings& settings) override;
    void Close() override;
    bool IsBusOff() override;
    void SetMessageObject(int object, uint32_t cobId, int length, const CanDataValues& data) override;
    bool ReadMessageObject(int object, int& length, CanDataValues& data) override;
    int ReadMonitorEntry(uint32_t& identifier, int& length, CanDataValues& data) override;
    uint32_t SendMessageObject(int object) override;
    uint32_t AdapterStatus() override;
    int ReceiveDescriptor() override;

    // Whether the library and all its entry points were found.
    bool LibraryLoaded() const { return library_ != nullptr; }
    // Frames the monitor ring lost because nobody read them in time.
    uint32_t MonitorOverruns();

protected:
    // Loads the library; `withSpecialFunction` asks for that entry point too.
    CanAdapterDriver(const char* libraryName, bool withSpecialFunction);

    // The library's initialisation call at the settings' baud.
    virtual uint32_t CallInit(uint16_t timing) = 0;
    // The library's version text call; only with the library loaded.
    uint32_t CallVersionInfo(char* text) { return versionInfo_(text); }

    void* initEntry_ = nullptr;

private:
    struct MonitorEntry {
        uint32_t identifier = 0;
        uint8_t messageType = 0;
        uint8_t length = 0;
        uint8_t data[kCanDataBytes] = {};
        uint32_t inUse = 0;
    };
    // The first bytes have the library's message layout; the object is
    // handed to the library as such.
    struct MessageObject {
        CanMessage message;
        uint32_t pending = 0;
    };

    void Poll();
    void RecordLocked(const CanMessage& message, bool clearWhenFull);

    platform::ModuleHandle library_ = nullptr;
    CanCloseFunction close_ = nullptr;
    CanStatusFunction status_ = nullptr;
    CanWriteFunction write_ = nullptr;
    CanReadFunction read_ = nullptr;
    CanVersionInfoFunction versionInfo_ = nullptr;
    CanReceiveDescriptorFunction receiveDescriptor_ = nullptr;  // optional

    // Guards the library's write.
    std::mutex sendMutex_;
    // Guards the library's read and the message objects.
    std::mutex receiveMutex_;
    // Guards the monitor ring, which the send and the poll both fill.
    std::mutex monitorMutex_;

    std::array<MonitorEntry, kMonitorRingEntries> ring_{};
    int writePosition_ = 0;
    int readPosition_ = 0;
    uint32_t entriesRead_ = 0;
    uint32_t entriesWritten_ = 0;
    uint32_t overruns_ = 0;
    bool monitorOn_ = true;

    std::array<MessageObject, kCanMessageObjects> objects_{};
};

// The parallel-port adapter.
class CCanPeak : public CanAdapterDriver {
public:
    CCanPeak();
    // Empties the text when the library reports success and leaves it as the
    // library wrote it when not.
    void GetVersionInfo(char* text) override;
    // Init at `baudRate` on the default I/O port and interrupt.
    int InitBaud(int32_t baudRate) override;

protected:
    uint32_t CallInit(uint16_t timing) override;
};

// The USB adapter.
class CCanPeakUSB : public CanAdapterDriver {
public:
    CCanPeakUSB();
    // The library's version text, or an empty text when it fails.
    void GetVersionInfo(char* text) override;
    int InitBaud(int32_t baudRate) override;

protected:
    uint32_t CallInit(uint16_t timing) override;
};
