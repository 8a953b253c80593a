// The results and status bits of the CAN adapter libraries: 0 is success,
// everything else a reason. CAN_Status combines the state bits; the other
// values are results of single calls.
#pragma once

#include <cstdint>

namespace socketcan {

inline constexpr uint32_t kCanResultOk = 0;
// CAN_Write: the interface's transmit queue is full; the frame was not sent.
inline constexpr uint32_t kCanResultTransmitFull = 0x0001;
// Frames were lost before they could be read (reported once).
inline constexpr uint32_t kCanResultOverrun = 0x0002;
// The controller's error counters passed the warning level.
inline constexpr uint32_t kCanResultErrorWarning = 0x0004;
inline constexpr uint32_t kCanResultErrorPassive = 0x0008;
// The controller left the bus; until it restarts this is the whole status.
inline constexpr uint32_t kCanResultBusOff = 0x0010;
// CAN_Read: no frame waits.
inline constexpr uint32_t kCanResultReceiveEmpty = 0x0020;
// A timing word, message type or message the library does not take.
inline constexpr uint32_t kCanResultIllegalParameter = 0x0040;
// No CAN_Init has succeeded since the library was loaded or closed.
inline constexpr uint32_t kCanResultNotInitialised = 0x0080;
// The interface is missing, no CAN interface, at another bit rate, or could
// not be brought up or opened.
inline constexpr uint32_t kCanResultNoInterface = 0x0100;
// The socket failed (the interface went down or away under it).
inline constexpr uint32_t kCanResultSocketError = 0x0200;

}  // namespace socketcan
