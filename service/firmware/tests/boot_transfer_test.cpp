// The cold start's first steps against the virtual drive's boot ROM: the
// synchronisation, the chip's identification, the 32-byte booter and the
// loader as one raw block.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/clock.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/tests/firmware_fixture.h"
#include "service/firmware/transfer_codes.h"
#include "sim/boot_drive.h"

namespace fwtest {
namespace {

using sim::BootFault;
using sim::BootStage;

constexpr int32_t kBootBaud = 19200;
constexpr int kChipCode = 3;
constexpr uint8_t kChipByte = 0xC5;
// Longer than 0x400 bytes take at 19200 baud.
constexpr uint32_t kDrainMs = 1000;

class BootTransferTest : public FirmwareTest {
protected:
    sim::BootDrive& Drive(uint8_t chipByte = kChipByte) {
        sim::BootDriveSetup setup;
        setup.chip_identification = chipByte;
        setup.bootstrap_baud = kBootBaud;
        drive_ = std::make_unique<sim::BootDrive>(setup);
        drive_->AttachTo(line_);
        return *drive_;
    }
    int Booter(const std::string& file, bool compare = false) {
        return SendBooter(file, kPort, kBootBaud, kChipCode, true, compare);
    }
    // Lets what is still on the line arrive.
    void Drain() {
        platform::TheVirtualClock()->AdvanceMs(kDrainMs);
        line_.Service();
    }

    std::unique_ptr<sim::BootDrive> drive_;
};

TEST_F(BootTransferTest, SyncChipByteAndExactlyTheBooter) {
    const std::vector<uint8_t> booter = Counting(32, 0xE0);
    WriteFile("boot.hx", BooterText(booter));
    sim::BootDrive& drive = Drive();
    EXPECT_EQ(Booter("boot.hx", true), kTransferSuccess);
    Drain();
    EXPECT_EQ(drive.Capture().ToDrive(), std::string(1, '\0') + std::string(booter.begin(), booter.end()));
    EXPECT_EQ(drive.Capture().FromDrive(), std::string(1, static_cast<char>(kChipByte)));
    EXPECT_EQ(drive.Rom().Booter(), booter);
    EXPECT_EQ(drive.Rom().CurrentPhase(), sim::BootRom::Phase::kLoaderImage);
}

TEST_F(BootTransferTest, BadBooterFilesNeverReachTheChip) {
    const std::vector<uint8_t> booter = Counting(32, 0);
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"31 bytes", BooterText(Counting(31, 0))},
        {"33 bytes", BooterText(Counting(33, 0))},
        {"odd line", BooterText(booter) + "0\n"},
        {"no hexadecimal digits", BooterText(booter).replace(3, 2, "0g")},
        {"sign", BooterText(booter).replace(3, 2, "-1")},
    };
    for (const auto& c : cases) {
        WriteFile("boot.hx", c.text);
        sim::BootDrive& drive = Drive();
        EXPECT_EQ(Booter("boot.hx"), booter_code::kBadFile) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kBooter), "FLM_035") << c.what;
        Drain();
        EXPECT_TRUE(drive.Capture().Bytes().empty()) << c.what;
    }
    sim::BootDrive& drive = Drive();
    EXPECT_EQ(Booter("none.hx"), booter_code::kFileNotOpened);
    EXPECT_EQ(TransferText(TransferFamily::kBooter), "FLM_034");
    EXPECT_TRUE(drive.Capture().Bytes().empty());
}

TEST_F(BootTransferTest, ChipIdentification) {
    const struct {
        const char* what;
        uint8_t chipByte;
        std::vector<BootFault> faults;
        bool compare;
        int code;
        const char* text;
    } cases[] = {
        {"silent chip",
         kChipByte,
         {BootFault::Silence(BootStage::kIdentification)},
         false,
         booter_code::kNoIdentification,
         "FLM_037"},
        {"other chip, compared", 0x55, {}, true, booter_code::kWrongChip, "FLM_033"},
        {"other chip, not compared", 0x55, {}, false, kTransferSuccess, ""},
    };
    WriteFile("boot.hx", BooterText(Counting(32, 0x10)));
    for (const auto& c : cases) {
        SetTransferText(TransferFamily::kBooter, "");
        sim::BootDrive& drive = Drive(c.chipByte);
        for (const BootFault& fault : c.faults) drive.AddFault(fault);
        EXPECT_EQ(Booter("boot.hx", c.compare), c.code) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kBooter), c.text) << c.what;
        Drain();
        EXPECT_EQ(drive.Rom().Booter().size(), c.code == kTransferSuccess ? 32u : 0u) << c.what;
    }
}

TEST_F(BootTransferTest, LoaderImageIsOneBlockOfTheImageSize) {
    const LoaderDeviceType& marlo = *FindLoaderDeviceType(1);  // 0x400 bytes
    // Addresses count from the lowest one; what the file leaves out is 0.
    WriteFile("load.hx",
              Lines({SegmentBase(0xF000),
                     DataRecord(0x0600, {1, 2}),
                     DataRecord(0x09FE, {3, 4}),
                     DataRecord(0x0700, {5}),
                     kEndRecord}));
    WriteFile("boot.hx", BooterText(Counting(32, 0x10)));
    sim::BootDrive& drive = Drive();
    ASSERT_EQ(Booter("boot.hx"), kTransferSuccess);
    EXPECT_EQ(SendLoaderImage("load.hx", kPort, kBootBaud, marlo), kTransferSuccess);
    EXPECT_EQ(TransferText(TransferFamily::kLoaderImage), "FLM_049");
    Drain();
    std::vector<uint8_t> expected(0x400, 0x00);
    expected[0] = 1;
    expected[1] = 2;
    expected[0x100] = 5;
    expected[0x3FE] = 3;
    expected[0x3FF] = 4;
    EXPECT_EQ(drive.Rom().LoaderImage(), expected);
    EXPECT_EQ(drive.Rom().CurrentPhase(), sim::BootRom::Phase::kDone);
}

TEST_F(BootTransferTest, BadLoaderFilesSendNothing) {
    const LoaderDeviceType& marlo = *FindLoaderDeviceType(1);
    std::string badChecksum = DataRecord(0x0000, {1});
    badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
    const struct {
        const char* what;
        std::string text;
        int code;
        const char* message;
    } cases[] = {
        {"span of 0x401 bytes",
         Lines({DataRecord(0x0000, {1}), DataRecord(0x0400, {2}), kEndRecord}),
         image_code::kOutsideImage,
         "Position 1024 beyond the loader"},
        // The record starts inside the image and runs past its end.
        {"record past the end",
         Lines({DataRecord(0x0000, {1}), DataRecord(0x03FF, {2, 3}), kEndRecord}),
         image_code::kOutsideImage,
         "Position 1024 beyond the loader"},
        // A file that is no sound Intel-HEX file is refused before the port
        // opens, naming its line.
        {"checksum error", Lines({badChecksum, kEndRecord}), image_code::kMalformedFile, "load.hx line 1: FLM_060"},
        {"record type 3",
         Lines({Record(0x03, 0, {0, 0, 0, 0}), kEndRecord}),
         image_code::kMalformedFile,
         "load.hx line 1: type 3"},
        {"no end record", Lines({DataRecord(0x0000, {1})}), image_code::kMalformedFile, "load.hx line 2: FLM_064"},
    };
    for (const auto& c : cases) {
        WriteFile("load.hx", c.text);
        sim::BootDrive& drive = Drive();
        EXPECT_EQ(SendLoaderImage("load.hx", kPort, kBootBaud, marlo), c.code) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kLoaderImage), c.message) << c.what;
        Drain();
        EXPECT_TRUE(drive.Capture().Bytes().empty()) << c.what;
    }
    EXPECT_EQ(SendLoaderImage("none.hx", kPort, kBootBaud, marlo), image_code::kScanFileNotOpened);
    EXPECT_EQ(TransferText(TransferFamily::kLoaderImage), "FLM_051");
}

}  // namespace
}  // namespace fwtest
