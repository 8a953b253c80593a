// The cogging-torque teach and the anticogging switch of a Ruvex drive on the
// virtual clock: what the drive hears, the progress the timer shows, the
// boxes at the end, and the switch's wait for the drive.
#include "families/ruvex_cogging_teach.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

using sim::ReadStep;

constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }

const GwFuncDesc kTeachCallbacks[] = {
    {"CB_4_200_ShowTeachingProgress", CB_4_200_ShowTeachingProgress},
    {nullptr, nullptr},
};

constexpr char kControlWindow[] =
    "button TeachButton { on timer = CB_4_200_ShowTeachingProgress }\n label TeachText { visible = no }\n"
    " slider TeachProgress { }\n toggle AntiCoging { }\n toggle AntiCogingState { }\n button Interrupt { }";

class CoggingTeachTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = maintest::ActivationTable(4120, 34);
        for (int number : {918, 919, 921}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("T" + std::to_string(number)).c_str(), "FLOAT32", 0);
            p->minimum = maintest::FloatBits(0.0f);
            p->maximum = maintest::FloatBits(100.0f);
        }
        table.Find(918)->value = maintest::FloatBits(2.0f);
        table.Find(403)->value = State(2);
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kTeachCallbacks);
    }
    void Open() {
        OpenWindow(kControlWindow, MakeContext(true));
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        return writes;
    }
    double Progress() { return dynamic_cast<GwSlider*>(W("TeachProgress"))->value(); }
    bool On(const char* name) { return dynamic_cast<GwToggle*>(W(name))->is_checked(); }
};

TEST_F(CoggingTeachTest, ATeachRunShowsItsProgressAndEndsOnTime) {
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(State(2), 1), ReadStep::Forever(State(3))});
    Open();
    gwtest::SetDefaultBoxAnswer(GwRESULT_YES, "question");
    EXPECT_EQ(CB_4_200_TeachCogingTorque(W("TeachButton"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20921=0", "W 20919=3F800000"}));
    EXPECT_TRUE(W("TeachText")->is_visible());
    EXPECT_EQ(W("TeachButton")->timer_interval(), 500u);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "Start the detection?");
    MarkBoxes();
    Drive().ClearCapture();
    for (int tick = 1; tick <= 9; ++tick) {
        gwtest::Advance(500);
        EXPECT_NEAR(Progress(), tick * 10.0, 1e-9) << tick;
    }
    EXPECT_TRUE(Writes().empty());
    gwtest::Advance(500);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20919=0"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "info");
    EXPECT_EQ(NewBoxes()[0].text, "The detection is finished!");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow.DevWin");
    EXPECT_EQ(Progress(), 0.0);
    EXPECT_FALSE(W("TeachText")->is_visible());
    EXPECT_FALSE(W("TeachButton")->is_timer_running());
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
}

TEST_F(CoggingTeachTest, InterruptingOrClosingEndsTheRunWithoutParent) {
    Drive().Table().Find(919)->value = maintest::FloatBits(1.0f);
    Open();
    EXPECT_EQ(CB_4_200_InterruptTeachFunction(W("Interrupt"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20919=0"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The detection was interrupted!");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow");
    // A drive that ended the run itself hears no write and shows no box.
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_4_200_InterruptTeachFunction(W("Interrupt"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(CoggingTeachTest, ARefusedTickEndsTheRunAsInterrupted) {
    Drive().Table().ScriptReads(403, {ReadStep::Forever(State(3))});
    Drive().Table().Find(919)->value = maintest::FloatBits(1.0f);
    Open();
    W("TeachButton")->start_timer(kTeachTickMs);
    // A device action that no poll may read through keeps the tick away.
    {
        DeviceBusyGuard busy;
        EXPECT_EQ(CB_4_200_ShowTeachingProgress(W("TeachButton"), nullptr, GwUD()), 1);
    }
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20919=0"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The detection was interrupted!");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow");
    EXPECT_FALSE(W("TeachButton")->is_timer_running());
    EXPECT_EQ(Progress(), 0.0);
}

TEST_F(CoggingTeachTest, ClosingTheWindowEndsTheRunAndClosesIt) {
    Drive().Table().Find(919)->value = maintest::FloatBits(1.0f);
    Open();
    GwRef<> window(window_);
    TheWindowHandler().Add(window_, 1);
    EXPECT_EQ(CB_4_200_CloseControlWindow(W("TeachButton"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20919=0"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "info");
    EXPECT_EQ(NewBoxes()[0].text, "The detection was interrupted!");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow");
    EXPECT_TRUE(window.get() == nullptr || !window->is_shown());
    EXPECT_EQ(TheWindowHandler().IndexOf(window_), -1);
}

TEST_F(CoggingTeachTest, AStandingDriveIsAskedAgain) {
    // Standing through two answers, running at the third look.
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(State(2), 2), ReadStep::Forever(State(3))});
    Open();
    gwtest::SetDefaultBoxAnswer(GwRESULT_YES, "question");
    EXPECT_EQ(CB_4_200_TeachCogingTorque(W("TeachButton"), nullptr, GwUD()), 1);
    std::vector<std::string> boxes;
    for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.text);
    EXPECT_EQ(boxes, (std::vector<std::string>(2, "Start the detection?")));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20921=0", "W 20919=3F800000"}));
    EXPECT_TRUE(W("TeachButton")->is_timer_running());
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
}

TEST_F(CoggingTeachTest, AFailedReadInTheCompensationsWaitEndsIt) {
    // 919 := 2 goes through, the read after it is refused.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20919").After(1).Times(sim::kForever));
    Open();
    dynamic_cast<GwToggle*>(W("AntiCoging"))->set_checked(true);
    EXPECT_EQ(CB_4_200_ActivateAnticoging(W("AntiCoging"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20919=40000000"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow.DevWin");
    EXPECT_FALSE(On("AntiCoging"));
    EXPECT_FALSE(On("AntiCogingState"));
    EXPECT_EQ(Drive().Table().Find(921)->value, 0u);
}

TEST_F(CoggingTeachTest, NoToTheStartQuestionStartsNothing) {
    Drive().Table().ScriptReads(403, {ReadStep::Forever(State(3))});
    Open();
    gwtest::AnswerBox(GwRESULT_YES);  // running: go on
    gwtest::AnswerBox(GwRESULT_NO);   // 151
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(State(3), 1), ReadStep::Forever(State(2))});
    EXPECT_EQ(CB_4_200_TeachCogingTorque(W("TeachButton"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(W("TeachButton")->is_timer_running());
}

TEST_F(CoggingTeachTest, TheCompensationWaitsForTheDrive) {
    struct Case {
        const char* name;
        std::vector<ReadStep> command;  // reads of 919 after 919 := 2
        bool fail;                      // the reads of 919 are refused
        std::vector<std::string> writes;
        bool stateOn;
        bool switchOn;
        std::vector<std::string> boxes;
    } cases[] = {
        {"ready after 3 s",
         {ReadStep::ForReads(0x40000000, 2), ReadStep::Forever(0)},
         false,
         {"W 20919=40000000", "W 20921=3F800000"},
         true,
         true,
         {}},
        {"never ready",
         {ReadStep::Forever(0x40000000)},
         false,
         {"W 20919=40000000"},
         false,
         false,
         {"Time-out of the encoder offset detection!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().ScriptCommand(919, 0x40000000, c.command);
        Open();
        dynamic_cast<GwToggle*>(W("AntiCoging"))->set_checked(true);
        EXPECT_EQ(CB_4_200_ActivateAnticoging(W("AntiCoging"), nullptr, GwUD()), 1);
        EXPECT_EQ(Writes(), c.writes);
        EXPECT_EQ(On("AntiCogingState"), c.stateOn);
        EXPECT_EQ(On("AntiCoging"), c.switchOn);
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes);
        window_->destroy();
    }
    // Off: 921 := 0.
    Open();
    EXPECT_EQ(CB_4_200_ActivateAnticoging(W("AntiCoging"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20921=0"}));
    // Shown on when the drive compensates.
    Drive().Table().Find(921)->value = maintest::FloatBits(1.0f);
    EXPECT_EQ(CB_4_200_ShowAnticoging(W("AntiCoging"), nullptr, GwUD()), 1);
    EXPECT_TRUE(On("AntiCoging"));
}

}  // namespace
}  // namespace devicewintest
