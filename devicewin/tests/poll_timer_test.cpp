// The poll timer: interval by online state, baud rate, limits and poll-rate
// factor, the bounds of what the toolkit timer is given, and the start only
// for a visible widget.
#include "devicewin/poll_timer.h"

#include <gtest/gtest.h>

#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "toolkit/core/gw_frame.h"

namespace {

class OnlineHooks : public ServicesHooks {
public:
    const char* ActiveBusName() override { return "RS232"; }
    const char* ActiveBusErrorText() override { return ""; }
    ParaBase* ActiveParaBase() override { return nullptr; }
    ParaBase* WorkingParaBase() override { return nullptr; }
    const char* ParaBaseErrorText(ParaBase*) override { return ""; }
    bool ParaBaseHasBus(ParaBase*) override { return false; }
    bool IsParaWriteLockHeld() override { return false; }
    void UncoupleAllDevices() override {}
    bool HasOnlineDevice() override { return online; }
    uint32_t ActiveBusBaudRate() override { return baud; }

    bool online = true;
    uint32_t baud = 9600;
};

class PollTimerTest : public ::testing::Test {
protected:
    void SetUp() override { SetServicesHooks(&hooks); }
    OnlineHooks hooks;
};

TEST_F(PollTimerTest, IntervalByBaudRateLimitsAndFactor) {
    struct Case {
        bool online;
        uint32_t baud;
        double factor;
        uint32_t expected;
    } cases[] = {
        {false, 19200, 1.0, 1500},
        {false, 2400, 0.5, 1500},  // offline: whatever the weight
        {true, 9600, 1.0, 4000},
        {true, 19200, 1.0, 2000},
        {true, 115200, 1.0, 1000},
        {true, 2400, 1.0, 16000},
        {true, 19200, 0.5, 4000},
        {true, 115200, 0.5, 2000},
        {true, 2400, 0.5, 32000},
        {true, 19200, 2.0, 1000},
        // A factor of 0 or below counts as 1.0, a rate of 0 as 9600.
        {true, 19200, 0.0, 2000},
        {true, 19200, -3.0, 2000},
        {true, 0, 1.0, 4000},
    };
    for (const Case& c : cases) {
        hooks.online = c.online;
        hooks.baud = c.baud;
        PollRateFactor = c.factor;
        PollTimer timer{kDeviceWindowPollMaximumMs, kDeviceWindowPollWeightMs, kDeviceWindowPollMinimumMs, {}};
        EXPECT_EQ(timer.ComputeInterval(), c.expected) << c.online << " " << c.baud << " " << c.factor;
        EXPECT_EQ(timer.Current, c.expected);
    }
    // Without the application object there is no online device.
    SetServicesHooks(nullptr);
    PollTimer timer{100000, 4000, 1000, {}};
    EXPECT_EQ(timer.ComputeInterval(), 1500u);
}

TEST_F(PollTimerTest, TimerStartsOnlyForAVisibleWidgetWithinTheToolkitRange) {
    GwCore* widget = new GwApplFrame("Poller");
    widget->hide();
    PollTimer timer{100000, 4000, 1000, widget};
    timer.Restart();
    EXPECT_FALSE(widget->is_timer_running());

    widget->show();
    hooks.baud = 19200;
    timer.Restart();
    EXPECT_TRUE(widget->is_timer_running());
    EXPECT_EQ(widget->timer_interval(), 2000u);

    // A slow bus and a small factor go beyond what the timer takes.
    hooks.baud = 300;
    PollRateFactor = 0.5;
    timer.Restart();
    EXPECT_EQ(timer.Current, 200000u);
    EXPECT_EQ(widget->timer_interval(), 65535u);

    PollRateFactor = 1e9;
    timer.Restart();
    EXPECT_EQ(timer.Current, 0u);
    EXPECT_EQ(widget->timer_interval(), 1u);
    widget->destroy();
}

}  // namespace
