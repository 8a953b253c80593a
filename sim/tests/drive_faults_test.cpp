#include "sim/drive_faults.h"

#include <gtest/gtest.h>

#include "sim/drive_capture.h"
#include "sim/telegram_engine.h"
#include "sim/tests/telegram_test_support.h"

namespace {

using namespace simtest;
using sim::DriveFault;
using sim::HexBytes;

class DriveFaultsTest : public ::testing::Test {
protected:
    DriveFaultsTest() : engine_(table_, 0) {
        std::string error;
        auto table = sim::DriveTable::Parse(
            "param 91 TYPE INT32 value=5000\nparam 123 SPEED INT32 max=6000\n", "faults", &error);
        EXPECT_TRUE(table.has_value()) << error;
        table_ = *table;
    }

    std::string Feed(const std::string& bytes) {
        std::string out;
        for (char c : bytes) out += Text(engine_.Receive(static_cast<uint8_t>(c)));
        return out;
    }

    sim::DriveTable table_;
    sim::TelegramEngine engine_;
};

// The plain answer to reading parameter 91 at address 0 is
// 40 02 "20091=1388" 03 06.
TEST_F(DriveFaultsTest, EachFaultSpoilsTheReadReplyAsScripted) {
    struct Case {
        const char* name;
        DriveFault fault;
        std::string reply;
    } cases[] = {
        {"nak", DriveFault::Nak(0x0004), "40 15"},
        {"wrong check", DriveFault::WrongCheck(), "40 02 32 30 30 39 31 3D 31 33 38 38 03 07"},
        {"nul before stx", DriveFault::NulBeforeStx(), "40 00 02 32 30 30 39 31 3D 31 33 38 38 03 06"},
        {"partial", DriveFault::PartialReply(5), "40 02 32 30 30"},
        // Six '0' pad the value to 20 bytes; their exclusive-or is 0.
        {"long", DriveFault::LongReply(20), "40 02 32 30 30 39 31 3D 31 33 38 38 30 30 30 30 30 30 03 06"},
        {"silence", DriveFault::Silence(), ""},
        {"wrong address", DriveFault::WrongAddress(6), "46 02 32 30 30 39 31 3D 31 33 38 38 03 06"},
        {"raw", DriveFault::RawReply({0x40, 0x06}), "40 06"},
    };
    for (const Case& c : cases) {
        engine_.AddFault(c.fault);
        EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "20091"))), c.reply) << c.name;
        EXPECT_EQ(engine_.FaultsLeft(), 0u) << c.name;
    }
    EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "20091"))), "40 02 32 30 30 39 31 3D 31 33 38 38 03 06");
}

TEST_F(DriveFaultsTest, LongReplyCanOverrunAnyBuffer) {
    engine_.AddFault(DriveFault::LongReply(147));
    std::string reply = Feed(ReadRequest(0, "20091"));
    ASSERT_EQ(reply.size(), 147u);
    EXPECT_EQ(reply[reply.size() - 2], kEtx);
    char check = 0;
    for (size_t i = 2; i + 1 < reply.size(); ++i) check ^= reply[i];
    EXPECT_EQ(reply.back(), check);
}

TEST_F(DriveFaultsTest, NakOnWriteLeavesTheValueAndReportsItsStatus) {
    engine_.AddFault(DriveFault::Nak(0x0004).For("20123"));
    EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "20091"))).substr(0, 5), "40 02");  // other code: untouched
    EXPECT_EQ(HexBytes(Feed(WriteRequest(0, "20123=1F4"))), "40 15");
    EXPECT_EQ(table_.Find(123)->value, 0u);
    EXPECT_EQ(Feed(ReadRequest(0, "00085")).substr(2, 10), "00085=0004");
    // The repeat goes through and clears the status.
    EXPECT_EQ(HexBytes(Feed(WriteRequest(0, "20123=1F4"))), "40 06");
    EXPECT_EQ(table_.Find(123)->value, 500u);
    EXPECT_EQ(Feed(ReadRequest(0, "00085")).substr(2, 10), "00085=0000");
}

TEST_F(DriveFaultsTest, SilenceSkipsTheWriteToo) {
    engine_.AddFault(DriveFault::Silence());
    EXPECT_EQ(Feed(WriteRequest(0, "20123=1F4")), "");
    EXPECT_EQ(table_.Find(123)->value, 0u);
}

TEST_F(DriveFaultsTest, TimesCountsTelegramsAndForeverNeverEnds) {
    engine_.AddFault(DriveFault::Silence().Times(2));
    engine_.AddFault(DriveFault::Nak(0).For("00085").Times(sim::kForever));
    EXPECT_EQ(Feed(ReadRequest(0, "20091")), "");
    EXPECT_EQ(Feed(ReadRequest(0, "20091")), "");
    EXPECT_EQ(Feed(ReadRequest(0, "20091")).size(), 14u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "00085"))), "40 15");
    EXPECT_EQ(engine_.FaultsLeft(), 1u);
}

TEST_F(DriveFaultsTest, AfterLetsTheFirstMatchingTelegramsThrough) {
    engine_.AddFault(DriveFault::Nak(0x0004).For("20123").After(1).Times(sim::kForever));
    // Other codes do not count.
    EXPECT_EQ(Feed(ReadRequest(0, "20091")).size(), 14u);
    EXPECT_EQ(HexBytes(Feed(WriteRequest(0, "20123=1F4"))), "40 06");
    EXPECT_EQ(table_.Find(123)->value, 500u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "20123"))), "40 15");
}

}  // namespace
