// What the adapter libraries' tests share: the libraries' adapter over the
// stand-in kernel (can0 down and configurable, no interface setting), the
// function set registered under both adapter library names, and the CANopen
// bus tests' fixture with the libraries in place of the virtual adapter.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/can/tests/can_fixture.h"
#include "bus/socketcan/adapter_entry_points.h"
#include "bus/socketcan/can_interface_name.h"
#include "bus/socketcan/tests/stand_in_can_system.h"
#include "platform/tests/scoped_env.h"
#include "sim/can_bus.h"

namespace socketcan_test {

inline constexpr char kDefaultInterface[] = "can0";

// Registers the libraries' function set under "pcan_usb.dll" and
// "pcan_dng.dll", in place of any module of those names.
void RegisterSocketAdapters();

// The libraries' adapter over a stand-in kernel for as long as it lives.
class StandInKernel {
public:
    StandInKernel();
    ~StandInKernel();
    StandInCanSystem& System() { return system_; }
    sim::CanSocketPeer& Peer() { return system_.Peer(); }

private:
    platform_test::ScopedEnv noInterfaceSetting_{socketcan::kCanInterfaceVariable, nullptr};
    StandInCanSystem system_{sim::TheVirtualCanBus()};
};

// Log lines of the CAN adapter since the test began.
std::vector<std::string> AdapterLogLines();

class SocketAdapterTest : public ::testing::Test {
protected:
    static socketcan::SocketCanAdapter& Adapter() { return socketcan::TheAdapter(); }
    static sim::VirtualCanBus& Bus() { return sim::TheVirtualCanBus(); }
    StandInCanSystem& System() { return kernel_.System(); }
    sim::CanSocketPeer& Peer() { return kernel_.Peer(); }

    StandInKernel kernel_;
};

// The CANopen bus on the USB adapter at 125000 baud, through the libraries
// and the stand-in socket to the virtual CAN bus and its drive nodes.
class SocketBusTest : public cantest::CanBusTest {
protected:
    SocketBusTest();
    ~SocketBusTest() override;
    sim::CanSocketPeer& Peer() { return kernel_.Peer(); }
    StandInCanSystem& System() { return kernel_.System(); }

    StandInKernel kernel_;
};

}  // namespace socketcan_test
