// The start and close callbacks of the identification window on the virtual
// drive: who may start, a run found active, the operating mode and the
// recorder around a run, the family's parameters, and the answers at the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/window_handler.h"
#include "motor/ident/ident_callbacks.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/tests/ident_fixture.h"
#include "platform/base/format.h"
#include "sim/drive_capture.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace identtest {
namespace {

constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kQuit = 2;

// The recorder's settings written back after a run, in this order.
std::vector<std::string> RecorderRestore() {
    return {"W 20066=1",
            "W 20064=C",
            "W 20065=1",
            "W 20067=190",
            "W 20020=20",
            "W 20021=0",
            "W 20022=20",
            "W 20023=1",
            "W 20024=20",
            "W 20025=2",
            "W 20026=20",
            "W 20027=0",
            "W 20060=1"};
}

class StartTest : public IdentTest {};

TEST_F(StartTest, OnlyAnAcceptedNoteAndClosedControlWindowsLetARunStart) {
    // A refused risk note: nothing read.
    Open(kIdentWindowBody, true, false);
    gwtest::AnswerModal(0, kRiskNoteTuning);
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{});

    // An open control window asks 148; "No" ends with nothing written.
    ListedOnlineWindow("DeviceControl");
    Open();
    gwtest::AnswerBox(kNo);
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"question: Manual control windows are open. Close them?"});
    EXPECT_EQ(Writes(), std::vector<std::string>{});

    // "Yes" closes it and goes on: a motor of type 2 ends the run at once.
    SetValue(153, 2.0f);
    Open();
    gwtest::AnswerBox(kYes);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"question: Manual control windows are open. Close them?",
                                        "error: Unknown motor type!",
                                        "info: The identification failed!"}));
    EXPECT_EQ(TheWindowHandler().FindByName("DeviceControl"), nullptr);
    EXPECT_EQ(Count(Heard(), R(260)), 1u);
}

TEST_F(StartTest, ARunFoundActiveIsStoppedOnlyWithTheUsersConsent) {
    struct Case {
        const char* name;
        float command;
        float state;
        bool firstTime;
        std::vector<int> answers;
        int result;
        std::vector<std::string> boxes;
        std::vector<std::string> writesBefore260;
    } cases[] = {
        {"command 0, state 2: no run", 0.0f, 2.0f, true, {}, 0, {}, {}},
        {"command 0, state 1: warning, No",
         0.0f,
         1.0f,
         true,
         {kNo},
         1,
         {"warning: The drive is running. Stop it before the identification!"},
         {}},
        {"command 2, state 1: warning, Yes, then error, Quit",
         2.0f,
         1.0f,
         true,
         {kYes, kQuit},
         1,
         {"warning: The drive is running. Stop it before the identification!",
          "error: The drive is running. The identification cannot start!"},
         {W(120, 0.0f)}},
        {"not the first time: error, Quit",
         0.0f,
         1.0f,
         false,
         {kQuit},
         1,
         {"error: The drive is running. The identification cannot start!"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetValue(153, 2.0f);  // a run that starts ends at once
        SetValue(120, c.command);
        SetValue(832, c.state);
        TheMotorIdentState().ConfirmStopFirstTime = c.firstTime;
        Open();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        const int result = Start();
        EXPECT_EQ(result, c.result);
        std::vector<std::string> boxes = BoxTexts();
        if (c.result == 0) {
            EXPECT_EQ(boxes,
                      (std::vector<std::string>{"error: Unknown motor type!", "info: The identification failed!"}));
        } else {
            EXPECT_EQ(boxes, c.boxes);
            EXPECT_EQ(Writes(), c.writesBefore260);
            EXPECT_EQ(Count(Heard(), R(260)), 0u);
        }
        // Only a stop clears the first-time flag.
        EXPECT_EQ(TheMotorIdentState().ConfirmStopFirstTime, c.firstTime && c.writesBefore260.empty());
    }
}

TEST_F(StartTest, TheStopOfAnActiveRunWaitsBeforeAskingAgain) {
    SetValue(153, 2.0f);
    SetValue(120, 2.0f);
    SetValue(832, 1.0f);
    Open();
    gwtest::AnswerBox(kYes);
    gwtest::AnswerBox(kQuit);
    EXPECT_EQ(Start(), 1);
    std::vector<uint64_t> times;
    std::vector<std::string> texts;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
        texts.push_back(t.text);
        times.push_back(t.time_us);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{R(120), R(832), W(120, 0.0f), R(120), R(832)}));
    ASSERT_EQ(times.size(), 5u);
    EXPECT_GE(times[3] - times[2], 500000u);
    EXPECT_FALSE(TheMotorIdentState().ConfirmStopFirstTime);
}

TEST_F(StartTest, TheModeAndTheRecorderAreKeptAroundARun) {
    UseSynchronousMotor();
    Open();
    gwtest::AnswerBox(kYes);  // store the results
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"question: Store the identified values in the device?"});
    const std::vector<std::string> writes = Writes();
    ASSERT_FALSE(writes.empty());
    // 260 read and set to 3 before the first write of the identification.
    const std::vector<std::string> heard = Heard();
    EXPECT_TRUE(InOrder(heard, {R(260), W(260, 3.0f), W(120, 1.0f)}));
    EXPECT_EQ(writes.front(), W(260, 3.0f));
    // Afterwards 5 again, the recorder's settings, then the save.
    std::vector<std::string> tail = {W(260, 5.0f)};
    for (const std::string& t : RecorderRestore()) tail.push_back(t);
    tail.push_back("W 20150=1");
    ASSERT_GE(writes.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(writes.end() - static_cast<long>(tail.size()), writes.end()), tail);
    EXPECT_EQ(Value(260), 5.0f);

    // "No" to storing: 1, no save.
    Open();
    gwtest::AnswerBox(kNo);
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"question: Store the identified values in the device?"});
    ASSERT_FALSE(Writes().empty());
    EXPECT_EQ(Count(Writes(), "W 20150=1"), 0u);
    EXPECT_EQ(Writes().back(), "W 20060=1");
}

TEST_F(StartTest, AFailedRunIsReportedAndTheModeWrittenOnceMore) {
    UseSynchronousMotor();
    Unit().scripts.push_back({1, sim::MotorIdentFault::kFail});
    Open();
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{"info: The drive ended the step with an error!",
                                        "info: The identification failed!"}));
    const std::vector<std::string> writes = Writes();
    std::vector<std::string> tail = {W(260, 5.0f)};
    for (const std::string& t : RecorderRestore()) tail.push_back(t);
    tail.push_back(W(260, 5.0f));
    ASSERT_GE(writes.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(writes.end() - static_cast<long>(tail.size()), writes.end()), tail);
}

TEST_F(StartTest, AWindowWithoutTheRatedTorqueToggleLeavesTheDriveAsItWas) {
    UseSynchronousMotor();
    Open("button Start { }\n");
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: A window or one of its elements could not be loaded!"});
    EXPECT_EQ(Writes(), std::vector<std::string>{});
    for (int number : {260, 66, 64, 65, 67, 21, 60}) EXPECT_EQ(Count(Heard(), R(number)), 0u) << number;
}

TEST_F(StartTest, ARecorderSettingThatCouldNotBeReadIsNotWrittenBack) {
    UseSynchronousMotor();
    Open();
    // The trigger level's read is refused: the recorder's box, the bus's
    // offer to uncouple, then the question at the end.
    Drive().AddFault(sim::DriveFault::Nak(0x0004).For("20064"));
    gwtest::AnswerBox(1);
    gwtest::AnswerBox(kNo);
    gwtest::AnswerBox(kNo);
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 64-TRLEV: \nDevice canceled last telegram!",
                  "question: The device does not answer. Uncouple all devices?",
                  "question: Store the identified values in the device?"}));
    std::vector<std::string> restore = RecorderRestore();
    restore.erase(restore.begin() + 1);  // 64
    const std::vector<std::string> writes = Writes();
    ASSERT_GE(writes.size(), restore.size());
    EXPECT_EQ(std::vector<std::string>(writes.end() - static_cast<long>(restore.size()), writes.end()), restore);
    EXPECT_EQ(Count(writes, "W 20064=0"), 0u);
}

TEST_F(StartTest, ClosingTheWindowStopsARunningIdentificationOnlyWhenAsked) {
    struct Case {
        float state;
        bool firstTime;
        std::vector<int> answers;
        std::vector<std::string> boxes;
        std::vector<std::string> writes;
    } cases[] = {
        {1.0f, true, {kNo}, {"question: The identification is running. Keep it running?"}, {W(120, 0.0f)}},
        {1.0f, true, {kYes}, {"question: The identification is running. Keep it running?"}, {}},
        {1.0f, false, {}, {}, {}},
        {2.0f, true, {}, {}, {}},
        {0.0f, true, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::Format("state %g, first %d", c.state, c.firstTime));
        SetValue(832, c.state);
        TheMotorIdentState().ConfirmStopFirstTime = c.firstTime;
        Open(kIdentWindowBody, true, false);
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        EXPECT_EQ(CB_CloseMotorIdent(DeviceWindowTest::W("Start"), nullptr, GwUD()), 1);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(Writes(), c.writes);
        EXPECT_EQ(Heard().front(), R(832));
    }
}

TEST_F(StartTest, TheDefinitionsHoldTheIdentificationWindow) {
    ASSERT_NE(GwRcMgr::use_func_desc(MotorIdentCallbacks()), 0);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/pesco.cgw").c_str()));
    GwCore* window = GwRcMgr::load(mainWindow_, "5_MotorIdent", 1);
    ASSERT_NE(window, nullptr);
    for (const char* name : {"_PN_153", "_PN_154", "_PN_155", "_PN_156", "_PN_157", "_PN_158", "_PN_160", "_PN_852"})
        EXPECT_NE(window->child(name), nullptr) << name;
    EXPECT_NE(window->child<GwToggle>("RatedTorque"), nullptr);
    EXPECT_EQ(window->child("BT_TakeIt")->callback_name(GwCB_ACTIVATE), "CB_DvFctTakeIt");
    EXPECT_EQ(window->child("StartIdent")->callback_name(GwCB_ACTIVATE), "CB_5_IdentMotor");
    EXPECT_EQ(window->callback_name(GwCB_CLOSE), "CB_CloseMotorIdent");
}

template <uint16_t Type>
class OtherFamilyTest : public IdentTest {
public:
    OtherFamilyTest() : IdentTest(Type) {}
};
using FamilyThreeTest = OtherFamilyTest<3012>;
using FamilyEightTest = OtherFamilyTest<9012>;

TEST_F(FamilyThreeTest, StartsNothing) {
    Open();
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(FamilyEightTest, StartsNothing) {
    Open();
    EXPECT_EQ(Start(), 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace identtest
