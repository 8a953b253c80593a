// The virtual drive's boot side, driven with raw bytes over the in-memory
// line: bootstrap, loader handshake with its rate change, lines and faults,
// the second loader and the warm switch.
#include "sim/boot_drive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "sim/tests/telegram_test_support.h"

namespace {

using platform::TheVirtualClock;
using sim::BootFault;
using sim::BootStage;

std::unique_ptr<platform::SerialPort> OpenAt(platform::MemorySerialLine& line, int32_t baud) {
    std::string error;
    auto port = line.OpenHostPort(&error);
    EXPECT_NE(port, nullptr) << error;
    if (port != nullptr) {
        EXPECT_TRUE(port->Configure({baud, 8, 'N', 1}));
    }
    return port;
}

// Sends the bytes and returns what came back within `ms` of virtual time.
std::string Exchange(platform::SerialPort& port, const std::string& bytes, uint32_t ms = 200) {
    port.Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    std::string got;
    for (uint32_t i = 0; i < ms; ++i) {
        TheVirtualClock()->AdvanceMs(1);
        uint8_t buffer[64];
        const int n = port.Read(buffer, sizeof buffer);
        if (n > 0) got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
    }
    return got;
}

TEST(BootDrive, BootstrapThenLoaderWithRateChangeAndLines) {
    platform::MemorySerialLine line;
    sim::BootDriveSetup setup;
    setup.chip_identification = 0xB5;
    setup.loader_image_size = 4;
    setup.bootstrap_baud = 9600;
    sim::BootDrive drive(setup);
    drive.AttachTo(line);
    auto port = OpenAt(line, 9600);

    EXPECT_EQ(Exchange(*port, std::string("\x11\x00", 2)), "\xB5");  // noise before the sync is passed over
    EXPECT_EQ(drive.Rom().Noise(), 1u);
    EXPECT_EQ(Exchange(*port, std::string(32, 'b')), "");
    // The loader announces itself once its image is in.
    EXPECT_EQ(Exchange(*port, "LOAD", 50), "");
    EXPECT_EQ(Exchange(*port, "", 100), "\x06");
    EXPECT_EQ(drive.Rom().LoaderImage(), (std::vector<uint8_t>{'L', 'O', 'A', 'D'}));

    EXPECT_EQ(Exchange(*port, "\x09"), "\x15");  // no such baud code
    EXPECT_EQ(Exchange(*port, "\x07"), "");      // 115200
    EXPECT_EQ(drive.Baud(), 115200);
    EXPECT_EQ(Exchange(*port, "\x06"), "");  // at the old rate: garbage
    port.reset();
    port = OpenAt(line, 115200);
    EXPECT_EQ(Exchange(*port, "\x06"), "\x06");

    const struct {
        std::string line;
        std::string answer;
    } lines[] = {
        {":020000021000EC", "\x06"},
        {":03000400AABBCCC8", "\x06"},
        {":03000400AABBCCC9", "\x15"},  // wrong checksum
        {":020000040001F9", "\x06"},
        {":01000200DD20", "\x06"},
        {":00000001FF", "\x06"},
    };
    for (const auto& l : lines) EXPECT_EQ(Exchange(*port, "\r\n" + l.line), l.answer) << l.line;
    EXPECT_EQ(drive.Loader().CurrentState(), sim::BootLoader::State::kDone);
    EXPECT_EQ(drive.Loader().BadLines(), 1);
    EXPECT_EQ(drive.Loader().Flash(),
              (std::map<uint32_t, uint8_t>{{0x10004, 0xAA}, {0x10005, 0xBB}, {0x10006, 0xCC}, {0x10002, 0xDD}}));
}

TEST(BootDrive, SecondLoaderThenFirmwareWithWakeUpAndFaults) {
    platform::MemorySerialLine line;
    sim::BootDriveSetup setup;
    setup.wake_up = 1;
    setup.second_loader = true;
    sim::BootDrive drive(setup);
    drive.AttachTo(line);
    drive.AddFault(BootFault::Nak().AtLine(2).Times(2));
    drive.AddFault(BootFault::Answer(BootStage::kStartAnswer, 'x'));
    drive.RunLoader(line);
    auto port = OpenAt(line, 19200);

    EXPECT_EQ(Exchange(*port, ""), "");  // waits for the wake-up
    EXPECT_EQ(Exchange(*port, "\x06"), "\x06");
    EXPECT_EQ(Exchange(*port, "\x04"), "");  // 19200 again
    EXPECT_EQ(Exchange(*port, "\x06"), "x");
    EXPECT_EQ(Exchange(*port, ":0100000011EE"), "\x06");
    EXPECT_EQ(Exchange(*port, ":00000001FF"), "\x15");
    EXPECT_EQ(Exchange(*port, ":00000001FF"), "\x15");
    EXPECT_EQ(Exchange(*port, ":00000001FF"), "\x06");
    // The second loader runs and starts over.
    EXPECT_EQ(drive.Loader().SecondLoaderMemory(), (std::map<uint32_t, uint8_t>{{0, 0x11}}));
    EXPECT_EQ(drive.Loader().CurrentState(), sim::BootLoader::State::kWakeUp);
    EXPECT_EQ(Exchange(*port, "\x06"), "\x06");
    EXPECT_EQ(Exchange(*port, "\x04"), "");
    EXPECT_EQ(Exchange(*port, "\x06"), "\x06");
    EXPECT_EQ(Exchange(*port, ":0100000022DD"), "\x06");
    EXPECT_EQ(drive.Loader().Flash(), (std::map<uint32_t, uint8_t>{{0, 0x22}}));
    EXPECT_EQ(drive.Faults().Left(), 0u);
}

TEST(BootDrive, RunningDriveStartsItsLoaderWhenTold) {
    std::string error;
    auto table = sim::DriveTable::Parse("drive type=1 version=1 status=0\nparam 4 CMD USIGN16\n", "t", &error);
    ASSERT_TRUE(table) << error;
    platform::MemorySerialLine line;
    sim::VirtualDrive firmware(*table, 1, 9600);
    sim::BootDrive drive(sim::BootDriveSetup{}, firmware);
    drive.AttachTo(line);
    {
        std::string openError;
        auto port = line.OpenHostPort(&openError);
        ASSERT_TRUE(port->Configure({9600, 7, 'E', 1}));
        EXPECT_EQ(Exchange(*port, simtest::WriteRequest(0, "20004=0001")), "A\x06");
        EXPECT_EQ(drive.CurrentMode(), sim::BootDrive::Mode::kFirmware);
        EXPECT_EQ(Exchange(*port, simtest::WriteRequest(31, "20004=014D"), 50), "");
    }
    EXPECT_EQ(drive.CurrentMode(), sim::BootDrive::Mode::kLoader);
    auto port = OpenAt(line, sim::kWarmLoaderBaud);
    EXPECT_EQ(Exchange(*port, "", 200), "\x06");
}

TEST(BootDrive, RunsItsNewFirmwareAGivenTimeAfterTheEndRecord) {
    std::string error;
    auto table = sim::DriveTable::Parse(
        "drive type=3100 version=43 status=0\nparam 4 CMD USIGN16\nparam 92 VERS FLOAT32\n", "t", &error);
    ASSERT_TRUE(table) << error;
    platform::MemorySerialLine line;
    sim::VirtualDrive firmware(*table, 1, 9600);
    sim::BootDrive drive(sim::BootDriveSetup{}, firmware);
    drive.RunFirmwareAfterDownload(firmware, 500000, 2.25f);
    drive.AttachTo(line);
    {
        std::string openError;
        auto port = line.OpenHostPort(&openError);
        ASSERT_TRUE(port->Configure({9600, 7, 'E', 1}));
        EXPECT_EQ(Exchange(*port, simtest::WriteRequest(31, "20004=014D"), 50), "");
    }
    {
        auto port = OpenAt(line, sim::kWarmLoaderBaud);
        EXPECT_EQ(Exchange(*port, "", 200), "\x06");
        EXPECT_EQ(Exchange(*port, "\x04"), "");
        EXPECT_EQ(Exchange(*port, "\x06"), "\x06");
        EXPECT_EQ(Exchange(*port, ":0100000011EE"), "\x06");
        EXPECT_EQ(Exchange(*port, ":00000001FF", 100), "\x06");
        // Still in its loader until the time has passed.
        EXPECT_EQ(Exchange(*port, "\x06", 300), "");
        EXPECT_EQ(drive.CurrentMode(), sim::BootDrive::Mode::kLoader);
    }
    std::string openError;
    auto port = line.OpenHostPort(&openError);
    ASSERT_TRUE(port->Configure({9600, 7, 'E', 1}));
    TheVirtualClock()->AdvanceMs(200);
    EXPECT_NE(Exchange(*port, simtest::ReadRequest(1, "20092")), "");
    EXPECT_EQ(drive.CurrentMode(), sim::BootDrive::Mode::kFirmware);
    float version = 0.0f;
    std::memcpy(&version, &firmware.Table().Find(92)->value, sizeof version);
    EXPECT_EQ(version, 2.25f);
    EXPECT_EQ(firmware.Table().version, 45u);
    // The new firmware does not ask for its loader again.
    EXPECT_EQ(firmware.Table().Find(sim::kLoaderStartParameter)->value, 0u);
}

}  // namespace
