// The bus base: device table, device kinds and states, error counters and
// error texts, with a bus whose value reads come from a table.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/services/app_files.h"
#include "bus/base/basic_bus.h"
#include "bus/base/device_kind.h"
#include "testsupport/test_env.h"

namespace {

// A bus that answers value reads from a table and fails the others.
class TableBus : public DataBus {
public:
    TableBus() {
        name_.AssignText("RS232");
        open_ = true;
    }
    void SetLastError(uint16_t code) { lastError_ = code; }

    std::map<int, int32_t> values;
    int reads = 0;

    bool ReadParameterValue(int number, int32_t& value, int) override {
        ++reads;
        auto it = values.find(number);
        if (it == values.end()) return false;
        value = it->second;
        return true;
    }
    bool ReadBlock(int, void*, int, uint16_t&, int, int) override { return false; }
    bool ReadParameterText(int, dstring&, int) override { return false; }
    bool WriteBlock(int, const void*, int, uint16_t, int, int) override { return false; }
    bool WriteParameterText(int, const char*, int) override { return false; }
    bool WriteParameterValue(int, int32_t, int) override { return false; }
    bool ConnectDevice(BasicSlider*) override { return false; }
    bool CheckDevice(BasicSlider*) override { return false; }
    bool ReadParameterInfo(int, ParameterEntry&, bool&, int) override { return false; }
    const char* ReadValueText(int, uint8_t, dstring&, int) override { return nullptr; }
    bool ReadSampleBlock(uint8_t*, uint16_t&, bool&, int) override { return false; }
};

TEST(DeviceKind, FollowsTheThousandsDigitOfTheTypeNumber) {
    const struct {
        uint16_t type;
        int kind;
    } cases[] = {{0, 2},
                 {999, 2},
                 {1000, 6},
                 {2500, 7},
                 {3000, 3},
                 {4120, 4},
                 {5001, 5},
                 {6000, 1},
                 {7000, 1},
                 {8999, 1},
                 {9001, 8},
                 {10000, 1},
                 {65535, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DeviceKindFromTypeNumber(c.type), c.kind) << c.type;
    }
}

TEST(DeviceTable, RecordsLiveAtTheirAddressesAndAreCounted) {
    TableBus bus;
    EXPECT_TRUE(bus.AddDevice(0, 4120, 2.5f));
    EXPECT_TRUE(bus.AddDevice(30, 9001, 1.0f));
    EXPECT_TRUE(bus.AddDevice(30, 5001, 3.0f));  // replaces, not a second device
    EXPECT_EQ(bus.GetDeviceCount(), 2);
    ASSERT_NE(bus.GetDevice(30), nullptr);
    EXPECT_EQ(bus.GetDevice(30)->typeNumber, 5001);
    EXPECT_FLOAT_EQ(bus.GetDevice(30)->version, 3.0f);
    EXPECT_EQ(bus.GetDevice(30)->alias.Length(), 0);
    EXPECT_EQ(bus.GetDeviceKind(0), 4);
    EXPECT_EQ(bus.GetDeviceKind(1), 0);

    bus.RemoveDevice(0);
    EXPECT_EQ(bus.GetDevice(0), nullptr);
    EXPECT_EQ(bus.GetDeviceCount(), 1);
    bus.RemoveDevice(0);
    EXPECT_EQ(bus.GetDeviceCount(), 1);

    bus.ClearDevices();
    EXPECT_EQ(bus.GetDevice(30), nullptr);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
}

TEST(DeviceTable, AddressesOutsideTheTableAreNeverRegistered) {
    TableBus bus;
    for (int address : {-1, 31, 255}) {
        EXPECT_FALSE(bus.AddDevice(address, 4000, 1.0f)) << address;
        EXPECT_EQ(bus.GetDevice(address), nullptr);
        EXPECT_EQ(bus.GetDeviceKind(address), 0);
        EXPECT_EQ(bus.ReadDeviceState(address), kDeviceStateNoDevice);
    }
    EXPECT_EQ(bus.GetDeviceCount(), 0);
}

TEST(DeviceState, DependsOnTheKindAndOnTheRead) {
    const struct {
        uint16_t type;
        bool readable;
        int32_t value;
        uint16_t state;
    } cases[] = {
        {4000, true, 0x3ABC, 3},           // kind 4: bits 12..15
        {3000, true, 0x0001F000, 0xF},     // kind 3: nothing above bit 15
        {9000, true, 0x7000, 7},           // kind 8
        {5000, true, 0x12345678, 0x5678},  // kind 5: low 16 bits
        {1000, true, -1, 0xFFFF},          // kind 6
        {4000, false, 0, kDeviceStateReadFailed},
        {0, true, 5, kDeviceStateNoDevice},  // kind 2 has no state
        {7000, true, 5, kDeviceStateNoDevice},
    };
    for (const auto& c : cases) {
        TableBus bus;
        bus.AddDevice(2, c.type, 1.0f);
        if (c.readable) bus.values[kDeviceStateParameter] = c.value;
        EXPECT_EQ(bus.ReadDeviceState(2), c.state) << c.type;
    }
    TableBus empty;
    empty.values[kDeviceStateParameter] = 0;
    EXPECT_EQ(empty.ReadDeviceState(2), kDeviceStateNoDevice);
    EXPECT_EQ(empty.reads, 0);
}

TEST(BusStatistics, CategoriesAboveFifteenAreIgnored) {
    TableBus bus;
    bus.CountErrorCategory(7);
    bus.CountErrorCategory(7);
    bus.CountErrorCategory(15);
    bus.CountErrorCategory(16);
    EXPECT_EQ(bus.GetCategoryCount(7), 2u);
    EXPECT_EQ(bus.GetCategoryCount(15), 1u);
    EXPECT_EQ(bus.GetLastCategory(), 15u);

    BusRequestCounters.succeeded = 4;
    BusRequestCounters.failed = 2;
    bus.ClearStatistics();
    EXPECT_EQ(bus.GetCategoryCount(7), 0u);
    EXPECT_EQ(BusRequestCounters.succeeded, 0u);
    EXPECT_EQ(BusRequestCounters.failed, 0u);
}

class BusErrorText : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::WriteFile(testsupport::RuntimePath("bin/Torvan.ini"), "[Options]\r\nLanguage=1\r\n");
        testsupport::WriteFile(testsupport::RuntimePath("LANGUAGE/001/TORVAN.MSG"),
                               "[RS232-Messages]\r\nRS232_M05=Keine Antwort vom Geraet\r\n"
                               "RS232_M00=Kein Fehler\r\n");
        OpenApplicationFiles();
    }
    void TearDown() override {
        CloseApplicationFiles();
        std::filesystem::remove(testsupport::RuntimePath("bin/Torvan.ini"));
    }
    static std::string Log() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }
};

TEST_F(BusErrorText, LooksUpTheBusNamesSectionAndLogsTheText) {
    TableBus bus;
    bus.SetLastError(5);
    EXPECT_STREQ(bus.GetErrorText(), "Keine Antwort vom Geraet");
    EXPECT_NE(Log().find("\tBasicBus message: Keine Antwort vom Geraet\n\n"), std::string::npos) << Log();

    bus.SetLastError(0);
    EXPECT_STREQ(bus.GetErrorText(), "Kein Fehler");
}

TEST_F(BusErrorText, AMissingKeyGivesTheKeyAndOneSharedTextServesAllBuses) {
    TableBus first;
    TableBus second;
    first.SetLastError(29);
    const char* text = first.GetErrorText();
    EXPECT_STREQ(text, "RS232_M29");
    second.SetLastError(5);
    second.GetErrorText();
    EXPECT_STREQ(text, "Keine Antwort vom Geraet");
}

}  // namespace
