#include <gtest/gtest.h>

#include "app/main/editor_context.h"
#include "app/services/user_level.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

using Numbers_t = std::vector<int>;

TEST_F(EditorTest, RowsAndIconsFollowKindArrayAndWriteLevel) {
    struct Case {
        int number;
        uint16_t level;
        std::string row;
    };
    const Case cases[] = {
        {kByteParameter, 4, "100|MODE1|0|Mode one|3||pt_epara"},
        {kUncheckedParameter, 4, "102|SPEED|0|Speed|9||pt_ipara"},
        {kUncheckedParameter, 6, "102|SPEED|0|Speed|9||pt_ipara"},
        {kArrayParameter, 4, "103|ARRAY|0|Array|10||foldc"},
        {kLockedParameter, 4, "104|LOCKD|0|Locked|4||pt_nepar"},
        {kLockedParameter, 6, "104|LOCKD|0|Locked|4||pt_nepar"},
        {kHexParameter, 4, "105|HEXW |0|Hex word|0012H||pt_epara"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        SetUserLevel(c.level);
        OpenEditor(kEditorModeOnline);
        ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
        const int row = RowOf(c.number);
        ASSERT_GE(row, 0);
        EXPECT_EQ(List()->row_text(row), c.row);
        EXPECT_EQ(List()->picture_column(), 6);
        editor_->destroy();
        ResetParameterEditorState();
    }
}

TEST_F(EditorTest, ExpandFieldsGivesOneUnsortedRowPerElement) {
    OpenEditor(kEditorModeOnline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    ASSERT_TRUE(gwtest::Toggle("ParameterEditor/MN_ExpandFields"));
    std::vector<std::string> arrayRows;
    for (const std::string& row : Rows()) {
        if (row.rfind("103|", 0) == 0) arrayRows.push_back(row);
    }
    EXPECT_EQ(arrayRows,
              (std::vector<std::string>{"103|ARRAY|0|Array|10||pt_epara",
                                        "103|ARRAY|1||11||pt_epara",
                                        "103|ARRAY|2||12||pt_epara",
                                        "103|ARRAY|3||13||pt_epara",
                                        "103|ARRAY|4||14||pt_epara",
                                        "103|ARRAY|5||15||pt_epara",
                                        "103|ARRAY|6||16||pt_epara",
                                        "103|ARRAY|7||17||pt_epara"}));
    for (int c = 0; c < 7; ++c) EXPECT_EQ(List()->sorting_type(c), 0) << c;
}

TEST_F(EditorTest, ExpandedElementsTakeTheirNamesFromTheSetupContext) {
    // A Marlo copy: its setup context names the PLC flag operands.
    ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
    ASSERT_EQ(ownBase_->SetValueU16(91, 3120), 0);
    OpenEditorOn(ownBase_.get(), kEditorModeOffline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    ASSERT_TRUE(gwtest::Toggle("ParameterEditor/MN_ExpandFields"));
    ASSERT_GE(RowOf(460, 2), 0);
    EXPECT_EQ(List()->row_text(RowOf(460, 0)), "460|PLCH |0|Flags -> H000|0||pt_epara");
    EXPECT_EQ(List()->row_text(RowOf(460, 2)), "460|PLCH |2| -> H002|0||pt_epara");
    // The plain number is no name.
    EXPECT_EQ(List()->row_text(RowOf(kArrayParameter, 1)), "103|ARRAY|1||11||pt_epara");
}

TEST_F(EditorTest, GroupsBeyondTheRecordTableAreLeftOut) {
    ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
    ownBase_->GetEntry(8)->maximum = 200;  // group names up to 200, then the extra groups
    ownBase_->GetEntry(kSignedParameter)->KPGroup = 130;
    OpenEditorOn(ownBase_.get(), kEditorModeFile);
    ParameterEditorState* s = GetParameterEditor();
    ASSERT_NE(s, nullptr);
    EXPECT_GT(s->GroupCount, kMaxKeypadGroupRecords);
    EXPECT_EQ(s->Groups[kMaxKeypadGroupRecords - 1].GroupNumber, kMaxKeypadGroupRecords - 1);
    const std::vector<std::string> rows = gwtest::TreeRows("ParameterEditor/GroupTree");
    // The root opens on its groups.
    EXPECT_GT(rows.size(), 1u);
    for (const std::string& row : rows) {
        EXPECT_EQ(row.find("130"), std::string::npos) << row;
    }
}

TEST_F(EditorTest, BaseWithoutDataSetGivesEmptyListAndBareTree) {
    ownBase_ = std::make_unique<ParaBase>();
    OpenEditorOn(ownBase_.get(), kEditorModeFile);
    EXPECT_TRUE(Rows().empty());
    const std::vector<std::string> tree = gwtest::TreeRows("ParameterEditor/GroupTree");
    ASSERT_EQ(tree.size(), 1u);
    ASSERT_NE(gwtest::FindTreeEntry("ParameterEditor/GroupTree", "Root"), nullptr);
    // Return on the empty list opens nothing.
    gwtest::PressKey("ParameterEditor/ParaList", GwKEY_RETURN);
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(gwtest::Find("ParaField"), nullptr);
}

TEST_F(EditorTest, ModesSetButtonsCyclicUpdateAndModeText) {
    struct Case {
        int mode;
        uint16_t deviceCode;  // of the edited copy; 0 keeps the drive's
        bool cyclic;
        bool storeDevice;
        bool save;
        const char* modeText;
    };
    const Case cases[] = {
        {kEditorModeOnline, 0, true, false, false, "Online: changes go to the device at once"},
        {kEditorModeOffline, 3120, false, true, true, "Offline copy of the device parameters"},
        {kEditorModeOffline, 9120, false, true, true, "Offline copy of the device parameters"},
        {kEditorModeOffline, 0, false, false, true, "Offline copy of the device parameters"},
        {kEditorModeFile, 3120, false, false, true, "Parameter file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10000 + c.deviceCode);
        if (c.mode == kEditorModeOnline) {
            OpenEditor(c.mode);
        } else {
            ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
            if (c.deviceCode != 0) {
                ASSERT_EQ(ownBase_->SetValueU16(91, c.deviceCode), 0);
            }
            OpenEditorOn(ownBase_.get(), c.mode);
        }
        EXPECT_EQ(gwtest::Text("ParameterEditor/State_Online"), c.modeText);
        EXPECT_EQ(dynamic_cast<GwToggle*>(gwtest::Get("ParameterEditor/ParaUpdate"))->value(), c.cyclic ? 1 : 0);
        EXPECT_EQ(gwtest::Get("ParameterEditor/StoreDevice")->is_shown(), c.storeDevice);
        EXPECT_EQ(gwtest::Get("ParameterEditor/Save")->is_shown(), c.save);
        EXPECT_EQ(gwtest::Get("ParameterEditor/SaveAsDevice")->is_shown(), c.save);
        EXPECT_EQ(List()->is_timer_running(), c.cyclic);
        ParameterEditorState* s = GetParameterEditor();
        ASSERT_NE(s, nullptr);
        if (c.mode == kEditorModeOnline) {
            EXPECT_EQ(s->Context, main_->GetSetupContext());
            EXPECT_EQ(s->Base, main_->GetSetupContext()->Base.get());
        } else {
            ASSERT_NE(s->Context, nullptr);
            EXPECT_EQ(s->Context, s->OwnContext.get());
            EXPECT_NE(s->Base, ownBase_.get());  // the context's own copy
        }
        gwtest::SetDefaultBoxAnswer(GwRESULT_NO, "question");
        ASSERT_TRUE(gwtest::Close(editor_));
        EXPECT_EQ(GetParameterEditor(), nullptr);
    }
}

TEST_F(EditorTest, KindWithoutSetupContextEditsTheGivenBase) {
    ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
    ASSERT_EQ(ownBase_->SetValueU16(91, 8120), 0);
    OpenEditorOn(ownBase_.get(), kEditorModeFile);
    ASSERT_NE(GetParameterEditor(), nullptr);
    EXPECT_EQ(GetParameterEditor()->Context, nullptr);
    EXPECT_EQ(GetParameterEditor()->Base, ownBase_.get());
}

// Acts in the search mask: opens it, sets the named criteria and confirms or
// cancels.
struct SearchInput {
    int isName = -1;  // -1 leaves the check box as it is
    std::string name;
    int isNumber = -1;
    std::string number;
    bool ok = true;
};

void Search(const SearchInput& in) {
    ASSERT_TRUE(gwtest::ChooseMenuItem("ParameterEditor/Search"));
    auto set = [](const char* path, int value) {
        if (value < 0) return;
        auto* toggle = dynamic_cast<GwToggle*>(gwtest::Get(path));
        if (toggle->value() != value) gwtest::Toggle(path);
    };
    set("ParaSearch/IsName", in.isName);
    if (in.isName >= 0) gwtest::Replace("ParaSearch/Name", in.name);
    set("ParaSearch/IsNumber", in.isNumber);
    if (in.isNumber >= 0) gwtest::Replace("ParaSearch/Number", in.number);
    gwtest::Click(in.ok ? "ParaSearch/OK" : "ParaSearch/Cancel");
}

TEST_F(EditorTest, SelectionAndSearchStepsGiveTheirLists) {
    OpenEditor(kEditorModeOnline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "REG"));
    EXPECT_EQ(Numbers(), (Numbers_t{101, 102, 103}));
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    const Numbers_t all = Numbers();
    EXPECT_EQ(all.size(), 40u);  // every parameter of the drive
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "REG"));
    // A search after a keypad group lists only its own result.
    Search({.isName = 1, .name = "mod", .isNumber = -1, .number = ""});
    EXPECT_EQ(Numbers(), (Numbers_t{100, 101, 151}));
    EXPECT_EQ(gwtest::Text("ParameterEditor/ParaGroup"), "Suchmaske");
    // A second search adds its result.
    Search({.isName = 0, .name = "", .isNumber = 1, .number = "104"});
    EXPECT_EQ(Numbers(), (Numbers_t{100, 101, 104, 151}));
    // Cancel keeps criteria and list.
    Search({.isName = 1, .name = "ARR", .isNumber = -1, .number = "", .ok = false});
    EXPECT_EQ(Numbers(), (Numbers_t{100, 101, 104, 151}));
    // Reopened, the mask shows the inputs and check boxes confirmed last.
    ASSERT_TRUE(gwtest::ChooseMenuItem("ParameterEditor/Search"));
    EXPECT_EQ(gwtest::Text("ParaSearch/Number"), "104");
    EXPECT_EQ(dynamic_cast<GwToggle*>(gwtest::Get("ParaSearch/IsNumber"))->value(), 1);
    gwtest::Click("ParaSearch/Cancel");
}

TEST_F(EditorTest, EmptyNumberSetsNoCriterionAndInputIsLimited) {
    OpenEditor(kEditorModeOnline);
    Search({.isName = -1, .name = "", .isNumber = 1, .number = ""});
    EXPECT_TRUE(Numbers().empty());
    ASSERT_TRUE(gwtest::ChooseMenuItem("ParameterEditor/Search"));
    gwtest::Replace("ParaSearch/Name", "ARRAYX");
    EXPECT_EQ(gwtest::Text("ParaSearch/Name"), "ARRAY");
    gwtest::Replace("ParaSearch/Number", "1034");
    EXPECT_EQ(gwtest::Text("ParaSearch/Number"), "103");
    gwtest::Click("ParaSearch/Cancel");
}

TEST_F(EditorTest, OnlyEditableListsWhatTheLevelMayWrite) {
    OpenEditor(kEditorModeOnline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    EXPECT_GE(RowOf(kLockedParameter), 0);
    ASSERT_TRUE(gwtest::Toggle("ParameterEditor/OnlyEditablePara"));
    EXPECT_EQ(RowOf(kLockedParameter), -1);
    EXPECT_GE(RowOf(kByteParameter), 0);
    EXPECT_EQ(gwtest::Text("ParameterEditor/State_OnlyEditable"), "Only editable parameters");
}

}  // namespace
}  // namespace editortest
