// Device search over the baud rates and the network scan of addresses 1..30,
// against virtual drives on the in-memory line and the virtual clock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/services/basic_slider.h"
#include "bus/serial/tarn_bus.h"
#include "bus/serial/tests/serial_fixture.h"

namespace bustest {
namespace {

class RecordingSlider : public BasicSlider {
public:
    void SetMinimum(unsigned) override {}
    void SetMaximum(unsigned n) override { maximum = static_cast<int>(n); }
    void SetStep(unsigned) override {}
    void SetValue(unsigned value) override { values.push_back(static_cast<int>(value)); }
    void StepIt() override {}
    void StepBy(unsigned) override {}
    int GetValue() override { return values.empty() ? 0 : values.back(); }
    int GetMinimum() override { return 0; }
    int GetMaximum() override { return maximum; }
    int GetStep() override { return 1; }

    int maximum = -1;
    std::vector<int> values;
};

class Search : public SerialLineTest {
protected:
    void TearDown() override { bus_.reset(); }
    TarnBus& OpenBus(int32_t baud = 9600) {
        bus_ = std::make_unique<TarnBus>(1, baud);
        EXPECT_TRUE(bus_->IsOpen());
        return *bus_;
    }
    // Whether the device at `address` answers through the bus as it is now.
    bool Answers(int address) {
        int32_t value = 0;
        return bus_->ReadParameterValue(kValueParameter, value, address) && value == 5000;
    }

    std::unique_ptr<TarnBus> bus_;
    RecordingSlider slider_;
};

TEST_F(Search, FindsTheDeviceAtAnotherRate) {
    AddDrive(7, 19200);
    TarnBus& bus = OpenBus(9600);
    ASSERT_TRUE(bus.ConnectDevice(&slider_));
    EXPECT_EQ(bus.GetLastError(), 0);
    EXPECT_EQ(bus.GetBaudRate(), 19200u);
    EXPECT_STREQ(bus.GetSettingsText().Text(), "19200 Baud");
    EXPECT_EQ(bus.GetDeviceCount(), 1);
    ASSERT_NE(bus.GetDevice(7), nullptr);
    EXPECT_EQ(bus.GetDevice(7)->typeNumber, kTypeNumber);
    EXPECT_FLOAT_EQ(bus.GetDevice(7)->version, 5.0f);
    EXPECT_EQ(TelegramTryCount, 3);
    EXPECT_EQ(slider_.maximum, 8);
    // 57600, 115200 and 9600 stay silent; 19200 is the fourth rate.
    EXPECT_EQ(slider_.values, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(Answers(7));
}

TEST_F(Search, ReadsTheVersionParameterWhenTheVersionRegisterFails) {
    sim::VirtualDrive& drive = AddDrive(3);
    sim::DriveParameter version;
    version.number = 92;
    version.name = "FWVER";
    version.value = 120;
    drive.Table().Put(version);
    drive.AddFault(sim::DriveFault::Nak(0).For("00092").Times(sim::kForever));
    TarnBus& bus = OpenBus();
    ASSERT_TRUE(bus.ConnectDevice(nullptr));
    ASSERT_NE(bus.GetDevice(3), nullptr);
    EXPECT_FLOAT_EQ(bus.GetDevice(3)->version, 6.0f);
    EXPECT_EQ(bus.GetBaudRate(), 9600u);
}

TEST_F(Search, AnEmptyLineGives29AndKeepsTheRate) {
    TarnBus& bus = OpenBus(9600);
    bus.AddDevice(4, kTypeNumber, 1.0f);
    EXPECT_FALSE(bus.ConnectDevice(&slider_));
    EXPECT_EQ(bus.GetLastError(), 29);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    EXPECT_EQ(TelegramTryCount, 3);
    EXPECT_STREQ(bus.GetSettingsText().Text(), "9600 Baud");
    EXPECT_EQ(slider_.values, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    EXPECT_FALSE(bus.CheckDevice(&slider_));
    EXPECT_EQ(bus.GetLastError(), 29);
    EXPECT_EQ(TelegramTryCount, 3);

    // The port was left at the bus's own rate.
    AddDrive(4, 9600);
    bus.AddDevice(4, kTypeNumber, 1.0f);
    EXPECT_TRUE(Answers(4));
}

TEST_F(Search, ADeviceAddressBeyondTheTableIsNotRegistered) {
    sim::VirtualDrive& drive = AddDrive(5);
    const std::string reply = Frame('E', "00082=1F");
    drive.AddFault(sim::DriveFault::RawReply(std::vector<uint8_t>(reply.begin(), reply.end())).For("00082"));
    TarnBus& bus = OpenBus();
    EXPECT_FALSE(bus.ConnectDevice(nullptr));
    EXPECT_EQ(bus.GetLastError(), 14);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    EXPECT_EQ(TelegramTryCount, 3);
}

TEST_F(Search, ScanRegistersExactlyTheDevicesThatAnswer) {
    AddDrive(3);
    sim::VirtualDrive& seventeen = AddDrive(17);
    seventeen.Table().type_number = 5001;
    seventeen.Table().version = 60;
    TarnBus& bus = OpenBus();
    bus.AddDevice(9, kTypeNumber, 1.0f);  // from an earlier search
    ASSERT_TRUE(bus.CheckDevice(&slider_));
    EXPECT_EQ(bus.GetLastError(), 0);
    EXPECT_EQ(bus.GetDeviceCount(), 2);
    for (int address = 0; address <= kHighestDeviceAddress; ++address) {
        EXPECT_EQ(bus.GetDevice(address) != nullptr, address == 3 || address == 17) << address;
    }
    EXPECT_EQ(bus.GetDevice(17)->typeNumber, 5001);
    EXPECT_FLOAT_EQ(bus.GetDevice(17)->version, 3.0f);
    EXPECT_EQ(TelegramTryCount, 3);
    EXPECT_EQ(slider_.maximum, 30);
    EXPECT_EQ(slider_.values.size(), 31u);
    EXPECT_EQ(slider_.values.back(), 30);
    EXPECT_TRUE(Answers(17));
}

}  // namespace
}  // namespace bustest
