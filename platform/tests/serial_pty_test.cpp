// The POSIX serial port over a pseudo-terminal pair, on the real clock: the
// few tests that may wait, each for well under a second.
#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/system/serial_port.h"
#include "platform/system/serial_port_termios.h"
#include "platform/testing/pty_pair.h"
#include "testsupport/test_env.h"

namespace {

using platform::PtyPair;
using platform::SerialPort;
using platform::SerialSettings;

constexpr int kWaitMs = 1000;

class SerialPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(pair_.Open(&error)) << error;
    }

    std::unique_ptr<SerialPort> Open(const SerialSettings& settings) {
        std::string error;
        auto port = platform::OpenSerialPort(pair_.SlavePath(), &error);
        EXPECT_NE(port, nullptr) << error;
        if (port != nullptr) {
            EXPECT_TRUE(port->Configure(settings)) << port->LastErrorText();
        }
        return port;
    }

    // Reads until `count` bytes came, a read failed, or the wait ran out.
    static std::string Receive(SerialPort& port, size_t count) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            int waiting = port.BytesWaiting();
            if (waiting < 0) break;
            if (waiting == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            uint8_t buffer[256];
            int n = port.Read(buffer, std::min<int>(waiting, sizeof buffer));
            if (n < 0) break;
            got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
        }
        return got;
    }

    static int Send(SerialPort& port, const std::string& bytes) {
        return port.Write(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    }

    PtyPair pair_;
};

TEST_F(SerialPtyTest, OpensWithTheLineSettings) {
    struct Case {
        SerialSettings settings;
        bool odd, two_stop;
    } cases[] = {
        {{9600, 7, 'e', 1}, false, false},
        {{28800, 8, 'N', 2}, false, true},
        {{115200, 5, 'O', 1}, true, false},
        {{1200, 6, 'E', 2}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.baud);
        auto port = Open(c.settings);
        ASSERT_NE(port, nullptr);
        struct termios t {};
        ASSERT_TRUE(pair_.SlaveAttributes(&t));
        // A pseudo-terminal keeps 8 bits without parity whatever it is told;
        // the rest of the framing it keeps.
        EXPECT_EQ((t.c_cflag & PARODD) != 0, c.odd);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.two_stop);
        EXPECT_NE(t.c_cflag & CREAD, 0u);
        EXPECT_NE(t.c_cflag & CLOCAL, 0u);
        EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
        // The check character may be XON, XOFF, CR or LF: nothing may map or eat it.
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(t.c_cc[VMIN], 0);
        EXPECT_EQ(t.c_cc[VTIME], 0);
        EXPECT_EQ(pair_.SlaveBaud(), c.settings.baud);
        EXPECT_EQ(port->Settings(), c.settings);
    }
    auto port = Open({9600, 7, 'E', 1});
    struct termios t {};
    ASSERT_TRUE(pair_.SlaveAttributes(&t));
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
}

TEST(SerialLineFlags, FramingGivesCharacterSizeParityAndStopBits) {
    struct Case {
        SerialSettings settings;
        uint32_t flags;
    } cases[] = {
        {{9600, 7, 'e', 1}, CS7 | PARENB},
        {{9600, 7, 'E', 1}, CS7 | PARENB},
        {{9600, 8, 'N', 2}, CS8 | CSTOPB},
        {{9600, 5, 'o', 1}, CS5 | PARENB | PARODD},
        {{9600, 6, 'n', 2}, CS6 | CSTOPB},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::LineControlFlags(c.settings), c.flags)
            << c.settings.data_bits << c.settings.parity << c.settings.stop_bits;
}

TEST_F(SerialPtyTest, BytesPassUnchangedBothWays) {
    auto port = Open({9600, 8, 'N', 1});
    ASSERT_NE(port, nullptr);
    const std::string bytes("\x04\x45\x02\x11\x13\r\n\x03\x7F\x00", 10);
    EXPECT_EQ(Send(*port, bytes), 10);
    EXPECT_EQ(pair_.ReadMaster(bytes.size(), kWaitMs), bytes);
    EXPECT_EQ(port->BytesPending(), 0);

    ASSERT_TRUE(pair_.WriteMaster(bytes));
    EXPECT_EQ(Receive(*port, bytes.size()), bytes);
    uint8_t byte;
    EXPECT_EQ(port->Read(&byte, 1), 0);  // nothing more: no wait, no failure
}

TEST_F(SerialPtyTest, HeldExclusivelyAndReopenable) {
    auto port = Open({9600, 7, 'E', 1});
    ASSERT_NE(port, nullptr);
    std::string error;
    EXPECT_EQ(platform::OpenSerialPort(pair_.SlavePath(), &error), nullptr);
    EXPECT_EQ(error, "Device or resource busy");

    port.reset();
    port = Open({19200, 7, 'E', 1});
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(Send(*port, "ok"), 2);
    EXPECT_EQ(pair_.ReadMaster(2, kWaitMs), "ok");
    ASSERT_TRUE(pair_.WriteMaster("in"));
    EXPECT_EQ(Receive(*port, 2), "in");
}

TEST_F(SerialPtyTest, RefusedSettingsReleaseThePort) {
    std::string error;
    auto port = platform::OpenSerialPort(pair_.SlavePath(), &error);
    ASSERT_NE(port, nullptr) << error;
    EXPECT_FALSE(port->Configure({9600, 4, 'E', 1}));
    EXPECT_EQ(port->LastErrorText(), "data bits 4: Invalid argument");
    EXPECT_EQ(port->BytesWaiting(), -1);
    EXPECT_NE(Open({9600, 7, 'E', 1}), nullptr);
}

TEST_F(SerialPtyTest, PortNamesGoThroughTheMap) {
    const std::string map = "COM7=" + pair_.SlavePath();
    ASSERT_EQ(setenv("TORVAN_COMMAP", map.c_str(), 1), 0);
    std::string error;
    auto port = platform::OpenSerialPort("COM7", &error);
    std::string missing_error;
    auto missing = platform::OpenSerialPort("COM8", &missing_error);
    unsetenv("TORVAN_COMMAP");
    EXPECT_NE(port, nullptr) << error;
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(missing_error, "No such file or directory");
}

TEST_F(SerialPtyTest, OnlyTerminalsOpen) {
    std::string path = testsupport::RuntimePath("TMP/plain.txt").string();
    testsupport::WriteFile(path, "x");
    std::string error;
    EXPECT_EQ(platform::OpenSerialPort(path, &error), nullptr);
    EXPECT_EQ(error, "Inappropriate ioctl for device");
    EXPECT_EQ(platform::OpenSerialPort("/dev/no-such-tty", &error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
}

TEST_F(SerialPtyTest, HangupIsAFailedReadNotSilence) {
    auto port = Open({9600, 7, 'E', 1});
    ASSERT_NE(port, nullptr);
    pair_.Hangup();
    EXPECT_EQ(port->BytesWaiting(), -1);
    EXPECT_EQ(port->LastErrorText(), "Input/output error");
    uint8_t byte;
    EXPECT_EQ(port->Read(&byte, 1), -1);
}

}  // namespace
