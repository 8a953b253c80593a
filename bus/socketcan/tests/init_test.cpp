// CAN_Init of the adapter libraries over the stand-in kernel: the timing
// words and their bit rates, the states an interface can be found in, where
// its name comes from, and the log line that tells a user what to run.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "bus/socketcan/adapter_results.h"
#include "bus/socketcan/tests/socket_fixture.h"
#include "platform/files/registry_store.h"
#include "testsupport/test_env.h"

namespace socketcan_test {
namespace {

using socketcan::kCanResultIllegalParameter;
using socketcan::kCanResultNoInterface;
using socketcan::kCanResultOk;
using Lines = std::vector<std::string>;

constexpr uint16_t k500k = 0x001C;
constexpr uint16_t k125k = 0x031C;

std::string Reason(int error) { return std::strerror(error); }

class InitTest : public SocketAdapterTest {};

TEST_F(InitTest, EachTimingWordBringsTheInterfaceUpAtItsBitRate) {
    const struct {
        uint16_t word;
        uint32_t bitrate;
    } cases[] = {{0x472F, 50000}, {0x031C, 125000}, {0x011C, 250000}, {0x001C, 500000}, {0x0014, 1000000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bitrate);
        System().SetLink(kDefaultInterface, StandInLink{});
        System().ClearCalls();
        ASSERT_EQ(socketcan::UsbInit(c.word, socketcan::kStandardFrames), kCanResultOk);
        EXPECT_TRUE(System().Link(kDefaultInterface).up);
        EXPECT_EQ(System().Link(kDefaultInterface).bitrate, c.bitrate);
        // The interface is left as it was found.
        EXPECT_EQ(socketcan::AdapterClose(), kCanResultOk);
        EXPECT_FALSE(System().Link(kDefaultInterface).up);
        EXPECT_EQ(System().Calls(), (Lines{"up can0 " + std::to_string(c.bitrate), "open can0", "close", "down can0"}));
    }
    EXPECT_EQ(AdapterLogLines(), Lines{});
}

TEST_F(InitTest, UnknownTimingWordsAndMessageTypesAreRefusedBeforeTheInterfaceIsTouched) {
    for (uint16_t word : {uint16_t{0x0000}, uint16_t{0x1234}, uint16_t{0x001D}}) {
        SCOPED_TRACE(word);
        EXPECT_EQ(socketcan::UsbInit(word, socketcan::kStandardFrames), kCanResultIllegalParameter);
    }
    EXPECT_EQ(socketcan::UsbInit(k500k, 1), kCanResultIllegalParameter);
    EXPECT_EQ(System().Calls(), Lines{});
    EXPECT_EQ(AdapterLogLines(),
              (Lines{"CAN adapter: timing word 0x0000 is no bit rate the adapter knows",
                     "CAN adapter: timing word 0x1234 is no bit rate the adapter knows",
                     "CAN adapter: timing word 0x001D is no bit rate the adapter knows",
                     "CAN adapter: message type 1 refused; it sends standard frames only (0)"}));
    CanMessage message;
    EXPECT_EQ(socketcan::AdapterRead(&message), socketcan::kCanResultNotInitialised);
}

TEST_F(InitTest, TheInterfaceIsUsedBroughtUpOrRefusedByItsState) {
    struct Case {
        const char* what;
        const char* name;
        bool present;
        StandInLink link;
        int openError;
        uint32_t result;
        Lines calls;
        Lines log;
        bool upAfterClose;
    };
    const std::string upCommand = "; as root: ip link set can0 up type can bitrate 500000";
    // clang-format off
    const Case cases[] = {
        {"down and configurable", "can0", true, {"can", false, 0, 0}, 0, kCanResultOk,
         {"up can0 500000", "open can0"}, {}, false},
        {"up at the rate", "can0", true, {"can", true, 500000, 0}, 0, kCanResultOk, {"open can0"}, {}, true},
        {"up at the rate as the clock allows", "can0", true, {"can", true, 498000, 0}, 0, kCanResultOk,
         {"open can0"}, {}, true},
        {"up without a rate reported", "can0", true, {"can", true, 0, 0}, 0, kCanResultOk, {"open can0"}, {}, true},
        {"up at another rate", "can0", true, {"can", true, 250000, 0}, 0, kCanResultNoInterface, {},
         {"CAN interface can0 is up at 250000 bit/s, not at the 500000 bit/s wanted; as root: ip link set can0 "
          "down; ip link set can0 up type can bitrate 500000"},
         true},
        {"down and not to be configured", "can0", true, {"can", false, 0, EPERM}, 0, kCanResultNoInterface,
         {"up can0 500000"},
         {"CAN interface can0 is down and could not be brought up at 500000 bit/s (" + Reason(EPERM) + ")" +
          upCommand},
         false},
        {"missing", "can0", false, {}, 0, kCanResultNoInterface, {},
         {"CAN interface can0 not found (" + Reason(ENODEV) +
          "); connect the adapter or name its interface in TORVAN_CAN_INTERFACE, and set it up at 500000 bit/s" +
          upCommand},
         false},
        {"no CAN interface", "eth0", true, {"veth", true, 0, 0}, 0, kCanResultNoInterface, {},
         {"CAN interface eth0 is no CAN interface (kind \"veth\"); name the adapter's interface in "
          "TORVAN_CAN_INTERFACE"},
         true},
        {"virtual and down", "vcan0", true, {"vcan", false, 0, 0}, 0, kCanResultOk, {"up vcan0", "open vcan0"}, {},
         false},
        {"virtual and up", "vcan0", true, {"vcan", true, 0, 0}, 0, kCanResultOk, {"open vcan0"}, {}, true},
        {"virtual and not to be configured", "vcan0", true, {"vcan", false, 0, EPERM}, 0, kCanResultNoInterface,
         {"up vcan0"},
         {"CAN interface vcan0 is down and could not be brought up at 500000 bit/s (" + Reason(EPERM) +
          "); as root: ip link set vcan0 up"},
         false},
        {"no CAN sockets, brought up", "can0", true, {"can", false, 0, 0}, EAFNOSUPPORT, kCanResultNoInterface,
         {"up can0 500000", "open can0", "down can0"},
         {"CAN interface can0 cannot be opened for 500000 bit/s (" + Reason(EAFNOSUPPORT) +
          "); the kernel needs its CAN socket support (can_raw)"},
         false},
        {"socket refused, found up", "can0", true, {"can", true, 500000, 0}, ENODEV, kCanResultNoInterface,
         {"open can0"}, {"CAN interface can0 cannot be opened for 500000 bit/s (" + Reason(ENODEV) + ")"}, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform_test::ScopedEnv interface(socketcan::kCanInterfaceVariable, c.name);
        StandInCanSystem system(sim::TheVirtualCanBus());
        if (c.present) system.SetLink(c.name, c.link);
        system.SetOpenError(c.openError);
        Adapter().UseSystem(&system);
        testsupport::ClearLoggedLines();

        EXPECT_EQ(socketcan::UsbInit(k500k, socketcan::kStandardFrames), c.result);
        EXPECT_EQ(system.Calls(), c.calls);
        EXPECT_EQ(AdapterLogLines(), c.log);
        Adapter().UseSystem(&System());
        EXPECT_EQ(system.Link(c.name).up, c.upAfterClose);
        if (c.present && c.link.bitrate != 0) {
            EXPECT_EQ(system.Link(c.name).bitrate, c.link.bitrate);
        }
    }
}

TEST_F(InitTest, TheInterfaceNameComesFromTheVariableThenTheStoreThenIsCan0) {
    struct Case {
        const char* variable;  // null: unset
        const char* stored;    // null: no value
        const char* used;
    };
    const Case cases[] = {
        {nullptr, nullptr, "can0"},
        {nullptr, "can3", "can3"},
        {"vcan7", "can3", "vcan7"},
        {"", "can3", "can3"},
        {nullptr, "", "can0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variable ? c.variable : "-") + " " + (c.stored ? c.stored : "-"));
        platform_test::ScopedEnv variable(socketcan::kCanInterfaceVariable, c.variable);
        platform::TheRegistry().DeleteKeyTree(socketcan::kCanSettingsKey);
        if (c.stored != nullptr) {
            ASSERT_EQ(
                platform::TheRegistry().SetValue(socketcan::kCanSettingsKey, socketcan::kCanInterfaceValue, c.stored),
                platform::RegistryStatus::kOk);
        }
        System().SetLink(c.used, StandInLink{"can", true, 125000, 0});
        System().ClearCalls();
        ASSERT_EQ(socketcan::UsbInit(k125k, socketcan::kStandardFrames), kCanResultOk);
        EXPECT_EQ(System().Calls(), Lines{"open " + std::string(c.used)});
        socketcan::AdapterClose();
    }

    // Names the kernel cannot have are refused before it is asked.
    for (const char* bad : {"can/0", "a_name_of_16_chr", "can 0", ".."}) {
        SCOPED_TRACE(bad);
        platform_test::ScopedEnv variable(socketcan::kCanInterfaceVariable, bad);
        System().ClearCalls();
        testsupport::ClearLoggedLines();
        EXPECT_EQ(socketcan::UsbInit(k125k, socketcan::kStandardFrames), kCanResultNoInterface);
        EXPECT_EQ(System().Calls(), Lines{});
        EXPECT_EQ(AdapterLogLines(),
                  Lines{"CAN interface name \"" + std::string(bad) +
                        "\" is no interface name; set TORVAN_CAN_INTERFACE to the adapter's "
                        "interface, for example can0"});
    }
}

TEST_F(InitTest, ASecondInitClosesTheFirstSoTheRateCanChange) {
    ASSERT_EQ(socketcan::UsbInit(k500k, socketcan::kStandardFrames), kCanResultOk);
    ASSERT_EQ(socketcan::UsbInit(k125k, socketcan::kStandardFrames), kCanResultOk);
    EXPECT_EQ(System().Calls(),
              (Lines{"up can0 500000", "open can0", "close", "down can0", "up can0 125000", "open can0"}));
    EXPECT_EQ(System().Link(kDefaultInterface).bitrate, 125000u);
}

TEST_F(InitTest, TheParallelPortLibraryLogsItsPortAndInterruptAndUsesTheSameInterface) {
    ASSERT_EQ(socketcan::ParallelInit(k125k, 0, kParallelHardwareType, 0x378, 7), kCanResultOk);
    EXPECT_EQ(System().Calls(), (Lines{"up can0 125000", "open can0"}));
    EXPECT_EQ(AdapterLogLines(),
              Lines{"CAN adapter on the parallel port (hardware type 5): I/O port 0x378 and "
                    "interrupt 7 are not used on Linux; it runs on interface can0"});
}

TEST_F(InitTest, TheVersionTextNamesTheLibraryItsVersionAndTheInterface) {
    char text[kCanVersionTextSize];
    {
        platform_test::ScopedEnv variable(socketcan::kCanInterfaceVariable, "vcan3");
        EXPECT_EQ(socketcan::UsbVersionInfo(text), kCanResultOk);
        EXPECT_STREQ(text, "libpcan_usb.so 1.0, SocketCAN interface vcan3");
        EXPECT_EQ(socketcan::ParallelVersionInfo(text), kCanResultOk);
        EXPECT_STREQ(text, "libpcan_dng.so 1.0, SocketCAN interface vcan3");
    }
    // Once open, the interface in use, whatever the setting says by now.
    ASSERT_EQ(socketcan::UsbInit(k125k, socketcan::kStandardFrames), kCanResultOk);
    platform_test::ScopedEnv variable(socketcan::kCanInterfaceVariable, "can9");
    socketcan::UsbVersionInfo(text);
    EXPECT_STREQ(text, "libpcan_usb.so 1.0, SocketCAN interface can0");

    // A name as long as a setting can make it stays within the text.
    const std::string longName(400, 'x');
    platform_test::ScopedEnv longVariable(socketcan::kCanInterfaceVariable, longName.c_str());
    socketcan::AdapterClose();
    socketcan::UsbVersionInfo(text);
    EXPECT_EQ(std::strlen(text), static_cast<size_t>(kCanVersionTextSize - 1));
    EXPECT_NE(socketcan::UsbSpecialFunction(0, 0), kCanResultOk);
}

}  // namespace
}  // namespace socketcan_test
