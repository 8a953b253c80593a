#include "bus/socketcan/tests/socket_fixture.h"

#include "bus/can/can_peak.h"
#include "platform/system/dynamic_library.h"
#include "testsupport/test_env.h"

namespace socketcan_test {

namespace {

template <typename Function>
void* Symbol(Function function) {
    return reinterpret_cast<void*>(function);
}

}  // namespace

void RegisterSocketAdapters() {
    const std::map<std::string, void*> common = {
        {kCanCloseName, Symbol(&socketcan::AdapterClose)},
        {kCanStatusName, Symbol(&socketcan::AdapterStatus)},
        {kCanWriteName, Symbol(&socketcan::AdapterWrite)},
        {kCanReadName, Symbol(&socketcan::AdapterRead)},
        {kCanReceiveDescriptorName, Symbol(&socketcan::AdapterReceiveDescriptor)},
    };
    std::map<std::string, void*> usb = common;
    usb[kCanInitName] = Symbol(&socketcan::UsbInit);
    usb[kCanVersionInfoName] = Symbol(&socketcan::UsbVersionInfo);
    usb[kCanSpecialFunctionName] = Symbol(&socketcan::UsbSpecialFunction);
    std::map<std::string, void*> parallel = common;
    parallel[kCanInitName] = Symbol(&socketcan::ParallelInit);
    parallel[kCanVersionInfoName] = Symbol(&socketcan::ParallelVersionInfo);
    platform::RegisterModule(kUsbAdapterLibrary, usb);
    platform::RegisterModule(kParallelAdapterLibrary, parallel);
}

StandInKernel::StandInKernel() {
    system_.SetLink(kDefaultInterface, StandInLink{});
    socketcan::TheAdapter().UseSystem(&system_);
}

StandInKernel::~StandInKernel() { socketcan::TheAdapter().UseSystem(nullptr); }

std::vector<std::string> AdapterLogLines() {
    std::vector<std::string> lines;
    for (const std::string& line : testsupport::LoggedLines())
        if (line.rfind("CAN ", 0) == 0) lines.push_back(line);
    return lines;
}

SocketBusTest::SocketBusTest() { RegisterSocketAdapters(); }

SocketBusTest::~SocketBusTest() {
    // The bus closes the adapter, which still needs the stand-in kernel.
    bus_.reset();
}

}  // namespace socketcan_test
