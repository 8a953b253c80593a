#include "sim/telegram_engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim/drive_capture.h"
#include "sim/tests/telegram_test_support.h"

namespace {

using namespace simtest;
using sim::HexBytes;

constexpr char kTable[] = R"(
drive type=0x1388 version=620 status=0x0100
param 90  SERNO  USIGN32 value=7 readonly
param 91  TYPE   INT32   value=5000
param 107 UNITS  USIGN8
text 107 1 rpm
param 108 VTIDX  USIGN8
param 120 MODE   USIGN8  max=2 value=1 read=1 write=2 keypad=1 sc=3
text 120 0 Off
text 120 2 Position control
param 123 SPEED  INT32   unit=1 min=-6000 max=6000
param 124 CURR   INT16   min=-300 max=300
param 130 AXNAME STRING  value="Axis one"
param 200 TABLE  USIGN16 elements=40 values=1,2,3
param 201 OFFS   INT8    elements=8 values=-1,2,-3
)";

class TelegramEngineTest : public ::testing::Test {
protected:
    TelegramEngineTest() : table_(Table()), engine_(table_, 5) {}

    static sim::DriveTable Table() {
        std::string error;
        auto table = sim::DriveTable::Parse(kTable, "engine", &error);
        EXPECT_TRUE(table.has_value()) << error;
        return table.value_or(sim::DriveTable{});
    }

    // Everything the drive answers to `bytes`.
    std::string Feed(const std::string& bytes) {
        std::string out;
        for (char c : bytes) out += Text(engine_.Receive(static_cast<uint8_t>(c)));
        return out;
    }

    // The value of a read reply at address 5 (after the echoed code and '='),
    // or "NAK".
    std::string ReadValue(const std::string& code) {
        std::string reply = Feed(ReadRequest(5, code) + kEot);
        if (reply == std::string{'E', kNak}) return "NAK";
        if (reply.size() < 4 || reply[0] != 'E' || reply[1] != kStx) return "bad reply " + HexBytes(reply);
        std::string body = reply.substr(2, reply.size() - 4);
        return body.substr(body.find('=') + 1);
    }

    sim::DriveTable table_;
    sim::TelegramEngine engine_;
};

TEST_F(TelegramEngineTest, AnswersReadWithExactFrame) {
    engine_.SetAddress(0);
    EXPECT_EQ(HexBytes(Feed(ReadRequest(0, "20091"))), HexBytes(std::string{'@', kStx} + "20091=1388" + kEtx + '\x06'));
}

TEST_F(TelegramEngineTest, AnswersWriteWithAckAndKeepsValue) {
    const std::string request = std::string{kEot, 'E', kStx} + "20123=1F4" + kEtx + '\x4F';
    EXPECT_EQ(HexBytes(Feed(request)), "45 06");
    EXPECT_EQ(Feed(std::string{kEot}), "");
    EXPECT_EQ(table_.Find(123)->value, 500u);
    EXPECT_EQ(ReadValue("20123"), "1F4");
}

TEST_F(TelegramEngineTest, CheckCharacterEqualToEotIsData) {
    // "20123=19" has the check character 04.
    EXPECT_EQ(HexBytes(Feed(std::string{kEot, 'E', kStx} + "20123=19" + kEtx + kEot)), "45 06");
    EXPECT_EQ(table_.Find(123)->value, 0x19u);
}

TEST_F(TelegramEngineTest, ReadsEveryKindOfCode) {
    ASSERT_EQ(Feed(WriteRequest(5, "20124=FFFFFFFB")), std::string("E") + kAck);
    struct Case {
        const char* code;
        const char* value;
    } cases[] = {
        {"20124", "FFFFFFFB"},  // -5 as the drive keeps it
        {"20130", "Axis one"},
        {"00082", "5"},
        {"00085", "0100"},
        {"00091", "1388"},
        {"00092", "26C"},
        //         name  unit kind type min      max      default  lv flag word word kp sc
        {"30120",
         "MODE  00"
         "0"
         "2"
         "00000000"
         "00000002"
         "00000000"
         "21"
         "0020"
         "0000"
         "0000"
         "01"
         "03"},
        {"30123",
         "SPEED 01"
         "0"
         "="
         "FFFFE890"
         "00001770"
         "00000000"
         "00"
         "0000"
         "0000"
         "0000"
         "00"
         "00"},
        {"702000000005", "00010002000300000000"},
        {"702010000003", "FF02FD"},
        {"20999", "NAK"},
        {"30999", "NAK"},
        {"61123", "NAK"},  // no value texts
        {"20200", "NAK"},  // arrays travel in blocks
        {"702000000", "NAK"},
        {"70123000000", "NAK"},
        {"12345", "NAK"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadValue(c.code), c.value) << c.code;
}

TEST_F(TelegramEngineTest, BlockReadEchoesTheCountDelivered) {
    struct Case {
        const char* request;
        int limit;
        const char* reply_code;
        size_t value_length;
    } cases[] = {
        {"702000003805", 0, "702000003802", 8},    // only two elements left
        {"702000004001", 0, "702000004000", 0},    // past the end
        {"702000000099", 0, "702000000032", 128},  // 32 of 16 bits fill the value
        {"702010000099", 0, "702010000008", 16},   // the whole array of 8
        {"702000000010", 4, "702000000004", 16},   // the drive's own limit
    };
    for (const Case& c : cases) {
        engine_.SetBlockLimit(c.limit);
        std::string reply = Feed(ReadRequest(5, c.request));
        ASSERT_GE(reply.size(), 16u) << c.request;
        EXPECT_EQ(reply.substr(2, 12), c.reply_code) << c.request;
        EXPECT_EQ(reply.size(), 2 + 12 + 1 + c.value_length + 2) << c.request;
    }
}

TEST_F(TelegramEngineTest, ValueTextFollowsTheIndexRegister) {
    EXPECT_EQ(Feed(WriteRequest(5, "20108=2")), std::string("E") + kAck);
    EXPECT_EQ(ReadValue("61120"), "Position control");
    EXPECT_EQ(Feed(WriteRequest(5, "20108=1")), std::string("E") + kAck);
    EXPECT_EQ(ReadValue("61107"), "rpm");
    EXPECT_EQ(ReadValue("61120"), "NAK");
}

TEST_F(TelegramEngineTest, BlockWriteStoresElements) {
    EXPECT_EQ(HexBytes(Feed(WriteRequest(5, "702000000203=000A000B000C"))), "45 06");
    EXPECT_EQ(ReadValue("702000000104"), "0002000A000B000C");
    EXPECT_EQ(Feed(WriteRequest(5, "702010000602=80FF")), std::string("E") + kAck);
    EXPECT_EQ(table_.Find(201)->elements[6], 0xFFFFFF80u);  // -128, sign-extended
}

TEST_F(TelegramEngineTest, RefusedWritesSetTheirStatusBit) {
    struct Case {
        std::string request;
        const char* status;
    } cases[] = {
        {WriteRequest(5, "20999=1"), "0120"},                                  // no such parameter
        {WriteRequest(5, "20090=1"), "0140"},                                  // read-only
        {WriteRequest(5, "20123=1771"), "0180"},                               // 6001 is above the maximum
        {WriteRequest(5, "20123=FFFFE88F"), "0180"},                           // -6001 below the minimum
        {WriteRequest(5, "20123=XYZ"), "0180"},                                // not hex
        {WriteRequest(5, "20123=123456789"), "0180"},                          // more than 32 bits
        {WriteRequest(5, "20120"), "0180"},                                    // no '='
        {WriteRequest(5, "702000000203=000A000B"), "0180"},                    // two elements for three
        {WriteRequest(5, "702000003903=000A000B000C"), "0180"},                // beyond the end
        {std::string{kEot, 'E', kStx} + "20123=1F4" + kEtx + '\x4E', "0108"},  // wrong check
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexBytes(Feed(c.request)), "45 15") << HexBytes(c.request);
        EXPECT_EQ(ReadValue("00085"), c.status) << HexBytes(c.request);
        EXPECT_EQ(table_.Find(123)->value, 0u);
    }
    EXPECT_EQ(Feed(WriteRequest(5, "20123=1")), std::string("E") + kAck);
    EXPECT_EQ(ReadValue("00085"), "0100");
}

TEST_F(TelegramEngineTest, ListensOnlyToItsAddressAddressZeroAndBroadcast) {
    EXPECT_EQ(Feed(ReadRequest(6, "20091")), "");
    EXPECT_EQ(Feed(WriteRequest(6, "20123=5")), "");
    EXPECT_EQ(table_.Find(123)->value, 0u);
    // Address 0 reaches the drive; its answer carries its own address.
    EXPECT_EQ(Feed(ReadRequest(0, "00082")).substr(0, 9), (std::string{'E', kStx} + "00082=5"));
    // A broadcast write is executed in silence; a broadcast read is ignored.
    EXPECT_EQ(Feed(WriteRequest(31, "20123=7")), "");
    EXPECT_EQ(table_.Find(123)->value, 7u);
    EXPECT_EQ(Feed(ReadRequest(31, "20123")), "");
}

TEST_F(TelegramEngineTest, EotRestartsAnInterruptedTelegram) {
    std::string broken = std::string{kEot, 'E', kStx} + "20123=";
    EXPECT_EQ(Feed(broken + ReadRequest(5, "20091")).substr(0, 8), (std::string{'E', kStx} + "20091="));
}

TEST_F(TelegramEngineTest, GarbageInsideATelegramIsNeverExecuted) {
    std::string write = WriteRequest(5, "20123=9");
    EXPECT_EQ(Feed(write.substr(0, 5)), "");
    engine_.ReceiveGarbled();
    EXPECT_EQ(HexBytes(Feed(write.substr(5))), "45 15");
    EXPECT_EQ(engine_.WriteError(), sim::kStatusTelegramChecksum);
    EXPECT_EQ(table_.Find(123)->value, 0u);

    std::string read = ReadRequest(5, "20091");
    EXPECT_EQ(Feed(read.substr(0, 4)), "");
    engine_.ReceiveGarbled();
    EXPECT_EQ(Feed(read.substr(4)), "");
}

TEST_F(TelegramEngineTest, SampleBufferComesInBlocksWithALastMark) {
    table_.samples = {0x0A, 0x0B};
    EXPECT_EQ(ReadValue("60002"), "0A0B!");
    EXPECT_EQ(ReadValue("60002"), "!");

    table_.samples.assign(70, 0x5A);
    table_.sample_position = 0;
    auto pairs = [](int n) {
        std::string hex;
        for (int i = 0; i < n; ++i) hex += "5A";
        return hex;
    };
    EXPECT_EQ(ReadValue("60002"), pairs(60));
    EXPECT_EQ(ReadValue("60002"), pairs(10) + "!");
}

// The download handshake: after the program's -2 on parameter 80 the drive
// stays busy for the polls it was given, then shows its result.
TEST_F(TelegramEngineTest, DownloadHandshakeIsBusyForTheGivenPollsThenShowsTheResult) {
    sim::DriveParameter handshake;
    handshake.number = sim::kHandshakeParameter;
    handshake.name = "DLHS";
    handshake.type = sim::FindDriveType("INT16");
    handshake.minimum = 0xFFFF8000u;
    handshake.maximum = 0x7FFF;
    table_.Put(handshake);
    auto polls = [&](int n) {
        std::string values;
        for (int i = 0; i < n; ++i) values += (i ? "," : "") + ReadValue("20080");
        return values;
    };
    EXPECT_EQ(Feed(WriteRequest(5, "20080=FFFFFFFE")), std::string("E") + kAck);
    EXPECT_EQ(polls(2), "FFFFFFFE,FFFFFFFE");  // off: an ordinary parameter

    struct Case {
        int busy;
        uint32_t result;
        const char* polls;
    };
    const Case cases[] = {
        {0, 0, "0,0"},
        {2, 0, "FFFFFFFE,FFFFFFFE,0,0"},
        {1, 125, "FFFFFFFE,7D,7D"},
        {sim::kHandshakeBusyForever, 0, "FFFFFFFE,FFFFFFFE,FFFFFFFE"},
    };
    for (const Case& c : cases) {
        table_.handshake = {.enabled = true, .busy_polls = c.busy, .result = c.result};
        EXPECT_EQ(Feed(WriteRequest(5, "20080=FFFFFFFF")), std::string("E") + kAck);
        EXPECT_EQ(Feed(WriteRequest(5, "20080=FFFFFFFE")), std::string("E") + kAck);
        const std::string expected = c.polls;
        const int n = static_cast<int>(std::count(expected.begin(), expected.end(), ',')) + 1;
        EXPECT_EQ(polls(n), expected) << "busy polls " << c.busy;
    }
}

}  // namespace

namespace {

// A run-mode change: 151 reports what a write of 152 selected, at once, after
// the given reads, or never.
TEST_F(TelegramEngineTest, RunModeReportFollowsTheSelectionAfterTheGivenReads) {
    table_.PutFullRange(sim::kRunModeReportParameter, "BAIST", "USIGN16", 1);
    table_.PutFullRange(sim::kRunModeSelectParameter, "BASOL", "USIGN16", 1);
    auto reads = [&](int n) {
        std::string values;
        for (int i = 0; i < n; ++i) values += (i ? "," : "") + ReadValue("20151");
        return values;
    };
    EXPECT_EQ(Feed(WriteRequest(5, "20152=2")), std::string("E") + kAck);
    EXPECT_EQ(reads(2), "1,1");  // off: 151 stays as it is

    struct Case {
        int readsBefore;
        const char* value;
        const char* reads;
    };
    const Case cases[] = {
        {0, "3", "3,3"},
        {2, "4", "3,3,4,4"},
        {sim::kRunModeNeverFollows, "5", "4,4,4"},
    };
    for (const Case& c : cases) {
        table_.run_mode = {.enabled = true, .reads_before = c.readsBefore};
        EXPECT_EQ(Feed(WriteRequest(5, std::string("20152=") + c.value)), std::string("E") + kAck);
        const std::string expected = c.reads;
        const int n = static_cast<int>(std::count(expected.begin(), expected.end(), ',')) + 1;
        EXPECT_EQ(reads(n), expected) << "reads before " << c.readsBefore;
    }
}

}  // namespace

namespace {

// The memory image: the address in two halves, then the word at the even
// address at or below it; off, 32 answers its own value.
TEST_F(TelegramEngineTest, MemoryWordFollowsTheAddressHalves) {
    table_.PutFullRange(sim::kMemoryAddressLowParameter, "MADRL", "USIGN16", 0);
    table_.PutFullRange(sim::kMemoryAddressHighParameter, "MADRH", "USIGN16", 0);
    table_.PutFullRange(sim::kMemoryWordParameter, "MWORD", "USIGN16", 7);
    table_.memory.SetWord(0x00F01234, 0x80FF);
    table_.memory.SetWord(0x00F01236, 0x1234);
    EXPECT_EQ(ReadValue("20032"), "7");

    table_.memory.enabled = true;
    struct Case {
        const char* high;
        const char* low;
        const char* word;
    };
    const Case cases[] = {
        {"F0", "1234", "80FF"},
        {"F0", "1235", "80FF"},
        {"F0", "1236", "1234"},
        {"F0", "1238", "0"},
        {"F1", "1234", "0"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Feed(WriteRequest(5, std::string("20031=") + c.high)), std::string("E") + kAck);
        ASSERT_EQ(Feed(WriteRequest(5, std::string("20030=") + c.low)), std::string("E") + kAck);
        EXPECT_EQ(ReadValue("20032"), c.word) << c.high << ":" << c.low;
    }
}

}  // namespace
