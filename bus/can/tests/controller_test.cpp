// The process-data side of the CANopen bus, stepped on the virtual clock:
// node guarding and the node state, NMT commands, emergencies and PDOs.
#include <gtest/gtest.h>

#include "bus/can/tests/can_fixture.h"
#include "platform/system/clock.h"

namespace cantest {
namespace {

class ControllerTest : public CanBusTest {
protected:
    void Advance(uint64_t ms) { platform::TheVirtualClock()->AdvanceMs(ms); }
};

TEST_F(ControllerTest, GuardingAsksTheOwnNodeEveryPeriodAndMapsItsState) {
    sim::CanDriveNode& node = AddNode(kOwnNode);
    CCanOpenTarn& bus = Open();
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStateUnknown);
    EXPECT_FALSE(bus.StartNodeGuarding());

    bus.run_one_round();
    EXPECT_TRUE(Written().empty()) << "the period has not passed";
    Advance(501);
    bus.run_one_round();
    bus.run_one_round();
    EXPECT_EQ(Written(), (std::vector<std::string>{"701 r1"}));
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStatePreOperational);

    ASSERT_TRUE(bus.StartNode());
    bus.run_one_round();
    Advance(501);
    bus.run_one_round();
    EXPECT_EQ(Written(), (std::vector<std::string>{"701 r1", "000: 01 00", "701 r1"}));
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStateOperational);

    // Stopped, and a state byte the bus does not know.
    ASSERT_TRUE(bus.EnterPreOperational());
    bus.run_one_round();
    EXPECT_EQ(Written().back(), "000: 80 00");
    Adapter().Inject(sim::CanFrame::Data(0x701, {0x84}));
    bus.run_one_round();
    EXPECT_EQ(bus.GetNodeState(), kCanNodeStateUnknown);
    EXPECT_EQ(node.NmtState(), sim::kNmtPreOperational);
}

TEST_F(ControllerTest, EmergenciesHandOutTheirBytes3And4) {
    sim::CanDriveNode& node = AddNode(kOwnNode);
    CCanOpenTarn& bus = Open();
    CanEmergencyRecord record;
    EXPECT_FALSE(bus.ReadEmergency(record));
    node.SendEmergency(0x2310, 0x03, {0x41, 0x42, 0x43, 0x44, 0x45});
    ASSERT_TRUE(bus.ReadEmergency(record));
    EXPECT_EQ(record.values[0], 0x41u);
    EXPECT_EQ(record.values[1], 0x42u);
    EXPECT_EQ(record.values[2], 0u);
    EXPECT_FALSE(bus.ReadEmergency(record)) << "one message, one read";

    // An emergency without data is no emergency; another node's is not ours.
    Adapter().Inject(sim::CanFrame::Data(0x081, {}));
    Adapter().Inject(sim::CanFrame::Data(0x082, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(bus.ReadEmergency(record));
}

TEST_F(ControllerTest, PdosGoOutOnTheOwnNodesIdentifiersAndComeInWithTheirLength) {
    CCanOpenTarn& bus = Open();
    EXPECT_TRUE(bus.WritePdoOut1(CanDataValues{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(bus.WritePdoOut2(CanDataValues{0xA, 0xB, 0, 0, 0, 0, 0, 0x1FF}));
    EXPECT_EQ(Written(), (std::vector<std::string>{"201: 01 02 03 04 05 06 07 08", "301: 0A 0B 00 00 00 00 00 FF"}));
    // A PDO the adapter refuses is not reported as written.
    Adapter().RefuseWrites(1);
    EXPECT_FALSE(bus.WritePdoOut1(CanDataValues{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Written().size(), 2u);

    CanDataValues data{};
    EXPECT_FALSE(bus.ReadPdoIn2(data));
    Adapter().Inject(sim::CanFrame::Data(0x281, {7, 8, 9}));
    data.fill(0xEE);
    ASSERT_TRUE(bus.ReadPdoIn2(data));
    EXPECT_EQ(data, (CanDataValues{7, 8, 9, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
    Adapter().Inject(sim::CanFrame::Data(0x181, {1, 2}));
    ASSERT_TRUE(bus.ReadPdoIn1(data));
    EXPECT_EQ(data, (CanDataValues{1, 2, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace cantest
