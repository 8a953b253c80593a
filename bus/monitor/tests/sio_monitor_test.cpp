#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "bus/monitor/bus_monitors.h"
#include "bus/monitor/tests/monitor_fixture.h"
#include "bus/serial/tarn_bus.h"
#include "bus/serial/tarn_telegram.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace monitortest {
namespace {

using SioMonitorTest = MonitorTest;

std::string RateText(double rate) {
    return "Die momentane Buskapazität liegt bei " + platform::Format("%0.2lf", rate) + " Telegramme/s.";
}

TEST_F(SioMonitorTest, CreateEmptiesTheFailureCountersAndStatisticsAndShowStartsTheTimer) {
    GwCore* window = GwRcMgr::load(mainWindow_, kSioMonitorWindow, 1);
    ASSERT_NE(window, nullptr);
    for (int code = 0; code < kTelegramStatisticsCount; ++code) {
        window->child(platform::Format("Error%d", code))->set_text("7");
        TelegramStatistics[static_cast<size_t>(code)] = 9;
    }
    window->show();
    for (int code = 1; code < kTelegramStatisticsCount; ++code)
        EXPECT_EQ(Field(window, platform::Format("Error%d", code)), "") << code;
    for (uint32_t count : TelegramStatistics) EXPECT_EQ(count, 0u);
    GwCore* monitor = window->child("Monitor");
    EXPECT_TRUE(monitor->is_timer_running());
    EXPECT_EQ(monitor->timer_interval(), 1000u);
}

// The rate is the exchanges that succeeded since the last update over the
// time since then; "Time" counts whole seconds from the window's creation.
TEST_F(SioMonitorTest, UpdateShowsTheExchangesPerSecondSinceTheLastUpdate) {
    Activate();
    struct Case {
        int exchanges;
        const char* rate;
    };
    for (const Case& c : {Case{40, "20.00"}, Case{0, "0.00"}}) {
        SCOPED_TRACE(c.exchanges);
        GwCore* window = OpenWindow(kSioMonitorWindow);
        const uint32_t created = Now();
        AdvanceTo(created + 1000);
        EXPECT_EQ(Field(window, "Time"), "1");
        window->child("Monitor")->start_timer(2000);
        ReadTypeNumber(c.exchanges);
        AdvanceTo(created + 3000);
        EXPECT_EQ(Field(window, "BusTax"), c.rate);
        EXPECT_EQ(Field(window, "Error0"), std::to_string(c.exchanges));
        EXPECT_EQ(Field(window, "Time"), "3");
        EXPECT_EQ(window->child("Monitor")->timer_interval(), 2000u);
        window->destroy();
    }
}

TEST_F(SioMonitorTest, UpdateShowsEachResultCodeTheSumOfTheFailuresAndWholeSeconds) {
    Activate();
    GwCore* window = OpenWindow(kSioMonitorWindow);
    window->child("Monitor")->start_timer(1500);
    for (int code = 0; code < kTelegramStatisticsCount; ++code)
        TelegramStatistics[static_cast<size_t>(code)] = 100u + static_cast<uint32_t>(code);
    gwtest::Advance(1500);
    for (int code = 0; code < kTelegramStatisticsCount; ++code)
        EXPECT_EQ(Field(window, platform::Format("Error%d", code)), std::to_string(100 + code)) << code;
    EXPECT_EQ(Field(window, "ErrorAll"), "2825");  // 101 + ... + 125
    // 1.5 s, then 3.0 s.
    EXPECT_EQ(Field(window, "Time"), "1");
    gwtest::Advance(1500);
    EXPECT_EQ(Field(window, "Time"), "3");
}

// A refused tick notes neither time nor exchanges: the next accepted update
// measures from the one before the refusal.
TEST_F(SioMonitorTest, ATickTheGuardRefusesChangesNothing) {
    Activate();
    struct Case {
        const char* name;
        std::function<void(uint32_t tick)> refusedTickAt;
    };
    auto withFlag = [](bool& flag) {
        return [&flag](uint32_t tick) {
            flag = true;
            AdvanceTo(tick);
            flag = false;
        };
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"modal flag", withFlag(ModalFlag)},
        {"serial wait", withFlag(SerialWaitFlag)},
        {"bus transfer", withFlag(BusTransferFlag)},
        {"message box open",
         [](uint32_t tick) {
             gwtest::AnswerBox(GwRESULT_OK, [tick](const GwBoxRecord&) { AdvanceTo(tick); });
             ShowInfoText("Busy");
         }},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* window = OpenWindow(kSioMonitorWindow);
        const uint32_t created = Now();
        AdvanceTo(created + 1000);
        ReadTypeNumber(40);
        const std::vector<std::string> names = {"Error0", "ErrorAll", "Time", "BusTax"};
        std::vector<std::string> before;
        for (const std::string& name : names) before.push_back(Field(window, name));
        c.refusedTickAt(created + 2000);
        for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(Field(window, names[i]), before[i]) << names[i];
        AdvanceTo(created + 3000);
        EXPECT_EQ(Field(window, "BusTax"), "20.00");
        EXPECT_EQ(Field(window, "Time"), "3");
        window->destroy();
    }
}

// At 1200 baud a drive that answers after 1.2 s makes each receive wait long
// enough to let the user interface run (and the test look at the flag) while
// the test reads.
TEST_F(SioMonitorTest, MaximumRateTestReadsTheTypeNumberForFourSecondsWithTheModalFlagClear) {
    sim::VirtualDrive& drive = AddDrive(maintest::kAddress);
    drive.SetBaud(1200);
    ASSERT_TRUE(main_->OpenTarnBus(1200, 1, true));
    main_->GetSerialBus()->AddDevice(maintest::kAddress, maintest::kTypeNumber, maintest::kVersionSteps / 20.0f);
    Activate();
    drive.SetReplyDelayUs(1200000);
    for (bool modalBefore : {false, true}) {
        SCOPED_TRACE(modalBefore);
        GwCore* window = OpenWindow(kSioMonitorWindow);
        ClearCaptures();
        ModalFlag = modalBefore;
        bool modalDuring = true;
        int cursorDuring = 0;
        gwtest::At(1000, [&] {
            modalDuring = ModalFlag;
            cursorDuring = GwCore::global_cursor();
        });
        std::string shown;
        gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord& box) { shown = box.kind + ": " + box.text; });
        const uint32_t start = Now();
        EXPECT_EQ(gwtest::Fire(std::string(kSioMonitorWindow) + "/MaxTest", "activate"), 1);
        EXPECT_FALSE(modalDuring);
        EXPECT_EQ(cursorDuring, GwCURSOR_WAIT);
        EXPECT_EQ(ModalFlag, modalBefore);
        const size_t reads = RateTestReads();
        EXPECT_EQ(Requests().size(), reads);
        EXPECT_GE(reads, 3u);
        EXPECT_GE(Now() - start, 4000u);
        EXPECT_EQ(shown, "info: " + RateText(static_cast<double>(reads) / 4.0));
        ModalFlag = false;
        window->destroy();
    }
}

// Reads that reach no drive are not counted: uncoupled devices answer every
// read at once without traffic.
TEST_F(SioMonitorTest, MaximumRateTestSendsNothingWithoutAReachableDevice) {
    AddDrive(maintest::kAddress);
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"devices uncoupled",
         [this] {
             Activate();
             DevicesUncoupled = true;
         }},
        {"no active device", [this] { OpenSerialBus(); }},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        GwCore* window = OpenWindow(kSioMonitorWindow);
        ClearCaptures();
        gwtest::AnswerBox(GwRESULT_OK);
        const uint32_t start = Now();
        EXPECT_EQ(gwtest::Fire(std::string(kSioMonitorWindow) + "/MaxTest", "activate"), 1);
        EXPECT_EQ(Now(), start);
        EXPECT_TRUE(Requests().empty());
        ASSERT_FALSE(gwtest::Boxes().empty());
        EXPECT_EQ(gwtest::Boxes().back().text, RateText(0.0));
        window->destroy();
        main_->CloseTarnBus();
        DevicesUncoupled = false;
    }
}

TEST_F(SioMonitorTest, ExitClosesTheWindowAndItsDestroyTakesItOutOfTheWindowList) {
    GwCore* window = GwRcMgr::load(mainWindow_, kSioMonitorWindow, 1);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(TheWindowHandler().Add(window, 0), 1);
    window->show();
    EXPECT_EQ(gwtest::Fire(std::string(kSioMonitorWindow) + "/Exit", "activate"), 1);
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    // A new window is remembered afresh.
    GwCore* again = OpenWindow(kSioMonitorWindow);
    EXPECT_EQ(gwtest::Fire(std::string(kSioMonitorWindow) + "/Exit", "activate"), 1);
    EXPECT_FALSE(GwRcMgr::is_valid_child(again));
}

TEST_F(SioMonitorTest, EveryCallbackReturnsOneWithoutAWindow) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    for (const GwFuncDesc* entry = BusMonitorCallbacks(); entry->name != nullptr; ++entry)
        EXPECT_EQ(entry->fn(nullptr, nullptr, GwUD()), 1) << entry->name;
}

}  // namespace
}  // namespace monitortest
