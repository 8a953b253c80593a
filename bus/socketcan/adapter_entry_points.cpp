#include "bus/socketcan/adapter_entry_points.h"

#include <type_traits>

#include "bus/socketcan/adapter_results.h"
#include "bus/socketcan/can_interface_name.h"
#include "platform/base/format.h"
#include "platform/base/log_sink.h"

namespace socketcan {

static_assert(std::is_same_v<decltype(&UsbInit), CanInitUsbFunction>);
static_assert(std::is_same_v<decltype(&ParallelInit), CanInitParallelFunction>);
static_assert(std::is_same_v<decltype(&AdapterClose), CanCloseFunction>);
static_assert(std::is_same_v<decltype(&AdapterStatus), CanStatusFunction>);
static_assert(std::is_same_v<decltype(&AdapterWrite), CanWriteFunction>);
static_assert(std::is_same_v<decltype(&AdapterRead), CanReadFunction>);
static_assert(std::is_same_v<decltype(&UsbVersionInfo), CanVersionInfoFunction>);
static_assert(std::is_same_v<decltype(&UsbSpecialFunction), CanSpecialFunction>);
static_assert(std::is_same_v<decltype(&AdapterReceiveDescriptor), CanReceiveDescriptorFunction>);

SocketCanAdapter& TheAdapter() {
    static SocketCanAdapter adapter;
    return adapter;
}

uint32_t UsbInit(uint16_t timing, int messageType) { return TheAdapter().Init(timing, messageType); }

uint32_t ParallelInit(uint16_t timing, int messageType, int hardwareType, uint32_t ioPort, uint16_t interrupt) {
    platform::LogLine(platform::Format(
        "CAN adapter on the parallel port (hardware type %d): I/O port 0x%X and interrupt %u are not used on "
        "Linux; it runs on interface %s",
        hardwareType,
        ioPort,
        interrupt,
        ChosenCanInterface()));
    return TheAdapter().Init(timing, messageType);
}

uint32_t AdapterClose() { return TheAdapter().Close(); }
uint32_t AdapterStatus() { return TheAdapter().Status(); }
uint32_t AdapterWrite(CanMessage* message) { return TheAdapter().Write(message); }
uint32_t AdapterRead(CanMessage* message) { return TheAdapter().Read(message); }
int AdapterReceiveDescriptor() { return TheAdapter().ReceiveDescriptor(); }
uint32_t UsbVersionInfo(char* text) { return TheAdapter().VersionInfo(kUsbLibraryFile, text); }
uint32_t ParallelVersionInfo(char* text) { return TheAdapter().VersionInfo(kParallelLibraryFile, text); }
uint32_t UsbSpecialFunction(uint32_t, int) { return kCanResultIllegalParameter; }

}  // namespace socketcan
