// The adapter drivers against the virtual CAN adapter: loading the library,
// the timing words, the drain after initialising, sorting received frames
// into message objects, the monitor ring, sending and the version text.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "bus/can/can_peak.h"
#include "sim/can_bus.h"

namespace {

using sim::CanFrame;

sim::VirtualCanBus& Adapter() { return sim::TheVirtualCanBus(); }

CanAdapterSettings AtBaud(int32_t baudRate) {
    CanAdapterSettings settings;
    settings.baudRate = baudRate;
    return settings;
}

CanDataValues Values(std::initializer_list<uint32_t> bytes) {
    CanDataValues values{};
    std::copy(bytes.begin(), bytes.end(), values.begin());
    return values;
}

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override { sim::RegisterVirtualCanAdapter(); }
};

TEST_F(DriverTest, InitMapsTheBaudRateToItsTimingWordOrRefusesItBeforeAnyCall) {
    struct Case {
        int32_t baud;
        int result;
        uint16_t timing;  // 0: CAN_Init is not called
    };
    const Case cases[] = {
        {25000, kCanDriverBaudNotSupported, 0},
        {50000, kCanDriverOk, 0x472F},
        {75000, kCanDriverBaudNotSupported, 0},
        {125000, kCanDriverOk, 0x031C},
        {250000, kCanDriverOk, 0x011C},
        {500000, kCanDriverOk, 0x001C},
        {800000, kCanDriverBaudNotSupported, 0},
        {1000000, kCanDriverOk, 0x0014},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        Adapter().Reset();
        CCanPeakUSB driver;
        EXPECT_EQ(driver.Init(AtBaud(c.baud)), c.result);
        EXPECT_EQ(driver.GetSettings().baudRate, c.baud);
        const auto inits = Adapter().Inits();
        if (c.timing == 0) {
            EXPECT_TRUE(inits.empty());
        } else {
            ASSERT_EQ(inits.size(), 1u);
            EXPECT_TRUE(inits[0].usb);
            EXPECT_EQ(inits[0].timing, c.timing);
            EXPECT_EQ(inits[0].message_type, 0);
        }
    }
}

TEST_F(DriverTest, TheParallelPortAdapterIsGivenHardwareTypePortAndInterrupt) {
    CCanPeak driver;
    ASSERT_EQ(driver.InitBaud(500000), kCanDriverOk);
    CanAdapterSettings settings = AtBaud(250000);
    settings.ioPort = 0x278;
    settings.interrupt = 5;
    ASSERT_EQ(driver.Init(settings), kCanDriverOk);

    const auto inits = Adapter().Inits();
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_FALSE(inits[0].usb);
    EXPECT_EQ(inits[0].timing, 0x001C);
    EXPECT_EQ(inits[0].hardware_type, 5);
    EXPECT_EQ(inits[0].io_port, 0x378u);
    EXPECT_EQ(inits[0].interrupt, 7);
    EXPECT_EQ(inits[1].timing, 0x011C);
    EXPECT_EQ(inits[1].io_port, 0x278u);
    EXPECT_EQ(inits[1].interrupt, 5);
}

TEST_F(DriverTest, InitDrainsWhatWaitedInTheAdapterAndReportsAFailedInit) {
    CCanPeakUSB driver;
    driver.SetMessageObject(3, 0x181, 8, CanDataValues{});
    Adapter().Inject(CanFrame::Data(0x181, {1, 2}));
    Adapter().Inject(CanFrame::Data(0x701, {0x7F}));
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    EXPECT_EQ(Adapter().Waiting(), 0u);

    int length = 0;
    CanDataValues data{};
    uint32_t id = 0;
    EXPECT_FALSE(driver.ReadMessageObject(3, length, data));
    EXPECT_EQ(driver.ReadMonitorEntry(id, length, data), 0);

    Adapter().SetInitResult(0x0004);
    EXPECT_EQ(driver.Init(AtBaud(125000)), kCanDriverInitFailed);
}

TEST_F(DriverTest, AnAdapterThatNeverFallsSilentEndsTheDrainAndThePoll) {
    CCanPeakUSB driver;
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    Adapter().SetBabbling(true, CanFrame::Data(0x181, {9}));
    const int before = Adapter().Reads();
    EXPECT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    EXPECT_EQ(Adapter().Reads() - before, kMaxFramesPerPoll);

    driver.SetMessageObject(3, 0x181, 8, CanDataValues{});
    int length = 0;
    CanDataValues data{};
    EXPECT_TRUE(driver.ReadMessageObject(3, length, data));
    EXPECT_EQ(data[0], 9u);
}

TEST_F(DriverTest, WithoutTheLibraryOrOneOfItsFunctionsTheDriverIsInert) {
    struct Case {
        bool registered;
        const char* omit;
        bool usb;
    };
    const Case cases[] = {
        {false, "", true},
        {false, "", false},
        {true, "CAN_Status", true},
        {true, "CAN_Read", false},
        {true, "CAN_SpecialFunktion", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.omit) + (c.usb ? " usb" : " parallel"));
        platform::UnregisterModule(kUsbAdapterLibrary);
        platform::UnregisterModule(kParallelAdapterLibrary);
        Adapter().Reset();
        if (c.registered) sim::RegisterVirtualCanAdapter(c.omit);
        std::unique_ptr<CanAdapterDriver> driver;
        if (c.usb) {
            driver = std::make_unique<CCanPeakUSB>();
        } else {
            driver = std::make_unique<CCanPeak>();
        }
        EXPECT_FALSE(driver->LibraryLoaded());
        EXPECT_EQ(driver->Init(AtBaud(125000)), kCanDriverNoLibrary);
        EXPECT_FALSE(driver->IsBusOff());
        driver->SetMessageObject(10, 0x601, 8, CanDataValues{});
        driver->SendMessageObject(10);
        int length = 0;
        CanDataValues data{};
        uint32_t id = 0;
        EXPECT_FALSE(driver->ReadMessageObject(10, length, data));
        EXPECT_EQ(driver->ReadMonitorEntry(id, length, data), 0);
        char version[kCanVersionTextSize] = "untouched";
        driver->GetVersionInfo(version);
        EXPECT_STREQ(version, "");
        driver.reset();
        EXPECT_TRUE(Adapter().Inits().empty());
        EXPECT_TRUE(Adapter().Capture().empty());
        EXPECT_EQ(Adapter().Closes(), 0);
    }
    // The parallel-port library does without the special function.
    platform::UnregisterModule(kParallelAdapterLibrary);
    sim::RegisterVirtualCanAdapter("CAN_SpecialFunktion");
    EXPECT_TRUE(CCanPeak().LibraryLoaded());
}

TEST_F(DriverTest, AFrameFillsEveryObjectWithItsIdentifierAndNoOther) {
    CCanPeakUSB driver;
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    driver.SetMessageObject(3, 0x181, 8, CanDataValues{});
    driver.SetMessageObject(6, 0x181, 8, CanDataValues{});
    driver.SetMessageObject(7, 0x281, 8, CanDataValues{});
    driver.SetMessageObject(16, 0x181, 8, CanDataValues{});  // no such object
    Adapter().Inject(CanFrame::Data(0x181, {0x11, 0x22, 0x33}));
    Adapter().Inject(CanFrame::Data(0x555, {0xAA}));

    int length = 0;
    CanDataValues data{};
    ASSERT_TRUE(driver.ReadMessageObject(3, length, data));
    EXPECT_EQ(length, 3);
    EXPECT_EQ(data, Values({0x11, 0x22, 0x33, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(driver.ReadMessageObject(3, length, data)) << "taken once";
    ASSERT_TRUE(driver.ReadMessageObject(6, length, data));
    EXPECT_EQ(data[1], 0x22u);
    EXPECT_FALSE(driver.ReadMessageObject(7, length, data));
    EXPECT_FALSE(driver.ReadMessageObject(16, length, data));

    // Both frames are in the monitor ring, the one nobody waited for too.
    uint32_t id = 0;
    ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
    EXPECT_EQ(id, 0x181u);
    ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
    EXPECT_EQ(id, 0x555u);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(data[0], 0xAAu);
    EXPECT_EQ(driver.ReadMonitorEntry(id, length, data), 0);
}

TEST_F(DriverTest, TheMonitorRingHoldsNineUnreadFramesAndStartsAfreshOnTheTenth) {
    CCanPeakUSB driver;
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    for (uint32_t i = 0; i < 9; ++i) Adapter().Inject(CanFrame::Data(0x100 + i, {static_cast<uint8_t>(i)}));
    uint32_t id = 0;
    int length = 0;
    CanDataValues data{};
    for (uint32_t i = 0; i < 9; ++i) {
        ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
        EXPECT_EQ(id, 0x100 + i);
    }
    EXPECT_EQ(driver.ReadMonitorEntry(id, length, data), 0);
    EXPECT_EQ(driver.MonitorOverruns(), 0u);

    for (uint32_t i = 0; i < 10; ++i) Adapter().Inject(CanFrame::Data(0x200 + i, {}));
    EXPECT_EQ(driver.ReadMonitorEntry(id, length, data), 0);
    EXPECT_EQ(driver.MonitorOverruns(), 1u);
    Adapter().Inject(CanFrame::Data(0x300, {}));
    ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
    EXPECT_EQ(id, 0x300u);
}

TEST_F(DriverTest, SendingWritesTheObjectAsAFrameAndEntersItInTheMonitor) {
    CCanPeakUSB driver;
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    driver.SetMessageObject(10, 0x602, 8, Values({0x40, 0x5B, 0x20, 0x00, 0x1FF}));
    driver.SendMessageObject(10);
    driver.SetMessageObject(5, 0x701, kCanRemoteLengthFlag | 1, CanDataValues{});
    driver.SendMessageObject(5);
    driver.SendMessageObject(16);
    EXPECT_EQ(Adapter().Written(), (std::vector<std::string>{"602: 40 5B 20 00 FF 00 00 00", "701 r1"}));

    uint32_t id = 0;
    int length = 0;
    CanDataValues data{};
    ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
    EXPECT_EQ(id, 0x602u);
    EXPECT_EQ(length, 8);
    ASSERT_EQ(driver.ReadMonitorEntry(id, length, data), 1);
    EXPECT_EQ(id, 0x701u);
    EXPECT_EQ(length, 1);
}

TEST_F(DriverTest, BusOffIsTheLibrarysStatus0x10) {
    CCanPeakUSB driver;
    ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
    EXPECT_FALSE(driver.IsBusOff());
    Adapter().SetBusOff(true);
    EXPECT_TRUE(driver.IsBusOff());
    // A full receive queue is an overrun, not bus-off.
    Adapter().SetBusOff(false);
    Adapter().SetReceiveCapacity(1);
    Adapter().Inject(CanFrame::Data(0x181, {}));
    Adapter().Inject(CanFrame::Data(0x181, {}));
    EXPECT_FALSE(driver.IsBusOff());
}

TEST_F(DriverTest, VersionTextOfEachAdapter) {
    struct Case {
        bool usb;
        uint32_t libraryResult;
        const char* expected;
    };
    const Case cases[] = {
        {true, 0, "Adapter 2.4"},
        {true, 1, ""},
        // The parallel-port driver empties the text when the library succeeds.
        {false, 0, ""},
        {false, 1, "Adapter 2.4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.usb ? "usb" : "parallel");
        Adapter().SetVersionInfo("Adapter 2.4", c.libraryResult);
        std::unique_ptr<CCanDrvBase> driver;
        if (c.usb) {
            driver = std::make_unique<CCanPeakUSB>();
        } else {
            driver = std::make_unique<CCanPeak>();
        }
        char text[kCanVersionTextSize];
        std::strcpy(text, "old");
        driver->GetVersionInfo(text);
        EXPECT_STREQ(text, c.expected);
    }
}

TEST_F(DriverTest, DestroyingALoadedDriverClosesTheAdapter) {
    {
        CCanPeakUSB driver;
        ASSERT_EQ(driver.Init(AtBaud(125000)), kCanDriverOk);
        driver.Close();
        EXPECT_EQ(Adapter().Closes(), 1);
    }
    EXPECT_EQ(Adapter().Closes(), 2);
}

}  // namespace
