#include "sim/virtual_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "platform/testing/pty_pair.h"
#include "sim/pty_drive_link.h"
#include "sim/tests/telegram_test_support.h"

namespace {

using namespace simtest;
using platform::TheVirtualClock;
using sim::HexBytes;

sim::DriveTable StockTable() {
    std::string error;
    auto table = sim::DriveTable::Load(sim::StockFixturePath("drive.tbl"), &error);
    EXPECT_TRUE(table.has_value()) << error;
    return table.value_or(sim::DriveTable{});
}

std::unique_ptr<platform::SerialPort> OpenAt(platform::MemorySerialLine& line, int32_t baud) {
    std::string error;
    auto port = line.OpenHostPort(&error);
    EXPECT_NE(port, nullptr) << error;
    if (port != nullptr) {
        EXPECT_TRUE(port->Configure({baud, 7, 'e', 1}));
    }
    return port;
}

void Send(platform::SerialPort& port, const std::string& bytes) {
    ASSERT_EQ(port.Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size())),
              static_cast<int>(bytes.size()));
}

// Everything that arrives within `ms` of virtual time.
std::string Collect(platform::SerialPort& port, uint32_t ms) {
    std::string got;
    for (uint32_t i = 0; i < ms; ++i) {
        uint8_t buffer[256];
        int n = port.Read(buffer, sizeof buffer);
        if (n > 0) got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
        TheVirtualClock()->AdvanceMs(1);
    }
    return got;
}

TEST(VirtualDriveOnLine, AnswersAfterTheRequestWithTenBitsPerCharacter) {
    platform::MemorySerialLine line;
    sim::VirtualDrive drive(StockTable(), 0, 9600);
    drive.AttachTo(line);
    auto port = OpenAt(line, 9600);
    const uint64_t t0 = TheVirtualClock()->NowUs();
    Send(*port, ReadRequest(0, "20091"));  // 8 characters

    const uint64_t request_end = t0 + 8 * 1042;
    const uint64_t reply_end = request_end + sim::kDefaultReplyDelayUs + 14 * 1042;
    TheVirtualClock()->AdvanceToUs(reply_end - 1);
    EXPECT_EQ(port->BytesWaiting(), 13);
    TheVirtualClock()->AdvanceToUs(reply_end);
    EXPECT_EQ(port->BytesWaiting(), 14);
    EXPECT_EQ(HexBytes(Collect(*port, 1)), "40 02 32 30 30 39 31 3D 31 33 38 38 03 06");

    sim::DriveCapture capture = drive.Capture();
    ASSERT_EQ(capture.Bytes().size(), 22u);
    EXPECT_EQ(capture.Bytes()[7].time_us, request_end);
    EXPECT_FALSE(capture.Bytes()[8].to_drive);
    EXPECT_EQ(capture.Bytes()[8].time_us, request_end + sim::kDefaultReplyDelayUs + 1042);
    EXPECT_EQ(capture.Bytes()[21].time_us, reply_end);
    EXPECT_EQ(capture.ToDrive(), ReadRequest(0, "20091"));
}

TEST(VirtualDriveOnLine, AScheduledValueIsAnsweredFromItsTimeOn) {
    platform::MemorySerialLine line;
    sim::VirtualDrive drive(StockTable(), 0, 9600);
    drive.AttachTo(line);
    auto port = OpenAt(line, 9600);
    const uint64_t at = TheVirtualClock()->NowUs() + 700000;
    drive.Table().ScheduleValue(91, 4711, at);
    Send(*port, ReadRequest(0, "20091"));
    // Values go as hexadecimal digits: 5000 is 1388, 4711 is 1267.
    EXPECT_NE(Collect(*port, 40).find("20091=1388"), std::string::npos);
    // No event processing on the host's side: only the clock moves.
    TheVirtualClock()->AdvanceToUs(at);
    Send(*port, ReadRequest(0, "20091"));
    EXPECT_NE(Collect(*port, 40).find("20091=1267"), std::string::npos);
    EXPECT_EQ(drive.Table().Find(91)->value, 4711u);
}

TEST(VirtualDriveOnLine, DriveAtAnotherRateHearsOnlyGarbage) {
    platform::MemorySerialLine line;
    sim::VirtualDrive drive(StockTable(), 0, 19200);
    drive.AttachTo(line);
    auto port = OpenAt(line, 9600);
    Send(*port, ReadRequest(0, "00082"));
    EXPECT_EQ(Collect(*port, 100), "");
    EXPECT_EQ(drive.Capture().GarbledCount(), 8u);
    EXPECT_EQ(drive.Capture().ToDrive(), "");

    // Reopened at the drive's rate, the same request is answered.
    port.reset();
    port = OpenAt(line, 19200);
    Send(*port, ReadRequest(0, "00082"));
    EXPECT_EQ(HexBytes(Collect(*port, 100)), "40 02 30 30 30 38 32 3D 30 03 34");
}

// 81 := 4, then 4 := 111: both acknowledged at 9600, later telegrams only at
// 19200. Without parameter 81 the command changes nothing.
TEST(VirtualDriveOnLine, TakesTheRateCodeOfParameter81OnCommand111) {
    for (bool withCode : {true, false}) {
        platform::MemorySerialLine line;
        sim::DriveTable table = StockTable();
        table.PutFullRange(4, "CMD", "USIGN16", 0);
        if (withCode) table.PutFullRange(81, "SBAUD", "USIGN8", 0);
        sim::VirtualDrive drive(std::move(table), 0, 9600);
        drive.AttachTo(line);
        auto port = OpenAt(line, 9600);
        if (withCode) {
            Send(*port, WriteRequest(0, "20081=04"));
            EXPECT_NE(Collect(*port, 100), "");
        }
        Send(*port, WriteRequest(0, "20004=006F"));
        EXPECT_NE(Collect(*port, 100), "") << withCode;
        EXPECT_EQ(drive.Baud(), withCode ? 19200 : 9600);
        Send(*port, ReadRequest(0, "00082"));
        EXPECT_EQ(Collect(*port, 100) != "", !withCode);
        port.reset();
        port = OpenAt(line, 19200);
        Send(*port, ReadRequest(0, "00082"));
        EXPECT_EQ(Collect(*port, 100) != "", withCode);
    }
}

TEST(VirtualDriveOnLine, OnlyTheAddressedDriveOfSeveralAnswers) {
    platform::MemorySerialLine line;
    sim::VirtualDrive d3(StockTable(), 3), d17(StockTable(), 17);
    d3.AttachTo(line);
    d17.AttachTo(line);
    auto port = OpenAt(line, 9600);
    std::string answered;
    for (int address = 1; address <= 30; ++address) {
        Send(*port, ReadRequest(address, "00091") + kEot);
        std::string reply = Collect(*port, 50);
        if (!reply.empty()) answered += reply.substr(0, 1);
    }
    EXPECT_EQ(answered, "CQ");  // 0x43 and 0x51: addresses 3 and 17
}

TEST(VirtualDriveOnLine, TwoDrivesAnsweringAtOnceCollide) {
    platform::MemorySerialLine line;
    sim::VirtualDrive a(StockTable(), 3), b(StockTable(), 17);
    a.AttachTo(line);
    b.AttachTo(line);
    auto port = OpenAt(line, 9600);
    Send(*port, ReadRequest(0, "00091"));  // address 0 reaches both
    EXPECT_EQ(Collect(*port, 100), std::string(28, static_cast<char>(platform::kGarbledCharacter)));
}

TEST(VirtualDriveOnLine, ParityErrorInAWriteIsRefusedAsBadTelegram) {
    platform::MemorySerialLine line;
    sim::VirtualDrive drive(StockTable(), 5);
    drive.AttachTo(line);
    auto port = OpenAt(line, 9600);
    std::string write = WriteRequest(5, "20123=1F4");
    Send(*port, write.substr(0, 4));
    line.InjectFaultsToDevices(platform::kLineParityError, 1);
    Send(*port, write.substr(4));
    EXPECT_EQ(HexBytes(Collect(*port, 100)), "45 15");
    EXPECT_EQ(drive.WriteError(), sim::kStatusTelegramChecksum);
    EXPECT_EQ(drive.Table().Find(123)->value, 0u);
}

TEST(VirtualDriveOnLine, DetachedDriveIsSilent) {
    platform::MemorySerialLine line;
    sim::VirtualDrive drive(StockTable(), 0);
    drive.AttachTo(line);
    drive.Detach();
    auto port = OpenAt(line, 9600);
    Send(*port, ReadRequest(0, "00082"));
    EXPECT_EQ(Collect(*port, 100), "");
    EXPECT_TRUE(drive.Capture().Bytes().empty());
}

// Over a pseudo-terminal on the real clock: the few tests that may wait.
TEST(VirtualDriveOnPty, AnswersAPortOpenedOnTheSlave) {
    platform::PtyPair pair;
    std::string error;
    ASSERT_TRUE(pair.Open(&error)) << error;
    sim::VirtualDrive drive(StockTable(), 5);
    sim::PtyDriveLink link(pair);
    link.Add(&drive);
    link.Start();

    auto port = platform::OpenSerialPort(pair.SlavePath(), &error);
    ASSERT_NE(port, nullptr) << error;
    ASSERT_TRUE(port->Configure({9600, 7, 'E', 1})) << port->LastErrorText();
    Send(*port, WriteRequest(5, "20123=1F4") + ReadRequest(5, "20123"));

    const std::string expected = std::string{'E', kAck, 'E', kStx} + "20123=1F4" + kEtx + '\x4F';
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
        uint8_t buffer[64];
        int n = port->Read(buffer, sizeof buffer);
        ASSERT_GE(n, 0) << port->LastErrorText();
        got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
        if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    link.Stop();
    EXPECT_EQ(HexBytes(got), HexBytes(expected));
    EXPECT_EQ(drive.Capture().FromDrive(), expected);
}

}  // namespace
