// The function set of a CAN adapter's driver library as the adapter drivers
// load it by name: the message layout the library reads and writes, the
// entry points and their signatures, and the adapter settings the CANopen bus
// hands to a driver.
#pragma once

#include <cstddef>
#include <cstdint>

// One CAN frame as the driver library exchanges it.
struct CanMessage {
    uint32_t id = 0;
    uint8_t messageType = 0;  // bit 0: remote request
    uint8_t length = 0;
    uint8_t data[8] = {};
};
static_assert(offsetof(CanMessage, messageType) == 4 && offsetof(CanMessage, length) == 5 &&
                  offsetof(CanMessage, data) == 6 && sizeof(CanMessage) == 16,
              "the library reads 14 bytes of identifier, type, length and data");

inline constexpr uint8_t kCanMessageStandard = 0x00;
inline constexpr uint8_t kCanMessageRemote = 0x01;
inline constexpr int kCanDataBytes = 8;

// Entry point names looked up in the library.
inline constexpr const char kCanInitName[] = "CAN_Init";
inline constexpr const char kCanCloseName[] = "CAN_Close";
inline constexpr const char kCanStatusName[] = "CAN_Status";
inline constexpr const char kCanWriteName[] = "CAN_Write";
inline constexpr const char kCanReadName[] = "CAN_Read";
inline constexpr const char kCanVersionInfoName[] = "CAN_VersionInfo";
inline constexpr const char kCanSpecialFunctionName[] = "CAN_SpecialFunktion";
// Optional: libraries that can signal a received frame export it.
inline constexpr const char kCanReceiveDescriptorName[] = "CAN_ReceiveDescriptor";

// Results and status of the library.
inline constexpr uint32_t kCanLibraryOk = 0;
inline constexpr uint32_t kCanStatusBusOff = 0x10;
// Room for the library's version text, terminator included.
inline constexpr int kCanVersionTextSize = 256;

// The USB adapter's initialisation: timing word and message type.
using CanInitUsbFunction = uint32_t (*)(uint16_t timing, int messageType);
// The parallel-port adapter's: also the hardware type, I/O port and interrupt.
using CanInitParallelFunction = uint32_t (*)(uint16_t timing, int messageType, int hardwareType, uint32_t ioPort,
                                             uint16_t interrupt);
using CanCloseFunction = uint32_t (*)();
using CanStatusFunction = uint32_t (*)();
using CanWriteFunction = uint32_t (*)(CanMessage* message);
// 0 while a message was delivered.
using CanReadFunction = uint32_t (*)(CanMessage* message);
using CanVersionInfoFunction = uint32_t (*)(char* text);
using CanSpecialFunction = uint32_t (*)(uint32_t function, int parameter);
// A file descriptor that polls readable while a received frame waits to be
// read (the adapter's socket or receive event), or -1 while there is none.
using CanReceiveDescriptorFunction = int (*)();

// Hardware type the parallel-port adapter's initialisation is given.
inline constexpr int kParallelHardwareType = 5;

// Adapter settings, given by the application to the CANopen bus and copied
// by the driver when it initialises.
struct CanAdapterSettings {
    int32_t baudRate = 0;    // filled from the identifier by the bus
    int32_t baudRateId = 0;  // 0..7
    int32_t hardwareId = 0;  // 0 parallel-port adapter, 1 USB adapter
    uint32_t ioPort = 0;
    uint32_t interrupt = 0;
};

inline constexpr int32_t kHardwareParallel = 0;
inline constexpr int32_t kHardwareUsb = 1;
