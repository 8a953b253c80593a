// The manual positioning window of a Ruvex drive against a virtual drive:
// the commands it sends into the drive's command parameter, the jog
// watchdog, the drive states it derives and the keys they enable.
#include "families/manual_positioning_ruvex.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "families/manual_positioning.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_event.h"
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
        table.version = 2345;
        table.type_number = 4012;
        table.Find(91)->value = 4012;
        table.PutFullRange(kRuvexCommandParameter, "CMDTX", "STRING", 0);
        table.PutFullRange(kRuvexControlWord, "CTRLW", "USIGN16", 0);
        for (int n : {280, 260, 757, 771}) table.PutFullRange(n, "U8", "USIGN8", 0);
        table.PutFullRange(kRuvexHighJogSpeed, "VHIGH", "INT32", 3000);
        table.PutFullRange(kRuvexLowJogSpeed, "VLOW", "INT32", 300);
        table.Find(403)->value = State(2);
        return table;
    }
    void Open() {
        OpenWindow(kWindowBody, MakeContext(true));
        Toggle("TippLowSpeed")->set_checked(true);
        ClearCaptures();
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
}

}  // namespace
}  // namespace devicewintest
