// Frames through the adapter libraries over the stand-in socket: reads that
// never wait, a burst in order, the message layout both ways, the status
// from the controller's error frames (bus-off as the drivers read it) and a
// transmit queue that fills up.
#include <gtest/gtest.h>

#include <linux/can/error.h>

#include <vector>

#include "bus/can/can_peak.h"
#include "bus/socketcan/adapter_results.h"
#include "bus/socketcan/tests/socket_fixture.h"
#include "platform/system/clock.h"

namespace socketcan_test {
namespace {

using Bytes = std::vector<uint8_t>;
using socketcan::kCanResultOk;

constexpr uint16_t k125k = 0x031C;

class FramesTest : public SocketAdapterTest {
protected:
    void SetUp() override { ASSERT_EQ(socketcan::UsbInit(k125k, socketcan::kStandardFrames), kCanResultOk); }

    static CanMessage Message(uint32_t id, uint8_t type, uint8_t length, Bytes data = {}) {
        CanMessage message;
        message.id = id;
        message.messageType = type;
        message.length = length;
        std::copy(data.begin(), data.end(), message.data);
        return message;
    }
    static Bytes Data(const CanMessage& m) { return Bytes(m.data, m.data + kCanDataBytes); }
};

TEST_F(FramesTest, AReadOnAnEmptySocketAnswersAtOnceWithTheEmptyResult) {
    const uint64_t before = platform::TheClock().NowUs();
    CanMessage message = Message(0x123, 0, 2, {9, 9});
    EXPECT_EQ(socketcan::AdapterRead(&message), socketcan::kCanResultReceiveEmpty);
    EXPECT_EQ(platform::TheClock().NowUs(), before);
    EXPECT_EQ(message.id, 0x123u) << "nothing delivered";
    EXPECT_EQ(socketcan::AdapterStatus(), kCanResultOk);
}

TEST_F(FramesTest, ABurstOfAThousandFramesArrivesInOrderWithoutLoss) {
    constexpr int kFrames = 1000;
    Bus().SetReceiveCapacity(kFrames);
    for (int i = 0; i < kFrames; ++i)
        Bus().Inject(sim::CanFrame::Data(0x100 + static_cast<uint32_t>(i % 0x600),
                                         {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)}));
    int read = 0;
    CanMessage message;
    for (int n = 0; n < 2 * kFrames && socketcan::AdapterRead(&message) == kCanResultOk; ++n) {
        ASSERT_EQ(message.id, 0x100u + static_cast<uint32_t>(read % 0x600)) << "frame " << read;
        ASSERT_EQ(message.length, 2);
        ASSERT_EQ(message.data[0] | message.data[1] << 8, read);
        ++read;
    }
    EXPECT_EQ(read, kFrames);
    EXPECT_EQ(Bus().Waiting(), 0u);
    EXPECT_EQ(socketcan::AdapterStatus(), kCanResultOk);
}

TEST_F(FramesTest, MessagesAndFramesMapFieldForField) {
    // What the program writes, as the socket carries it: identifier (with the
    // remote flag), length, padding, data.
    CanMessage sdo = Message(0x602, kCanMessageStandard, 8, {0x40, 0x5B, 0x20, 0, 0, 0, 0, 0});
    CanMessage guard = Message(0x701, kCanMessageRemote, 1, {0xAA});
    CanMessage shortFrame = Message(0x000, kCanMessageStandard, 2, {0x01, 0x02, 0xEE, 0xEE});
    ASSERT_EQ(socketcan::AdapterWrite(&sdo), kCanResultOk);
    ASSERT_EQ(socketcan::AdapterWrite(&guard), kCanResultOk);
    ASSERT_EQ(socketcan::AdapterWrite(&shortFrame), kCanResultOk);
    EXPECT_EQ(Peer().Received(),
              (std::vector<Bytes>{
                  {0x02, 0x06, 0, 0, 8, 0, 0, 0, 0x40, 0x5B, 0x20, 0, 0, 0, 0, 0},
                  {0x01, 0x07, 0, 0x40, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                  {0x00, 0x00, 0, 0, 2, 0, 0, 0, 0x01, 0x02, 0, 0, 0, 0, 0, 0},
              }));

    // Extended identifiers, other message types and long frames are refused.
    for (CanMessage bad : {Message(0x800, 0, 1), Message(0x100, 0x02, 1), Message(0x100, 0, 9)})
        EXPECT_EQ(socketcan::AdapterWrite(&bad), socketcan::kCanResultIllegalParameter);
    EXPECT_EQ(socketcan::AdapterWrite(nullptr), socketcan::kCanResultIllegalParameter);
    EXPECT_EQ(Peer().Received().size(), 3u);

    // What the program reads: data beyond the length and of remote frames is 0.
    Bus().Inject(sim::CanFrame::Data(0x181, {1, 2, 3}));
    Bus().Inject(sim::CanFrame::Remote(0x701, 1));
    CanMessage message = Message(0, 0, 0, {9, 9, 9, 9, 9, 9, 9, 9});
    ASSERT_EQ(socketcan::AdapterRead(&message), kCanResultOk);
    EXPECT_EQ(message.id, 0x181u);
    EXPECT_EQ(message.messageType, kCanMessageStandard);
    EXPECT_EQ(message.length, 3);
    EXPECT_EQ(Data(message), (Bytes{1, 2, 3, 0, 0, 0, 0, 0}));
    ASSERT_EQ(socketcan::AdapterRead(&message), kCanResultOk);
    EXPECT_EQ(message.id, 0x701u);
    EXPECT_EQ(message.messageType, kCanMessageRemote);
    EXPECT_EQ(message.length, 1);
    EXPECT_EQ(Data(message), Bytes(8, 0));

    // Frames with extended identifiers are no frames of the adapter's.
    can_frame extended{};
    extended.can_id = 0x18FF0001 | CAN_EFF_FLAG;
    extended.len = 1;
    Peer().SendFrame(extended);
    EXPECT_EQ(socketcan::AdapterRead(&message), socketcan::kCanResultReceiveEmpty);
}

TEST_F(FramesTest, BusOffIsTheWholeStatusUntilTheControllerRestarts) {
    RegisterSocketAdapters();
    CCanPeakUSB driver;
    CanAdapterSettings settings;
    settings.baudRate = 125000;
    ASSERT_EQ(driver.Init(settings), kCanDriverOk);
    EXPECT_FALSE(driver.IsBusOff());

    Peer().SendErrorFrame(CAN_ERR_CRTL, {0, CAN_ERR_CRTL_TX_PASSIVE});
    Peer().BusOff();
    EXPECT_EQ(socketcan::AdapterStatus(), socketcan::kCanResultBusOff);
    EXPECT_TRUE(driver.IsBusOff());
    // Error frames are never messages.
    int length = 0;
    CanDataValues data{};
    uint32_t id = 0;
    EXPECT_EQ(driver.ReadMonitorEntry(id, length, data), 0);

    Peer().Restart();
    EXPECT_FALSE(driver.IsBusOff());
    EXPECT_EQ(socketcan::AdapterStatus(), kCanResultOk);
}

TEST_F(FramesTest, TheControllersErrorStatesAreStatusBits) {
    struct Step {
        const char* what;
        uint32_t events;
        uint8_t controller;
        uint32_t status;
    };
    const Step steps[] = {
        {"warning", CAN_ERR_CRTL, CAN_ERR_CRTL_RX_WARNING, socketcan::kCanResultErrorWarning},
        {"still warning", 0, 0, socketcan::kCanResultErrorWarning},
        {"passive", CAN_ERR_CRTL, CAN_ERR_CRTL_TX_PASSIVE, socketcan::kCanResultErrorPassive},
        {"back to warning", CAN_ERR_CRTL, CAN_ERR_CRTL_TX_WARNING, socketcan::kCanResultErrorWarning},
        {"active again", CAN_ERR_CRTL, CAN_ERR_CRTL_ACTIVE, kCanResultOk},
        {"overflow, once", CAN_ERR_CRTL, CAN_ERR_CRTL_RX_OVERFLOW, socketcan::kCanResultOverrun},
        {"overflow read", 0, 0, kCanResultOk},
        {"bus errors of single frames", CAN_ERR_PROT | CAN_ERR_ACK, 0, kCanResultOk},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.events != 0) Peer().SendErrorFrame(step.events, {0, step.controller});
        EXPECT_EQ(socketcan::AdapterStatus(), step.status);
    }

    // An error frame behind a data frame counts at once; the data frame is
    // still read.
    Bus().Inject(sim::CanFrame::Data(0x281, {5}));
    Peer().Pump();
    Peer().SendErrorFrame(CAN_ERR_BUSOFF);
    EXPECT_EQ(socketcan::AdapterStatus(), socketcan::kCanResultBusOff);
    CanMessage message;
    ASSERT_EQ(socketcan::AdapterRead(&message), kCanResultOk);
    EXPECT_EQ(message.id, 0x281u);
    EXPECT_EQ(socketcan::AdapterRead(&message), socketcan::kCanResultReceiveEmpty);
}

TEST_F(FramesTest, AFullTransmitQueueFailsTheWriteWithoutBlocking) {
    Peer().HoldTransmit(true);
    CanMessage message = Message(0x201, kCanMessageStandard, 8, {1, 2, 3, 4, 5, 6, 7, 8});
    int sent = 0;
    uint32_t result = kCanResultOk;
    for (int n = 0; n < 1'000'000 && result == kCanResultOk; ++n) {
        result = socketcan::AdapterWrite(&message);
        if (result == kCanResultOk) ++sent;
    }
    EXPECT_EQ(result, socketcan::kCanResultTransmitFull);
    EXPECT_GT(sent, 0);
    EXPECT_EQ(socketcan::AdapterStatus(), socketcan::kCanResultTransmitFull);

    // Once the bus takes frames again, every frame queued goes out and the
    // next write succeeds.
    Peer().HoldTransmit(false);
    Peer().Pump();
    EXPECT_EQ(Peer().Received().size(), static_cast<size_t>(sent));
    EXPECT_EQ(socketcan::AdapterWrite(&message), kCanResultOk);
    EXPECT_EQ(socketcan::AdapterStatus(), kCanResultOk);
}

TEST_F(FramesTest, NothingPassesBeforeInitOrAfterClose) {
    socketcan::AdapterClose();
    CanMessage message = Message(0x201, 0, 1);
    EXPECT_EQ(socketcan::AdapterWrite(&message), socketcan::kCanResultNotInitialised);
    EXPECT_EQ(socketcan::AdapterRead(&message), socketcan::kCanResultNotInitialised);
    EXPECT_EQ(socketcan::AdapterStatus(), socketcan::kCanResultNotInitialised);
    EXPECT_EQ(socketcan::AdapterClose(), kCanResultOk);
}

}  // namespace
}  // namespace socketcan_test
