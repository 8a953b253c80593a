// Widget timers on the virtual clock: periods, order, stopping, and which
// waits run them.
#include <gtest/gtest.h>

#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class Timers : public ToolkitTest {};

std::vector<std::string> g_fired;

int Fired(GwCore* w, GwEvent* ev, GwUD) {
    EXPECT_EQ(ev->type, GwCB_TIMER);
    g_fired.push_back(w->name() + "@" + std::to_string(platform::GetTickCount() - 0x10000));
    return 1;
}

GwCore* TimedWidget(const std::string& name, GwCore* parent = nullptr) {
    GwCore* w = new GwContainer(name, parent);
    w->set_callback(GwCB_TIMER, Fired);
    return w;
}

TEST_F(Timers, HalfSecondTimerFiresTwiceInOneSecondAndNeverWithoutTime) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show();
    Calls().clear();
    main->start_timer(500);
    GwProcessPendingEvents();
    EXPECT_TRUE(Calls().empty()) << "no time passed, no tick";

    gwtest::Advance(1000);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"CB_Tick", "CB_Tick"}));
    EXPECT_EQ(Calls()[0].widget, main);

    main->stop_timer();
    gwtest::Advance(5000);
    EXPECT_EQ(Calls().size(), 2u) << "a stopped timer stays quiet";
    EXPECT_EQ(gwtest::Effects("timer start").size(), 1u);
    EXPECT_EQ(gwtest::Effects("timer start")[0].value, "500");
}

TEST_F(Timers, DueTimersRunInDueTimeOrder) {
    g_fired.clear();
    TimedWidget("A")->start_timer(300);
    TimedWidget("B")->start_timer(200);
    TimedWidget("C")->start_timer(500);
    gwtest::Advance(600);
    EXPECT_EQ(g_fired, (std::vector<std::string>{"B@200", "A@300", "B@400", "C@500", "A@600", "B@600"}));
}

TEST_F(Timers, RestartReplacesThePeriod) {
    g_fired.clear();
    GwCore* w = TimedWidget("W");
    w->start_timer(500);
    gwtest::Advance(400);
    w->start_timer(100);
    gwtest::Advance(250);
    EXPECT_EQ(g_fired, (std::vector<std::string>{"W@500", "W@600"}));
    EXPECT_EQ(w->timer_interval(), 100u);
}

TEST_F(Timers, BusyWaitRunsNoTimerAndALatePumpRunsItOnce) {
    g_fired.clear();
    GwCore* w = TimedWidget("W");
    w->start_timer(100);
    platform::BusyWait(350);
    EXPECT_TRUE(g_fired.empty());
    GwProcessPendingEvents();
    EXPECT_EQ(g_fired, (std::vector<std::string>{"W@350"}));
    gwtest::Advance(100);
    EXPECT_EQ(g_fired, (std::vector<std::string>{"W@350", "W@450"})) << "the period counts on from the late tick";
}

TEST_F(Timers, PumpWaitsRunTimersAsTheyFallDue) {
    g_fired.clear();
    TimedWidget("W")->start_timer(250);
    // What a wait that keeps the user interface alive does.
    platform::Deadline deadline(600);
    while (!deadline.Expired()) platform::PumpEvents();
    EXPECT_EQ(g_fired, (std::vector<std::string>{"W@250", "W@500"}));
}

TEST_F(Timers, HiddenWidgetsKeepTheirTimerDestroyedOnesLoseIt) {
    g_fired.clear();
    GwCore* hidden = TimedWidget("Hidden");
    GwCore* gone = TimedWidget("Gone");
    hidden->start_timer(100);
    gone->start_timer(100);
    hidden->hide();
    gone->destroy();
    gwtest::Advance(100);
    EXPECT_EQ(g_fired, (std::vector<std::string>{"Hidden@100"}));
}

int StopsItself(GwCore* w, GwEvent* ev, GwUD ud) {
    w->stop_timer();
    return Fired(w, ev, ud);
}

TEST_F(Timers, CallbackThatStopsItsTimerFiresOnce) {
    g_fired.clear();
    GwCore* w = new GwContainer("Once", nullptr);
    w->set_callback(GwCB_TIMER, StopsItself);
    w->start_timer(2500);
    gwtest::Advance(10000);
    EXPECT_EQ(g_fired, (std::vector<std::string>{"Once@2500"}));
    EXPECT_FALSE(w->is_timer_running());
}

int PostBack(GwCore* w, GwEvent* ev, GwUD) {
    g_fired.push_back(w->name() + " user " + std::to_string(ev->user1));
    return 1;
}

TEST_F(Timers, UserEventsRunFromThePumpNotWhenPosted) {
    g_fired.clear();
    GwCore* w = new GwContainer("Sheet", nullptr);
    w->set_callback(GwCB_USER, PostBack);
    w->post_user_event(3, 0);
    EXPECT_TRUE(g_fired.empty());
    w->peek_event();
    EXPECT_EQ(g_fired, (std::vector<std::string>{"Sheet user 3"}));
}

}  // namespace
}  // namespace toolkit_test
