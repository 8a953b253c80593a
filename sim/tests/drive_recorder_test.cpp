#include "sim/drive_recorder.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/system/clock.h"
#include "sim/drive_capture.h"
#include "sim/telegram_engine.h"
#include "sim/tests/telegram_test_support.h"

namespace {

using namespace simtest;

// Channel 0 records variable 1 of 16 bits; 12 bytes make 6 rows of 0.1 ms
// (base time 0.0001 s as FLOAT32); half of them before the trigger.
constexpr char kTable[] = R"(
drive type=5000 version=62 status=0
param 20  CFG0  USIGN16 value=0x20
param 21  VAR0  USIGN16 value=1
param 22  CFG1  USIGN16
param 23  VAR1  USIGN16
param 24  CFG2  USIGN16
param 26  CFG3  USIGN16
param 60  SCDIV USIGN16
param 62  SCLEN USIGN16 value=12
param 65  TRMOD INT16   min=-1 max=9 value=1
param 67  PRETR FIXPT16 value=1000
param 68  SCCTL USIGN16 max=3
param 70  ACT0  INT16
param 71  ACT1  INT16
param 110 SCXFR USIGN8  max=2
param 112 VNAME STRING
param 117 VFACT FLOAT32
param 118 VKIND USIGN8
param 120 TSTCMD FLOAT32
param 121 DSLIX USIGN16
param 350 BASET FLOAT32 value=0x38D1B717
)";

class DriveRecorderTest : public ::testing::Test {
protected:
    DriveRecorderTest() : table_(Table()), engine_(table_, 5), recorder_(table_) { engine_.SetRecorder(&recorder_); }

    static sim::DriveTable Table() {
        std::string error;
        auto table = sim::DriveTable::Parse(kTable, "recorder", &error);
        EXPECT_TRUE(table.has_value()) << error;
        return table.value_or(sim::DriveTable{});
    }
    std::string Feed(const std::string& bytes) {
        std::string out;
        for (char c : bytes) out += Text(engine_.Receive(static_cast<uint8_t>(c)));
        return out;
    }
    std::string Read(const std::string& code) {
        const std::string reply = Feed(ReadRequest(5, code));
        if (reply.size() < 4 || reply[1] != kStx) return "bad reply " + sim::HexBytes(reply);
        const std::string body = reply.substr(2, reply.size() - 4);
        return body.substr(body.find('=') + 1);
    }
    bool Write(const std::string& body) { return Feed(WriteRequest(5, body)) == std::string{'E', kAck}; }
    static void Advance(uint64_t us) { platform::TheVirtualClock()->AdvanceUs(us); }

    sim::DriveTable table_;
    sim::TelegramEngine engine_;
    sim::DriveRecorder recorder_;
};

TEST_F(DriveRecorderTest, AutomaticRecordingRunsFromArmedToTriggeredToDone) {
    ASSERT_TRUE(Write("20068=1"));
    EXPECT_EQ(Read("20068"), "1");
    Advance(299);
    EXPECT_EQ(Read("20068"), "1");
    Advance(1);
    EXPECT_EQ(Read("20068"), "3");
    Advance(299);
    EXPECT_EQ(Read("20068"), "3");
    Advance(1);
    EXPECT_EQ(Read("20068"), "2");
    EXPECT_EQ(recorder_.GetState(), sim::DriveRecorder::State::kDone);
    // Variable 1 by default: 0x200 + row, most significant byte first.
    const std::vector<uint8_t> samples = {2, 0, 2, 1, 2, 2, 2, 3, 2, 4, 2, 5};
    EXPECT_EQ(table_.samples, samples);
    ASSERT_TRUE(Write("20068=0"));
    EXPECT_EQ(Read("20068"), "0");
}

TEST_F(DriveRecorderTest, OtherModesWaitForTheTriggerEvent) {
    table_.Find(65)->value = 2;
    ASSERT_TRUE(Write("20068=1"));
    Advance(10000);
    EXPECT_EQ(Read("20068"), "1");

    // The event comes after 100 us, but the 3 rows before the trigger take
    // 300 us.
    recorder_.SetTriggerDelayUs(100);
    ASSERT_TRUE(Write("20068=1"));
    Advance(299);
    EXPECT_EQ(Read("20068"), "1");
    Advance(1);
    EXPECT_EQ(Read("20068"), "3");
    recorder_.SetTriggerDelayUs(1000);
    ASSERT_TRUE(Write("20068=1"));
    Advance(999);
    EXPECT_EQ(Read("20068"), "1");
    Advance(1);
    EXPECT_EQ(Read("20068"), "3");
}

TEST_F(DriveRecorderTest, TheTestSignalTriggersAnArmedRecorder) {
    table_.Find(65)->value = 2;
    // Not armed: the signal triggers nothing.
    ASSERT_TRUE(Write("20120=40000000"));
    EXPECT_EQ(Read("20068"), "0");
    ASSERT_TRUE(Write("20068=1"));
    // Another command value leaves it waiting.
    ASSERT_TRUE(Write("20120=3F800000"));
    Advance(10000);
    EXPECT_EQ(Read("20068"), "1");
    ASSERT_TRUE(Write("20120=40000000"));
    EXPECT_EQ(Read("20068"), "3");
    Advance(300);
    EXPECT_EQ(Read("20068"), "2");
    EXPECT_EQ(table_.samples.size(), 12u);

    // Started at once, the trigger waits for the rows before it.
    ASSERT_TRUE(Write("20068=1"));
    ASSERT_TRUE(Write("20120=40000000"));
    Advance(299);
    EXPECT_EQ(Read("20068"), "1");
    Advance(1);
    EXPECT_EQ(Read("20068"), "3");
}

TEST_F(DriveRecorderTest, TriggerModeMinusOneKeepsTheRecorderOff) {
    table_.Find(65)->value = 0xFFFFFFFFu;
    ASSERT_TRUE(Write("20068=1"));
    EXPECT_EQ(Read("20068"), "0");
    Advance(10000);
    EXPECT_EQ(Read("20068"), "0");
    EXPECT_EQ(recorder_.GetState(), sim::DriveRecorder::State::kIdle);
}

TEST_F(DriveRecorderTest, ActualValuesFollowTheClockThroughTheChannelsVariables) {
    // Channel 0: variable 1 of 16 bits; channel 1 (off): variable 0 of 32
    // bits, whose upper half is read.
    recorder_.SetSignal(1, 1, [](size_t row) { return static_cast<uint32_t>(row * 3 % 1000); });
    recorder_.SetSignal(2, 0, [](size_t row) { return 0x00050000u + static_cast<uint32_t>(row); });
    table_.Find(22)->value = 0x40;
    auto value = [&](const std::string& code) { return std::stoul(Read(code), nullptr, 16); };
    const unsigned long first = value("20070");
    Advance(1000);
    const unsigned long second = value("20070");
    EXPECT_EQ((first + 3) % 1000, second);
    EXPECT_EQ(value("20071"), 5u);
}

TEST_F(DriveRecorderTest, RowsHoldTheActiveChannelsFromTheHighestDown) {
    table_.Find(20)->value = 0x20;  // variable 1, 16 bits
    table_.Find(24)->value = 0x60;  // variable 0, 32 bits
    recorder_.SetSignal(2, 0, [](size_t row) { return 0xA0B0C0D0u + static_cast<uint32_t>(row); });
    recorder_.SetSignal(1, 1, [](size_t row) { return 0x12345u + static_cast<uint32_t>(row); });
    ASSERT_TRUE(Write("20068=1"));
    Advance(1000);
    EXPECT_EQ(Read("20068"), "2");
    // 12 bytes give two rows of 6.
    const std::vector<uint8_t> samples = {0xA0, 0xB0, 0xC0, 0xD0, 0x23, 0x45, 0xA0, 0xB0, 0xC0, 0xD1, 0x23, 0x46};
    EXPECT_EQ(table_.samples, samples);
}

TEST_F(DriveRecorderTest, BlocksAreSentAgainUntilAcknowledged) {
    std::vector<uint8_t> samples(130);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i);
    table_.samples = samples;
    auto pairs = [&](size_t first, size_t count) {
        std::string hex;
        char pair[3];
        for (size_t i = first; i < first + count; ++i) {
            std::snprintf(pair, sizeof pair, "%02X", samples[i]);
            hex += pair;
        }
        return hex;
    };
    ASSERT_TRUE(Write("20110=2"));
    EXPECT_EQ(Read("60002"), pairs(0, 64));
    EXPECT_EQ(Read("60002"), pairs(0, 64));
    ASSERT_TRUE(Write("20110=1"));
    EXPECT_EQ(Read("60002"), pairs(64, 64));
    ASSERT_TRUE(Write("20110=1"));
    EXPECT_EQ(Read("60002"), pairs(128, 2) + "!");
    ASSERT_TRUE(Write("20110=2"));
    EXPECT_EQ(Read("60002"), pairs(0, 64));

    // A last block of exactly 64 bytes leaves no room for the mark.
    table_.samples.resize(64);
    ASSERT_TRUE(Write("20110=2"));
    EXPECT_EQ(Read("60002"), pairs(0, 64));
    ASSERT_TRUE(Write("20110=1"));
    EXPECT_EQ(Read("60002"), "!");
}

TEST_F(DriveRecorderTest, CatalogueEntryAppearsWhenItsIndexIsWritten) {
    recorder_.SetCatalogue({{"Speed", "1/min", 8, 2.0f, 1, 1}, {"Position", "Incr", 16, 0.5f, 2, 3}});
    ASSERT_TRUE(Write("20121=1"));
    EXPECT_EQ(Read("20112"), "Position");
    EXPECT_EQ(Read("20117"), "3F000000");
    EXPECT_EQ(Read("20118"), "2");
    ASSERT_TRUE(Write("20121=5"));
    EXPECT_EQ(Read("20112"), "");
}

}  // namespace
