// The manual positioning window of a Pesco drive against a virtual drive:
// hand mode under the parameter write lock, the control-word bits its keys
// write, the table entries, the leaving and the status timers.
#include "families/manual_positioning_pesco.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/manual_positioning.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/clock.h"
#include "platform/system/token_source.h"
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
    "toggle TippLowSpeed { }\n toggle TippHighSpeed { }\n edit PositionWay { }\n toggle PositionAbsolut { }\n"
    " button TippPlus { }\n button TippMinus { }\n button Cancel { }\n button Other { }\n edit Tidx { }\n"
    " container Speed_TippPos { }\n button ControlStart { }\n button ControlStop { }\n label Timer { }\n"
    " label RefDef { }\n label SetActive { }\n label TargetReached { }\n label SwLeft { }\n label SwRight { }\n"
    " label Diff { }\n label OutputStage { }\n label Speed0 { }\n label QuickStop { }\n label ActTidx { }\n"
    " edit _PN_730 { }\n label LedTimer { }\n label RefTimer { }";

constexpr int32_t kOwner = 4711;

class PescoHandTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.version = 2445;
        table.type_number = 5123;
        table.Find(91)->value = 5123;
        for (int n : {280, 281, 260}) table.PutFullRange(n, "U8", "USIGN8", 3);
        for (int n : {231, 233, 236, 237, 232}) table.PutFullRange(n, "U16", "USIGN16", 0);
        table.PutFullRange(234, "TPOS", "INT32", 0);
        table.PutFullRange(754, "APOS", "INT32", 1234);
        sim::DriveParameter* positions = table.PutFullRange(272, "PTAB", "INT32", 0);
        positions->flags |= sim::kFlagArray;
        positions->elements = {0, 0, 0, 0, 0};
        table.PutFullRange(kPescoHomingValue, "HOMV", "INT32", 4711);
        table.PutFullRange(kPescoWayUnit, "WUNIT", "STRING", 0)->text = "inc";
        table.Find(403)->value = 2;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        platform::SetTokenSource([] { return kOwner; });
    }
    void Open() {
        OpenWindow(kWindowBody, MakeContext(true));
        TheWindowHandler().Add(window_, 1);
        ClearCaptures();
    }
    GwToggle* Toggle(const char* name) { return dynamic_cast<GwToggle*>(W(name)); }
    // Hand mode as the entering leaves it, without its traffic.
    void HoldLock() {
        ASSERT_TRUE(TheParaWriteLock().Acquire(kOwner));
        PescoHandState& state = ThePescoHandState();
        state.Owner = kOwner;
        state.HandMode = true;
        state.Window = GwRef<>(window_);
        for (int n : {280, 281, 260, 231, 236, 233, 150, 152}) TheParaWriteLock().Protect(kOwner, n);
    }
    void Button(const char* name, int reason) {
        GwEvent event;
        event.type = GwCB_BUTTON;
        event.reason = reason;
        event.widget = W(name);
        if (std::string(name) == "TippMinus")
            CB_5_PosHand_TippMinus(W(name), &event, GwUD());
        else
            CB_5_PosHand_TippPlus(W(name), &event, GwUD());
    }
    std::vector<std::string> Writes() {
        std::vector<std::string> out;
        for (const std::string& t : Heard())
            if (t[0] == 'W') out.push_back(t);
        return out;
    }
};

bool Closed(const GwRef<>& window) { return window.get() == nullptr || !window->is_shown(); }

// Milliseconds on the virtual clock.
uint64_t Now() { return platform::TheClock().NowMs(); }

TEST_F(PescoHandTest, EnteringTakesTheLockSetsTheHandValuesAndProtectsThem) {
    Open();
    CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_TRUE(ThePescoHandState().HandMode);
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"R 20403",
                                        "R 20280",
                                        "R 20281",
                                        "R 20260",
                                        "W 20280=7",
                                        "W 20281=0",
                                        "W 20260=7",
                                        "W 20231=0",
                                        "W 20236=0",
                                        "W 20233=0"}));
    EXPECT_TRUE(Toggle("TippLowSpeed")->is_checked());
    for (int n : {280, 281, 260, 231, 236, 233, 150, 152}) EXPECT_TRUE(TheParaWriteLock().IsProtected(n)) << n;
    // A save from another window is refused and never reaches the drive.
    ClearCaptures();
    EXPECT_EQ(contexts_.back()->Base->WriteValueDouble(150, 1), 12);
    EXPECT_TRUE(Heard().empty());
    // A second window gets 140 and closes.
    GwCore* first = window_;
    Open();
    GwRef<> second(window_);
    MarkBoxes();
    CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The parameters are locked by another window!");
    EXPECT_TRUE(Closed(second));
    // Leaving the first restores, frees the lock and closes.
    ClearCaptures();
    GwRef<> firstRef(first);
    CB_5_PosHand_ResetHandMode(first->child("Other"), nullptr, GwUD());
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20231=0", "W 20236=0", "W 20280=3", "W 20281=3", "W 20260=3"}));
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_TRUE(Closed(firstRef));
}

TEST_F(PescoHandTest, ARunningDriveRefusesHandModeWithTheLockUntouched) {
    for (uint32_t state : {5u, 6u, 7u, 8u}) {
        SCOPED_TRACE(state);
        Drive().Table().Find(403)->value = state;
        Open();
        GwRef<> window(window_);
        CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
        EXPECT_EQ(Heard(), std::vector<std::string>{"R 20403"});
        EXPECT_FALSE(TheParaWriteLock().IsHeld());
        EXPECT_TRUE(Closed(window));
    }
}

TEST_F(PescoHandTest, ARefusedHandValueUndoesTheEnteringAndFreesTheLock) {
    Drive().Table().Find(260)->read_only = true;
    Open();
    GwRef<> window(window_);
    gwtest::AnswerBox(GwRESULT_OK);
    CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20280=7", "W 20281=0", "W 20260=7", "W 20280=3", "W 20281=3"}));
    EXPECT_FALSE(ThePescoHandState().HandMode);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_FALSE(Closed(window));
}

struct WordCase {
    const char* what;
    uint32_t before;
    std::function<void(PescoHandTest&)> act;
    std::vector<std::string> writes;
};

TEST_F(PescoHandTest, KeysWriteThePositioningWordPastTheLock) {
    const std::vector<WordCase> cases = {
        {"jog plus", 0, [](PescoHandTest& t) { t.Button("TippPlus", GwBUTTON_DOWN); }, {"W 20236=40"}},
        {"release", 0x40, [](PescoHandTest& t) { t.Button("TippPlus", GwBUTTON_UP); }, {"W 20236=0"}},
        {"high-speed jog minus",
         0,
         [](PescoHandTest& t) {
             t.Toggle("TippHighSpeed")->set_checked(true);
             t.Button("TippMinus", GwBUTTON_DOWN);
         },
         {"W 20236=80", "W 20236=C0"}},
        {"start entry 3",
         0,
         [](PescoHandTest& t) {
             t.W("Tidx")->set_text("3");
             CB_5_PosHand_StartSet(t.W("Other"), nullptr, GwUD());
         },
         {"W 20236=300", "W 20236=302"}},
        {"next entry 3",
         0xFFFF,
         [](PescoHandTest& t) {
             t.W("Tidx")->set_text("3");
             CB_5_PosHand_StartNext(t.W("Other"), nullptr, GwUD());
         },
         {"W 20236=F3FF"}},
        {"homing",
         0x9,
         [](PescoHandTest& t) { CB_5_PosHand_StartRef(t.W("Other"), nullptr, GwUD()); },
         {"W 20236=8", "W 20236=9"}},
        {"relative high-speed position",
         0,
         [](PescoHandTest& t) {
             t.Toggle("TippHighSpeed")->set_checked(true);
             t.W("PositionWay")->set_text("500");
             CB_5_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
         },
         {"W 20236=0", "W 20234=1F4", "W 20236=3A"}},
        {"absolute position",
         0,
         [](PescoHandTest& t) {
             t.Toggle("PositionAbsolut")->set_checked(true);
             CB_5_PosHand_PositionStart(t.W("Other"), nullptr, GwUD());
         },
         {"W 20236=0", "W 20234=0", "W 20236=A"}},
        {"leave jog", 0x40, [](PescoHandTest& t) { CB5_LeaveTipp(t.W("TippPlus"), nullptr, GwUD()); }, {"W 20236=0"}},
        {"control start",
         0,
         [](PescoHandTest& t) { CB_5_PosHand_ControlStart(t.W("Other"), nullptr, GwUD()); },
         {"W 20231=1"}},
        {"jog mode",
         0x2,
         [](PescoHandTest& t) { CB_5_PosHand_ActivateTippMode(t.W("Other"), nullptr, GwUD()); },
         {"W 20236=0", "W 20233=0", "W 20280=7"}},
        {"homing mode",
         0,
         [](PescoHandTest& t) { CB_5_PosHand_ActivateRefMode(t.W("Other"), nullptr, GwUD()); },
         {"W 20236=0", "W 20280=C", "W 20233=0"}},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.what);
        Drive().Table().Find(236)->value = c.before;
        Drive().Table().Find(231)->value = 0;
        Open();
        HoldLock();
        c.act(*this);
        EXPECT_EQ(Writes(), c.writes);
        TheParaWriteLock().Release(kOwner);
        ThePescoHandState() = PescoHandState{};
    }
}

TEST_F(PescoHandTest, TableIndexOutsideTheTableWarnsAndWritesNothing) {
    for (const char* index : {"5", "-1"}) {
        SCOPED_TRACE(index);
        Open();
        HoldLock();
        W("Tidx")->set_text(index);
        MarkBoxes();
        CB_5_PosHand_StartNext(W("Other"), nullptr, GwUD());
        EXPECT_EQ(NewBoxes().size(), 1u);
        EXPECT_TRUE(Writes().empty());
        TheParaWriteLock().Release(kOwner);
        ThePescoHandState() = PescoHandState{};
    }
    Open();
    W("Tidx")->set_text("x");
    CB_5_PosHand_TeachIn(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Drive().Table().Find(272)->elements[0], 1234u);
}

TEST_F(PescoHandTest, StatusLedsFollowTheStatusWords) {
    Drive().Table().Find(237)->value = 0x0A25;
    Drive().Table().Find(232)->value = 0x0030;
    Open();
    CB_5_PosHand_ShowState(W("Timer"), nullptr, GwUD());
    for (const char* on : {"RefDef", "SetActive", "SwLeft", "OutputStage", "Speed0"})
        EXPECT_TRUE(W(on)->is_sensitive()) << on;
    for (const char* off : {"TargetReached", "SwRight", "Diff", "QuickStop"})
        EXPECT_FALSE(W(off)->is_sensitive()) << off;
    EXPECT_EQ(W("ActTidx")->text(), "10");
}

TEST_F(PescoHandTest, KeysFollowTheStateAndStateTwoClearsTheControlWord) {
    const struct {
        uint32_t state;
        bool start, stop;
    } cases[] = {{3, true, false}, {5, false, true}, {6, false, true}, {7, false, true}, {2, false, false}};
    Open();
    HoldLock();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Drive().Table().Find(403)->value = c.state;
        ClearCaptures();
        CB_5_CheckControlState(W("Timer"), nullptr, GwUD());
        EXPECT_EQ(W("ControlStart")->is_sensitive(), c.start);
        EXPECT_EQ(W("ControlStop")->is_sensitive(), c.stop);
        EXPECT_EQ(Writes(), c.state == 2 ? std::vector<std::string>{"W 20231=0"} : std::vector<std::string>{});
    }
    EXPECT_FALSE(PescoHandKeysOf(11).Start);
    EXPECT_FALSE(PescoHandKeysOf(11).Stop);
}

TEST_F(PescoHandTest, LeavingDisablesEveryPassUntilTheDriveStandsThenRestores) {
    Open();
    HoldLock();
    Drive().Table().Find(231)->value = 0x5;
    Drive().Table().ScriptReads(403, {sim::ReadStep::ForReads(7, 2), sim::ReadStep::Forever(3)});
    GwRef<> window(window_);
    const size_t texts = gwtest::Effects("text").size();
    const uint64_t start = Now();
    CB_5_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    // Two passes of 200 ms, then 500 ms before the values go back.
    EXPECT_GE(Now() - start, 900u);
    std::vector<std::string> activity;
    const std::vector<GwEffect> effects = gwtest::Effects("text");
    for (size_t i = texts; i < effects.size(); ++i)
        if (effects[i].value.find(" ...") != std::string::npos) activity.push_back(effects[i].value);
    EXPECT_EQ(activity,
              (std::vector<std::string>{
                  "Stopping the drive ...", "Stopping the drive ...", "Switching off manual control ..."}));
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{
                  "W 20231=4", "W 20231=4", "W 20231=0", "W 20236=0", "W 20280=0", "W 20281=0", "W 20260=0"}));
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_FALSE(ThePescoHandState().HandMode);
    EXPECT_TRUE(Closed(window));
}

TEST_F(PescoHandTest, ADestroyedWindowGivesTheLockBack) {
    Open();
    CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    ASSERT_TRUE(TheParaWriteLock().IsHeld());
    window_->destroy();
    window_ = nullptr;
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_FALSE(ThePescoHandState().HandMode);
    // A window that was destroyed without the lock's knowledge gives it back
    // at the next entering.
    Open();
    HoldLock();
    window_->destroy();
    window_ = nullptr;
    Open();
    CB_5_PosHand_SetHandMode(W("Other"), nullptr, GwUD());
    EXPECT_TRUE(ThePescoHandState().HandMode);
}

TEST_F(PescoHandTest, LeavingAsksAtTheTwentySecondPassAndQuitClosesWithoutRestoring) {
    Open();
    HoldLock();
    Drive().Table().Find(231)->value = 0x5;
    Drive().Table().Find(403)->value = 7;
    GwRef<> window(window_);
    MarkBoxes();
    const uint64_t start = Now();
    uint64_t askedAt = 0;
    gwtest::AnswerBox(2, [&](const GwBoxRecord&) { askedAt = Now() - start; });
    CB_5_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    // Quit, then yes to uncoupling at once although the lock is held.
    ASSERT_EQ(NewBoxes().size(), 3u);
    EXPECT_EQ(NewBoxes()[0].text, "The drive does not stop!");
    EXPECT_EQ(NewBoxes()[1].text, "The device does not answer. Uncouple all devices?");
    EXPECT_EQ(NewBoxes()[2].text, "A window holds the parameter lock. Uncouple all devices now!");
    EXPECT_GE(askedAt, 4400u);
    EXPECT_LT(askedAt, 6600u);
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(Writes(), std::vector<std::string>(21, "W 20231=4"));
    EXPECT_EQ(heard.back(), "R 20091");
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_TRUE(Closed(window));
    ClearCaptures();
    gwtest::Advance(1000);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(PescoHandTest, LeavingUncoupledWritesNothingAndGivesTheLockBack) {
    Open();
    HoldLock();
    Drive().Table().Find(403)->value = 7;
    DevicesUncoupled = true;
    CB_5_PosHand_ResetHandMode(W("Other"), nullptr, GwUD());
    DevicesUncoupled = false;
    EXPECT_TRUE(Writes().empty());
    window_->destroy();
    window_ = nullptr;
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

struct ModeCase {
    const char* what;
    int (*callback)(GwCore*, GwEvent*, GwUD);
    bool speedShown;
    std::vector<std::string> writes;
};

TEST_F(PescoHandTest, ModeChangesClearTheStartEdgeAndShowTheSpeedsForJogAndPosition) {
    const ModeCase cases[] = {
        {"jog", CB_5_PosHand_ActivateTippMode, true, {"W 20236=1", "W 20233=0", "W 20280=7"}},
        {"position", CB_5_PosHand_ActivatePosMode, true, {"W 20236=1", "W 20233=0", "W 20280=C"}},
        {"homing", CB_5_PosHand_ActivateRefMode, false, {"W 20236=1", "W 20280=C", "W 20233=0"}},
        {"table", CB_5_PosHand_ActivateTabMode, false, {"W 20236=1", "W 20280=7", "W 20233=0"}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.what);
        Drive().Table().Find(236)->value = 0x3;
        Open();
        HoldLock();
        W("Speed_TippPos")->show();
        if (c.speedShown) W("Speed_TippPos")->hide();
        c.callback(W("Other"), nullptr, GwUD());
        EXPECT_EQ(W("Speed_TippPos")->is_shown(), c.speedShown);
        EXPECT_EQ(Writes(), c.writes);
        TheParaWriteLock().Release(kOwner);
        ThePescoHandState() = PescoHandState{};
    }
}

TEST_F(PescoHandTest, ControlKeysAndStopsWriteTheControlWordBits) {
    const struct {
        const char* what;
        int (*callback)(GwCore*, GwEvent*, GwUD);
        const char* write;
    } cases[] = {
        {"control start", CB_5_PosHand_ControlStart, "W 20231=13"},
        {"control stop", CB_5_PosHand_ControlStop, "W 20231=12"},
        {"position stop", CB_5_PosHand_PositionStop, "W 20231=16"},
        {"homing stop", CB_5_PosHand_StopRef, "W 20231=16"},
        {"entry stop", CB_5_PosHand_StopSet, "W 20231=16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drive().Table().Find(231)->value = 0x12;
        Open();
        HoldLock();
        if (std::string(c.what) == "control stop") Drive().Table().Find(231)->value = 0x13;
        c.callback(W("Other"), nullptr, GwUD());
        EXPECT_EQ(Writes(), std::vector<std::string>{c.write});
        TheParaWriteLock().Release(kOwner);
        ThePescoHandState() = PescoHandState{};
    }
}

TEST_F(PescoHandTest, LeavingTheJogKeyGivesCancelTheFocusAndEndsTheJog) {
    Open();
    HoldLock();
    W("TippPlus")->set_focus();
    Button("TippPlus", GwBUTTON_DOWN);
    ASSERT_TRUE(ThePescoHandState().Jogging);
    CB5_LeaveTipp(W("TippPlus"), nullptr, GwUD());
    EXPECT_TRUE(W("Cancel")->has_focus());
    EXPECT_FALSE(ThePescoHandState().Jogging);
    EXPECT_EQ(ThePescoHandState().JogButton.get(), nullptr);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20236=40", "W 20236=0"}));
}

TEST_F(PescoHandTest, TeachInWritesTheActualPositionAndRedrawsTheTableViews) {
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe Pos_AOP_Table {\n rect = 0, 0, 200, 100\n}\n", "aop.cgw"));
    GwCore* view = GwRcMgr::load(mainWindow_, "Pos_AOP_Table", 1);
    ASSERT_NE(view, nullptr);
    view->show();
    TheWindowHandler().Add(view, 1);
    Open();
    HoldLock();
    W("Tidx")->set_text("3");
    const size_t hides = gwtest::Effects("hide").size();
    const size_t shows = gwtest::Effects("show").size();
    CB_5_PosHand_TeachIn(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Drive().Table().Find(272)->elements, (std::vector<uint32_t>{0, 0, 0, 1234, 0}));
    for (const char* kind : {"hide", "show"}) {
        std::vector<std::string> windows;
        const std::vector<GwEffect> effects = gwtest::Effects(kind);
        for (size_t i = std::string(kind) == "hide" ? hides : shows; i < effects.size(); ++i)
            if (const GwEffect& e = effects[i];
                e.widget.find("_AOP_") != std::string::npos || e.widget.find("DevWin") != std::string::npos)
                windows.push_back(e.widget);
        EXPECT_EQ(windows, std::vector<std::string>{view->identifier()}) << kind;
    }
    EXPECT_TRUE(view->is_shown());

    // Without the index field nothing happens.
    OpenWindow("button Other { }", MakeContext(true));
    ClearCaptures();
    MarkBoxes();
    CB_5_PosHand_TeachIn(W("Other"), nullptr, GwUD());
    EXPECT_EQ(Writes(), std::vector<std::string>{});
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(PescoHandTest, TheWayUnitComesFromTheDrive) {
    Open();
    CB_5_PosHand_SetWayUnit(W("PositionWay"), nullptr, GwUD());
    EXPECT_EQ(dynamic_cast<GwEdit*>(W("PositionWay"))->suffix(), "inc");
}

TEST_F(PescoHandTest, StatusLedsNeedAllTheirWidgets) {
    Drive().Table().Find(237)->value = 0x0A25;
    OpenWindow(
        std::string(kWindowBody).substr(0, std::string(kWindowBody).find(" label RefDef")) +
            " label SetActive { }\n label TargetReached { }\n label SwLeft { }\n label SwRight { }\n"
            " label Diff { }\n label OutputStage { }\n label Speed0 { }\n label QuickStop { }\n label ActTidx { }",
        MakeContext(true));
    ClearCaptures();
    CB_5_PosHand_ShowState(W("Timer"), nullptr, GwUD());
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(W("SetActive")->is_sensitive());
    EXPECT_EQ(W("ActTidx")->text(), "");
}

TEST_F(PescoHandTest, DriveStatesAndTheirKeys) {
    Open();
    ParaBase* base = contexts_.back()->Base.get();
    Drive().Table().Find(403)->value = 9;
    EXPECT_EQ(PosHand5_GetDriveState(base), kPescoHandUnknown);
    Drive().Table().Find(403)->value = 8;
    EXPECT_EQ(PosHand5_GetDriveState(base), 8);
    for (int state : {kPescoHandNoDevice, kPescoHandUnknown}) {
        EXPECT_FALSE(PescoHandKeysOf(state).Start) << state;
        EXPECT_FALSE(PescoHandKeysOf(state).Stop) << state;
    }
    main_->UncoupleAllDevices();
    EXPECT_EQ(PosHand5_GetDriveState(base), kPescoHandNoDevice);
}

// The three state timers' intervals by the line's rate.
struct PescoRates {
    int32_t baud;
    uint32_t control, state, homing;
};

class PescoHandRateTest : public PescoHandTest, public ::testing::WithParamInterface<PescoRates> {
public:
    PescoHandRateTest() { baud_ = GetParam().baud; }
};

TEST_P(PescoHandRateTest, TheTimersFollowTheLineRateAndAreSlowOffline) {
    Open();
    HoldLock();
    Drive().Table().Find(403)->value = 3;
    CB_5_CheckControlState(W("Timer"), nullptr, GwUD());
    CB_5_PosHand_ShowState(W("LedTimer"), nullptr, GwUD());
    CB_5_PosHand_RefTimer(W("RefTimer"), nullptr, GwUD());
    EXPECT_EQ(W("Timer")->timer_interval(), GetParam().control);
    EXPECT_EQ(W("LedTimer")->timer_interval(), GetParam().state);
    EXPECT_EQ(W("RefTimer")->timer_interval(), GetParam().homing);
    EXPECT_EQ(W("_PN_730")->text(), "4711");
    main_->UncoupleAllDevices();
    PescoHandState& state = ThePescoHandState();
    for (PollTimer* timer : {&state.ControlTimer, &state.StateTimer, &state.HomingTimer})
        EXPECT_EQ(timer->ComputeInterval(), 1500u);
}

INSTANTIATE_TEST_SUITE_P(Rates, PescoHandRateTest,
                         ::testing::Values(PescoRates{9600, 2000, 2000, 6000}, PescoRates{19200, 1000, 1000, 3000},
                                           PescoRates{38400, 1000, 600, 3000}));

TEST_F(PescoHandTest, TheStatusTimerRunsAgainBeforeItReads) {
    Open();
    Drive().AddFault(sim::DriveFault::Nak(0x02).For("20237"));
    bool runningWhileReading = false;
    gwtest::AnswerBox(GwRESULT_OK,
                      [&](const GwBoxRecord&) { runningWhileReading = W("LedTimer")->is_timer_running(); });
    MarkBoxes();
    CB_5_PosHand_ShowState(W("LedTimer"), nullptr, GwUD());
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_TRUE(runningWhileReading);
    // A tick the guard refuses changes nothing.
    W("RefDef")->set_sensitive(false);
    Drive().Table().Find(237)->value = 0x1;
    ClearCaptures();
    MessageBoxOpenFlag = true;
    CB_5_PosHand_ShowState(W("LedTimer"), nullptr, GwUD());
    CB_5_CheckControlState(W("Timer"), nullptr, GwUD());
    CB_5_PosHand_RefTimer(W("RefTimer"), nullptr, GwUD());
    MessageBoxOpenFlag = false;
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(W("RefDef")->is_sensitive());
}

}  // namespace
}  // namespace devicewintest
