// The interface of a CAN adapter driver as the CANopen bus uses it: sixteen
// message objects that the bus fills and reads, a send operation, a receive
// poll that sorts incoming frames into the objects by identifier, and a ring
// of the last frames seen for the bus monitor. The base does nothing.
#pragma once

#include <array>
#include <cstdint>

#include "bus/can/can_driver_api.h"
#include "platform/system/sync_event.h"

inline constexpr int kCanMessageObjects = 16;
// Added to a message object's length: the object is sent as a remote request.
inline constexpr int kCanRemoteLengthFlag = 0x10;

// Results of CCanDrvBase::Init.
inline constexpr int kCanDriverOk = 0;
inline constexpr int kCanDriverBaudNotSupported = 3;
inline constexpr int kCanDriverInitFailed = 4;
inline constexpr int kCanDriverNoLibrary = 9;

// CAN data bytes as the bus hands them around: one byte in each value.
using CanDataValues = std::array<uint32_t, kCanDataBytes>;

class CCanDrvBase {
public:
    CCanDrvBase() = default;
    virtual ~CCanDrvBase() = default;
    CCanDrvBase(const CCanDrvBase&) = delete;
    CCanDrvBase& operator=(const CCanDrvBase&) = delete;

    // The library's version text into `text` (kCanVersionTextSize bytes).
    virtual void GetVersionInfo(char* text);
    // Copies the settings and initialises the adapter at their baud rate:
    // kCanDriverOk, kCanDriverNoLibrary, kCanDriverBaudNotSupported or
    // kCanDriverInitFailed.
    virtual int Init(const CanAdapterSettings& settings);
    virtual int InitBaud(int32_t baudRate);
    virtual void Close();
    virtual bool IsBusOff();
    // Object 0..15 (others are ignored); kCanRemoteLengthFlag in `length`
    // makes it a remote request. Clears the object's pending flag.
    virtual void SetMessageObject(int object, uint32_t cobId, int length, const CanDataValues& data);
    // Polls the adapter; true with the object's length and data when a frame
    // with its identifier came in since it was last read.
    virtual bool ReadMessageObject(int object, int& length, CanDataValues& data);
    // Polls the adapter; 1 with the oldest unread frame of the monitor ring,
    // 0 without one.
    virtual int ReadMonitorEntry(uint32_t& identifier, int& length, CanDataValues& data);
    // Hands the object to the adapter as a frame: the library's result,
    // kCanLibraryOk when it took the frame (an adapter that refuses it, for
    // example with a full transmit queue, sends nothing).
    virtual uint32_t SendMessageObject(int object);
    // The library's status bits (0 without a library).
    virtual uint32_t AdapterStatus();
    // A descriptor that polls readable while a received frame waits, when
    // the library offers one; else -1 and the caller looks from time to time.
    virtual int ReceiveDescriptor();

    // The settings copied by the last Init.
    CanAdapterSettings& GetSettings() { return settings_; }

protected:
    CanAdapterSettings settings_;

private:
    // Made with every driver; nothing waits on it.
    platform::AutoResetEvent spareEvent_;
};
