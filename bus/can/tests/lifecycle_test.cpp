// Opening and closing the CANopen bus with its worker thread: the adapter's
// codes when it cannot open, the driver that a failed open leaves, and real
// transfers through the worker with short real-time waits.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "bus/can/can_peak.h"
#include "bus/can/tests/can_fixture.h"
#include "platform/system/clock.h"

namespace cantest {
namespace {

class LifecycleTest : public CanBusTest {};

// Waits for `done` with a bound far inside the watchdog's.
bool WaitUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::yield();
    }
    return true;
}

// Reads PDO 1 until it came (each read looks for 1 ms).
bool ReceivePdoIn1(CCanOpenTarn& bus, CanDataValues& data) {
    return WaitUntil([&] { return bus.ReadPdoIn1(data); });
}

// Every slot of a bus that did not open fails with 1 and sends nothing.
void ExpectEverySlotFailsClosed(CCanOpenTarn& bus) {
    int32_t value = 0;
    dstring text;
    uint16_t elements[2] = {};
    uint16_t count = 2;
    CanDataValues data{};
    CanEmergencyRecord emergency;
    const std::function<bool()> slots[] = {
        [&] { return bus.ReadBlock(kArrayParameter, elements, 0, count, 2, 2); },
        [&] { return bus.ReadParameterText(kTextParameter, text, 2); },
        [&] { return bus.WriteBlock(kArrayParameter, elements, 0, 2, 2, 2); },
        [&] { return bus.WriteParameterText(kTextParameter, "x", 2); },
        [&] { return bus.ReadParameterValue(kValueParameter, value, 2); },
        [&] { return bus.WriteParameterValue(kValueParameter, 1, 2); },
        [&] { return bus.ConnectDevice(nullptr); },
        [&] { return bus.CheckDevice(nullptr); },
    };
    for (const auto& slot : slots) {
        EXPECT_FALSE(slot());
        EXPECT_EQ(bus.GetLastError(), kCanErrorNotOpen);
    }
    EXPECT_EQ(bus.GetCategoryCount(4), std::size(slots));
    EXPECT_FALSE(bus.StartNode());
    EXPECT_FALSE(bus.WritePdoOut1(data));
    EXPECT_FALSE(bus.ReadPdoIn1(data));
    EXPECT_FALSE(bus.ReadEmergency(emergency));
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStateUnknown);
    EXPECT_STREQ(bus.GetErrorText(), "CANOpen_M01");
    EXPECT_TRUE(sim::TheVirtualCanBus().Written().empty());
}

TEST_F(LifecycleTest, WithoutADriverLibraryTheBusStaysClosedAndStartsNoWorker) {
    platform::UnregisterModule(kUsbAdapterLibrary);
    const CanAdapterSettings settings = Settings();
    CCanOpenTarn bus(kOwnNode, &settings);
    EXPECT_FALSE(bus.IsOpen());
    EXPECT_EQ(bus.GetLastError(), kCanErrorAdapter);
    EXPECT_EQ(bus.GetCategoryCount(5), 1u);
    EXPECT_FALSE(bus.IsWorkerRunning());
    EXPECT_EQ(CCanOpenTarn::RunningWorkers(), 0);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    ASSERT_NE(CCanOpenTarn::GetDriverSettings(), nullptr) << "the failed driver stays";
    EXPECT_EQ(CCanOpenTarn::GetDriverSettings()->baudRate, 125000);
    ExpectEverySlotFailsClosed(bus);
}

TEST_F(LifecycleTest, NoSettingsOrAnUnknownAdapterFailBeforeAnyDriverIsMade) {
    CCanOpenTarn none(kOwnNode, nullptr);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_EQ(none.GetLastError(), kCanErrorNotOpen);
    const CanAdapterSettings other = Settings(2);
    CCanOpenTarn unknown(kOwnNode, &other);
    EXPECT_FALSE(unknown.IsOpen());
    EXPECT_EQ(unknown.GetLastError(), kCanErrorAdapter);
    EXPECT_EQ(CCanOpenTarn::GetDriverSettings(), nullptr);
    EXPECT_TRUE(Adapter().Inits().empty());
}

TEST_F(LifecycleTest, ADriverLeftByAFailedOpenIsReplacedByTheNextBus) {
    // The parallel-port adapter at a rate it cannot run.
    const CanAdapterSettings slow = Settings(kHardwareParallel, 0);
    {
        CCanOpenTarn failed(kOwnNode, &slow);
        EXPECT_FALSE(failed.IsOpen());
        EXPECT_EQ(failed.GetLastError(), kCanErrorAdapter);
    }
    ASSERT_NE(CCanOpenTarn::GetDriverSettings(), nullptr);
    EXPECT_EQ(CCanOpenTarn::GetDriverSettings()->hardwareId, kHardwareParallel);

    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    EXPECT_EQ(CCanOpenTarn::GetDriverSettings()->hardwareId, kHardwareUsb);
    ASSERT_EQ(Adapter().Inits().size(), 1u);
    EXPECT_TRUE(Adapter().Inits()[0].usb);
    EXPECT_EQ(Adapter().Inits()[0].timing, 0x031C);
    EXPECT_STREQ(bus.GetSettingsText().Text(), "125000");
    EXPECT_EQ(bus.GetBaudRate(), 125000u);
    EXPECT_EQ(bus.GetBusType(), kCanOpenBusType);
    EXPECT_EQ(bus.GetDeviceCount(), 1);
    EXPECT_STREQ(bus.GetBusDisplayName(), "CANopen-Bus (LPT)");

    // The adapter is this bus's while it is open.
    const CanAdapterSettings settings = Settings();
    CCanOpenTarn second(kOwnNode, &settings);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.GetLastError(), kCanErrorAdapter);
    EXPECT_TRUE(bus.IsWorkerRunning());

    bus_.reset();
    EXPECT_EQ(CCanOpenTarn::GetDriverSettings(), nullptr);
    EXPECT_EQ(Adapter().Closes(), 2);
}

TEST_F(LifecycleTest, FiftyCreateAndDestroyCyclesLeaveNoWorkerRunning) {
    AddNode(2);
    const CanAdapterSettings settings = Settings();
    for (int cycle = 0; cycle < 50; ++cycle) {
        CCanOpenTarn bus(kOwnNode, &settings);
        ASSERT_TRUE(bus.IsOpen());
        EXPECT_TRUE(bus.IsWorkerRunning());
        if (cycle % 10 == 0) {
            int32_t value = 0;
            ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 2));
            EXPECT_EQ(value, 5000);
        }
    }
    EXPECT_EQ(CCanOpenTarn::RunningWorkers(), 0);
    EXPECT_EQ(Adapter().Closes(), 50);
}

TEST_F(LifecycleTest, TransfersRunThroughTheWorkerThread) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread, {2});
    ASSERT_TRUE(bus.WriteParameterText(kTextParameter, "Spindle axis 2", 2));
    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "Spindle axis 2");
    const uint16_t elements[3] = {10, 20, 30};
    ASSERT_TRUE(bus.WriteBlock(kArrayParameter, elements, 5, 3, 2, 2));
    EXPECT_EQ(node.Table().Find(kArrayParameter)->elements[7], 30u);

    // A short real wait for a drive that stays silent.
    node.AddFault(sim::CanFault::Silence());
    bus.SetSdoTimeout(20);
    int32_t value = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(bus.ReadParameterValue(kValueParameter, value, 2));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(bus.GetLastError(), kCanErrorSdoTimeout);
}

TEST_F(LifecycleTest, TheWorkerSendsNmtCommandsAndTakesPdos) {
    sim::CanDriveNode& node = AddNode(kOwnNode);
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    ASSERT_TRUE(bus.StartNode());
    // The command goes out without the caller waiting for it.
    EXPECT_TRUE(WaitUntil([&] { return node.NmtState() == sim::kNmtOperational; }));
    EXPECT_EQ(Written(), (std::vector<std::string>{"000: 01 00"}));

    Adapter().Inject(sim::CanFrame::Data(0x181, {1, 2, 3, 4, 5, 6, 7, 8}));
    // The worker takes the frame when the machine lets it run.
    CanDataValues data{};
    ASSERT_TRUE(ReceivePdoIn1(bus, data));
    EXPECT_EQ(data, (CanDataValues{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(bus.WritePdoOut1(CanDataValues{9, 8, 7, 6, 5, 4, 3, 2}));
    EXPECT_EQ(Written().back(), "201: 09 08 07 06 05 04 03 02");
}

// The first wait for the worker's sending is not one 5 ms step: a worker kept
// from running for longer (a loaded machine) still sends, and the write
// counts as done.
TEST_F(LifecycleTest, APdoWriteWaitsForAWorkerThatIsLate) {
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    Adapter().HoldWrites(true);
    std::thread release([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        Adapter().HoldWrites(false);
    });
    EXPECT_TRUE(bus.WritePdoOut1(CanDataValues{9, 8, 7, 6, 5, 4, 3, 2}));
    release.join();
    EXPECT_EQ(Written().back(), "201: 09 08 07 06 05 04 03 02");
}

}  // namespace
}  // namespace cantest

namespace cantest {
namespace {

// An idle worker sleeps on the adapter's receive signal, and the frame that
// comes ends its sleep: the wait is made longer than the test may last, so
// only the frame can have woken it.
TEST_F(LifecycleTest, AnIdleWorkerSleepsUntilTheAdapterSignalsAFrame) {
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    bus.SetSignalledWaitLimitMs(600'000);
    const uint64_t before = bus.GetWorkerWaits().started;
    ASSERT_TRUE(WaitUntil([&] { return bus.GetWorkerWaits().started > before; }));
    const CCanOpenTarn::WorkerWaits asleep = bus.GetWorkerWaits();
    EXPECT_TRUE(asleep.receiveSignalled);

    Adapter().Inject(sim::CanFrame::Data(0x181, {1, 2, 3, 4, 5, 6, 7, 8}));
    CanDataValues data{};
    ASSERT_TRUE(ReceivePdoIn1(bus, data));
    EXPECT_EQ(data, (CanDataValues{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_GT(bus.GetWorkerWaits().onReceive, asleep.onReceive);
}

// An adapter without the signal is looked at instead, and its frames still
// come in.
TEST_F(LifecycleTest, WithoutAReceiveSignalTheWorkerLooksForFrames) {
    sim::RegisterVirtualCanAdapter(kCanReceiveDescriptorName);
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    Adapter().Inject(sim::CanFrame::Data(0x181, {8, 7, 6, 5, 4, 3, 2, 1}));
    CanDataValues data{};
    ASSERT_TRUE(ReceivePdoIn1(bus, data));
    EXPECT_EQ(data, (CanDataValues{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(bus.GetWorkerWaits().receiveSignalled);
    EXPECT_EQ(bus.GetWorkerWaits().onReceive, 0u);
}

}  // namespace
}  // namespace cantest
