// The manual positioning window of a Ruvex drive against a virtual drive:
// the commands it sends into the drive's command parameter, the jog
// watchdog, the drive states it derives and the keys they enable.
#include "families/manual_positioning_ruvex.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/manual_positioning.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kWindowBody[] =
    "toggle TippLowSpeed { }\n toggle TippHighSpeed { }\n toggle TippUserSpeed { }\n edit UserSpeed { }\n"
    " edit PositionWay { }\n toggle PositionAbsolut { }\n combo Command { }\n"
    " button TippPlus { }\n button TippMinus { }\n button Other { }\n"
    " button DeviceStart { }\n button DeviceStop { }\n label Watch { }";

constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }

class RuvexHandTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.version = with771_ ? 2345 : 2346;
        table.type_number = 4012;
        table.Find(91)->value = 4012;
        table.PutFullRange(kRuvexCommandParameter, "CMDTX", "STRING", 0);
        table.PutFullRange(kRuvexControlWord, "CTRLW", "USIGN16", 0);
        for (int n : {280, 260, 757}) table.PutFullRange(n, "U8", "USIGN8", 0);
        if (with771_) table.PutFullRange(771, "U8", "USIGN8", 0);
        table.PutFullRange(kRuvexHighJogSpeed, "VHIGH", "INT32", 3000);
        table.PutFullRange(kRuvexLowJogSpeed, "VLOW", "INT32", 300);
        table.PutFullRange(kRuvexWayUnit, "WUNIT", "STRING", 0)->text = "mm";
        table.PutFullRange(kRuvexSpeedUnit, "VUNIT", "STRING", 0)->text = "mm/s";
        sim::DriveParameter* reference = table.PutFullRange(kRuvexReferenceType, "RFTYP", "USIGN8", 0);
        reference->flags |= sim::kFlagValueTexts;
        reference->value_texts = {{0, "Block"}, {1, "LimitSw"}};
        table.Find(403)->value = State(2);
        return table;
    }
    void Open() {
        OpenWindow(kWindowBody, MakeContext(true));
        TheWindowHandler().Add(window_, 1);
        Toggle("TippLowSpeed")->set_checked(true);
        ClearCaptures();
    }
    bool with771_ = true;
    // Enters hand mode, the risk note answered with `note`.
    void Enter(int note = kRiskNoteConfirmed) {
        gwtest::AnswerModal(note, kRiskNoteManualMode);
        CB_4_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    }
    GwToggle* Toggle(const char* name) { return dynamic_cast<GwToggle*>(W(name)); }
    std::vector<std::string> Commands() { return Drive().Table().Find(kRuvexCommandParameter)->text_log; }
    void Button(const char* name, int reason) {
        GwEvent event;
        event.type = GwCB_BUTTON;
        event.reason = reason;
        event.widget = W(name);
        const std::string key = name;
        if (key == "TippMinus")
            CB_4_PosHand_TippMinus(W(name), &event, GwUD());
        else
            CB_4_PosHand_TippPlus(W(name), &event, GwUD());
    }
};

struct CommandCase {
    const char* what;
    std::function<void(RuvexHandTest&)> act;
    std::vector<std::string> sent;
};

TEST_F(RuvexHandTest, CommandsGoIntoTheCommandParameterAsText) {
    const std::vector<CommandCase> cases = {
        {"jog plus down", [](RuvexHandTest& t) { t.Button("TippPlus", GwBUTTON_DOWN); }, {"GO V+300"}},
        {"jog plus up", [](RuvexHandTest& t) { t.Button("TippPlus", GwBUTTON_UP); }, {"STOP B"}},
        {"jog minus down", [](RuvexHandTest& t) { t.Button("TippMinus", GwBUTTON_DOWN); }, {"GO V-300"}},
        {"other jog event", [](RuvexHandTest& t) { t.Button("TippPlus", 1); }, {}},
        {"high speed",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Toggle("TippHighSpeed")->set_checked(true);
             t.Button("TippPlus", GwBUTTON_DOWN);
         },
         {"GO V+3000"}},
        {"user speed",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Toggle("TippUserSpeed")->set_checked(true);
             t.W("UserSpeed")->set_text("250.7");
             t.Button("TippPlus", GwBUTTON_DOWN);
         },
         {"GO V+250"}},
        {"none checked takes the low speed",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Button("TippPlus", GwBUTTON_DOWN);
         },
         {"GO V+300"}},
        {"absolute position",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Toggle("TippUserSpeed")->set_checked(true);
             t.W("UserSpeed")->set_text("500");
             t.Toggle("PositionAbsolut")->set_checked(true);
             t.W("PositionWay")->set_text("12000");
             CB_4_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
         },
         {"GOA12000V500"}},
        {"relative, empty way",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Toggle("TippUserSpeed")->set_checked(true);
             t.W("UserSpeed")->set_text("500");
             CB_4_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
         },
         {"GOR0V500"}},
        {"ways truncate toward zero",
         [](RuvexHandTest& t) {
             t.Toggle("TippLowSpeed")->set_checked(false);
             t.Toggle("TippUserSpeed")->set_checked(true);
             t.W("UserSpeed")->set_text("500");
             t.W("PositionWay")->set_text("12.9");
             CB_4_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
             t.W("PositionWay")->set_text("-12.9");
             CB_4_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
         },
         {"GOR12V500", "GOR-12V500"}},
        {"position stop",
         [](RuvexHandTest& t) { CB_4_PosHand_PositionStop(t.W("Other"), nullptr, GwUD()); },
         {"STOP B"}},
        {"homing", [](RuvexHandTest& t) { CB_4_PosHand_StartRef(t.W("Other"), nullptr, GwUD()); }, {"GO 0"}},
        {"empty command box", [](RuvexHandTest& t) { CB_4_PosHand_SetCommand(t.W("Command"), nullptr, GwUD()); }, {}},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.what);
        Drive().Table().Find(kRuvexCommandParameter)->text_log.clear();
        Open();
        c.act(*this);
        EXPECT_EQ(Commands(), c.sent);
    }
}

TEST_F(RuvexHandTest, AMissingSpeedWidgetGivesErrorSevenAndSpeedZero) {
    OpenWindow("toggle TippLowSpeed { }\n toggle TippHighSpeed { }\n edit UserSpeed { }\n button TippPlus { }",
               MakeContext(true));
    MarkBoxes();
    gwtest::AnswerBox(1);
    Button("TippPlus", GwBUTTON_DOWN);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "A window or one of its elements could not be loaded!");
    EXPECT_EQ(Commands(), std::vector<std::string>{"GO V+0"});
}

TEST_F(RuvexHandTest, TheCommandBoxKeepsEachCommandOnceAtTheTop) {
    Open();
    auto* box = dynamic_cast<GwCombo*>(W("Command"));
    box->set_text("ABC");
    CB_4_PosHand_SetCommand(box, nullptr, GwUD());
    EXPECT_EQ(box->item_text(0), "ABC");
    EXPECT_EQ(box->text(), "");
    box->set_text("ABC");
    CB_4_PosHand_SetCommand(box, nullptr, GwUD());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ABC", "ABC"}));
    EXPECT_EQ(box->item_text(1), "");
}

TEST_F(RuvexHandTest, KeysFollowTheStateTable) {
    const bool start[14] = {0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    const bool stop[14] = {0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1};
    for (int s = 0; s < 14; ++s) {
        EXPECT_EQ(kRuvexHandKeys[static_cast<size_t>(s)].Start, start[s]) << s;
        EXPECT_EQ(kRuvexHandKeys[static_cast<size_t>(s)].Stop, stop[s]) << s;
    }
    Open();
    for (int s : {2, 3, 5, 11}) {
        SCOPED_TRACE(s);
        Drive().Table().Find(403)->value = State(s);
        CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
        EXPECT_EQ(W("DeviceStart")->is_sensitive(), start[s]);
        EXPECT_EQ(W("DeviceStop")->is_sensitive(), stop[s]);
    }
}

TEST_F(RuvexHandTest, StartAndStopKeysWriteTheControlWord) {
    Open();
    CB_4_PosHand_DeviceStart(W("DeviceStart"), nullptr, GwUD());
    CB_4_PosHand_DeviceStop(W("DeviceStop"), nullptr, GwUD());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"W 20551=0", "W 20551=1", "W 20551=0"}));
}

TEST_F(RuvexHandTest, FaultClearedAfterStateOneResetsTheControlWordOnce) {
    Open();
    Drive().Table().Find(kRuvexControlWord)->value = 0x05;
    Drive().Table().ScriptReads(403,
                                {sim::ReadStep::ForReads(State(1), 1),
                                 sim::ReadStep::ForReads(State(13), 1),
                                 sim::ReadStep::Forever(State(9))});
    TheRuvexHandState().LastDriveState = 0;
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 1);
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 13);
    ClearCaptures();
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 9);
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 9);
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"R 20403", "R 20551", "W 20551=5", "W 20551=85", "W 20551=0", "R 20403"}));
    // With the reset bit already set the drive gets the same three writes.
    Drive().Table().Find(kRuvexControlWord)->value = 0x85;
    Drive().Table().ScriptReads(403, {sim::ReadStep::ForReads(State(1), 1), sim::ReadStep::Forever(State(9))});
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 1);
    ClearCaptures();
    EXPECT_EQ(PosHand4_GetDriveState(contexts_.back()->Base.get()), 9);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20403", "R 20551", "W 20551=5", "W 20551=85", "W 20551=0"}));
}

// Whether the window is gone or no longer shown.
bool Closed(const GwRef<>& window) { return window.get() == nullptr || !window->is_shown(); }

TEST_F(RuvexHandTest, EnteringSavesSetsAndSelectsTheLowSpeed) {
    Open();
    Drive().Table().Find(280)->value = 4;
    Drive().Table().Find(260)->value = 1;
    Drive().Table().Find(771)->value = 2;
    Enter();
    EXPECT_TRUE(TheRuvexHandState().HandMode);
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"R 20403",
                                        "R 20757",
                                        "R 20280",
                                        "R 20260",
                                        "R 20771",
                                        "W 20280=9",
                                        "W 20260=3",
                                        "W 20771=0",
                                        "W 20751=%+R",
                                        "R 20716"}));
    EXPECT_EQ(Commands(), std::vector<std::string>{"%+R"});
    EXPECT_TRUE(Toggle("TippLowSpeed")->is_checked());
    EXPECT_EQ(W("UserSpeed")->text(), "300");
    EXPECT_TRUE(dynamic_cast<GwEdit*>(W("UserSpeed"))->is_read_only());

    // Leaving a standing drive: "%-R" and the saved values back, then closed.
    GwRef<> window(window_);
    ClearCaptures();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_FALSE(TheRuvexHandState().HandMode);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20403", "W 20751=%-R", "W 20280=4", "W 20260=1", "W 20771=2"}));
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, RefusalsCloseTheWindowBeforeAnythingIsWritten) {
    for (int state : {3, 4, 6, 11}) {
        SCOPED_TRACE(state);
        Drive().Table().Find(403)->value = State(state);
        Open();
        GwRef<> window(window_);
        MarkBoxes();
        CB_4_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].text, "The active device is running. Manual control cannot be started!");
        EXPECT_EQ(Heard(), std::vector<std::string>{"R 20403"});
        EXPECT_TRUE(Closed(window));
        EXPECT_FALSE(TheRuvexHandState().HandMode);
    }
    Drive().Table().Find(403)->value = State(2);
    Drive().Table().Find(757)->value = 2;
    Open();
    GwRef<> window(window_);
    MarkBoxes();
    CB_4_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_NE(NewBoxes()[0].text.find("Manual positioning is not allowed in the drive's present setting"),
              std::string::npos)
        << NewBoxes()[0].text;
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20403", "R 20757"}));
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, ADeclinedRiskNoteClosesTheWindow) {
    Open();
    GwRef<> window(window_);
    Enter(2);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20403", "R 20757"}));
    EXPECT_TRUE(Closed(window));
    EXPECT_FALSE(TheRuvexHandState().HandMode);
}

class RuvexHandWithout771Test : public RuvexHandTest {
public:
    RuvexHandWithout771Test() { with771_ = false; }
};

TEST_F(RuvexHandWithout771Test, TheOptionalParameterIsNeitherSavedNorRestored) {
    Open();
    Enter();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    for (const std::string& t : Heard()) EXPECT_EQ(t.find("20771"), std::string::npos) << t;
    EXPECT_FALSE(TheRuvexHandState().HandMode);
}

TEST_F(RuvexHandTest, LeavingWaitsForStandstillStoppingEveryPass) {
    Open();
    Enter();
    ASSERT_TRUE(TheRuvexHandState().HandMode);
    Drive().Table().Find(403)->value = State(3);
    Drive().Table().control_word.rules = {{0, State(2)}};
    GwRef<> window(window_);
    ClearCaptures();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{
                  "R 20403", "W 20551=0", "R 20403", "W 20751=%-R", "W 20280=0", "W 20260=0", "W 20771=0"}));
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, ADriveThatKeepsMovingIsAskedAboutAtTheTwentySecondPass) {
    Open();
    Enter();
    Drive().Table().Find(403)->value = State(3);
    GwRef<> window(window_);
    ClearCaptures();
    MarkBoxes();
    gwtest::AnswerBox(2);
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The drive does not stop!");
    const std::vector<std::string> heard = Heard();
    int stops = 0;
    for (const std::string& t : heard) stops += t == "W 20551=0" ? 1 : 0;
    EXPECT_EQ(stops, 21);
    EXPECT_EQ(heard.back(), "R 20091");
    EXPECT_TRUE(TheRuvexHandState().HandMode);
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, ARefusedCommandNamesItAndQuittingClosesTheWindow) {
    Open();
    GwRef<> window(window_);
    Drive().AddFault(sim::DriveFault::Nak(0x80).For("20751"));
    MarkBoxes();
    gwtest::AnswerBox(2);
    Button("TippPlus", GwBUTTON_DOWN);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The drive refused the command \"GO V+300\"");
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, AKeyReleasedAfterAFailedPressStillStops) {
    Open();
    Drive().AddFault(sim::DriveFault::Nak(0x80).For("20751"));
    gwtest::AnswerBox(GwRESULT_OK);
    Button("TippPlus", GwBUTTON_DOWN);
    Button("TippPlus", GwBUTTON_UP);
    EXPECT_EQ(Commands(), std::vector<std::string>{"STOP B"});
}

TEST_F(RuvexHandTest, TheWatchdogStopsAJogWhoseKeyLostTheFocus) {
    Open();
    W("TippPlus")->set_focus();
    Button("TippPlus", GwBUTTON_DOWN);
    CB_TimerTipWdg(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(Commands(), std::vector<std::string>{"GO V+300"});
    W("Other")->set_focus();
    CB_TimerTipWdg(W("Watch"), nullptr, GwUD());
    CB_TimerTipWdg(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"GO V+300", "STOP B"}));
    EXPECT_FALSE(TheRuvexHandState().Jogging);
    // Hidden, the window stops the motion and the watchdog.
    CB_StartTipWdgTimer(W("Watch"), nullptr, GwUD());
    window_->hide();
    CB_TimerTipWdg(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"GO V+300", "STOP B", "STOP B"}));
    EXPECT_FALSE(W("Watch")->is_timer_running());
}

TEST_F(RuvexHandTest, SpeedTogglesShowTheirSpeedAndUnitsComeFromTheDrive) {
    Open();
    Toggle("TippHighSpeed")->set_checked(false);
    CB_4_PosHand_ShowHighSpeed(W("TippHighSpeed"), nullptr, GwUD());
    EXPECT_TRUE(Heard().empty());
    Toggle("TippHighSpeed")->set_checked(true);
    CB_4_PosHand_ShowHighSpeed(W("TippHighSpeed"), nullptr, GwUD());
    EXPECT_EQ(W("UserSpeed")->text(), "3000");
    EXPECT_TRUE(dynamic_cast<GwEdit*>(W("UserSpeed"))->is_read_only());
    // The user speed toggle gives the field back to typing.
    Toggle("TippHighSpeed")->set_checked(false);
    Toggle("TippUserSpeed")->set_checked(true);
    CB_4_PosHand_ShowUserSpeed(W("TippUserSpeed"), nullptr, GwUD());
    EXPECT_FALSE(dynamic_cast<GwEdit*>(W("UserSpeed"))->is_read_only());
    EXPECT_EQ(W("UserSpeed")->text(), "3000");
    CB_4_PosHand_SetWayUnit(W("PositionWay"), nullptr, GwUD());
    CB_4_PosHand_SetSpeedUnit(W("UserSpeed"), nullptr, GwUD());
    EXPECT_EQ(dynamic_cast<GwEdit*>(W("PositionWay"))->suffix(), "mm");
    EXPECT_EQ(dynamic_cast<GwEdit*>(W("UserSpeed"))->suffix(), "mm/s");
}

TEST_F(RuvexHandTest, TheStateTimerRestartsAtItsRateAndTheInitTimerFollowsTheBase) {
    Open();
    CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(TheRuvexHandState().ControlTimer.Current, 1000u);
    CB_4_PosHand_InitTimer(W("DeviceStop"), nullptr, GwUD());
    EXPECT_TRUE(W("DeviceStop")->is_timer_running());
    OpenWindow(kWindowBody, MakeContext(false));
    W("DeviceStop")->start_timer(100);
    CB_4_PosHand_InitTimer(W("DeviceStop"), nullptr, GwUD());
    EXPECT_FALSE(W("DeviceStop")->is_timer_running());
}

class RuvexHandFastLineTest : public RuvexHandTest {
public:
    RuvexHandFastLineTest() { baud_ = 19200; }
};

TEST_F(RuvexHandFastLineTest, TheStateTimerHoldsItsMinimum) {
    Open();
    CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(TheRuvexHandState().ControlTimer.Current, 500u);
}

// Milliseconds on the virtual clock.
uint64_t Now() { return platform::TheClock().NowMs(); }

TEST_F(RuvexHandTest, LeavingAsksWithMessage35WhenTheDriveGivesNoTypeAndQuitLeavesEverythingAsItIs) {
    Open();
    Enter();
    Drive().Table().Find(403)->value = State(3);
    Drive().AddFault(sim::DriveFault::Nak(0x02).For("20091").Times(sim::kForever));
    GwRef<> window(window_);
    ClearCaptures();
    MarkBoxes();
    const uint64_t start = Now();
    std::vector<uint64_t> askedAt;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord&) { askedAt.push_back(Now() - start); });
    gwtest::AnswerBox(2, [&](const GwBoxRecord&) { askedAt.push_back(Now() - start); });
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 2u);
    for (const GwBoxRecord& box : NewBoxes()) EXPECT_EQ(box.text, "No connection to the drive!");
    // "OK" counts the passes again from 0: 21 stops, the first question and
    // its stop, 21 more stops, the second question.
    const std::vector<std::string> heard = Heard();
    int stops = 0;
    for (const std::string& t : heard) stops += t == "W 20551=0" ? 1 : 0;
    EXPECT_EQ(stops, 43);
    ASSERT_EQ(askedAt.size(), 2u);
    EXPECT_GE(askedAt[0], 2200u);
    EXPECT_GE(askedAt[1], askedAt[0] + 2200u);
    // Quit closes without restoring, and nothing follows the question.
    EXPECT_EQ(heard.back(), "R 20091");
    EXPECT_TRUE(TheRuvexHandState().HandMode);
    EXPECT_TRUE(Closed(window));
    ClearCaptures();
    gwtest::Advance(1000);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(RuvexHandTest, AJoggedDriveIsStoppedUntilItStandsBeforeTheValuesGoBack) {
    Open();
    Drive().Table().command_motion.enabled = true;
    Drive().Table().command_motion.stop_after_us = 250000;
    Enter();
    Button("TippPlus", GwBUTTON_DOWN);
    ASSERT_EQ(Drive().Table().Find(403)->value, State(3));
    GwRef<> window(window_);
    ClearCaptures();
    const uint64_t start = Now();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_GE(Now() - start, 250u);
    const std::vector<std::string> heard = Heard();
    int stops = 0;
    for (const std::string& t : heard) stops += t == "W 20551=0" ? 1 : 0;
    EXPECT_GE(stops, 2);
    const std::vector<std::string> tail(heard.end() - 5, heard.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"R 20403", "W 20751=%-R", "W 20280=0", "W 20260=0", "W 20771=0"}));
    EXPECT_EQ(Drive().Table().Find(403)->value, State(2));
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, TheLeavingActivityTextsShowTheWaitThenTheRestore) {
    Open();
    Enter();
    Drive().Table().Find(403)->value = State(3);
    Drive().Table().control_word.rules = {{0, State(2)}};
    const size_t before = gwtest::Effects("text").size();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    std::vector<std::string> texts;
    const std::vector<GwEffect> effects = gwtest::Effects("text");
    for (size_t i = before; i < effects.size(); ++i)
        if (const GwEffect& e = effects[i]; e.value.find(" ...") != std::string::npos) texts.push_back(e.value);
    EXPECT_EQ(texts, (std::vector<std::string>{"Stopping the drive ...", "Switching off manual control ..."}));
}

TEST_F(RuvexHandTest, ARefusedRestoreOf771KeepsHandModeAndTheWindowForASecondLeave) {
    Open();
    Drive().Table().Find(771)->value = 2;
    Enter();
    Drive().Table().Find(771)->read_only = true;
    GwRef<> window(window_);
    ClearCaptures();
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].caption, "Device access error");
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"R 20403", "W 20751=%-R", "W 20280=0", "W 20260=0", "W 20771=2", "R 00085"}));
    EXPECT_TRUE(TheRuvexHandState().HandMode);
    EXPECT_FALSE(Closed(window));

    Drive().Table().Find(771)->read_only = false;
    ClearCaptures();
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20403", "W 20751=%-R", "W 20280=0", "W 20260=0", "W 20771=2"}));
    EXPECT_EQ(Drive().Table().Find(771)->value, 2u);
    EXPECT_FALSE(TheRuvexHandState().HandMode);
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, ARefusedHandValueWritesBackWhatTheEnteringChanged) {
    Open();
    Drive().Table().Find(280)->value = 4;
    Drive().Table().Find(260)->value = 1;
    Drive().Table().Find(771)->value = 2;
    Drive().Table().Find(260)->read_only = true;
    GwRef<> window(window_);
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    Enter();
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].caption, "Device access error");
    EXPECT_EQ(
        Heard(),
        (std::vector<std::string>{
            "R 20403", "R 20757", "R 20280", "R 20260", "R 20771", "W 20280=9", "W 20260=3", "R 00085", "W 20280=4"}));
    EXPECT_EQ(Drive().Table().Find(280)->value, 4u);
    EXPECT_FALSE(TheRuvexHandState().HandMode);
    EXPECT_FALSE(Closed(window));
    EXPECT_TRUE(Commands().empty());

    // The next entering saves the user's values, and its leaving gives them back.
    Drive().Table().Find(260)->read_only = false;
    Enter();
    ASSERT_TRUE(TheRuvexHandState().HandMode);
    EXPECT_EQ(TheRuvexHandState().Saved280, 4.0);
    EXPECT_EQ(TheRuvexHandState().Saved260, 1.0);
    CB_4_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Drive().Table().Find(280)->value, 4u);
    EXPECT_EQ(Drive().Table().Find(260)->value, 1u);
    EXPECT_EQ(Drive().Table().Find(771)->value, 2u);
}

TEST_F(RuvexHandTest, AFailedSendThatIsNoRefusalShowsDeviceError5) {
    Open();
    GwRef<> window(window_);
    Drive().AddFault(sim::DriveFault::Silence().For("20751").Times(sim::kForever));
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_4_PosHand_StartRef(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].caption, "Device access error");
    EXPECT_FALSE(Closed(window));
    // Quit, and yes to uncoupling, closes the window.
    MarkBoxes();
    gwtest::AnswerBox(2);
    gwtest::AnswerBox(GwRESULT_OK);
    CB_4_PosHand_StartRef(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 2u);
    EXPECT_EQ(NewBoxes()[0].caption, "Device access error");
    EXPECT_EQ(NewBoxes()[0].text, "RS232 transmission error in parameter 751-CMDTX: \nNo acknowlege of device!");
    EXPECT_EQ(NewBoxes()[1].text, "The device does not answer. Uncouple all devices?");
    EXPECT_TRUE(Closed(window));
}

TEST_F(RuvexHandTest, DriveStatesBeyondTheDrivesOwn) {
    Open();
    ParaBase* base = contexts_.back()->Base.get();
    Drive().Table().Find(403)->value = State(14);
    EXPECT_EQ(PosHand4_GetDriveState(base), 13);
    EXPECT_EQ(TheRuvexHandState().LastDriveState, 0);
    MarkBoxes();
    Drive().AddFault(sim::DriveFault::Silence().For("20403").Times(sim::kForever));
    EXPECT_EQ(PosHand4_GetDriveState(base), 12);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "No acknowlege of device!");
    main_->UncoupleAllDevices();
    EXPECT_EQ(PosHand4_GetDriveState(base), 12);
}

TEST_F(RuvexHandTest, ReferenceTypePictureNamesTheBitmapAfterTheTypeItShows) {
    GwRcMgr::add_bitmap("RFTYP_LimitSw", 120, 60);
    GwRcMgr::add_bitmap("RFTYP_Block", 120, 60);
    OpenWindow(std::string(kWindowBody) + "\n picture RefType { }", MakeContext(true));
    Drive().Table().Find(kRuvexReferenceType)->value = 1;
    ClearCaptures();
    const size_t before = gwtest::Effects("bitmap").size();
    CB_4_PosHand_ShowRefType(W("RefType"), nullptr, GwUD());
    EXPECT_EQ(Heard(), std::vector<std::string>{"R 20722"});
    std::vector<std::string> names;
    const std::vector<GwEffect> effects = gwtest::Effects("bitmap");
    for (size_t i = before; i < effects.size(); ++i) names.push_back(effects[i].value);
    EXPECT_EQ(names, (std::vector<std::string>{"", "RFTYP_LimitSw"}));
}

// The state timer's interval by the line's rate.
class RuvexHandRateTest : public RuvexHandTest, public ::testing::WithParamInterface<std::pair<int32_t, uint32_t>> {
public:
    RuvexHandRateTest() { baud_ = GetParam().first; }
};

TEST_P(RuvexHandRateTest, TheStateTimerFollowsTheLineRateAndIsSlowOffline) {
    Open();
    CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
    EXPECT_EQ(TheRuvexHandState().ControlTimer.Current, GetParam().second);
    EXPECT_EQ(W("Watch")->timer_interval(), GetParam().second);
    main_->UncoupleAllDevices();
    EXPECT_EQ(TheRuvexHandState().ControlTimer.ComputeInterval(), 1500u);
}

INSTANTIATE_TEST_SUITE_P(Rates, RuvexHandRateTest,
                         ::testing::Values(std::make_pair(9600, 1000u), std::make_pair(19200, 500u),
                                           std::make_pair(38400, 500u)));

TEST_F(RuvexHandTest, AStateTickTheGuardRefusesChangesNothing) {
    Open();
    W("DeviceStart")->set_sensitive(false);
    W("DeviceStop")->set_sensitive(true);
    MessageBoxOpenFlag = true;
    CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
    MessageBoxOpenFlag = false;
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(W("DeviceStart")->is_sensitive());
    EXPECT_TRUE(W("DeviceStop")->is_sensitive());
    CB_4_CheckControlState(W("Watch"), nullptr, GwUD());
    EXPECT_TRUE(W("DeviceStart")->is_sensitive());
    EXPECT_FALSE(W("DeviceStop")->is_sensitive());
}

}  // namespace
}  // namespace devicewintest
