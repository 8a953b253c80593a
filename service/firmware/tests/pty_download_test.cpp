// A small download over a pseudo-terminal on the real clock: the port is
// closed and opened again at the line rate in the middle of it.
#include <string>
#include <vector>

#include "bus/serial/striowin.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "platform/testing/pty_pair.h"
#include "service/firmware/kelbo_main.h"
#include "service/firmware/tests/firmware_fixture.h"
#include "sim/pty_boot_link.h"

namespace fwtest {
namespace {

class PtyDownload : public FirmwareTest {
protected:
    void SetUp() override {
        FirmwareTest::SetUp();
        platform::InstallClock(nullptr);
        std::string error;
        ASSERT_TRUE(pair_.Open(&error)) << error;
    }

    platform::PtyPair pair_;
};

TEST_F(PtyDownload, ColdStartOfOskel) {
    std::string booter;
    for (int i = 0; i < 32; ++i) booter += platform::Format("%02X", i);
    WriteFile("Oskel_bt.hx", booter + "\n");
    WriteFile("ld.hx", Lines({DataRecord(0x0000, {0x11, 0x22}), kEndRecord}));
    WriteFile("fw.hex", Lines({DataRecord(0x0100, {1, 2, 3}), kEndRecord}));

    sim::BootDriveSetup setup;
    setup.chip_identification = 0x55;
    setup.loader_image_size = 0x2FA;
    setup.bootstrap_baud = 9600;
    setup.announce_delay_us = 20000;
    sim::BootDrive drive(setup);
    sim::PtyBootLink link(pair_, drive);
    platform::SetSerialPortOpener(link.Opener("COM7"));
    link.Start();

    std::vector<std::string> args = {
        "kelbo", "-d0", "-bb9600", "-bl115200", "-lld.hx", "-bOskel_bt.hx", "-p7", "-ffw.hex"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const char* result = KelboMain(static_cast<int>(args.size()), argv.data());
    link.Stop();

    EXPECT_EQ(result, nullptr) << result;
    EXPECT_EQ(drive.Rom().Booter().size(), 32u);
    EXPECT_EQ(drive.Rom().LoaderImage().size(), 0x2FAu);
    EXPECT_EQ(drive.Baud(), 115200);
    EXPECT_EQ(drive.Loader().FirmwareLines(), platform::SplitLines(ReadFile(kImageFileName)));
    EXPECT_EQ(drive.Loader().FlashBytes(0x100, 4, 0xFF), (std::vector<uint8_t>{1, 2, 3, 0xFF}));
    EXPECT_EQ(pair_.SlaveBaud(), 115200);
}

}  // namespace
}  // namespace fwtest
