// The event pump and the interactions: the installed interaction processes
// its events from every pump, survives the application's start, and the
// headless interaction runs a modal window on the real clock and answers
// boxes nobody answers; a termination signal ends every modal run. The
// test driver's scheduled actions reach loops that pump.
#include <gtest/gtest.h>

#include <csignal>

#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "platform/system/termination_signal.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_application.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/headless/gw_headless_interaction.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/tests3/spine_fixture.h"

namespace spine_test {
namespace {

class CountingInteraction : public GwHeadlessInteraction {
public:
    bool ProcessEvents() override {
        ++calls;
        return false;
    }
    int calls = 0;
};

class NoHook : public platform::PumpHook {
public:
    bool ProcessPending() override { return false; }
    std::optional<uint64_t> NextDueUs() override { return std::nullopt; }
};

TEST(Pump, TheInteractionProcessesEventsFromEveryPumpAndSurvivesTheStart) {
    CountingInteraction interaction;
    GwSetInteraction(&interaction);
    platform::PumpHook* toolkit_hook = platform::GetPumpHook();
    ASSERT_TRUE(GwInitApplication(nullptr, nullptr, 1));
    EXPECT_EQ(&GwGetInteraction(), &interaction);
    EXPECT_EQ(platform::GetPumpHook(), toolkit_hook);

    auto* frame = new GwApplFrame("Main");
    GwProcessPendingEvents();
    frame->peek_event();
    platform::PumpEvents();
    EXPECT_EQ(interaction.calls, 3);

    // The start drops the timers; their widgets know it.
    frame->start_timer(10);
    ASSERT_TRUE(GwInitApplication(nullptr, nullptr, 1));
    EXPECT_FALSE(frame->is_timer_running());
    EXPECT_EQ(GwTimerScheduler::NextDueUs(), std::nullopt);

    // A hook of its own that a program installed first stays too.
    NoHook own;
    platform::SetPumpHook(&own);
    ASSERT_TRUE(GwInitApplication(nullptr, nullptr, 1));
    EXPECT_EQ(platform::GetPumpHook(), &own);
    platform::SetPumpHook(toolkit_hook);
}

TEST(Headless, AModalRunPumpsTimersOnTheRealClockUntilATimerHidesTheFrame) {
    platform::InstallClock(nullptr);  // the real clock, as in the program
    GwHeadlessInteraction interaction;
    GwSetInteraction(&interaction);
    auto* frame = new GwApplFrame("Main");
    int ticks = 0;
    frame->bind(GwCB_TIMER, [&](GwCore* w, GwEvent*) {
        ++ticks;
        w->hide();
        return 1;
    });
    frame->start_timer(100);
    uint64_t start = platform::TheClock().NowMs();
    frame->go();
    EXPECT_EQ(ticks, 1);
    EXPECT_GE(platform::TheClock().NowMs() - start, 100u);
    EXPECT_FALSE(frame->in_modal_run());
    EXPECT_FALSE(frame->is_shown());
}

// A signal asks the program to end while a dialog runs modally over the
// main window: the next pump ends both runs as cancelled, so the program
// leaves its main loop and can run its exit there.
TEST(Headless, ATerminationSignalEndsEveryModalRun) {
    GwHeadlessInteraction interaction;
    GwSetInteraction(&interaction);
    auto* frame = new GwApplFrame("Main");
    auto* dialog = new GwApplFrame("Dialog");
    int dialogResult = -1;
    frame->bind(GwCB_TIMER, [&](GwCore* w, GwEvent*) {
        w->stop_timer();
        dialogResult = dialog->go();
        return 1;
    });
    dialog->bind(GwCB_TIMER, [&](GwCore* w, GwEvent*) {
        w->stop_timer();
        platform::CatchTerminationSignals();
        std::raise(SIGTERM);
        return 1;
    });
    frame->start_timer(10);
    dialog->start_timer(20);
    EXPECT_EQ(frame->go(), GwRESULT_CANCEL);
    EXPECT_EQ(dialogResult, GwRESULT_CANCEL);
    EXPECT_EQ(platform::TerminationSignal(), SIGTERM);
    EXPECT_TRUE(frame->is_alive());
}

class HeadlessBoxes : public SpineTest {};

// A screen's user clicks a box button, which ends the box's run before the
// interaction answers; the owner's modal run goes on.
class ClickingUser : public GwHeadlessInteraction {
public:
    int AnswerBox(const GwBoxRecord&) override {
        open_box->child<GwPushButton>("Yes")->click();
        return open_box->result();
    }
    void RunModal(GwCore* window) override {
        open_box = GwRcMgr::load(window, "x_QuestionBox", 1);
        box_answer = open_box->go();
        owner_ended_by_box = window->modal_ended();
        window->end_modal(GwRESULT_OK);
    }
    GwCore* open_box = nullptr;
    int box_answer = 0;
    bool owner_ended_by_box = true;
};

TEST_F(HeadlessBoxes, ABoxEndedByItsOwnButtonLeavesItsOwnersRunAlone) {
    ClickingUser user;
    GwSetInteraction(&user);
    auto* owner = new GwDialogFrame("Owner", nullptr);
    EXPECT_EQ(owner->go(), GwRESULT_OK);
    EXPECT_EQ(user.box_answer, GwRESULT_YES);
    EXPECT_FALSE(user.owner_ended_by_box);
}

TEST_F(HeadlessBoxes, AnUnansweredBoxTakesTheDefaultAndIsLogged) {
    GwHeadlessInteraction interaction;
    interaction.set_default_answer(GwRESULT_YES, "question");
    interaction.set_default_answer(GwRESULT_OK);
    GwSetInteraction(&interaction);
    GwCore* box = GwRcMgr::load(nullptr, "x_QuestionBox", 1);
    EXPECT_EQ(box->go(), GwRESULT_YES);
    GwBoxRecord other{"error", "Error", "Lost", "", "", 0};
    EXPECT_EQ(GwGetInteraction().AnswerBox(other), GwRESULT_OK);
    GwHeadlessInteraction plain;
    EXPECT_EQ(plain.AnswerBox(other), GwRESULT_CANCEL);
    std::string path;
    EXPECT_FALSE(interaction.ChooseFile(
        GwFileRequest{"id", "Open", "", "", "", 0, false, "", false, "", GwFileAction::kOpen}, &path));
    EXPECT_EQ(testsupport::LoggedLines(),
              (std::vector<std::string>{"headless: question box \"Question\": Save the changes? -> answer 6",
                                        "headless: error box \"Error\": Lost -> answer 8",
                                        "headless: error box \"Error\": Lost -> answer 2",
                                        "headless: file selector \"Open\" (id) -> cancelled"}));
}

TEST(Driver, AClickScheduledAt300MsEndsAPollingLoopAfterExactly300Polls) {
    // A dialog built in code, its handler a callable with its own state.
    auto* panel = new GwDialogFrame("Panel", nullptr);
    auto* stop = new GwPushButton("Stop", panel);
    bool stopped = false;
    stop->bind(GwCB_ACTIVATE, [&](GwCore*, GwEvent*) {
        stopped = true;
        return 1;
    });
    panel->show();
    EXPECT_EQ(panel->frame_child<GwPushButton>("Stop"), stop);
    EXPECT_EQ(panel->frame_child<GwEdit>("Stop"), nullptr);

    gwtest::At(300, [] { gwtest::Click("Panel/Stop"); });
    int polls = 0;
    while (!stopped && polls < 1000) {
        platform::Sleep(1);
        ++polls;
        panel->peek_event();
    }
    EXPECT_EQ(polls, 300);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST(Driver, AdvanceRunsScheduledActionsInTimeAndFailsOnAnEndlessRepost) {
    auto* frame = new GwApplFrame("Busy");
    std::vector<std::string> order;
    gwtest::At(20, [&] { order.push_back("b"); });
    gwtest::At(10, [&] { order.push_back("a"); });
    gwtest::At(20, [&] { order.push_back("c"); });
    gwtest::Advance(15);
    EXPECT_EQ(order, (std::vector<std::string>{"a"}));
    gwtest::Advance(5);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "c"}));

    frame->bind(GwCB_USER, [](GwCore* w, GwEvent*) {
        w->post_user_event(0, 0);
        return 1;
    });
    frame->post_user_event(0, 0);
    std::vector<std::string> failures;
    gwtest::SetFailureReporter([&](const std::string& m) { failures.push_back(m); });
    gwtest::Advance(10);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Advance: a user event of \"Busy\" keeps posting itself at ", 0), 0u) << failures[0];
    EXPECT_EQ(GwTimerScheduler::NextDueUs(), std::nullopt);
}

TEST(Driver, AModalScriptNeedsNoResultWhenItsActionsEndTheRun) {
    auto* dialog = new GwDialogFrame("Ask", nullptr, true);
    gwtest::ScriptModal("Ask", [](GwCore* w) { w->end_modal(GwRESULT_OK); });
    EXPECT_EQ(dialog->go(), GwRESULT_OK);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST(Driver, ABoxIsAnsweredAfterWhatTheUserDoesWhileItIsOpen) {
    GwRcMgr::use_text("dialogframe x_InfoBox { box = info; title = \"Info\"; label Message { text = \"Done\" } }",
                      "boxes.cgw");
    std::string seen;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord& box) { seen = box.caption + ": " + box.text; });
    EXPECT_EQ(GwRcMgr::load(nullptr, "x_InfoBox", 1)->go(), GwRESULT_OK);
    EXPECT_EQ(seen, "Info: Done");
}

}  // namespace
}  // namespace spine_test
