// What the CANopen bus tests share: the virtual CAN adapter registered under
// both library names, virtual drives as CANopen nodes with a small table, and
// a bus opened on the USB adapter at 125000 baud.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bus/can/can_open_tarn.h"
#include "sim/can_bus.h"
#include "sim/can_drive_node.h"

namespace cantest {

inline constexpr int kOwnNode = 1;
inline constexpr int32_t kBaud125k = 3;  // baud-rate identifier of 125000

// Parameters of the standard table.
inline constexpr int kTypeParameter = 91;          // 5000
inline constexpr int kVersionParameter = 92;       // 620 steps: 31.0
inline constexpr int kValueParameter = 100;        // INT32, writable
inline constexpr int kTextParameter = 130;         // STRING "Axis one"
inline constexpr int kArrayParameter = 200;        // 40 USIGN16 elements: 3 * index
inline constexpr int kSignedArrayParameter = 201;  // 8 INT16 elements
inline constexpr int kEnumParameter = 120;         // value texts 0 "Off", 1 "On"
inline constexpr uint16_t kTypeNumber = 5000;
inline constexpr uint32_t kVersionSteps = 620;

sim::DriveTable StandardTable(uint32_t typeNumber = kTypeNumber, uint32_t versionSteps = kVersionSteps);
CanAdapterSettings Settings(int32_t hardwareId = kHardwareUsb, int32_t baudRateId = kBaud125k);
// The SDO object of a parameter.
inline uint16_t Object(int parameter) { return static_cast<uint16_t>(0x2000 + parameter); }

class CanBusTest : public ::testing::Test {
protected:
    CanBusTest();
    ~CanBusTest() override;

    sim::CanDriveNode& AddNode(int node, sim::DriveTable table = StandardTable());
    // A bus on the USB adapter at 125000 baud, with records for `withRecords`.
    CCanOpenTarn& Open(CanWorkerMode mode = CanWorkerMode::kStepped, std::vector<int> withRecords = {});
    // Frames the program wrote, from the virtual bus's capture.
    static std::vector<std::string> Written();
    static sim::VirtualCanBus& Adapter() { return sim::TheVirtualCanBus(); }
    static uint64_t NowMs();

    std::vector<std::unique_ptr<sim::CanDriveNode>> nodes_;
    std::unique_ptr<CCanOpenTarn> bus_;
};

}  // namespace cantest
