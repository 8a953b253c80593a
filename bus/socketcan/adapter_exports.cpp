// The exported function set of one adapter library: libpcan_usb.so when
// TORVAN_CAN_USB_LIBRARY is 1, libpcan_dng.so when it is 0. Everything else
// in the library stays private to it (see the libraries' export maps).
#include "bus/socketcan/adapter_entry_points.h"

#define TORVAN_CAN_EXPORT extern "C" __attribute__((visibility("default")))

#if TORVAN_CAN_USB_LIBRARY
TORVAN_CAN_EXPORT uint32_t CAN_Init(uint16_t timing, int messageType) {
    return socketcan::UsbInit(timing, messageType);
}
TORVAN_CAN_EXPORT uint32_t CAN_VersionInfo(char* text) { return socketcan::UsbVersionInfo(text); }
TORVAN_CAN_EXPORT uint32_t CAN_SpecialFunktion(uint32_t function, int parameter) {
    return socketcan::UsbSpecialFunction(function, parameter);
}
#else
TORVAN_CAN_EXPORT uint32_t CAN_Init(uint16_t timing, int messageType, int hardwareType, uint32_t ioPort,
                                    uint16_t interrupt) {
    return socketcan::ParallelInit(timing, messageType, hardwareType, ioPort, interrupt);
}
TORVAN_CAN_EXPORT uint32_t CAN_VersionInfo(char* text) { return socketcan::ParallelVersionInfo(text); }
#endif

TORVAN_CAN_EXPORT uint32_t CAN_Close() { return socketcan::AdapterClose(); }
TORVAN_CAN_EXPORT uint32_t CAN_Status() { return socketcan::AdapterStatus(); }
TORVAN_CAN_EXPORT uint32_t CAN_Write(CanMessage* message) { return socketcan::AdapterWrite(message); }
TORVAN_CAN_EXPORT uint32_t CAN_Read(CanMessage* message) { return socketcan::AdapterRead(message); }
TORVAN_CAN_EXPORT int CAN_ReceiveDescriptor() { return socketcan::AdapterReceiveDescriptor(); }
