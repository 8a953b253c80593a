#include "platform/system/clock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/system/event_pump.h"

namespace {

using platform::TheClock;
using platform::VirtualClock;

// A pump hook with timers at fixed due times, as the toolkit's will be.
class FakeTimers : public platform::PumpHook {
public:
    std::vector<uint64_t> due_us;
    std::vector<uint64_t> fired_at_us;

    bool ProcessPending() override {
        bool ran = false;
        uint64_t now = TheClock().NowUs();
        for (auto it = due_us.begin(); it != due_us.end();) {
            if (*it <= now) {
                fired_at_us.push_back(now);
                it = due_us.erase(it);
                ran = true;
            } else {
                ++it;
            }
        }
        return ran;
    }
    std::optional<uint64_t> NextDueUs() override {
        if (due_us.empty()) return std::nullopt;
        return *std::min_element(due_us.begin(), due_us.end());
    }
};

TEST(VirtualClock, TestsRunOnAFreshVirtualClock) {
    ASSERT_NE(platform::TheVirtualClock(), nullptr);
    EXPECT_EQ(TheClock().NowUs(), 0u);
}

TEST(VirtualClock, BusyWaitAndSleepMoveTimeWithoutRealWaiting) {
    auto real_start = std::chrono::steady_clock::now();
    uint32_t start = TheClock().Tick();
    platform::BusyWait(65000);
    EXPECT_EQ(TheClock().Tick() - start, 65000u);
    platform::Sleep(0);  // a zero sleep still moves on, so polling loops progress
    EXPECT_EQ(TheClock().Tick() - start, 65001u);
    platform::Sleep(20);
    EXPECT_EQ(TheClock().Tick() - start, 65021u);
    EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(1));
}

TEST(VirtualClock, DeadlineHoldsAcrossTheTickWrap) {
    platform::InstallClock(std::make_unique<VirtualClock>(0xFFFFFF00u));
    platform::Deadline deadline(850);
    platform::BusyWait(849);
    EXPECT_FALSE(deadline.Expired());
    EXPECT_EQ(deadline.Remaining(), 1u);
    platform::BusyWait(1);
    EXPECT_TRUE(deadline.Expired());
    EXPECT_EQ(TheClock().Tick(), 850u - 0x100u);  // the tick wrapped during the wait
}

TEST(VirtualClock, PumpRunsDueTimersAndOtherwiseMovesToTheNextOne) {
    FakeTimers timers;
    timers.due_us = {500000, 1000000};
    platform::SetPumpHook(&timers);

    platform::PumpEvents();  // nothing due: jump to the first timer
    EXPECT_EQ(TheClock().NowUs(), 500000u);
    platform::PumpEvents();  // runs it without moving time
    EXPECT_EQ(timers.fired_at_us, (std::vector<uint64_t>{500000}));
    EXPECT_EQ(TheClock().NowUs(), 500000u);

    platform::PumpEvents(700000);  // the limit caps the jump
    EXPECT_EQ(TheClock().NowUs(), 700000u);
    platform::PumpEvents(700000);  // a limit reached leaves time where it is
    EXPECT_EQ(TheClock().NowUs(), 700000u);

    timers.due_us.clear();
    platform::PumpEvents();  // no timer at all: one millisecond
    EXPECT_EQ(TheClock().NowUs(), 701000u);
    platform::SetPumpHook(nullptr);
}

TEST(VirtualClock, OtherThreadsDoNotMoveVirtualTime) {
    std::thread worker([] { platform::Sleep(5); });
    worker.join();
    EXPECT_EQ(TheClock().NowUs(), 0u);
}

TEST(LocalTime, InjectedZoneAndCTimeText) {
    // 2026-01-01 00:00:00 UTC was a Thursday.
    EXPECT_EQ(platform::CTimeText(1767225600), "Thu Jan  1 00:00:00 2026\n");
    platform::SetTimeZoneOffset(3600);
    std::tm t = platform::LocalTime(1767225600);
    EXPECT_EQ(t.tm_hour, 1);
    EXPECT_EQ(t.tm_year + 1900, 2026);
}

// Run only as children: of the next test, and of the counting script's
// check (testsupport/count_results_check.py), which stops a process with
// the watchdog or a crash between a test that passed and one that never
// ran.
TEST(Watchdog, DISABLED_PassesFirst) {}
TEST(Watchdog, DISABLED_HangsForever) {
    for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}
TEST(Watchdog, DISABLED_Crashes) { std::abort(); }
TEST(Watchdog, DISABLED_WouldRunLast) {}

TEST(Watchdog, FailsATestThatWouldHang) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = '\0';
    std::string command = std::string("TORVAN_WATCHDOG_MS=200 '") + self +
                          "' --gtest_also_run_disabled_tests"
                          " --gtest_filter=Watchdog.DISABLED_HangsForever 2>&1";
    FILE* child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string output;
    char buf[256];
    while (fgets(buf, sizeof buf, child) != nullptr) output += buf;
    int status = pclose(child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_NE(output.find("Watchdog.DISABLED_HangsForever ran longer than 200 ms"), std::string::npos) << output;
}

}  // namespace
