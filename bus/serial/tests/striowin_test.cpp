// The serial port layer over the in-memory line on the virtual clock: opening
// and its refusals, framed receive, time-outs, the event pump and the
// re-entry guard, byte functions, transmit limits and the German texts.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/services/program_flags.h"
#include "bus/serial/striowin.h"
#include "bus/serial/tests/serial_fixture.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"

namespace bustest {
namespace {

class Striowin : public SerialLineTest {
protected:
    void Open(int32_t baud = 9600) { ASSERT_EQ(iInitSerio(1, baud, 7, 1, 'E'), 0); }
    // Lets bytes sent so far arrive.
    void Arrive(uint64_t us) { platform::TheVirtualClock()->AdvanceUs(us); }
};

TEST_F(Striowin, RefusedSettingsLeaveNoPortOpen) {
    const struct {
        const char* name;
        unsigned port;
        int32_t baud;
        int dataBits;
        int stopBits;
        char parity;
        int result;
        const char* logged;
    } cases[] = {
        {"parity before data bits", 1, 9600, 9, 3, 'x', 13, nullptr},
        {"data bits", 1, 9600, 9, 3, 'E', 11, nullptr},
        {"stop bits", 1, 9600, 7, 3, 'E', 12, nullptr},
        {"zero baud", 1, 0, 7, 1, 'E', 10, nullptr},
        {"negative baud", 1, -9600, 7, 1, 'E', 10, nullptr},
        {"unknown port", 2, 9600, 7, 1, 'E', 8, "\tStriowin->iInitSerio->CreateFile Cause: "},
        {"line refuses four data bits", 1, 9600, 4, 1, 'E', 8, "\tStriowin->iInitSerio->SetCommState Cause: "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(iInitSerio(c.port, c.baud, c.dataBits, c.stopBits, c.parity), c.result) << c.name;
        EXPECT_FALSE(SerioIsOpen()) << c.name;
        EXPECT_FALSE(line_.HostPortOpen()) << c.name;
        if (c.logged != nullptr) {
            EXPECT_EQ(LogCount(c.logged), 1) << c.name << "\n" << Log();
            EXPECT_STRNE(SerioLastSystemError(), "") << c.name;
        }
    }
    // Nothing was left holding the port, and an open port is reopened.
    EXPECT_EQ(iInitSerio(1, 9600, 7, 1, 'e'), 0);
    EXPECT_EQ(iInitSerio(1, 19200, 8, 2, 'n'), 0);
    EXPECT_TRUE(line_.HostPortOpen());
}

TEST_F(Striowin, FrameAcceptance) {
    // A last value character chosen so that the check character is NAK.
    const char last = static_cast<char>(Frame('E', "20091=1").back() ^ 0x15);
    const std::string nakCheck = Frame('E', std::string("20091=1") + last);
    ASSERT_EQ(nakCheck.back(), '\x15');
    std::string wrongCheck = Frame('E', "20091=1388");
    wrongCheck.back() = static_cast<char>(wrongCheck.back() ^ 1);

    const struct {
        const char* name;
        std::string arrived;  // before the receive starts
        std::string later;    // a moment after it started
        int size;
        int32_t baud;
        int result;
        std::string buffer;  // what a successful receive leaves
    } cases[] = {
        {"reply", Frame('E', "20091=1388"), "", 146, 9600, 0, Frame('E', "20091=1388")},
        {"ack completes a write reply", "E\x06", "", 146, 9600, 0, "E\x06"},
        {"ack elsewhere completes nothing", "EA\x06", "", 146, 9600, 6, ""},
        {"nak before etx", "E\x15", "", 146, 9600, 22, ""},
        {"nak as check character", nakCheck, "", 146, 9600, 0, nakCheck},
        {"nul before stx dropped",
         "E" + std::string(1, '\0') + Frame('E', "20091=1388").substr(1),
         "",
         146,
         9600,
         0,
         Frame('E', "20091=1388")},
        {"no stx", "EX20091=1388\x03\x06", "", 146, 9600, 8, ""},
        {"wrong check", wrongCheck, "", 146, 9600, 10, ""},
        {"fills the buffer with etx",
         "E\x02"
         "123456\x03",
         "",
         9,
         9600,
         14,
         ""},
        {"one byte more than the buffer",
         "E\x02"
         "12345678",
         "",
         9,
         9600,
         11,
         ""},
        {"more than the room left",
         "E\x02"
         "123",
         "45678",
         9,
         115200,
         11,
         ""},
    };
    for (const auto& c : cases) {
        Open(c.baud);
        SendFromSource(c.arrived, 0, c.baud);
        Arrive(platform::CharacterTimeUs(c.baud) * c.arrived.size() + 1);
        if (!c.later.empty()) SendFromSource(c.later, 500, c.baud);
        std::vector<uint8_t> buffer(static_cast<size_t>(c.size) + 8, 0xAA);
        SerioReply reply;
        EXPECT_EQ(SerioReceiveReply(buffer.data(), c.size, reply), c.result) << c.name;
        for (size_t i = static_cast<size_t>(c.size); i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], 0xAA) << c.name << ": written beyond the buffer at " << i;
        }
        if (c.result == 0) {
            EXPECT_EQ(Hex(std::string(buffer.begin(), buffer.begin() + reply.count)), Hex(c.buffer)) << c.name;
            EXPECT_EQ(reply.framed, c.buffer.size() > 2) << c.name;
        }
        CloseSerio(false);
        Arrive(1000000);  // leftovers of one case never reach the next
    }
}

TEST_F(Striowin, TimeoutsFollowTheBaudRate) {
    const std::string reply = Frame('E', "20091=1388");
    const uint64_t character = platform::CharacterTimeUs(9600);
    // Start times (us) of the rest of a reply whose first byte came at once,
    // so that it completes just before or just after 1100 ms.
    const uint64_t restBefore = 1099500 - character * (reply.size() - 1);
    const uint64_t restAfter = 1100500 - character * (reply.size() - 1);
    const struct {
        const char* name;
        int32_t baud;
        std::string first;
        std::string rest;
        uint64_t restAtUs;
        int result;
        uint32_t minMs;
        uint32_t maxMs;
    } cases[] = {
        {"nothing at 9600", 9600, "", "", 0, 5, 851, 852},
        {"nothing at 57600", 57600, "", "", 0, 5, 642, 643},
        {"part of a reply",
         9600,
         "E\x02"
         "20",
         "",
         0,
         6,
         1101,
         1102},
        {"complete in the round the time-out passes",
         9600,
         reply.substr(0, 1),
         reply.substr(1),
         restAfter,
         6,
         1101,
         1102},
        {"complete before the time-out", 9600, reply.substr(0, 1), reply.substr(1), restBefore, 0, 1099, 1100},
    };
    for (const auto& c : cases) {
        Open(c.baud);
        if (!c.first.empty()) SendFromSource(c.first, 0, c.baud);
        if (!c.rest.empty()) SendFromSource(c.rest, c.restAtUs, c.baud);
        uint8_t buffer[146];
        const uint32_t start = platform::GetTickCount();
        EXPECT_EQ(iSerioReceiveString(buffer, sizeof buffer), c.result) << c.name;
        const uint32_t elapsed = platform::GetTickCount() - start;
        EXPECT_GE(elapsed, c.minMs) << c.name;
        EXPECT_LE(elapsed, c.maxMs) << c.name;
        CloseSerio(false);
    }
    EXPECT_EQ(LogCount("\tStriowin->iSerioReceiveString Error 5 (No acknowlege of device). Receivebuffer cleared!\n"),
              2);
    EXPECT_EQ(LogCount("\tStriowin->iSerioReceiveString Error 6 (Received datastream is not complete). "
                       "Receivebuffer cleared!\n"),
              2);
}

// Calls back into the port layer from inside the receive loop, as a timer
// callback of the user interface could.
class ReenteringHook : public platform::PumpHook {
public:
    bool ProcessPending() override {
        ++calls;
        flagsSet = SerioEventPumpFlag && SerialWaitFlag;
        uint8_t buffer[8];
        receiveResult = iSerioReceiveString(buffer, sizeof buffer);
        const uint8_t byte = 'x';
        transmitResult = iSerioTransmittString(&byte, 1);
        return false;
    }
    std::optional<uint64_t> NextDueUs() override { return std::nullopt; }

    int calls = 0;
    bool flagsSet = false;
    int receiveResult = -1;
    int transmitResult = -1;
};

TEST_F(Striowin, EventsRunEverySecondAndCannotReenter) {
    Open(1200);  // 2600 ms until the first-byte time-out
    ReenteringHook hook;
    platform::SetPumpHook(&hook);
    uint8_t buffer[146];
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(iSerioReceiveString(buffer, sizeof buffer), 5);
    platform::SetPumpHook(nullptr);

    EXPECT_EQ(platform::GetTickCount() - start, 2602u);  // the pump never moved the clock
    EXPECT_EQ(hook.calls, 2);
    EXPECT_TRUE(hook.flagsSet);
    EXPECT_FALSE(SerioEventPumpFlag);
    EXPECT_FALSE(ActivFlag);
    EXPECT_EQ(hook.receiveResult, 5);
    EXPECT_EQ(hook.transmitResult, 4);
    EXPECT_EQ(source_.heard, "");
    EXPECT_EQ(LogCount("\tStriowin->iSerioReceiveString RECEIVE_ALL_ATTENTION_TIME gone\n"), 2);
    EXPECT_EQ(LogCount("\tStriowin->ActivFlag->CheckReentrant Reentrancy defense activated\n"), 4);
}

TEST_F(Striowin, TransmitIsRefusedWhileEventsRun) {
    Open();
    SerioEventPumpFlag = true;
    EXPECT_EQ(SerioTransmitByte('x'), 1);
    SerioEventPumpFlag = false;
    Arrive(5000);
    line_.Service();
    EXPECT_EQ(source_.heard, "");
    EXPECT_EQ(LogCount("\tStriowin->iSerioTransmittString SioOut activated\n"), 1);
    EXPECT_FALSE(ActivFlag);
}

TEST_F(Striowin, BytesComeOneByOneThroughTheReadAhead) {
    Open();
    uint8_t byte = 0;
    EXPECT_EQ(SerioReceiveByte(byte), 7);
    SendFromSource(std::string("AB\0C", 4));
    Arrive(5000);
    std::string received;
    while (SerioReceiveByte(byte) == 0) received += static_cast<char>(byte);
    EXPECT_EQ(received, std::string("AB\0C", 4));

    EXPECT_EQ(SerioTransmitByte(0x55), 0);
    Arrive(2000);
    line_.Service();
    EXPECT_EQ(source_.heard, "\x55");
}

TEST_F(Striowin, ByteStringTakesOnlyWhatFits) {
    Open();
    SendFromSource("xyz");
    Arrive(5000);
    uint8_t buffer[8];
    int count = 2;
    EXPECT_EQ(iSerioReceiveByteString(buffer, count), 11);
    EXPECT_EQ(count, 0);
    count = sizeof buffer;
    EXPECT_EQ(iSerioReceiveByteString(buffer, count), 0);
    EXPECT_EQ(std::string(buffer, buffer + count), "xyz");
}

TEST_F(Striowin, ADisconnectedLineIsAFailedReadNotATimeout) {
    Open();
    line_.SetDisconnected(true);
    uint8_t byte = 0;
    EXPECT_EQ(SerioReceiveByte(byte), 4);
    uint8_t buffer[146];
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(iSerioReceiveString(buffer, sizeof buffer), 4);
    EXPECT_EQ(platform::GetTickCount(), start);
    EXPECT_EQ(LogCount("\tStriowin->iSerioReceiveByteString Cause: "), 1);
    EXPECT_EQ(LogCount("\tStriowin->iSerioReceiveString->ReadFile Cause: "), 1);

    EXPECT_EQ(SerioTransmitByte('x'), 4);
    EXPECT_EQ(platform::GetTickCount() - start, 199u);  // 200 tries, a millisecond apart
    EXPECT_EQ(LogCount("\tStriowin->iSerioTransmittString->ClearComError Cause: "), 1);
}

TEST_F(Striowin, AReceiveBeforeAnyOpenEnds) {
    uint8_t buffer[146];
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(iSerioReceiveString(buffer, sizeof buffer), 5);
    EXPECT_LE(platform::GetTickCount() - start, 4602u);
}

TEST_F(Striowin, TransmitLimits) {
    Open();
    // An output queue that never drains holds the transmit only for the time
    // the queued bytes need, and the bytes still go out.
    line_.SetStuckOutput(48);  // 50 ms at 9600 baud
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(SerioTransmitByte('a'), 0);
    EXPECT_GE(platform::GetTickCount() - start, 50u);
    EXPECT_LE(platform::GetTickCount() - start, 1051u);
    Arrive(2000);
    line_.Service();
    EXPECT_EQ(source_.heard, "a");

    start = platform::GetTickCount();
    EXPECT_TRUE(CloseSerio(true));
    EXPECT_LE(platform::GetTickCount() - start, 1051u);
    line_.SetStuckOutput(0);

    Open();
    line_.LimitNextWrite(2);
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(iSerioTransmittString(bytes, 5), 14);
    EXPECT_EQ(LogCount("\tStriowin->iSerioTransmittString  iByteCount != DataWritten\n"), 1);
}

TEST(StriowinTexts, GermanTextsByCode) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "Kein Fehler"},
        {1, "Empfangsdaten wurden vor dem Auslesen ueberschrieben"},
        {4, "Keine Verbindung oder falsche Schnittstelle"},
        {5, "Timeout im Sendevorgang"},
        {7, "Keine Daten empfangen"},
        {10, "Ungueltige Baudrate"},
        {14, "Die geählte Schnittstelle ist bereits belegt"},
        {15, "Unbekannter Fehler"},
        {22, "Unbekannter Fehler"},
        {-1, "Unbekannter Fehler"},
    };
    for (const auto& c : cases) EXPECT_STREQ(SerioErrorText(c.code), c.text) << c.code;
}

TEST(StriowinTexts, HexToWordReadsLastCharacterLowest) {
    EXPECT_EQ(HexToWord("1A2b", 4), 0x1A2B);
    EXPECT_EQ(HexToWord("00ff", 4), 0x00FF);
    EXPECT_EQ(HexToWord("12345", 5), 0x2345);
    EXPECT_EQ(HexToWord("F", 1), 0xF);
}

}  // namespace
}  // namespace bustest
