#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "bus/monitor/bus_monitors.h"
#include "bus/monitor/tests/monitor_fixture.h"
#include "bus/serial/tarn_bus.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace monitortest {
namespace {

class BusMonitorTest : public MonitorTest {
protected:
    // Opens the bus monitor and notes what its maximum-rate test measured.
    GwCore* OpenBusMonitor() {
        ClearCaptures();
        GwCore* window = OpenWindow(kBusMonitorWindow);
        testReads_ = RateTestReads();
        maximumRate_ = static_cast<double>(testReads_) / 4.0;
        return window;
    }
    // One update of the bus monitor now, as its timer would run it.
    static int Update(GwCore* window) { return gwtest::Fire(window->child("Monitor"), "timer"); }

    size_t testReads_ = 0;
    double maximumRate_ = 0.0;
};

TEST_F(BusMonitorTest, ShowingItNamesTheSerialBusAndMeasuresItsMaximumRate) {
    Activate();
    main_->GetSerialBus()->CountErrorCategory(3);
    const uint32_t start = Now();
    GwCore* window = OpenBusMonitor();
    GwCore* monitor = window->child("Monitor");
    EXPECT_TRUE(monitor->is_timer_running());
    EXPECT_EQ(monitor->timer_interval(), 2000u);
    EXPECT_EQ(Field(window, "BusName"), "RS232");
    EXPECT_EQ(Field(window, "BusBaud"), "9600 Baud");
    EXPECT_GT(testReads_, 0u);
    EXPECT_EQ(Requests().size(), testReads_);
    EXPECT_GE(Now() - start, 4000u);
    EXPECT_EQ(Field(window, "MaxTel"), platform::Format("%0.2lf", maximumRate_));
    EXPECT_EQ(SliderValue(window, "LoadSlider"), 0.0);
    // The statistics were cleared before the test, which alone counted.
    EXPECT_EQ(main_->GetSerialBus()->GetCategoryCount(3), 0u);
    EXPECT_EQ(BusRequestCounters.succeeded, static_cast<uint32_t>(testReads_));
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
}

// The four-second test runs again only for another bus type or baud rate or
// after a device activation; each step below follows the one before.
TEST_F(BusMonitorTest, UpdatesMeasureAgainOnlyForANewActivationOrBaudRate) {
    Activate();
    GwCore* window = OpenBusMonitor();
    ASSERT_GT(maximumRate_, 0.0);
    struct Step {
        const char* name;
        std::function<void()> change;
        bool measured;
        const char* baud;
        std::string maximum;
    };
    // clang-format off
    const std::vector<Step> steps = {
        {"unchanged", [] {}, false, "9600 Baud", platform::Format("%0.2lf", maximumRate_)},
        {"device activated again",
         [this] { ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress)); }, true, "9600 Baud",
         ""},
        // Reopening the bus uncouples the device: nothing to measure.
        {"other baud rate", [this] { ASSERT_TRUE(main_->OpenTarnBus(19200, 1, true)); }, true,
         "19200 Baud", "0.00"},
    };
    // clang-format on
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        main_->GetSerialBus()->CountErrorCategory(2);
        step.change();
        ClearCaptures();
        EXPECT_EQ(Update(window), 1);
        const size_t reads = RateTestReads();
        EXPECT_EQ(reads > 0, step.measured && main_->HasOnlineDevice());
        EXPECT_EQ(Field(window, "BusBaud"), step.baud);
        // A measurement starts the bus's statistics afresh.
        EXPECT_EQ(Field(window, "Error2"), step.measured ? "0" : "1");
        const std::string maximum =
            step.maximum.empty() ? platform::Format("%0.2lf", static_cast<double>(reads) / 4.0) : step.maximum;
        EXPECT_EQ(Field(window, "MaxTel"), maximum);
    }
}

TEST_F(BusMonitorTest, UpdateShowsTheCategoriesTheRequestsTheRateAndTheLoad) {
    Activate();
    const uint32_t shown = Now();
    GwCore* window = OpenBusMonitor();
    TarnBus* bus = main_->GetSerialBus();
    EXPECT_EQ(Update(window), 1);
    const uint32_t first = Now();
    for (int category = 0; category < kErrorCategoryCount; ++category) {
        for (int n = 0; n < category + 10; ++n) bus->CountErrorCategory(static_cast<uint32_t>(category));
    }
    BusRequestCounters.failed = 7;
    ReadTypeNumber(20);
    AdvanceTo(first + 2000);
    for (int category = 1; category < kErrorCategoryCount; ++category)
        EXPECT_EQ(Field(window, platform::Format("Error%d", category)), std::to_string(category + 10)) << category;
    EXPECT_EQ(window->child("Error0"), nullptr);
    EXPECT_EQ(Field(window, "ErrorAll"), "7");
    EXPECT_EQ(Field(window, "OkAll"), std::to_string(testReads_ + 20));
    EXPECT_EQ(Field(window, "BusTax"), "10.00");
    EXPECT_EQ(Field(window, "Time"), platform::Format("%0.2lf", (first + 2000 - shown) / 1000.0));
    EXPECT_DOUBLE_EQ(SliderValue(window, "LoadSlider"), 10.0 / maximumRate_ * 100.0);
}

TEST_F(BusMonitorTest, ReInitClearsTheBusStatisticsAndTheTime) {
    Activate();
    GwCore* window = OpenBusMonitor();
    TarnBus* bus = main_->GetSerialBus();
    ReadTypeNumber(3);
    bus->CountErrorCategory(4);
    BusRequestCounters.failed = 2;
    EXPECT_EQ(Update(window), 1);
    const uint32_t updated = Now();
    EXPECT_EQ(gwtest::Fire(std::string(kBusMonitorWindow) + "/ReInit", "activate"), 1);
    EXPECT_EQ(bus->GetCategoryCount(4), 0u);
    EXPECT_EQ(BusRequestCounters.succeeded, 0u);
    EXPECT_EQ(BusRequestCounters.failed, 0u);
    ReadTypeNumber(6);
    AdvanceTo(updated + 2000);
    EXPECT_EQ(Field(window, "Error4"), "0");
    EXPECT_EQ(Field(window, "ErrorAll"), "0");
    EXPECT_EQ(Field(window, "OkAll"), "6");
    EXPECT_EQ(Field(window, "BusTax"), "3.00");
    EXPECT_EQ(Field(window, "Time"), "2.00");
}

// With no maximum measured there is no load: the slider stays at 0 while
// requests pass.
TEST_F(BusMonitorTest, WithoutAnOnlineDeviceTheMaximumAndTheLoadAreZero) {
    AddDrive(maintest::kAddress);
    OpenSerialBus();
    BusTransferFlag = false;
    GwCore* window = OpenBusMonitor();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Field(window, "BusName"), "RS232");
    EXPECT_EQ(Field(window, "MaxTel"), "0.00");
    EXPECT_EQ(Update(window), 1);
    const uint32_t first = Now();
    BusRequestCounters.succeeded += 8;
    AdvanceTo(first + 2000);
    EXPECT_EQ(Field(window, "BusTax"), "4.00");
    EXPECT_EQ(SliderValue(window, "LoadSlider"), 0.0);
}

TEST_F(BusMonitorTest, AnUpdateWithoutAnActiveBusEmptiesTheBusAndCounterFields) {
    Activate();
    GwCore* window = OpenBusMonitor();
    main_->GetSerialBus()->CountErrorCategory(1);
    ReadTypeNumber(4);
    EXPECT_EQ(Update(window), 1);
    ASSERT_EQ(Field(window, "Error1"), "1");
    main_->CloseTarnBus();
    ASSERT_EQ(main_->GetActiveBus(), nullptr);
    gwtest::Advance(2000);
    for (int category = 1; category < kErrorCategoryCount; ++category)
        EXPECT_EQ(Field(window, platform::Format("Error%d", category)), "") << category;
    for (const char* name : {"ErrorAll", "OkAll", "BusTax", "BusName", "BusBaud"})
        EXPECT_EQ(Field(window, name), "") << name;
    EXPECT_EQ(Field(window, "MaxTel"), "0.00");
    EXPECT_EQ(SliderValue(window, "LoadSlider"), 0.0);
    EXPECT_FALSE(Field(window, "Time").empty());
}

// The maximum is kept for the bus: opening the window again shows it without
// reading for another four seconds.
TEST_F(BusMonitorTest, AWindowOpenedAgainOnTheSameBusShowsTheKeptMaximum) {
    Activate();
    GwCore* window = OpenBusMonitor();
    const std::string maximum = Field(window, "MaxTel");
    window->destroy();
    GwCore* again = OpenBusMonitor();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Field(again, "BusName"), "RS232");
    EXPECT_EQ(Field(again, "BusBaud"), "9600 Baud");
    EXPECT_EQ(Field(again, "MaxTel"), maximum);
    EXPECT_TRUE(again->child("Monitor")->is_timer_running());
}

TEST_F(BusMonitorTest, MaximumRateButtonMeasuresIntoMaxTel) {
    Activate();
    GwCore* window = OpenBusMonitor();
    ClearCaptures();
    EXPECT_EQ(gwtest::Fire(std::string(kBusMonitorWindow) + "/MaxTest", "activate"), 1);
    const size_t reads = RateTestReads();
    EXPECT_GT(reads, 0u);
    EXPECT_EQ(Field(window, "MaxTel"), platform::Format("%0.2lf", static_cast<double>(reads) / 4.0));
    DevicesUncoupled = true;
    ClearCaptures();
    EXPECT_EQ(gwtest::Fire(std::string(kBusMonitorWindow) + "/MaxTest", "activate"), 1);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Field(window, "MaxTel"), "0.00");
}

}  // namespace
}  // namespace monitortest
