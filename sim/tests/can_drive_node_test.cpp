// The virtual drive's CANopen node, frame by frame through the virtual CAN
// bus: what it answers where the program's own traffic never goes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/can_bus.h"
#include "sim/can_drive_node.h"

namespace {

using sim::CanFrame;

class CanDriveNodeTest : public ::testing::Test {
protected:
    CanDriveNodeTest() : node_(Table(), 4) {
        bus().InitAdapter(sim::AdapterInit{});
        node_.AttachTo(bus());
    }

    static sim::DriveTable Table() {
        sim::DriveTable table;
        sim::DriveParameter text;
        text.number = 130;
        text.name = "AXNAM";
        text.type = sim::FindDriveType("STRING");
        text.text = "Axis number one";
        table.Put(text);
        table.type_number = 3100;
        return table;
    }
    static sim::VirtualCanBus& bus() { return sim::TheVirtualCanBus(); }

    // Writes a frame as the program would and returns what came back.
    std::vector<std::string> Send(const CanFrame& frame) {
        uint8_t wire[16] = {};
        std::memcpy(wire, &frame.id, 4);
        wire[4] = frame.remote ? 1 : 0;
        wire[5] = frame.length;
        std::memcpy(wire + 6, frame.data.data(), 8);
        bus().Write(wire);
        std::vector<std::string> answers;
        while (bus().Read(wire) == 0) {
            CanFrame answer;
            std::memcpy(&answer.id, wire, 4);
            answer.length = wire[5];
            std::memcpy(answer.data.data(), wire + 6, 8);
            char id[8];
            std::snprintf(id, sizeof id, "%03X: ", static_cast<unsigned>(answer.id));
            answers.push_back(id + sim::HexFrameBytes(answer));
        }
        return answers;
    }

    sim::CanDriveNode node_;
};

TEST_F(CanDriveNodeTest, SdoRequestsOutOfStepAreAborted) {
    const struct {
        std::vector<uint8_t> request;
        std::string answer;
    } steps[] = {
        // An upload segment without an upload.
        {{0x60, 0, 0, 0, 0, 0, 0, 0}, "584: 80 00 00 00 01 00 04 05"},
        {{0x40, 0x82, 0x20, 0x00, 0, 0, 0, 0}, "584: 41 82 20 00 0F 00 00 00"},
        // The first segment carries a clear toggle bit.
        {{0x70, 0, 0, 0, 0, 0, 0, 0}, "584: 80 82 20 00 00 00 03 05"},
        // A download segment without a download.
        {{0x00, 0x41, 0, 0, 0, 0, 0, 0}, "584: 80 82 20 00 01 00 04 05"},
        {{0xE0, 0, 0, 0, 0, 0, 0, 0}, "584: 80 82 20 00 01 00 04 05"},
    };
    for (const auto& step : steps)
        EXPECT_EQ(Send(CanFrame::Data(0x604, step.request)), std::vector<std::string>{step.answer});
    // A client's abort ends the transfer without an answer.
    Send(CanFrame::Data(0x604, {0x40, 0x82, 0x20, 0x00, 0, 0, 0, 0}));
    EXPECT_TRUE(Send(CanFrame::Data(0x604, {0x80, 0x82, 0x20, 0x00, 0, 0, 0, 0})).empty());
    EXPECT_EQ(Send(CanFrame::Data(0x604, {0x60, 0, 0, 0, 0, 0, 0, 0})),
              std::vector<std::string>{"584: 80 82 20 00 01 00 04 05"});
    // Short frames and other nodes' requests are not for this server.
    EXPECT_TRUE(Send(CanFrame::Data(0x604, {0x40, 0x82, 0x20})).empty());
    EXPECT_TRUE(Send(CanFrame::Data(0x605, {0x40, 0x82, 0x20, 0x00, 0, 0, 0, 0})).empty());
}

TEST_F(CanDriveNodeTest, NmtCommandsSetTheStateThatGuardingReports) {
    const CanFrame guard = CanFrame::Remote(0x704, 1);
    EXPECT_EQ(Send(guard), std::vector<std::string>{"704: 7F"});
    EXPECT_TRUE(Send(CanFrame::Data(0x000, {0x01, 0x05})).empty()) << "another node";
    EXPECT_EQ(Send(guard), std::vector<std::string>{"704: FF"}) << "the toggle bit alternates";
    Send(CanFrame::Data(0x000, {0x01, 0x04}));
    EXPECT_EQ(Send(guard), std::vector<std::string>{"704: 05"});
    Send(CanFrame::Data(0x000, {0x02, 0x00}));
    EXPECT_EQ(Send(guard), std::vector<std::string>{"704: 84"});
    EXPECT_EQ(Send(CanFrame::Data(0x000, {0x81, 0x04})), std::vector<std::string>{"704: 00"}) << "boot-up";
    EXPECT_EQ(Send(guard), std::vector<std::string>{"704: 7F"});
    EXPECT_EQ(node_.NmtState(), sim::kNmtPreOperational);
}

TEST_F(CanDriveNodeTest, ArraysOfFamilies3And4StartAtSubindex0) {
    sim::DriveParameter array;
    array.number = 200;
    array.name = "TABLE";
    array.type = sim::FindDriveType("USIGN8");
    array.maximum = 0xFF;
    array.flags = sim::kFlagArray;
    array.elements = {7, 8};
    node_.Table().Put(array);
    EXPECT_EQ(Send(CanFrame::Data(0x604, {0x40, 0xC8, 0x20, 0x00, 0, 0, 0, 0})),
              std::vector<std::string>{"584: 4F C8 20 00 07 00 00 00"});
    node_.Table().type_number = 5000;
    EXPECT_EQ(Send(CanFrame::Data(0x604, {0x40, 0xC8, 0x20, 0x00, 0, 0, 0, 0})),
              std::vector<std::string>{"584: 4F C8 20 00 02 00 00 00"})
        << "subindex 0 holds the element count";
    EXPECT_EQ(Send(CanFrame::Data(0x604, {0x40, 0xC8, 0x20, 0x03, 0, 0, 0, 0})),
              std::vector<std::string>{"584: 80 C8 20 03 11 00 09 06"});
}

}  // namespace
