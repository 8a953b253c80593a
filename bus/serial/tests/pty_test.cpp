// The serial bus over a pseudo-terminal on the real clock: the line settings
// the port gets, one read and one write through a virtual drive, and a port
// closed and opened again.
#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "bus/serial/striowin.h"
#include "bus/serial/tarn_bus.h"
#include "bus/serial/tests/serial_fixture.h"
#include "platform/system/clock.h"
#include "platform/testing/pty_pair.h"
#include "sim/pty_drive_link.h"

namespace bustest {
namespace {

constexpr unsigned kPtyPort = 7;
constexpr int kAddress = 5;

class PtySerial : public ::testing::Test {
protected:
    void SetUp() override {
        platform::InstallClock(nullptr);
        std::string error;
        ASSERT_TRUE(pair_.Open(&error)) << error;
        setenv("TORVAN_COMMAP", ("COM7=" + pair_.SlavePath()).c_str(), 1);
    }
    void TearDown() override {
        CloseSerio(false);
        unsetenv("TORVAN_COMMAP");
    }

    platform::PtyPair pair_;
};

// A pseudo-terminal always reports eight data bits without parity, so the
// framing shows here through the stop bits and the rate; the in-memory line
// garbles every character sent with other settings than the drive's 7E1.
TEST_F(PtySerial, PortGetsItsLineSettings) {
    const struct {
        int32_t baud;
        int stopBits;
        char parity;
    } cases[] = {{19200, 1, 'e'}, {4800, 2, 'O'}};
    for (const auto& c : cases) {
        ASSERT_EQ(iInitSerio(kPtyPort, c.baud, 7, c.stopBits, c.parity), 0) << c.baud;
        struct termios attributes {};
        ASSERT_TRUE(pair_.SlaveAttributes(&attributes));
        EXPECT_EQ((attributes.c_cflag & CSTOPB) != 0, c.stopBits == 2) << c.baud;
        EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG), 0u) << c.baud;
        EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF | ICRNL), 0u) << c.baud;
        EXPECT_EQ(attributes.c_oflag & OPOST, 0u) << c.baud;
        EXPECT_EQ(attributes.c_cc[VMIN], 0) << c.baud;
        EXPECT_EQ(attributes.c_cc[VTIME], 0) << c.baud;
        EXPECT_EQ(pair_.SlaveBaud(), c.baud);
    }
}

// Waits, bounded, until the drive's side has taken `bytes` bytes.
bool WaitUntilTaken(const sim::PtyDriveLink& link, size_t bytes) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (link.BytesTaken() < bytes && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return link.BytesTaken() == bytes;
}

TEST_F(PtySerial, ReadWriteAndReopen) {
    const std::string readExchange =
        "\x04"
        "E20091\x05\x04";
    const std::string writeExchange =
        "\x04"
        "E\x02"
        "20123=1F4\x03\x4F\x04";
    sim::VirtualDrive drive(StandardTable(), kAddress);
    sim::PtyDriveLink link(pair_);
    link.Add(&drive);
    link.Start();
    {
        TarnBus bus(kPtyPort, 9600);
        ASSERT_TRUE(bus.IsOpen());
        bus.AddDevice(kAddress, kTypeNumber, 5.0f);
        int32_t value = 0;
        ASSERT_TRUE(bus.ReadParameterValue(kValueParameter, value, kAddress));
        EXPECT_EQ(value, 5000);
        ASSERT_TRUE(bus.WriteParameterValue(kWritableParameter, 500, kAddress));

        ASSERT_TRUE(ExitTarnBus(true));
        // Opening purges the port's output. A pseudo-terminal reports its
        // output as sent at once, so the last EOT may still wait on the far
        // side; the reopen comes once the drive has taken every byte.
        ASSERT_TRUE(WaitUntilTaken(link, readExchange.size() + writeExchange.size()));
        ASSERT_EQ(InitTarnBus(kPtyPort, 9600, 0), 0);
        ASSERT_TRUE(bus.ReadParameterValue(kWritableParameter, value, kAddress));
        EXPECT_EQ(value, 500);
    }
    // The link stops once it has taken the last EOT.
    const std::string expected = readExchange + writeExchange +
                                 "\x04"
                                 "E20123\x05\x04";
    EXPECT_TRUE(WaitUntilTaken(link, expected.size()));
    link.Stop();
    EXPECT_EQ(Hex(drive.Capture().ToDrive()), Hex(expected));
}

}  // namespace
}  // namespace bustest
