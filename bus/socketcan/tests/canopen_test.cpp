// The CANopen bus on the USB adapter driver through the libraries and the
// stand-in socket, with the virtual drive as node: the frames on the socket
// are those the CANopen tests see on the virtual adapter, byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bus/socketcan/tests/socket_fixture.h"
#include "platform/system/clock.h"

namespace socketcan_test {
namespace {

using cantest::kArrayParameter;
using cantest::kOwnNode;
using cantest::kSignedArrayParameter;
using cantest::kTextParameter;
using cantest::kTypeParameter;
using cantest::kValueParameter;
using Lines = std::vector<std::string>;

class CanOpenOverSocketTest : public SocketBusTest {};

TEST_F(CanOpenOverSocketTest, EitherAdapterOpensTheInterfaceAtTheBusRateAndClosesIt) {
    sim::CanDriveNode& node = AddNode(2);
    for (int32_t hardware : {kHardwareUsb, kHardwareParallel}) {
        SCOPED_TRACE(hardware);
        System().ClearCalls();
        Adapter().ClearCapture();
        const CanAdapterSettings settings = cantest::Settings(hardware, 5);
        bus_ = std::make_unique<CCanOpenTarn>(kOwnNode, &settings, CanWorkerMode::kStepped);
        ASSERT_TRUE(bus_->IsOpen());
        EXPECT_EQ(System().Calls(), (Lines{"up can0 500000", "open can0"}));
        bus_->AddDevice(2, cantest::kTypeNumber, 31.0f);
        ASSERT_TRUE(bus_->WriteParameterValue(kValueParameter, 0x1234, 2));
        EXPECT_EQ(node.Table().Find(kValueParameter)->value, 0x1234u);
        EXPECT_EQ(Written(), Lines{"602: 22 64 20 00 34 12 00 00"});
        bus_.reset();
        EXPECT_EQ(System().Calls(), (Lines{"up can0 500000", "open can0", "close", "down can0"}));
    }
}

TEST_F(CanOpenOverSocketTest, ParametersOfEverySizeTravelExpeditedOrSegmented) {
    sim::CanDriveNode& node2 = AddNode(2);
    AddNode(1);
    CCanOpenTarn& bus = Open(CanWorkerMode::kStepped, {2});

    // Four bytes, expedited both ways.
    ASSERT_TRUE(bus.WriteParameterValue(kValueParameter, 0x1234, 2));
    EXPECT_EQ(node2.Table().Find(kValueParameter)->value, 0x1234u);
    int32_t value = 0;
    ASSERT_TRUE(bus.ReadParameterValue(kTypeParameter, value, 1));
    EXPECT_EQ(value, 5000);
    EXPECT_EQ(Written(), (Lines{"602: 22 64 20 00 34 12 00 00", "601: 40 5B 20 00 00 00 00 00"}));
    // The first request as the socket carried it.
    EXPECT_EQ(Peer().Received().front(),
              (std::vector<uint8_t>{0x02, 0x06, 0, 0, 8, 0, 0, 0, 0x22, 0x64, 0x20, 0x00, 0x34, 0x12, 0x00, 0x00}));

    // Two bytes.
    Adapter().ClearCapture();
    const int16_t written[2] = {-5, 7};
    ASSERT_TRUE(bus.WriteBlock(kSignedArrayParameter, written, 3, 2, 2, 2));
    EXPECT_EQ(Written(), (Lines{"602: 2A C9 20 04 FB FF 00 00", "602: 2A C9 20 05 07 00 00 00"}));
    Adapter().ClearCapture();
    uint16_t out[4] = {};
    uint16_t count = 4;
    ASSERT_TRUE(bus.ReadBlock(kArrayParameter, out, 38, count, 2, 2));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(out[0], 114);
    EXPECT_EQ(out[1], 117);
    EXPECT_EQ(Written(),
              (Lines{"602: 40 C8 20 27 00 00 00 00", "602: 40 C8 20 28 00 00 00 00", "602: 40 C8 20 29 00 00 00 00"}));

    // One byte.
    Adapter().ClearCapture();
    const uint8_t small = 9;
    ASSERT_TRUE(bus.WriteBlock(kArrayParameter, &small, 5, 1, 1, 2));
    uint8_t back = 0;
    count = 1;
    ASSERT_TRUE(bus.ReadBlock(kArrayParameter, &back, 5, count, 1, 2));
    EXPECT_EQ(back, 9);
    EXPECT_EQ(Written(), (Lines{"602: 2E C8 20 06 09 00 00 00", "602: 40 C8 20 06 00 00 00 00"}));

    // Texts, segmented both ways.
    Adapter().ClearCapture();
    ASSERT_TRUE(bus.WriteParameterText(kTextParameter, "Spindle 2", 2));
    EXPECT_EQ(Written(),
              (Lines{"602: 21 82 20 00 0A 00 00 00", "602: 00 53 70 69 6E 64 6C 65", "602: 19 20 32 00 00 00 00 00"}));
    EXPECT_EQ(node2.Table().Find(kTextParameter)->text, "Spindle 2");
    node2.Table().Find(kTextParameter)->text = "Axis number one, left";
    Adapter().ClearCapture();
    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "Axis number one, left");
    EXPECT_EQ(Written(),
              (Lines{"602: 40 82 20 00 00 00 00 00",
                     "602: 60 00 00 00 00 00 00 00",
                     "602: 70 00 00 00 00 00 00 00",
                     "602: 60 00 00 00 00 00 00 00"}));
    EXPECT_EQ(bus.GetLastError(), 0);
}

TEST_F(CanOpenOverSocketTest, TheSearchFindsTheDriveAndSilentNodesTakeTheShortWait) {
    AddNode(3, cantest::StandardTable(4120, 100));
    CCanOpenTarn& bus = Open();
    const uint64_t start = NowMs();
    ASSERT_TRUE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(NowMs() - start, 3u * kSdoScanTimeoutMs);
    ASSERT_NE(bus.GetDevice(3), nullptr);
    EXPECT_EQ(bus.GetDevice(3)->typeNumber, 4120);
    EXPECT_FLOAT_EQ(bus.GetDevice(3)->version, 5.0f);
    // A node that did not answer in time is sent an abort, in case it heard
    // the request after all.
    EXPECT_EQ(Written(),
              (Lines{"600: 40 5B 20 00 00 00 00 00",
                     "600: 80 5B 20 00 00 00 04 05",
                     "601: 40 5B 20 00 00 00 00 00",
                     "601: 80 5B 20 00 00 00 04 05",
                     "602: 40 5B 20 00 00 00 00 00",
                     "602: 80 5B 20 00 00 00 04 05",
                     "603: 40 5B 20 00 00 00 00 00",
                     "603: 40 5C 20 00 00 00 00 00"}));
}

TEST_F(CanOpenOverSocketTest, NmtCommandsAndGuardingGoOutAsRemoteAndDataFrames) {
    sim::CanDriveNode& node = AddNode(kOwnNode);
    CCanOpenTarn& bus = Open();
    EXPECT_FALSE(bus.StartNodeGuarding());
    platform::TheVirtualClock()->AdvanceMs(501);
    bus.run_one_round();
    bus.run_one_round();
    EXPECT_EQ(Written(), (Lines{"701 r1"}));
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStatePreOperational);

    ASSERT_TRUE(bus.StartNode());
    bus.run_one_round();
    platform::TheVirtualClock()->AdvanceMs(501);
    bus.run_one_round();
    EXPECT_EQ(Written(), (Lines{"701 r1", "000: 01 00", "701 r1"}));
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStateOperational);
    EXPECT_EQ(node.NmtState(), sim::kNmtOperational);
    ASSERT_TRUE(bus.EnterPreOperational());
    bus.run_one_round();
    EXPECT_EQ(Written().back(), "000: 80 00");

    const auto received = Peer().Received();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0], (std::vector<uint8_t>{0x01, 0x07, 0, 0x40, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(received[1], (std::vector<uint8_t>{0, 0, 0, 0, 2, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(CanOpenOverSocketTest, TheWorkerThreadCarriesTransfersThroughTheSocket) {
    sim::CanDriveNode& node = AddNode(2);
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread, {2});
    ASSERT_TRUE(bus.WriteParameterText(kTextParameter, "Spindle axis 2", 2));
    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(kTextParameter, text, 2));
    EXPECT_STREQ(text.Text(), "Spindle axis 2");
    int32_t value = 0;
    ASSERT_TRUE(bus.WriteParameterValue(kValueParameter, -77, 2));
    ASSERT_TRUE(bus.ReadParameterValue(kValueParameter, value, 2));
    EXPECT_EQ(value, -77);
    EXPECT_EQ(node.Table().Find(kValueParameter)->value, static_cast<uint32_t>(-77));
}

// The idle worker sleeps on the CAN socket: a frame in it ends the sleep,
// which is made longer than the test may last.
TEST_F(CanOpenOverSocketTest, TheIdleWorkerSleepsOnTheSocketUntilAFrameComes) {
    CCanOpenTarn& bus = Open(CanWorkerMode::kThread);
    bus.SetSignalledWaitLimitMs(600'000);
    const auto waited = [&](const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit) return false;
            std::this_thread::yield();
        }
        return true;
    };
    const uint64_t before = bus.GetWorkerWaits().started;
    ASSERT_TRUE(waited([&] { return bus.GetWorkerWaits().started > before; }));
    const CCanOpenTarn::WorkerWaits asleep = bus.GetWorkerWaits();
    EXPECT_TRUE(asleep.receiveSignalled);

    can_frame frame{};
    frame.can_id = 0x181;
    frame.len = 2;
    frame.data[0] = 0x12;
    frame.data[1] = 0x34;
    Peer().SendFrame(frame);
    CanDataValues data{};
    ASSERT_TRUE(waited([&] { return bus.ReadPdoIn1(data); }));
    EXPECT_EQ(data, (CanDataValues{0x12, 0x34, 0, 0, 0, 0, 0, 0}));
    EXPECT_GT(bus.GetWorkerWaits().onReceive, asleep.onReceive);
}

}  // namespace
}  // namespace socketcan_test
