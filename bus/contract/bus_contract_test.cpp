// The bus contract over both buses: values, texts and blocks, errors with
// their codes and categories, the device table with search and scan, the
// reply wait of a silent device, and a device or bus going away. Each bus
// runs against its virtual drive on the virtual clock; the one intended
// difference between them, what a success does to the last error, is the
// bus's named policy and is checked here too.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bus/base/device_kind.h"
#include "bus/can/can_peak.h"
#include "bus/can/tests/can_fixture.h"
#include "bus/serial/striowin.h"
#include "bus/serial/tarn_bus.h"
#include "bus/serial/tests/serial_fixture.h"
#include "platform/system/clock.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/serial_port.h"
#include "platform/testing/memory_serial_line.h"

namespace {

// An error a bus gives, with the category it counts in (-1: none).
struct BusError {
    int code;
    int category;
};

// The serial bus on the in-memory line, its drive at address 3.
class SerialBusEnvironment {
public:
    static constexpr const char* kName = "RS232";
    static constexpr int kAddress = 3;
    static constexpr int kValueParameter = bustest::kWritableParameter;
    static constexpr int kTextParameter = bustest::kTextParameter;
    static constexpr const char* kText = "Motor A";
    static constexpr int kArrayParameter = bustest::kArrayParameter;
    static constexpr int kMissingParameter = 998;
    static constexpr uint16_t kTypeNumber = bustest::kTypeNumber;
    static constexpr float kVersion = 5.0f;
    static constexpr BusError kClosed{kTarnBusClosed, -1};
    static constexpr BusError kNoRecord{kTarnNoDeviceRecord, -1};
    static constexpr BusError kRefused{kTarnCanceled, 12};
    static constexpr BusError kNoReply{kSerioNoReply, 7};
    static constexpr BusError kOpenFailed{kTarnPlausibility, 6};
    // Three tries of 850 ms for a reply that never starts.
    static constexpr uint32_t kReplyWaitMs = 3 * 850;
    static constexpr LastErrorOnSuccess kPolicy = LastErrorOnSuccess::kCleared;

    SerialBusEnvironment() : drive_(bustest::StandardTable(), kAddress) {
        platform::SetSerialPortOpener(line_.Opener("COM1"));
        drive_.AttachTo(line_);
    }
    ~SerialBusEnvironment() {
        CloseSerio(false);
        platform::SetSerialPortOpener(nullptr);
    }

    std::unique_ptr<DataBus> Open() { return std::make_unique<TarnBus>(1, 9600); }
    // A port that does not exist.
    std::unique_ptr<DataBus> OpenFailing() { return std::make_unique<TarnBus>(2, 9600); }
    void Silence() { drive_.Detach(); }
    bool LineHeld() { return line_.HostPortOpen(); }

private:
    platform::MemorySerialLine line_;
    sim::VirtualDrive drive_;
};

// The CANopen bus on the virtual CAN adapter, its worker stepped by the
// bus's own waits, the drive as node 3.
class CanBusEnvironment {
public:
    static constexpr const char* kName = "CANOpen";
    static constexpr int kAddress = 3;
    static constexpr int kValueParameter = cantest::kValueParameter;
    static constexpr int kTextParameter = cantest::kTextParameter;
    static constexpr const char* kText = "Axis one";
    static constexpr int kArrayParameter = cantest::kArrayParameter;
    static constexpr int kMissingParameter = 998;
    static constexpr uint16_t kTypeNumber = cantest::kTypeNumber;
    static constexpr float kVersion = 31.0f;
    static constexpr BusError kClosed{kCanErrorNotOpen, 4};
    static constexpr BusError kNoRecord{kCanErrorNoDeviceRecord, 1};
    static constexpr BusError kRefused{kCanErrorNoObject, 10};
    static constexpr BusError kNoReply{kCanErrorSdoTimeout, 7};
    static constexpr BusError kOpenFailed{kCanErrorAdapter, 5};
    static constexpr uint32_t kReplyWaitMs = kSdoReplyTimeoutMs;
    static constexpr LastErrorOnSuccess kPolicy = LastErrorOnSuccess::kKept;

    CanBusEnvironment() : node_(cantest::StandardTable(), kAddress) {
        sim::RegisterVirtualCanAdapter();
        node_.AttachTo(sim::TheVirtualCanBus());
    }

    std::unique_ptr<DataBus> Open() {
        const CanAdapterSettings settings = cantest::Settings();
        return std::make_unique<CCanOpenTarn>(cantest::kOwnNode, &settings, CanWorkerMode::kStepped);
    }
    // No driver library for the adapter.
    std::unique_ptr<DataBus> OpenFailing() {
        platform::UnregisterModule(kUsbAdapterLibrary);
        const CanAdapterSettings settings = cantest::Settings();
        return std::make_unique<CCanOpenTarn>(cantest::kOwnNode, &settings, CanWorkerMode::kStepped);
    }
    void Silence() { node_.AddFault(sim::CanFault::Silence().Times(sim::kForever)); }
    bool LineHeld() { return CCanOpenTarn::GetDriverSettings() != nullptr; }

private:
    sim::CanDriveNode node_;
};

template <typename Environment>
class BusContract : public ::testing::Test {
protected:
    using Env = Environment;

    DataBus& OpenWithDevice() {
        bus_ = env_.Open();
        EXPECT_TRUE(bus_->IsOpen());
        bus_->AddDevice(Env::kAddress, Env::kTypeNumber, Env::kVersion);
        return *bus_;
    }
    // Checks the last error and that it was counted once in its category.
    void ExpectError(const BusError& error, const char* what) {
        EXPECT_EQ(bus_->GetLastError(), error.code) << what;
        uint32_t counted = 0;
        for (int category = 0; category < kErrorCategoryCount; ++category) counted += bus_->GetCategoryCount(category);
        if (error.category < 0) {
            EXPECT_EQ(counted, 0u) << what;
        } else {
            EXPECT_EQ(bus_->GetCategoryCount(error.category), 1u) << what;
            EXPECT_EQ(bus_->GetLastCategory(), static_cast<uint32_t>(error.category)) << what;
        }
    }

    Environment env_;
    std::unique_ptr<DataBus> bus_;
};

using Buses = ::testing::Types<SerialBusEnvironment, CanBusEnvironment>;
class BusNames {
public:
    template <typename T>
    static std::string GetName(int) {
        return T::kName;
    }
};
TYPED_TEST_SUITE(BusContract, Buses, BusNames);

TYPED_TEST(BusContract, ValuesTextsAndBlocksComeBackAsWritten) {
    using Env = typename TestFixture::Env;
    DataBus& bus = this->OpenWithDevice();
    bus.ClearStatistics();

    ASSERT_TRUE(bus.WriteParameterValue(Env::kValueParameter, -1234, Env::kAddress));
    int32_t value = 0;
    ASSERT_TRUE(bus.ReadParameterValue(Env::kValueParameter, value, Env::kAddress));
    EXPECT_EQ(value, -1234);

    dstring text;
    ASSERT_TRUE(bus.ReadParameterText(Env::kTextParameter, text, Env::kAddress));
    EXPECT_STREQ(text.Text(), Env::kText);
    ASSERT_TRUE(bus.WriteParameterText(Env::kTextParameter, "Spindle 2", Env::kAddress));
    ASSERT_TRUE(bus.ReadParameterText(Env::kTextParameter, text, Env::kAddress));
    EXPECT_STREQ(text.Text(), "Spindle 2");

    const uint16_t written[3] = {10, 20, 30};
    ASSERT_TRUE(bus.WriteBlock(Env::kArrayParameter, written, 5, 3, 2, Env::kAddress));
    uint16_t read[3] = {};
    uint16_t count = 3;
    ASSERT_TRUE(bus.ReadBlock(Env::kArrayParameter, read, 5, count, 2, Env::kAddress));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(read[0], 10);
    EXPECT_EQ(read[2], 30);

    // A read across the array's end gives the elements there are.
    uint16_t tail[4] = {};
    count = 4;
    ASSERT_TRUE(bus.ReadBlock(Env::kArrayParameter, tail, 38, count, 2, Env::kAddress));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(tail[0], 114);
    EXPECT_EQ(tail[1], 117);

    EXPECT_EQ(bus.GetLastError(), 0);
    EXPECT_EQ(BusRequestCounters.succeeded, 8u);
    EXPECT_EQ(BusRequestCounters.failed, 0u);
}

TYPED_TEST(BusContract, ARefusedRequestKeepsItsCodeCategoryAndText) {
    using Env = typename TestFixture::Env;
    DataBus& bus = this->OpenWithDevice();
    bus.ClearStatistics();
    int32_t value = 0;
    EXPECT_FALSE(bus.ReadParameterValue(Env::kMissingParameter, value, Env::kAddress));
    this->ExpectError(Env::kRefused, "refused");
    EXPECT_EQ(BusRequestCounters.failed, 1u);
    char key[32];
    std::snprintf(key, sizeof key, "%s_M%02d", Env::kName, Env::kRefused.code);
    // The test tree's message file has no bus texts, so the key comes back.
    EXPECT_STREQ(bus.GetErrorText(), key);

    // The named policy is the only difference in the bookkeeping.
    EXPECT_EQ(bus.GetLastErrorOnSuccess(), Env::kPolicy);
    ASSERT_TRUE(bus.ReadParameterValue(Env::kValueParameter, value, Env::kAddress));
    EXPECT_EQ(bus.GetLastError(), Env::kPolicy == LastErrorOnSuccess::kCleared ? 0 : Env::kRefused.code);
    EXPECT_EQ(BusRequestCounters.succeeded, 1u);
}

TYPED_TEST(BusContract, ASilentDeviceEndsAfterTheReplyWait) {
    using Env = typename TestFixture::Env;
    DataBus& bus = this->OpenWithDevice();
    bus.ClearStatistics();
    this->env_.Silence();
    int32_t value = 0;
    const uint64_t start = platform::TheClock().NowMs();
    EXPECT_FALSE(bus.ReadParameterValue(Env::kValueParameter, value, Env::kAddress));
    EXPECT_GE(platform::TheClock().NowMs() - start, Env::kReplyWaitMs);
    this->ExpectError(Env::kNoReply, "no reply");
}

TYPED_TEST(BusContract, SlotsWithoutADeviceRecordFailWithoutTraffic) {
    using Env = typename TestFixture::Env;
    DataBus& bus = this->OpenWithDevice();
    bus.ClearStatistics();
    bus.RemoveDevice(Env::kAddress);
    EXPECT_EQ(bus.GetDevice(Env::kAddress), nullptr);
    EXPECT_FALSE(bus.WriteParameterValue(Env::kValueParameter, 1, Env::kAddress));
    this->ExpectError(Env::kNoRecord, "no record");
    EXPECT_EQ(bus.GetDeviceKind(Env::kAddress), 0);
    EXPECT_EQ(bus.ReadDeviceState(Env::kAddress), kDeviceStateNoDevice);
}

TYPED_TEST(BusContract, SearchAndScanFillTheDeviceTable) {
    using Env = typename TestFixture::Env;
    DataBus& bus = *(this->bus_ = this->env_.Open());
    ASSERT_TRUE(bus.ConnectDevice(nullptr));
    ASSERT_NE(bus.GetDevice(Env::kAddress), nullptr);
    EXPECT_EQ(bus.GetDevice(Env::kAddress)->typeNumber, Env::kTypeNumber);
    EXPECT_FLOAT_EQ(bus.GetDevice(Env::kAddress)->version, Env::kVersion);
    EXPECT_EQ(bus.GetDeviceCount(), 1);

    bus.RemoveDevice(Env::kAddress);
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    ASSERT_TRUE(bus.CheckDevice(nullptr));
    ASSERT_NE(bus.GetDevice(Env::kAddress), nullptr);
    EXPECT_EQ(bus.GetDevice(Env::kAddress)->typeNumber, Env::kTypeNumber);
    EXPECT_EQ(bus.GetDeviceCount(), 1);
    EXPECT_EQ(bus.GetDeviceKind(Env::kAddress), DeviceKindFromTypeNumber(Env::kTypeNumber));
}

TYPED_TEST(BusContract, ABusThatDidNotOpenRefusesEverySlot) {
    using Env = typename TestFixture::Env;
    DataBus& bus = *(this->bus_ = this->env_.OpenFailing());
    EXPECT_FALSE(bus.IsOpen());
    this->ExpectError(Env::kOpenFailed, "open");
    bus.ClearStatistics();
    bus.AddDevice(Env::kAddress, Env::kTypeNumber, Env::kVersion);
    int32_t value = 0;
    EXPECT_FALSE(bus.ReadParameterValue(Env::kValueParameter, value, Env::kAddress));
    this->ExpectError(Env::kClosed, "closed");
    EXPECT_EQ(BusRequestCounters.failed, 1u);
}

TYPED_TEST(BusContract, ClosingTheBusReleasesTheLine) {
    this->OpenWithDevice();
    EXPECT_TRUE(this->env_.LineHeld());
    this->bus_.reset();
    EXPECT_FALSE(this->env_.LineHeld());
}

}  // namespace
