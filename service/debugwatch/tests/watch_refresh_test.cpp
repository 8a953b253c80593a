#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "bus/serial/tarn_bus.h"
#include "service/debugwatch/debug_watch.h"
#include "service/debugwatch/tests/debug_watch_fixture.h"
#include "sim/drive_faults.h"
#include "sim/drive_table.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace watchtest {
namespace {

using Strings = std::vector<std::string>;

// Counts the content changes of one widget.
class ContentCounter : public GwObserver {
public:
    explicit ContentCounter(GwCore* widget) : widget_(widget) { GwAttachObserver(this); }
    ~ContentCounter() override { GwDetachObserver(this); }
    ContentCounter(const ContentCounter&) = delete;
    ContentCounter& operator=(const ContentCounter&) = delete;
    void ContentChanged(GwCore* widget, const GwContentChange&) override { count += widget == widget_ ? 1 : 0; }
    int count = 0;

private:
    GwCore* widget_;
};

class WatchRefreshTest : public DebugWatchTest {
protected:
    GwCore* OpenWithRows(const Strings& rows) {
        InstallCache();
        GwCore* window = OpenWatch();
        if (window == nullptr) return nullptr;
        for (const std::string& row : rows) List(window)->add_row(row);
        ClearCaptures();
        return window;
    }
    static int Tick(GwCore* window) { return gwtest::Fire(window->child(kWatchList), "timer"); }
    // Moves the virtual clock until the list's timer has read one more row,
    // bounded well beyond any interval.
    void NextTick() {
        const size_t reads = Reads();
        for (int ms = 0; ms < 5000 && Reads() == reads; ms += 10) gwtest::Advance(10);
        ASSERT_GT(Reads(), reads);
    }
    size_t Reads() {
        const Strings heard = Heard();
        return static_cast<size_t>(std::count(heard.begin(), heard.end(), "R 20032"));
    }
    static Strings Values(GwCore* window) {
        Strings values;
        for (int i = 0; i < List(window)->row_count(); ++i) values.push_back(List(window)->cell(i, kValueColumn));
        return values;
    }
};

TEST_F(WatchRefreshTest, AWordIsReadThroughTheAddressHalvesAndTheDoubleWordTwoBytesOn) {
    SetWords(0x00F01235, 0x80FF, 0x1234);
    GwCore* window = OpenWithRows({"00F01235|x|word|", "00F01235|x|dword|"});
    ASSERT_NE(window, nullptr);
    Tick(window);
    EXPECT_EQ(Heard(), (Strings{"W 20031=F0", "W 20030=1235", "R 20032"}));
    ClearCaptures();
    Tick(window);
    EXPECT_EQ(Heard(), (Strings{"W 20031=F0", "W 20030=1235", "R 20032", "W 20031=F0", "W 20030=1237", "R 20032"}));
    EXPECT_EQ(Values(window), (Strings{"80FF", "123480FF"}));
}

TEST_F(WatchRefreshTest, OneVisibleRowPerTickRoundRobin) {
    SetWords(0x100, 1);
    SetWords(0x200, 2);
    SetWords(0x300, 3);
    GwCore* window = OpenWithRows({"100|a|usign16|", "200|b|usign16|", "300|c|usign16|"});
    ASSERT_NE(window, nullptr);
    List(window)->set_visible_count(2);
    const Strings expected[] = {{"1", "", ""}, {"1", "2", ""}, {"1", "2", ""}};
    for (const Strings& values : expected) {
        NextTick();
        EXPECT_EQ(Values(window), values);
        EXPECT_EQ(List(window)->timer_interval(), 1000u);
    }
    SetWords(0x100, 11);
    SetWords(0x200, 12);
    SetWords(0x300, 13);
    NextTick();
    NextTick();
    EXPECT_EQ(Values(window), (Strings{"11", "12", ""}));

    // Visible rows past the end: every row takes its turn.
    List(window)->set_first_visible(2);
    for (int i = 0; i < 3; ++i) NextTick();
    EXPECT_EQ(Values(window).back(), "13");
}

TEST_F(WatchRefreshTest, AnUnchangedValueIsNotWrittenAgain) {
    SetWords(0x100, 7);
    GwCore* window = OpenWithRows({"100|a|usign16|"});
    ASSERT_NE(window, nullptr);
    ContentCounter changes(List(window));
    Tick(window);
    Tick(window);
    EXPECT_EQ(changes.count, 1);
    SetWords(0x100, 8);
    Tick(window);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(Values(window), (Strings{"8"}));
}

TEST_F(WatchRefreshTest, ARowOfAnotherTypeIsDeleted) {
    GwCore* window = OpenWithRows({"100|a|Word|", "200|b|word|"});
    ASSERT_NE(window, nullptr);
    Tick(window);
    EXPECT_EQ(List(window)->row_count(), 1);
    EXPECT_EQ(List(window)->row_text(0), "200|b|word|");
}

TEST_F(WatchRefreshTest, TheTimerFollowsTheBaudRate) {
    const std::pair<int32_t, uint32_t> cases[] = {{9600, 1000}, {19200, 500}, {57600, 200}};
    for (const auto& [baud, interval] : cases) {
        SCOPED_TRACE(baud);
        Drive().SetBaud(baud);
        ASSERT_TRUE(main_->OpenTarnBus(baud, 1, true));
        main_->GetSerialBus()->AddDevice(maintest::kAddress, kWatchTypeNumber, kWatchVersionSteps / 20.0f);
        RebuildDeviceList();
        ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
        GwCore* window = OpenWithRows({"100|a|word|"});
        ASSERT_NE(window, nullptr);
        Tick(window);
        EXPECT_TRUE(List(window)->is_timer_running()) << BoxTexts().size() << " " << Heard().size() << " "
                                                      << main_->HasOnlineDevice() << " " << TheWindowHandler().Count();
        EXPECT_EQ(List(window)->timer_interval(), interval);
        gwtest::Close(window);
    }
}

TEST_F(WatchRefreshTest, ARefusedTickAndATickWithoutDeviceDoNothing) {
    GwCore* window = OpenWithRows({"100|a|word|"});
    ASSERT_NE(window, nullptr);
    ModalFlag = true;
    Tick(window);
    ModalFlag = false;
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(Values(window), (Strings{""}));
    EXPECT_TRUE(List(window)->is_timer_running());

    // Uncoupling closes the window; one shown without a device ticks idle.
    main_->UncoupleDevice(maintest::kAddress);
    window = OpenWithRows({"100|a|word|"});
    ASSERT_NE(window, nullptr);
    const size_t boxes = gwtest::Boxes().size();
    Tick(window);
    gwtest::Advance(5000);
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(gwtest::Boxes().size(), boxes);
    EXPECT_EQ(FindWatchWindow(), window);
}

// A failed read of 32: error 5 for the active device; the window closes only
// when the user chooses to uncouple.
TEST_F(WatchRefreshTest, AFailedReadReportsTheDeviceErrorAndClosesOnlyOnUncoupling) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        Strings boxes;
        bool stays;
    };
    const Case cases[] = {
        {"confirmed", {GwRESULT_OK}, {"error"}, true},
        {"quit, stay coupled", {GwRESULT_CANCEL, GwRESULT_NO}, {"error", "question"}, true},
        {"quit, uncouple", {GwRESULT_CANCEL, GwRESULT_YES}, {"error", "question"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (main_->ActiveParaBase() == nullptr) {
            UncouplingPending = false;
            ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
        }
        GwCore* window = OpenWithRows({"100|a|word|12"});
        ASSERT_NE(window, nullptr);
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20032"));
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        const size_t before = gwtest::Boxes().size();
        Tick(window);
        Strings kinds;
        for (size_t i = before; i < gwtest::Boxes().size(); ++i) kinds.push_back(gwtest::Boxes()[i].kind);
        EXPECT_EQ(kinds, c.boxes);
        EXPECT_FALSE(TheDebugWatch().WatchStatusFlag && c.stays);
        EXPECT_EQ(FindWatchWindow() != nullptr, c.stays);
        if (c.stays) {
            EXPECT_EQ(Values(window), (Strings{"12"}));  // a failed read shows nothing new
            EXPECT_TRUE(List(window)->is_timer_running());
            gwtest::Close(window);
        }
    }
}

}  // namespace
}  // namespace watchtest
