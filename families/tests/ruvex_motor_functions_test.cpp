// The motor pages of a Ruvex drive against the motor fixture drive on the
// virtual clock: the motor-data windows chosen by the motor kind, the
// motor-kind containers of firmware 7.00, the identification button, the
// motor-data calculation and the encoder offset detection.
#include "families/ruvex_motor_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "families/tests/ruvex_motor_fixture.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kCaller[] = "button Open { }";

TEST_F(RuvexMotorTest, TheMotorKindChoosesTheMotorDataWindow) {
    struct Case {
        uint32_t kind;
        bool fail;
        const char* opened;
        int result;
    } cases[] = {
        {1, false, kSynchronousMotorDataWindow, 1},
        {0, false, kMotorDataWindow, 1},
        {2, false, kMotorDataWindow, 1},
        {1, true, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind + 10 * c.fail);
        Drive().Table().Find(kMotorKindParameter)->value = c.kind;
        GwCore* open = OpenCase(true, kCaller, "Open");
        if (c.fail) Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20153"));
        EXPECT_EQ(CB_4_200_CallMotorData(open, nullptr, GwUD()), c.result);
        for (const char* name : {kMotorDataWindow, kSynchronousMotorDataWindow}) {
            const bool expected = c.opened != nullptr && std::string(name) == c.opened;
            EXPECT_EQ(TheWindowHandler().FindByName(name) != nullptr, expected) << name;
        }
        if (c.fail) {
            ASSERT_EQ(NewBoxes().size(), 1u);
            EXPECT_EQ(NewBoxes()[0].kind, "error");
            EXPECT_EQ(NewBoxes()[0].parent, "MainWindow.DevWin");
        } else {
            EXPECT_TRUE(NewBoxes().empty());
        }
        CloseListed();
        window_->destroy();
    }
}

TEST_F(RuvexMotorTest, TheTypedMotorDataFollowTheChosenKind) {
    // Without the group's item 1 the window is broken.
    GwCore* next = OpenCase(true, "radiogroup _PN_153 { radio 0 { } }\n button Next { }", "Next");
    EXPECT_EQ(CB_4_200_CallTypedMotorData(next, nullptr, GwUD()), 0);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, kTypedMotorDataError);
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow");
    EXPECT_TRUE(Writes().empty());
    window_->destroy();

    // The first step opened from the setup window: the second step opens
    // over the setup window and the first is taken over and closed.
    for (bool synchronous : {true, false}) {
        SCOPED_TRACE(synchronous);
        GwCore* open = OpenCase(true, kCaller, "Open");
        Drive().Table().Find(kMotorKindParameter)->value = 0;
        CB_CallDeviceWindow(open, nullptr, GwUD("4_200_FirstCom1"));
        GwCore* first = TheWindowHandler().FindByName("4_200_FirstCom1");
        ASSERT_NE(first, nullptr);
        GwRef<> firstRef(first);
        first->child<GwToggle>("0")->set_checked(!synchronous);
        first->child<GwToggle>("1")->set_checked(synchronous);
        Drive().ClearCapture();
        EXPECT_EQ(CB_4_200_CallTypedMotorData(first->child("Next"), nullptr, GwUD()), 1);
        GwCore* second =
            TheWindowHandler().FindByName(synchronous ? kSynchronousTypedMotorDataWindow : kTypedMotorDataWindow);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->parent(), window_);
        EXPECT_EQ(TheWindowHandler().FindByName(synchronous ? kTypedMotorDataWindow : kSynchronousTypedMotorDataWindow),
                  nullptr);
        // Taken over and closed.
        EXPECT_TRUE(firstRef.get() == nullptr || !firstRef->is_shown());
        EXPECT_TRUE(NewBoxes().empty());
        CloseListed();
        window_->destroy();
    }
}

TEST_F(RuvexMotorTest, TheFirmware700MotorWindowShowsTheContainerOfItsKind) {
    Drive().Table().Find(kMotorKindParameter)->value = 1;
    GwCore* open = OpenCase(true, kCaller, "Open");
    // The firmware-7.00 drive finds its own window under the setup button's name.
    contexts_.back()->Base->SetValueDouble(92, 700.0);
    CB_CallDeviceWindow(open, nullptr, GwUD("4_Motordata"));
    GwCore* motor = TheWindowHandler().FindByName("4_700_Motordata");
    ASSERT_NE(motor, nullptr);
    GwCore* group = motor->child("_PN_153");
    ASSERT_NE(group, nullptr);
    auto* asynchronous = group->child<GwToggle>("0");
    auto* synchronous = group->child<GwToggle>("1");
    ASSERT_NE(asynchronous, nullptr);
    ASSERT_NE(synchronous, nullptr);
    struct Case {
        bool itemOne;
        bool asmShown;
        bool psmShown;
    } cases[] = {{true, false, true}, {false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemOne);
        asynchronous->set_checked(!c.itemOne);
        synchronous->set_checked(c.itemOne);
        EXPECT_EQ(CB_4_700_DvFctShowToggleContainerMotor(group, nullptr, GwUD()), 1);
        EXPECT_EQ(motor->child("ASM")->is_visible(), c.asmShown);
        EXPECT_EQ(motor->child("PSM")->is_visible(), c.psmShown);
        // The change takes the items from the frame's group whatever calls it.
        asynchronous->set_checked(c.itemOne);
        synchronous->set_checked(!c.itemOne);
        EXPECT_EQ(CB_4_700_DvFctParaChangeMOT(synchronous, nullptr, GwUD()), 1);
        EXPECT_EQ(motor->child("ASM")->is_visible(), !c.asmShown);
        EXPECT_EQ(motor->child("PSM")->is_visible(), !c.psmShown);
    }
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(RuvexMotorTest, TheIdentificationButtonIsForLevelSixWithTheDrivesIdentification) {
    for (int level : {5, 6}) {
        SCOPED_TRACE(level);
        SetUserLevel(static_cast<uint16_t>(level));
        GwCore* ident = OpenCase(true, "button Ident { }", "Ident");
        EXPECT_EQ(CB4_ShowMotorIdentfication(ident, nullptr, GwUD()), 1);
        EXPECT_EQ(ident->is_visible(), level == 6);
        window_->destroy();
    }
}

TEST_F(RuvexBareMotorTest, WithoutTheDrivesIdentificationTheButtonHides) {
    SetUserLevel(6);
    GwCore* ident = OpenCase(true, "button Ident { }", "Ident");
    EXPECT_EQ(CB4_ShowMotorIdentfication(ident, nullptr, GwUD()), 1);
    EXPECT_FALSE(ident->is_visible());
}

TEST_F(RuvexMotorTest, TheMotorCalculationWaitsForTheDrive) {
    constexpr char kPage[] = "button Calc { }\n edit _PN_158 { }";
    const std::string activity = "Preparing the detection ...";
    // The drive calculates for 3 s.
    Drive().Table().ScriptCommandReturn(kMotorCalcParameter, 2, 3'000'000);
    GwCore* calc = OpenCase(true, kPage, "Calc");
    Drive().ClearCapture();
    const uint64_t start = platform::TheClock().NowUs();
    bool openDuringTheWait = false;
    gwtest::At(3500, [&] { openDuringTheWait = ActivityWindowOpen; });
    EXPECT_EQ(CB_4_200_StartMotorCalc(calc, nullptr, GwUD()), 1);
    EXPECT_TRUE(openDuringTheWait);
    EXPECT_FALSE(ActivityWindowOpen);
    EXPECT_TRUE(ShownTexts().count(activity) != 0);
    const std::vector<Timed> calcs = TimedOf("20163", start);
    ASSERT_GE(calcs.size(), 3u);
    EXPECT_EQ(calcs.front().text, "W 20163=2");
    // Polled back to back until the 0 at 3 s, then closed 1000 ms later.
    EXPECT_LT(calcs.back().ms, 3200u);
    EXPECT_GE(calcs.back().ms, 3000u);
    EXPECT_GE(calcs.size(), 20u);
    EXPECT_TRUE(NewBoxes().empty());
    window_->destroy();

    // A drive that keeps calculating: the polling ends after 19 s.
    Drive().Table().Find(kMotorCalcParameter)->value = 0;
    Drive().Table().ScriptCommand(kMotorCalcParameter, 2, {sim::ReadStep::Forever(2)});
    calc = OpenCase(true, kPage, "Calc");
    Drive().ClearCapture();
    const uint64_t hung = platform::TheClock().NowUs();
    EXPECT_EQ(CB_4_200_StartMotorCalc(calc, nullptr, GwUD()), 1);
    const std::vector<Timed> polls = TimedOf("20163", hung);
    ASSERT_FALSE(polls.empty());
    EXPECT_GE(polls.back().ms, 19000u);
    EXPECT_LT(polls.back().ms, 19200u);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "Time-out of the encoder offset detection!");
    EXPECT_FALSE(ActivityWindowOpen);
    window_->destroy();

    // On a file base the table gets the command and nothing waits for it.
    calc = OpenCase(false, kPage, "Calc");
    Drive().ClearCapture();
    EXPECT_EQ(CB_4_200_StartMotorCalc(calc, nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    double stored = 0.0;
    EXPECT_EQ(contexts_.back()->Base->GetValueDouble(kMotorCalcParameter, &stored), 0);
    EXPECT_EQ(stored, 2.0);
    EXPECT_TRUE(NewBoxes().empty());
}

class EncoderOffsetTest : public RuvexMotorTest {
public:
    GwCore* OpenDetection(bool online = true) {
        GwCore* open = OpenCase(online, kCaller, "Open");
        CB_CallDeviceWindow(open, nullptr, GwUD("4_200_EncoderOffset"));
        GwCore* detection = TheWindowHandler().FindByName("4_200_EncoderOffset");
        EXPECT_NE(detection, nullptr);
        Drive().ClearCapture();
        MarkBoxes();
        return detection;
    }
};

TEST_F(EncoderOffsetTest, TheDetectionRunsUntilTheDriveEndsIt) {
    const std::string activity = "Detecting the encoder offset ...";
    const std::string timeout = "Time-out of the encoder offset detection!";
    enum End { kNone, kRedrawn, kTimeout, kReadFailed, kWriteRefused };
    struct Case {
        const char* name;
        bool identify;                       // "ECOID" on, else "ECOFF"
        uint32_t state;                      // 403
        int riskAnswer;                      // 0: no risk note expected
        std::vector<sim::ReadStep> command;  // reads of 120 after the write
        std::vector<std::string> writes;
        int reads;  // of 120
        End end;
    } cases[] = {
        {"identify, done after 4 s",
         true,
         State(2),
         kRiskNoteConfirmed,
         {sim::ReadStep::Until(4, 4'000'000), sim::ReadStep::Forever(0)},
         {"W 20120=4"},
         4,
         kRedrawn},
        {"check, done after 4 s",
         false,
         State(2),
         kRiskNoteConfirmed,
         {sim::ReadStep::Until(5, 4'000'000), sim::ReadStep::Forever(0)},
         {"W 20120=5"},
         4,
         kRedrawn},
        {"never done", true, State(2), kRiskNoteConfirmed, {sim::ReadStep::Forever(4)}, {"W 20120=4"}, 19, kTimeout},
        {"failed read", true, State(2), kRiskNoteConfirmed, {}, {"W 20120=4"}, 1, kReadFailed},
        {"refused write", true, State(2), kRiskNoteConfirmed, {}, {"W 20120=4"}, 0, kWriteRefused},
        {"not ready", true, State(8), 0, {}, {}, 0, kNone},
        {"risk note declined", true, State(2), GwRESULT_CANCEL, {}, {}, 0, kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().Find(kDriveState)->value = c.state;
        Drive().Table().Find(120)->value = 0;
        Drive().Table().Find(120)->read_only = c.end == kWriteRefused;
        for (uint32_t written : {4u, 5u}) Drive().Table().ScriptCommand(120, written, c.command);
        GwCore* detection = OpenDetection();
        ASSERT_NE(detection, nullptr);
        detection->child<GwToggle>("ECOID")->set_checked(c.identify);
        detection->child<GwToggle>("ECOFF")->set_checked(!c.identify);
        if (c.riskAnswer != 0) gwtest::AnswerModal(c.riskAnswer, kRiskNoteTuning);
        if (c.end == kReadFailed) {
            // The write goes through, the reads after it are refused.
            Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20120").After(1).Times(sim::kForever));
        }
        const bool ran = c.end == kRedrawn || c.end == kTimeout || c.end == kReadFailed;
        // Only a run waits, so only then does the user look in between.
        bool activityOpen = false;
        if (ran) gwtest::At(1500, [&] { activityOpen = ActivityWindowOpen; });
        MarkTexts();
        const size_t shownBefore = EffectCount("show", detection);
        EXPECT_EQ(CB_4_200_StartEncoderOffsetDetection(detection->child("Start"), nullptr, GwUD()), 1);
        EXPECT_EQ(Writes(), c.writes);
        int reads = 0;
        for (const std::string& t : Heard()) reads += t == "R 20120";
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(activityOpen, ran);
        EXPECT_EQ(ShownTexts().count(activity) != 0, ran);
        EXPECT_FALSE(ActivityWindowOpen);
        EXPECT_EQ(EffectCount("show", detection) > shownBefore, c.end == kRedrawn);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        if (c.end == kRedrawn || c.end == kNone) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].kind, "error");
            if (c.end == kTimeout) EXPECT_EQ(boxes[0].text, timeout);
            // A refused write is the active device's, over the main window.
            EXPECT_EQ(boxes[0].parent,
                      c.end == kWriteRefused ? "MainWindow"
                      : c.end == kReadFailed ? "MainWindow.DevWin.4_200_EncoderOffset"
                                             : "MainWindow");
        }
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        Drive().ClearFaults();
        CloseListed();
        window_->destroy();
    }
}

// The user closes the detection window while the drive runs: the wait ends
// without a further look and without touching the window, whose memory is
// freed.
TEST_F(EncoderOffsetTest, AWindowClosedDuringTheDetectionEndsTheWait) {
    Drive().Table().Find(kDriveState)->value = State(2);
    Drive().Table().Find(120)->value = 0;
    Drive().Table().ScriptCommand(120, 4u, {sim::ReadStep::Until(4, 4'000'000), sim::ReadStep::Forever(0)});
    GwCore* detection = OpenDetection();
    ASSERT_NE(detection, nullptr);
    detection->child<GwToggle>("ECOID")->set_checked(true);
    detection->child<GwToggle>("ECOFF")->set_checked(false);
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    int readsAtClose = -1;
    gwtest::At(2500, [&] {
        readsAtClose = static_cast<int>(Count(Heard(), "R 20120"));
        DestroyAndFree(detection);
    });
    EXPECT_EQ(CB_4_200_StartEncoderOffsetDetection(detection->child("Start"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), std::vector<std::string>{"W 20120=4"});
    EXPECT_GE(readsAtClose, 1);
    EXPECT_EQ(static_cast<int>(Count(Heard(), "R 20120")), readsAtClose) << "no look after the close";
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_FALSE(ActivityWindowOpen);
    CloseListed();
    window_->destroy();
}

TEST_F(EncoderOffsetTest, LeavingOffersToStoreAndClosesEitherWay) {
    struct Case {
        bool online;
        int answer;
        const char* question;
        std::vector<std::string> writes;
    } cases[] = {
        {true, GwRESULT_YES, "The settings were changed. Store them in the device?", {"W 20150=1"}},
        {true, GwRESULT_NO, "The settings were changed. Store them in the device?", {}},
        {false, GwRESULT_NO, "The settings were changed. Store them in the file?", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.question) + std::to_string(c.answer));
        GwCore* detection = OpenDetection(c.online);
        ASSERT_NE(detection, nullptr);
        GwRef<> ref(detection);
        gwtest::AnswerBox(c.answer);
        EXPECT_EQ(CB_4_200_ExitEncoderOffsetDetection(detection->child("Exit"), nullptr, GwUD()), 1);
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].kind, "question");
        EXPECT_EQ(NewBoxes()[0].text, c.question);
        EXPECT_EQ(NewBoxes()[0].parent, "MainWindow");
        EXPECT_EQ(Writes(), c.writes);
        EXPECT_EQ(ref.get(), nullptr);
        EXPECT_EQ(TheWindowHandler().FindByName("4_200_EncoderOffset"), nullptr);
        window_->destroy();
    }
    // The window's close request asks the same.
    GwCore* detection = OpenDetection();
    ASSERT_NE(detection, nullptr);
    GwRef<> ref(detection);
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::Close(detection);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The settings were changed. Store them in the device?");
    EXPECT_EQ(ref.get(), nullptr);
    EXPECT_TRUE(Writes().empty());
}

}  // namespace
}  // namespace devicewintest
