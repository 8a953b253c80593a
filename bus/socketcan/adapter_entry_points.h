// The driver function set of the two adapter libraries as functions of
// the library's one adapter. libpcan_usb.so and libpcan_dng.so export them
// under the names the adapter drivers look up (adapter_exports.cpp); tests
// register them under the libraries' names with a stand-in system behind
// the adapter.
#pragma once

#include <cstdint>

#include "bus/can/can_driver_api.h"
#include "bus/socketcan/socket_can_adapter.h"

namespace socketcan {

inline constexpr char kUsbLibraryFile[] = "libpcan_usb.so";
inline constexpr char kParallelLibraryFile[] = "libpcan_dng.so";

// The adapter of this library (each library file has its own).
SocketCanAdapter& TheAdapter();

uint32_t UsbInit(uint16_t timing, int messageType);
// Logs the I/O port and interrupt, which a SocketCAN interface has no use
// for, and initialises as the USB adapter does.
uint32_t ParallelInit(uint16_t timing, int messageType, int hardwareType, uint32_t ioPort, uint16_t interrupt);
uint32_t AdapterClose();
uint32_t AdapterStatus();
uint32_t AdapterWrite(CanMessage* message);
uint32_t AdapterRead(CanMessage* message);
int AdapterReceiveDescriptor();
uint32_t UsbVersionInfo(char* text);
uint32_t ParallelVersionInfo(char* text);
// No special function exists on Linux: every call is refused.
uint32_t UsbSpecialFunction(uint32_t function, int parameter);

}  // namespace socketcan
