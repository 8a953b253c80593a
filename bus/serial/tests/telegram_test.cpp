// Telegram exchanges against the virtual drive: frame acceptance with the
// retries, statistics and log lines they cause, the NAK and status word
// rules, broadcast, refusals before the line, settle waits and write logging.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "app/services/program_flags.h"
#include "bus/serial/tarn_telegram.h"
#include "bus/serial/tests/serial_fixture.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"

namespace bustest {
namespace {

class Telegram : public SerialLineTest {
protected:
    void SetUp() override { ASSERT_EQ(InitTarnBus(1, 9600, 0), 0); }

    int Read(const char* code, int address, std::string* value = nullptr) {
        char codeBuffer[kTarnCodeSize] = {};
        std::strcpy(codeBuffer, code);
        char valueBuffer[kTarnValueSize] = "unchanged";
        const int result = TarnBusTelegram(codeBuffer, valueBuffer, address, kTelegramRead);
        if (value != nullptr) *value = valueBuffer;
        return result;
    }
    int Write(const char* code, const std::string& value, int address) {
        char codeBuffer[kTarnCodeSize + 8] = {};
        std::strncpy(codeBuffer, code, sizeof codeBuffer - 1);
        std::vector<char> valueBuffer(value.begin(), value.end());
        valueBuffer.push_back('\0');
        return TarnBusTelegram(codeBuffer, valueBuffer.data(), address, kTelegramWrite);
    }
    // Telegram error lines of the exchange just made.
    static int ErrorLines(const std::string& text) {
        return LogCount(platform::Format("\tTarnBus error in telegram %lu: ", TelegramNumber) + text + "\n");
    }
    // What the drive heard, with arrival times.
    static std::vector<sim::CapturedByte> Heard(const sim::VirtualDrive& drive) {
        std::vector<sim::CapturedByte> heard;
        const sim::DriveCapture capture = drive.Capture();
        for (const sim::CapturedByte& b : capture.Bytes()) {
            if (b.to_drive) heard.push_back(b);
        }
        return heard;
    }
    static int Requests(const sim::VirtualDrive& drive, const std::string& request) {
        const std::string heard = drive.Capture().ToDrive();
        int count = 0;
        for (size_t at = heard.find(request); at != std::string::npos; at = heard.find(request, at + 1)) ++count;
        return count;
    }
};

std::vector<uint8_t> Raw(const std::string& bytes) { return std::vector<uint8_t>(bytes.begin(), bytes.end()); }

TEST_F(Telegram, FrameAcceptance) {
    const std::string nakCheck = Frame('E', "20091=1 ");
    ASSERT_EQ(nakCheck.back(), '\x15');
    const struct {
        const char* name;
        std::optional<sim::DriveFault> fault;
        int address;
        int result;
        const char* value;
        int tries;
        const char* logText;
    } cases[] = {
        {"nul before stx", sim::DriveFault::NulBeforeStx(), 5, 0, "1388", 1, nullptr},
        {"nak as check character", sim::DriveFault::RawReply(Raw(nakCheck)), 5, 0, "1 ", 1, nullptr},
        {"reply from any device at address 0", std::nullopt, 0, 0, "1388", 1, nullptr},
        {"wrong check character",
         sim::DriveFault::WrongCheck().Times(sim::kForever),
         5,
         10,
         nullptr,
         3,
         "Checksum error in received record"},
        {"reply from another device",
         sim::DriveFault::WrongAddress(6).Times(sim::kForever),
         5,
         12,
         nullptr,
         3,
         "Acknowledge from non addressed device"},
        {"answer character not STX",
         sim::DriveFault::RawReply(Raw("EX2\x03\x31")).Times(sim::kForever),
         5,
         8,
         nullptr,
         3,
         "Invalid telegram-frame (i.e. invalid control characters)"},
        {"bare ack to a read",
         sim::DriveFault::RawReply(Raw("E\x06")).Times(sim::kForever),
         5,
         8,
         nullptr,
         3,
         "Invalid telegram-frame (i.e. invalid control characters)"},
        {"longer than the buffer",
         sim::DriveFault::LongReply(160).Times(sim::kForever),
         5,
         11,
         nullptr,
         3,
         "Receivebuffer overflow"},
        {"other code echoed",
         sim::DriveFault::RawReply(Raw(Frame('E', "20092=1388"))).Times(sim::kForever),
         5,
         23,
         nullptr,
         3,
         "Differences in transmitted and received parametercode"},
        {"no equals sign",
         sim::DriveFault::RawReply(Raw(Frame('E', "20091:1388"))).Times(sim::kForever),
         5,
         13,
         nullptr,
         3,
         "Syntaxerror in received record of device"},
        {"nak to a read", sim::DriveFault::Nak(0), 5, 22, nullptr, 1, nullptr},
        {"silence", sim::DriveFault::Silence().Times(sim::kForever), 5, 5, nullptr, 3, "No acknowlege of device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drives_.clear();
        sim::VirtualDrive& drive = AddDrive(5);
        if (c.fault) drive.AddFault(c.fault->For("20091"));
        ClearTelegramStatistics();

        std::string value;
        EXPECT_EQ(Read("20091", c.address, &value), c.result);
        if (c.value != nullptr) {
            EXPECT_EQ(value, c.value);
        }
        EXPECT_EQ(Requests(drive, "\x04" + std::string(1, static_cast<char>('@' + c.address)) + "20091\x05"), c.tries);
        if (c.result == 0) {
            EXPECT_EQ(TelegramStatistics[0], 1u);
        } else if (c.result != 22) {
            EXPECT_EQ(TelegramStatistics[static_cast<size_t>(c.result)], static_cast<uint32_t>(c.tries));
        }
        // Each failed try is logged by the single try and by the retry loop.
        const int lines = c.logText != nullptr ? 2 * c.tries : 0;
        if (c.logText != nullptr) {
            EXPECT_EQ(ErrorLines(c.logText), lines);
        }
        EXPECT_EQ(LogCount(platform::Format("\tTarnBus error in telegram %lu: ", TelegramNumber)), lines);
    }
}

TEST_F(Telegram, RetriesWaitBetweenTries) {
    sim::VirtualDrive& drive = AddDrive(5);
    drive.AddFault(sim::DriveFault::WrongCheck().Times(sim::kForever));
    EXPECT_EQ(Read("20091", 5), 10);
    // The EOT that closes a failed try and the next request are 50 ms apart.
    const std::vector<sim::CapturedByte> heard = Heard(drive);
    std::vector<uint64_t> gaps;
    for (size_t i = 1; i + 1 < heard.size(); ++i) {
        if (heard[i - 1].byte == 0x04 && heard[i].byte == 0x04 && heard[i + 1].byte == 'E') {
            gaps.push_back(heard[i].time_us - heard[i - 1].time_us);
        }
    }
    EXPECT_EQ(gaps, (std::vector<uint64_t>{50000, 50000}));
}

struct NakCase {
    const char* name;
    uint16_t status;
    int naks;  // NAKs before the drive takes the write; -1: always
    int result;
    int writes;
    uint64_t waitUs;  // before the repeated write
    const char* stopText;
};

TEST_F(Telegram, NakOnAWriteFollowsTheStatusWord) {
    const NakCase cases[] = {
        {"refused", 0x0001, -1, 22, 1, 0, "Device canceled last telegram"},
        {"refused wins over no parameter", 0x0021, -1, 22, 1, 0, "Device canceled last telegram"},
        {"watchdog", 0x0002, -1, 16, 1, 0, "Error detected by SIO-watchdog of device"},
        {"no parameter", 0x0020, -1, 17, 1, 0, "No parameter on number available"},
        {"write access", 0x0040, -1, 18, 1, 0, "Invalid writeaccess to parameter"},
        {"invalid value", 0x0080, -1, 19, 1, 0, "Invalid new value for parameter"},
        {"no reason", 0x0000, -1, 22, 1, 0, "Device canceled last telegram"},
        {"eeprom busy", 0x0004, -1, 20, 2, 80000, nullptr},
        {"eeprom busy once", 0x0004, 1, 0, 2, 80000, nullptr},
        {"telegram checksum", 0x0008, -1, 21, 2, 5000, nullptr},
    };
    for (const NakCase& c : cases) {
        SCOPED_TRACE(c.name);
        drives_.clear();
        sim::VirtualDrive& drive = AddDrive(5);
        drive.AddFault(sim::DriveFault::Nak(c.status).For("20123").Times(c.naks < 0 ? sim::kForever : c.naks));
        ClearTelegramStatistics();

        EXPECT_EQ(Write("20123", "1F4", 5), c.result);
        EXPECT_EQ(Requests(drive,
                           "\x04"
                           "E\x02"
                           "20123=1F4"),
                  c.writes);
        EXPECT_EQ(Requests(drive,
                           "\x04"
                           "E00085\x05"),
                  c.naks < 0 ? c.writes : c.naks);
        if (c.stopText != nullptr) {
            // Stop results are logged, not counted.
            EXPECT_EQ(ErrorLines(c.stopText), c.result == 22 ? 3 : 1);
            for (uint32_t count : TelegramStatistics) EXPECT_EQ(count, 0u);
        } else if (c.result != 0) {
            EXPECT_EQ(TelegramStatistics[static_cast<size_t>(c.result)], 2u);
        }
        if (c.writes == 2) {
            // From the EOT that ends the status read to the repeated write.
            const std::vector<sim::CapturedByte> heard = Heard(drive);
            std::vector<size_t> writes;
            for (size_t i = 0; i + 2 < heard.size(); ++i) {
                if (heard[i].byte == 0x04 && heard[i + 1].byte == 'E' && heard[i + 2].byte == 0x02) writes.push_back(i);
            }
            ASSERT_EQ(writes.size(), 2u);
            ASSERT_EQ(heard[writes[1] - 1].byte, 0x04);
            EXPECT_EQ(heard[writes[1]].time_us - heard[writes[1] - 1].time_us, c.waitUs);
        }
    }
}

TEST_F(Telegram, AnUnreadableStatusWordGives15) {
    sim::VirtualDrive& drive = AddDrive(5);
    drive.AddFault(sim::DriveFault::Nak(0x0004).For("20123"));
    drive.AddFault(sim::DriveFault::Silence().For("00085").Times(sim::kForever));
    EXPECT_EQ(Write("20123", "1F4", 5), 15);
    EXPECT_EQ(Requests(drive,
                       "\x04"
                       "E00085\x05"),
              TelegramTryCount + 1);
    EXPECT_EQ(TelegramStatistics[22], static_cast<uint32_t>(TelegramTryCount + 1));
    EXPECT_EQ(ErrorLines("Cannot read errorstate of device"), 0);
}

TEST_F(Telegram, BroadcastWritesWithoutReplyAndRefusesReads) {
    sim::VirtualDrive& drive = AddDrive(5);
    EXPECT_EQ(Write("20123", "1F4", kBroadcastAddress), 0);
    platform::TheVirtualClock()->AdvanceMs(20);
    line_.Service();
    EXPECT_EQ(Hex(drive.Capture().ToDrive()), "04 5F 02 32 30 31 32 33 3D 31 46 34 03 4F");
    EXPECT_EQ(drive.Table().Find(kWritableParameter)->value, 0x1F4u);

    drive.ClearCapture();
    EXPECT_EQ(Read("20091", kBroadcastAddress), 14);
    platform::TheVirtualClock()->AdvanceMs(10);
    line_.Service();
    EXPECT_EQ(drive.Capture().ToDrive(), "");
}

TEST_F(Telegram, RefusedBeforeTheLine) {
    sim::VirtualDrive& drive = AddDrive(5);
    const struct {
        const char* name;
        const char* code;
        std::string value;
        int address;
        int mode;
    } cases[] = {
        {"code of 13 characters", "7012300000011", "00", 5, kTelegramWrite},
        {"value of 129 characters", "20123", std::string(129, '1'), 5, kTelegramWrite},
        {"value holding ETX",
         "20300",
         "ab\x03"
         "cd",
         5,
         kTelegramWrite},
        {"value holding EOT", "20300", "\x04", 5, kTelegramWrite},
        {"address 32", "20123", "1", 32, kTelegramWrite},
        {"address -1", "20123", "1", -1, kTelegramRead},
        {"mode 2", "20123", "1", 5, 2},
    };
    for (const auto& c : cases) {
        char code[kTarnCodeSize + 8] = {};
        std::strcpy(code, c.code);
        std::vector<char> value(c.value.begin(), c.value.end());
        value.resize(kTarnValueSize + 8, '\0');
        EXPECT_EQ(TarnBusTelegram(code, value.data(), c.address, c.mode), 14) << c.name;
        EXPECT_GE(ErrorLines("Error during plausibilitycheck"), 1) << c.name;
    }
    platform::TheVirtualClock()->AdvanceMs(10);
    line_.Service();
    EXPECT_EQ(drive.Capture().ToDrive(), "");
}

TEST_F(Telegram, NoTriesMeansSuccessWithoutTraffic) {
    sim::VirtualDrive& drive = AddDrive(5);
    TelegramTryCount = 0;
    std::string value;
    EXPECT_EQ(Read("20091", 5, &value), 0);
    EXPECT_EQ(value, "unchanged");
    platform::TheVirtualClock()->AdvanceMs(10);
    line_.Service();
    EXPECT_EQ(drive.Capture().ToDrive(), "");
}

TEST_F(Telegram, SettleWaitsAfterReadsAndPerWrittenCharacter) {
    AddDrive(5);
    auto duration = [](auto exchange) {
        const uint32_t start = platform::GetTickCount();
        EXPECT_EQ(exchange(), 0);
        return platform::GetTickCount() - start;
    };
    const uint32_t plainRead = duration([&] { return Read("20091", 5); });
    const uint32_t plainWrite = duration([&] { return Write("20123", "1F4", 5); });
    WriteSettleWait = true;
    // The receive polls once a millisecond, so the phase may shift by one.
    EXPECT_NEAR(duration([&] { return Read("20091", 5); }) - plainRead, 10.0, 1.0);
    EXPECT_NEAR(duration([&] { return Write("20123", "1F4", 5); }) - plainWrite, 120.0, 1.0);
}

TEST_F(Telegram, WritesAreLoggedWhileWriteLoggingIsOn) {
    AddDrive(5);
    EXPECT_EQ(Write("20123", "1F4", 5), 0);
    EXPECT_EQ(LogCount("\tTarnBus parameter write access\n\tCode = 20123\n\tValue = 1F4\n\n"), 1);
    BusWriteLogging = false;
    EXPECT_EQ(Write("20123", "1F5", 5), 0);
    EXPECT_EQ(LogCount("TarnBus parameter write access"), 1);
}

TEST_F(Telegram, OpeningLogsThePortAndClearsTheStatistics) {
    TelegramStatistics[3] = 7;
    EXPECT_EQ(InitTarnBus(1, 19200, 0), 0);
    EXPECT_EQ(TelegramStatistics[3], 0u);
    EXPECT_EQ(LogCount("\tInitTarnBus: COM1, 19200 Baud\n"), 1);
    EXPECT_EQ(InitTarnBus(2, 9600, 0), 14);
    EXPECT_EQ(LogCount("\tTarnBus error in telegram 0: Error during plausibilitycheck\n"), 1);
}

}  // namespace
}  // namespace bustest
