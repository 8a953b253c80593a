#include <gtest/gtest.h>

#include "app/main/editor_context.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

class DialogTest : public EditorTest {
protected:
    void OpenAll(int mode) {
        OpenEditor(mode);
        ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    }
    // Return on the row of the parameter.
    void OpenRow(int number, int element = 0) {
        const int row = RowOf(number, element);
        ASSERT_GE(row, 0) << number;
        List()->deselect_all();
        List()->select(row);
        ASSERT_TRUE(gwtest::PressKey("ParameterEditor/ParaList", GwKEY_RETURN));
    }
    GwEdit* Val() { return dynamic_cast<GwEdit*>(gwtest::Get("ParaEdit/Val")); }
    ParaBase* Edited() { return GetParameterEditor()->Base; }
    uint32_t DriveValue(int number) { return drives_.at(maintest::kAddress)->Table().Find(number)->value; }
};

TEST_F(DialogTest, ReturnAndDoubleClickOpenTheDialogOfTheRow) {
    OpenAll(kEditorModeOnline);
    OpenRow(kByteParameter);
    ASSERT_TRUE(gwtest::IsVisible("ParaEdit"));
    EXPECT_EQ(gwtest::Text("ParaEdit/Number"), "100");
    EXPECT_EQ(gwtest::Text("ParaEdit/Name"), "MODE1");
    gwtest::Click("ParaEdit/Cancel");
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);

    List()->deselect_all();
    ASSERT_TRUE(gwtest::DoubleClick("ParameterEditor/ParaList", RowOf(kSignedParameter)));
    ASSERT_TRUE(gwtest::IsVisible("ParaEdit"));
    EXPECT_EQ(gwtest::Text("ParaEdit/Number"), "101");
    gwtest::Click("ParaEdit/Cancel");

    // The list selects several rows: a double click opens the row it landed
    // on, not the first selected one.
    List()->deselect_all();
    List()->select(RowOf(kByteParameter));
    ASSERT_TRUE(gwtest::DoubleClick("ParameterEditor/ParaList", RowOf(kSignedParameter)));
    EXPECT_EQ(gwtest::Text("ParaEdit/Number"), "101");
    gwtest::Click("ParaEdit/Cancel");

    // An array shown as one row opens the field dialog.
    List()->deselect_all();
    ASSERT_TRUE(gwtest::DoubleClick("ParameterEditor/ParaList", RowOf(kArrayParameter)));
    EXPECT_TRUE(gwtest::IsVisible("ParaField"));
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);
    gwtest::Click("ParaField/Close");
    EXPECT_EQ(gwtest::Find("ParaField"), nullptr);

    // With expanded fields an element row opens the single dialog.
    ASSERT_TRUE(gwtest::Toggle("ParameterEditor/MN_ExpandFields"));
    OpenRow(kArrayParameter, 3);
    EXPECT_EQ(gwtest::Text("ParaEdit/Number"), "103 [3]");
}

TEST_F(DialogTest, ValueWidgetFollowsTheType) {
    struct Case {
        int number;
        const char* widget;  // the one shown, "" for none
        int formatType;
        const char* format;
        const char* pattern;
        int length;
        int precision;
    };
    const Case cases[] = {
        {200, "Val", 4, "XX~", "~~H", 3, -1},
        {kHexParameter, "Val", 4, "XXXX~", "~~~~H", 5, -1},
        {201, "Val", 4, "XXXX~", "~~~~H", 5, -1},
        {202, "Val", 4, "XXXXXXXX~", "~~~~~~~~H", 9, -1},
        {203, "Val", 3, "", "", 6, 2},
        {204, "Val", 2, "", "", 4, -1},
        {205, "Val", 2, "", "", 6, -1},
        {kSignedParameter, "Val", 2, "", "", 4, -1},
        {206, "Val", 3, "", "", 46, 41},
        {207, "Val", 3, "", "", 46, 42},
        {208, "Val", 1, "", "", -1, -1},
        {214, "Val", 2, "", "", 5, -1},
        {209, "ValString", -1, "", "", 48, -1},
        {210, "ValText", -1, "", "", -1, -1},
        // Types without a value widget, given to parameters of the list.
        {211, "", -1, "", "", -1, -1},
        {212, "", -1, "", "", -1, -1},
        {213, "", -1, "", "", -1, -1},
    };
    // The retyped ones in File mode, where opening reads no description.
    OpenAll(kEditorModeFile);
    const std::pair<int, char> retyped[] = {{211, '0'}, {212, '1'}, {213, '3'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        int number = c.number;
        for (auto [fake, type] : retyped) {
            if (fake == c.number) {
                number = 213;
                Edited()->GetEntry(213)->type = type;
            }
        }
        OpenRow(number);
        ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
        for (const char* w : {"Val", "ValText", "ValString"}) {
            EXPECT_EQ(gwtest::Get(std::string("ParaEdit/") + w)->is_shown(), std::string(w) == c.widget) << w;
        }
        GwEdit* field = dynamic_cast<GwEdit*>(
            gwtest::Get(std::string("ParaEdit/") + (std::string(c.widget) == "ValString" ? "ValString" : "Val")));
        if (c.formatType >= 0) {
            EXPECT_EQ(field->format_type(), c.formatType);
        }
        EXPECT_EQ(field->format(), c.format);
        EXPECT_EQ(field->pattern(), c.pattern);
        if (c.length >= 0) {
            EXPECT_EQ(field->length(), c.length);
        }
        if (c.precision >= 0) {
            EXPECT_EQ(field->precision(), c.precision);
        }
        gwtest::Click("ParaEdit/Cancel");
    }
}

TEST_F(DialogTest, LabelsShowNumberLevelsKindAndValueTexts) {
    OpenAll(kEditorModeOnline);
    struct Case {
        int number;
        const char* art;
        const char* readLevel;
        const char* writeLevel;
    };
    for (const Case& c : {Case{kByteParameter, "flüchtig", "0", "0"},
                          Case{kUncheckedParameter, "flüchtig", "0", "0"},
                          Case{214, "nicht flüchtig", "0", "0"},
                          Case{213, "unbekannt", "0", "0"},
                          Case{kLockedParameter, "flüchtig", "0", "15"}}) {
        SCOPED_TRACE(c.number);
        OpenRow(c.number);
        EXPECT_EQ(gwtest::Text("ParaEdit/Art"), c.art);
        EXPECT_EQ(gwtest::Text("ParaEdit/ReadLevel"), c.readLevel);
        EXPECT_EQ(gwtest::Text("ParaEdit/WriteLevel"), c.writeLevel);
        gwtest::Click("ParaEdit/Cancel");
    }
    OpenRow(210);
    auto* items = dynamic_cast<GwCombo*>(gwtest::Get("ParaEdit/ValText"));
    EXPECT_EQ(items->count(), 6);
    EXPECT_EQ(items->first_selected(), 2);
}

TEST_F(DialogTest, OkStoresWritesAndUpdatesTheRow) {
    OpenAll(kEditorModeOnline);
    OpenRow(kHexParameter);
    gwtest::Replace("ParaEdit/Val", "1A2FH");
    gwtest::Click("ParaEdit/OK");
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);
    uint16_t value = 0;
    Edited()->GetValueU16(kHexParameter, &value);
    EXPECT_EQ(value, 0x1A2F);
    EXPECT_EQ(DriveValue(kHexParameter), 0x1A2Fu);
    EXPECT_EQ(List()->cell(RowOf(kHexParameter), 4), "1A2FH");
    EXPECT_TRUE(gwtest::Boxes().empty()) << BoxTexts()[0];
}

TEST_F(DialogTest, IncompleteOrRefusedInputKeepsTheDialogOpen) {
    OpenAll(kEditorModeOnline);
    OpenRow(kByteParameter);
    for (const char* text : {"", "-", ".", "-."}) {
        SCOPED_TRACE(text);
        gwtest::Replace("ParaEdit/Val", text);
        gwtest::Click("ParaEdit/OK");
        ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
        EXPECT_EQ(DriveValue(kByteParameter), 3u);
    }
    EXPECT_TRUE(gwtest::Boxes().empty());
    gwtest::Replace("ParaEdit/Val", "300");
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::Click("ParaEdit/OK");
    ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(gwtest::Text("ParaEdit/Val"), "300");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(DriveValue(kByteParameter), 3u);
    gwtest::Click("ParaEdit/Cancel");

    OpenRow(kHexParameter);
    gwtest::Replace("ParaEdit/Val", "H");
    gwtest::Click("ParaEdit/OK");
    ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(DriveValue(kHexParameter), 0x12u);
}

TEST_F(DialogTest, FileModeMarksTheChangeAndSendsNothing) {
    OpenAll(kEditorModeFile);
    ClearCaptures();
    OpenRow(kByteParameter);
    gwtest::Replace("ParaEdit/Val", "42");
    gwtest::Click("ParaEdit/OK");
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(gwtest::Text("ParameterEditor/State_Changed"), "Parameters changed");
    EXPECT_TRUE(GetParameterEditor()->Changed);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(List()->cell(RowOf(kByteParameter), 4), "42");
}

TEST_F(DialogTest, WithoutWriteRightOkOnlyCloses) {
    OpenAll(kEditorModeOnline);
    OpenRow(kLockedParameter);
    EXPECT_FALSE(gwtest::IsEnabled("ParaEdit/Val"));
    EXPECT_FALSE(gwtest::IsEnabled("ParaEdit/DefButton"));
    gwtest::Click("ParaEdit/OK");
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(DriveValue(kLockedParameter), 4u);
}

TEST_F(DialogTest, ListTimerPausesWhileTheDialogIsOpen) {
    OpenAll(kEditorModeOnline);
    EXPECT_TRUE(List()->is_timer_running());
    OpenRow(kByteParameter);
    EXPECT_FALSE(List()->is_timer_running());
    gwtest::Click("ParaEdit/Cancel");
    EXPECT_TRUE(List()->is_timer_running());
    EXPECT_EQ(List()->timer_interval(), 500u);
}

TEST_F(DialogTest, FieldDialogListsElementsAndEditsOne) {
    OpenAll(kEditorModeOnline);
    List()->deselect_all();
    ASSERT_TRUE(gwtest::DoubleClick("ParameterEditor/ParaList", RowOf(kArrayParameter)));
    auto* data = dynamic_cast<GwMultiList*>(gwtest::Get("ParaField/FieldData"));
    ASSERT_EQ(data->row_count(), 8);
    EXPECT_EQ(data->row_text(0), "0| |10");
    EXPECT_EQ(data->row_text(7), "7| |17");
    EXPECT_EQ(gwtest::Text("ParaField/FieldSize"), "8");
    EXPECT_EQ(gwtest::Text("ParaField/FieldName"), "Array");
    EXPECT_EQ(data->timer_interval(), 500u);
    gwtest::Advance(500);
    EXPECT_EQ(data->timer_interval(), 1500u);

    data->deselect_all();
    data->select(3);
    gwtest::Click("ParaField/Edit");
    ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(gwtest::Text("ParaEdit/Number"), "103 [3]");
    EXPECT_FALSE(data->is_timer_running());
    gwtest::Replace("ParaEdit/Val", "99");
    gwtest::Click("ParaEdit/OK");
    EXPECT_EQ(data->row_text(3), "3| |99");
    EXPECT_EQ(drives_.at(maintest::kAddress)->Table().Find(kArrayParameter)->elements[3], 99u);
    EXPECT_TRUE(data->is_timer_running());
}

}  // namespace
}  // namespace editortest
