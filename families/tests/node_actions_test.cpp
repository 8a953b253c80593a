// The node-action editors of families 4 and 5: opening the editor from the
// table's cell, showing the cell's word as switches and numbers, and taking
// it back into the cell.
#include "families/node_actions.h"

#include <gtest/gtest.h>

#include <string>

#include "app/services/window_handler.h"
#include "devicewin/take_over.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace devicewintest {
namespace {

constexpr int kNodeAddresses = 747;
constexpr int kNodeModes = 748;
constexpr int kNodeWords = 749;

const GwFuncDesc kNodeCallbacks[] = {
    {"CB_ShowNodeAktion", CB_ShowNodeAktion},
    {"CB_5_ShowNodeAktion", CB_5_ShowNodeAktion},
    {"CB_CallNodeAktion", CB_CallNodeAktion},
    {"CB_5_CallNodeAktion", CB_5_CallNodeAktion},
    {"CB_SetNodeAktion", CB_SetNodeAktion},
    {"CB_5_SetNodeAktion", CB_5_SetNodeAktion},
    {nullptr, nullptr},
};

std::string Editors() {
    std::string text =
        "dialogframe RuvexNodeEdit {\n rect = 0, 0, 300, 300\n on show = CB_ShowNodeAktion\n edit NodeID { }\n";
    for (int i = 0; i < 16; ++i) text += " toggle " + std::to_string(i) + " { }\n";
    text += " edit M0 { }\n edit M1 { }\n toggle S0 { }\n toggle S1 { }\n button Take { }\n}\n";
    text += "dialogframe PescoNodeEdit {\n rect = 0, 0, 300, 300\n on show = CB_5_ShowNodeAktion\n edit NodeID { }\n";
    for (int i = 0; i < 16; ++i) text += " toggle " + std::to_string(i) + " { }\n";
    text += " edit M0 { }\n edit M1 { }\n container CACTN { edit Action { } }\n button Take { }\n}\n";
    return text;
}

constexpr char kSetupBody[] =
    "spreadsheet _ParaSpreadSheet_0 { rect = 0, 0, 400, 300; rows = 6; columns = 4 }\n button BT_TakeIt { }";

class NodeActionTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* actions = table.PutFullRange(kNodeActionParameter, "NACT", "USIGN32", 0);
        actions->flags |= sim::kFlagArray;
        actions->elements = {0x11, 0x22, 0x33, 0x44};
        // The sheet's columns 1 to 3: the node's address, its mode and its
        // action word.
        sim::DriveParameter* addresses = table.PutFullRange(kNodeAddresses, "NADDR", "USIGN16", 0);
        addresses->flags |= sim::kFlagArray;
        addresses->maximum = 127;
        addresses->elements = {1, 2, 3, 4, 5};
        sim::DriveParameter* modes = table.PutFullRange(kNodeModes, "NMODE", "USIGN16", 0);
        modes->flags |= sim::kFlagArray;
        modes->maximum = 1000;
        modes->elements = {0, 0, 0, 0, 0};
        sim::DriveParameter* words = table.PutFullRange(kNodeWords, "NWORD", "USIGN32", 0);
        words->flags |= sim::kFlagArray | sim::kFlagHex;
        words->elements = {0, 0, 0x64630005u, 0, 0};
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kNodeCallbacks);
        ASSERT_TRUE(GwRcMgr::use_text(Editors(), "nodes.cgw"));
    }
    GwSpreadSheet* Sheet() { return dynamic_cast<GwSpreadSheet*>(W("_ParaSpreadSheet_0")); }
    // Opens the setup window with `cell` in row 3, then the editor of the
    // family through the cell's default action.
    GwCore* OpenEditor(int family, const std::string& cell) {
        OpenWindow(kSetupBody, MakeContext(true));
        Sheet()->set_contents(3, kNodeActionColumn, cell);
        GwEvent event;
        event.type = GwCB_DEFAULT;
        event.row = 3;
        event.column = kNodeActionColumn;
        const std::string name = family == 4 ? "RuvexNodeEdit" : "PescoNodeEdit";
        const int result = (family == 4 ? CB_CallNodeAktion : CB_5_CallNodeAktion)(Sheet(), &event, GwUD(name));
        EXPECT_EQ(result, 0);
        GwCore* editor = TheWindowHandler().FindByName(name.c_str());
        GwCore* first = TheWindowHandler().First();
        EXPECT_NE(editor, nullptr) << GwRcMgr::is_valid_child(first) << " " << (first ? first->name() : "-") << " "
                                   << (GwRcMgr::is_valid_child(first) ? first->is_visible() : false);
        return editor;
    }
    static GwToggle* Toggle(GwCore* editor, const std::string& name) {
        return dynamic_cast<GwToggle*>(editor->child(name));
    }
};

TEST_F(NodeActionTest, CellWordsReadOnlyFromHexadecimalDigitsAndH) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"64630005H", 0x64630005u},
        {"0000000AH", 10u},
        {"", 0u},
        {"H", 0u},
        {"xyzH", 0u},
        {"12", 0u},
        {"FFFFFFFFH", 0xFFFFFFFFu},
        {"12345678H", 0x12345678u},
        // More than eight digits do not fit the word.
        {"123456789H", 0u},
        {"FFFFFFFFFFFFFFFFFH", 0u},
    };
    for (auto [text, word] : cases) EXPECT_EQ(ParseNodeActionCell(text), word) << text;
    EXPECT_EQ(FormatNodeActionCell(0x64630005u), "64630005H");
}

TEST_F(NodeActionTest, RuvexEditorShowsTheCellsWord) {
    GwCore* editor = OpenEditor(4, "64630005H");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->child("NodeID")->text(), "2");
    EXPECT_EQ(editor->modality(), 1);
    EXPECT_EQ(editor->close_mode(), 2);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(editor));
    EXPECT_EQ(editor->user_data().pointer_as<DeviceSetupContext>(), contexts_.back().get());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(Toggle(editor, std::to_string(i))->value(), i == 0 || i == 2) << i;
    EXPECT_EQ(Toggle(editor, "S0")->value(), 1);
    EXPECT_EQ(editor->child("M0")->text(), "99");
    EXPECT_EQ(Toggle(editor, "S1")->value(), 0);
    EXPECT_FALSE(editor->child("M1")->is_sensitive());

    // Unchanged, it writes the same word back and marks the sheet changed.
    W("BT_TakeIt")->disable();
    EXPECT_EQ(CB_SetNodeAktion(editor->child("Take"), nullptr, GwUD()), 1);
    EXPECT_EQ(Sheet()->contents(3, kNodeActionColumn), "64630005H");
    EXPECT_TRUE(IsWidgetChanged(Sheet()));
    EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
    EXPECT_FALSE(GwRcMgr::is_valid_child(editor));
}

TEST_F(NodeActionTest, RuvexNumbersOutOfRangeRefuseTheTakeOver) {
    struct Case {
        const char* m0;
        bool s0;
        bool bit7;
        const char* cell;  // null: refused, editor open
    };
    const Case cases[] = {
        {"100", true, false, nullptr},
        {"-1", true, false, nullptr},
        {"100", false, false, "64640005H"},
        {"7", true, true, "64070085H"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m0);
        GwCore* editor = OpenEditor(4, "64630005H");
        editor->child("M0")->set_text(c.m0);
        Toggle(editor, "S0")->set_value(c.s0);
        Toggle(editor, "7")->set_value(c.bit7);
        CB_SetNodeAktion(editor->child("Take"), nullptr, GwUD());
        if (c.cell == nullptr) {
            EXPECT_TRUE(GwRcMgr::is_valid_child(editor));
            EXPECT_EQ(Sheet()->contents(3, kNodeActionColumn), "64630005H");
            editor->destroy();
        } else {
            EXPECT_FALSE(GwRcMgr::is_valid_child(editor));
            EXPECT_EQ(Sheet()->contents(3, kNodeActionColumn), c.cell);
        }
        window_->destroy();
    }
}

TEST_F(NodeActionTest, RuvexIgnoresOtherColumnsAndEvents) {
    OpenWindow(kSetupBody, MakeContext(true));
    GwEvent event;
    event.type = GwCB_DEFAULT;
    event.row = 3;
    event.column = 2;
    EXPECT_EQ(CB_CallNodeAktion(Sheet(), &event, GwUD("RuvexNodeEdit")), 1);
    event.column = kNodeActionColumn;
    event.type = GwCB_ACTIVATE;
    EXPECT_EQ(CB_CallNodeAktion(Sheet(), &event, GwUD("RuvexNodeEdit")), 1);
    EXPECT_EQ(TheWindowHandler().FindByName("RuvexNodeEdit"), nullptr);
}

TEST_F(NodeActionTest, PescoEditorBindsTheActionElementOfTheRow) {
    GwCore* editor = OpenEditor(5, "64630005H");
    ASSERT_NE(editor, nullptr);
    GwCore* field = editor->child("CACTN")->child(0);
    EXPECT_EQ(field->name(), "_PN_750[2]");
    EXPECT_EQ(field->text(), "51");  // element 2 of 750: 0x33
    EXPECT_EQ(editor->child("M0")->text(), "99");
    EXPECT_EQ(editor->child("M1")->text(), "100");

    struct Case {
        const char* m1;
        const char* cell;  // null: refused
    };
    for (const Case c : {Case{"256", nullptr}, Case{"255", "FF630005H"}}) {
        editor->child("M1")->set_text(c.m1);
        ClearCaptures();
        CB_5_SetNodeAktion(editor->child("Take"), nullptr, GwUD());
        if (c.cell == nullptr) {
            EXPECT_TRUE(GwRcMgr::is_valid_child(editor));
            EXPECT_TRUE(Heard().empty());
        } else {
            EXPECT_EQ(Sheet()->contents(3, kNodeActionColumn), c.cell);
            EXPECT_FALSE(GwRcMgr::is_valid_child(editor));
            bool written = false;
            for (const std::string& heard : Heard()) written = written || heard.find("750") != std::string::npos;
            EXPECT_TRUE(written);
        }
    }
    window_->destroy();
    editor = OpenEditor(5, "64630005H");
    editor->child("M1")->set_text("");
    CB_5_SetNodeAktion(editor->child("Take"), nullptr, GwUD());
    EXPECT_EQ(Sheet()->contents(3, kNodeActionColumn), "64630005H");
}

TEST_F(NodeActionTest, TheWindowsTakeOverWritesTheTakenCellToTheDrive) {
    GwCore* editor = OpenEditor(4, "64630005H");
    ASSERT_NE(editor, nullptr);
    Sheet()->set_column_id(kNodeActionColumn, "_PN_" + std::to_string(kNodeWords));
    Sheet()->set_row_id(3, "2");
    Toggle(editor, "7")->set_value(1);
    CB_SetNodeAktion(editor->child("Take"), nullptr, GwUD());
    ASSERT_EQ(Sheet()->contents(3, kNodeActionColumn), "64630085H");
    // Nothing reaches the drive before the window's take-over.
    EXPECT_EQ(Drive().Table().Find(kNodeWords)->elements[2], 0x64630005u);
    EXPECT_EQ(CB_DvFctTakeIt(W("BT_TakeIt"), nullptr, GwUD()), 1);
    EXPECT_EQ(Drive().Table().Find(kNodeWords)->elements[2], 0x64630085u);
}

TEST_F(NodeActionTest, PescoEditsTheOtherColumnsAsParameterCells) {
    struct Case {
        int family;
        bool changed;
    };
    for (const Case c : {Case{4, false}, Case{5, true}}) {
        SCOPED_TRACE(c.family);
        const std::string binding =
            c.family == 4 ? "CB_CallNodeAktion \"RuvexNodeEdit\"" : "CB_5_CallNodeAktion \"PescoNodeEdit\"";
        OpenWindow(
            "spreadsheet _ParaSpreadSheet_0 { rect = 0, 0, 400, 300; rows = 6; columns = 4; column_ids = "
            "\"\", \"\", \"_PN_748\", \"_PN_749\"; row_ids = \"\", \"0\", \"1\", \"2\", \"3\", \"4\";"
            " on default = " +
                binding + "; on spreadsheet = " + binding + " }\n button BT_TakeIt { }",
            MakeContext(true));
        W("BT_TakeIt")->disable();
        ASSERT_TRUE(gwtest::EditCell(Sheet(), 3, 2, "7"));
        EXPECT_EQ(IsWidgetChanged(Sheet()), c.changed);
        EXPECT_EQ(W("BT_TakeIt")->is_enabled(), c.changed);
        EXPECT_EQ(TheWindowHandler().Count(), 0);
        window_->destroy();
    }
}

TEST_F(NodeActionTest, ShippedNodeTablesOpenTheirEditorsAndWriteTheTakenWord) {
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/ruvex.cgw").c_str()));
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/pesco.cgw").c_str()));
    for (const std::string family : {"4", "5"}) {
        SCOPED_TRACE(family);
        Drive().Table().Find(kNodeWords)->elements[2] = 0x64630005u;
        GwCore* window = GwRcMgr::load(mainWindow_, (family + "_NodeActions").c_str(), 1);
        ASSERT_NE(window, nullptr);
        TestContext* context = MakeContext(true);
        // The editor is loaded for the device's family (91 / 1000).
        ASSERT_EQ(context->Base->SetValueU16(91, family == "4" ? 4120 : 5120), 0);
        window->set_user_data(GwUD(static_cast<void*>(context)));
        window->show();
        gwtest::Advance(10);
        auto* sheet = window->child<GwSpreadSheet>(kNodeActionSheetName);
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->row_count(), 6);
        EXPECT_EQ(gwtest::Cell(sheet, 3, kNodeActionColumn), "64630005H");

        ASSERT_TRUE(gwtest::DoubleClickCell(sheet, 3, kNodeActionColumn));
        GwCore* editor = TheWindowHandler().FindByName((family + "_NodeAction").c_str());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->child("NodeID")->text(), "2");
        EXPECT_TRUE(Toggle(editor, "2")->is_checked());
        if (family == "5") {
            EXPECT_EQ(editor->child("CACTN")->child(0)->name(), "_PN_750[2]");
        }
        Toggle(editor, "7")->set_checked(true);
        ASSERT_TRUE(gwtest::Click(editor->child("Take")));
        EXPECT_FALSE(GwRcMgr::is_valid_child(editor));
        EXPECT_EQ(sheet->contents(3, kNodeActionColumn), "64630085H");
        ASSERT_TRUE(gwtest::Click(window->child("BT_TakeIt")));
        EXPECT_EQ(Drive().Table().Find(kNodeWords)->elements[2], 0x64630085u);
        window->destroy();
    }
}

}  // namespace
}  // namespace devicewintest
