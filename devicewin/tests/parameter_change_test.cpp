// The parameter properties window (F1 on a parameter widget), the key filter,
// and the change callbacks with the widgets that depend on a change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/parameter_properties.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kHelpWidgets[] =
    "formatedit Speed_PN_12 { on key = CB_DvFctParaProperties }\n"
    "formatedit Cell_PN_12[3] { on key = CB_DvFctParaProperties }\n"
    "formatedit Table_PN_37 { on key = CB_DvFctParaProperties }\n"
    "formatedit Pos_PN_14 { on key = CB_DvFctParaProperties }\n"
    "formatedit Gone_PN_77 { on key = CB_DvFctParaProperties }\n"
    "radiogroup Mode_PN_26 { radio 0 { on key = CB_DvFctParaProperties }\n radio 1 { } }\n"
    "spreadsheet ParaSpreadSheet1 { rows = 3; columns = 3\n column_ids = \"\", \"_PN_37\", \"_PN_38\"\n"
    " row_ids = \"\", \"0\", \"1\"; on key = CB_DvFctParaProperties }\n"
    "dialogframe Second { formatedit Other_PN_20 { on key = CB_DvFctParaProperties } }\n";

class PropertiesTest : public DeviceWindowTest {
public:
    GwCore* Properties() { return TheWindowHandler().FindByName(kPropertiesWindowName); }
    std::string Field(const char* name) {
        GwCore* window = Properties();
        GwCore* field = window != nullptr ? window->child(name) : nullptr;
        return field != nullptr ? field->text() : "<none>";
    }
    std::string Suffix(const char* name) { return dynamic_cast<GwEdit*>(Properties()->child(name))->suffix(); }
};

TEST_F(PropertiesTest, F1ShowsWhatTheBaseKnowsOfTheParameter) {
    TestContext* context = MakeContext(true);
    OpenWindow(kHelpWidgets, context);
    gwtest::PressKey(W("Speed_PN_12"), GwKEY_F1);
    GwCore* window = Properties();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parent(), window_);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(window));
    EXPECT_EQ(Field("Intro"), "Speed set point");
    EXPECT_EQ(Field("ID"), "12");
    EXPECT_EQ(Field("Text"), "SPEED");
    EXPECT_EQ(Field("Min"), "-32768");
    EXPECT_EQ(Field("Max"), "32767");
    EXPECT_EQ(Field("Def"), "0");
    EXPECT_EQ(Suffix("Min"), "rpm");
    EXPECT_EQ(Suffix("Def"), "rpm");
    EXPECT_EQ(Field("Menu"), "MOTOR = Motor data");
    EXPECT_EQ(Field("Read"), "3");
    EXPECT_EQ(Field("Write"), "5");
    EXPECT_EQ(Field("MemType"), "EEPROM");
    EXPECT_EQ(Field("DataType"), "INT16");
    EXPECT_FALSE(window->child("FieldSize")->is_shown());
    EXPECT_EQ(CB_DvFctParaHelp(W("Speed_PN_12"), nullptr, GwUD()), 0);
}

TEST_F(PropertiesTest, TheOneWindowIsReusedAndRefilled) {
    TestContext* context = MakeContext(false);
    OpenWindow(kHelpWidgets, context);
    W("Second")->set_user_data(GwUD(static_cast<void*>(context)));
    struct Case {
        const char* widget;
        const char* id;
        const char* intro;
        const char* type;
        const char* fieldSize;  // null: hidden
    };
    const Case cases[] = {
        {"Cell_PN_12[3]", "12.3", "Speed set point", "INT16", nullptr},
        {"Table_PN_37", "37", "TAB", "USIGN16", "5"},
        {"Pos_PN_14", "14", "POS", "INT16", nullptr},
        {"Mode_PN_26/0", "26", "RADIO", "USIGN8", nullptr},
        {"Second/Other_PN_20", "20", "LIST", "USIGN8", nullptr},
    };
    GwCore* first = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.widget);
        GwCore* widget = gwtest::Get(std::string("DevWin/") + c.widget);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(CB_DvFctParaHelp(widget, nullptr, GwUD()), 0);
        GwCore* window = Properties();
        ASSERT_NE(window, nullptr);
        if (first == nullptr) first = window;
        EXPECT_EQ(window, first);
        EXPECT_EQ(window->parent(), widget->frame());
        EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(window));
        EXPECT_EQ(Field("ID"), c.id);
        EXPECT_EQ(Field("Intro"), c.intro);
        EXPECT_EQ(Field("DataType"), c.type);
        EXPECT_EQ(window->child("FieldSize")->is_shown(), c.fieldSize != nullptr);
        if (c.fieldSize != nullptr) {
            EXPECT_EQ(Field("FieldSize"), c.fieldSize);
        }
    }
}

TEST_F(PropertiesTest, ASheetShowsItsCurrentColumnAndAnAbsentParameterNothing) {
    OpenWindow(kHelpWidgets, MakeContext(true));
    EXPECT_EQ(CB_DvFctParaHelp(W("Gone_PN_77"), nullptr, GwUD()), 0);
    EXPECT_EQ(Properties(), nullptr);
    auto* sheet = dynamic_cast<GwSpreadSheet*>(W("ParaSpreadSheet1"));
    sheet->set_current_cell(1, 2);
    EXPECT_EQ(CB_DvFctParaHelp(sheet, nullptr, GwUD()), 0);
    EXPECT_EQ(Field("Text"), "STAB");
}

TEST_F(PropertiesTest, EditingKeysRunTheChangeCallback) {
    OpenWindow("formatedit Speed_PN_12 { text = \"99\" }\nbutton BT_TakeIt { enabled = no }", MakeContext(false));
    GwCore* edit = W("Speed_PN_12");
    const int editing[] = {'a', '7', ' ', GwKEY_BACKSPACE, GwKEY_TAB, GwKEY_CLEAR, GwKEY_RETURN, GwKEY_DELETE};
    for (int key : editing) {
        SCOPED_TRACE(key);
        SetWidgetChanged(edit, false);
        GwEvent event;
        event.key = key;
        EXPECT_EQ(CB_DvFctParaProperties(edit, &event, GwUD()), 1);
        EXPECT_TRUE(IsWidgetChanged(edit));
    }
    for (int key : {GwKEY_ESCAPE, 0x1071, 0x80}) {
        SCOPED_TRACE(key);
        SetWidgetChanged(edit, false);
        GwEvent event;
        event.key = key;
        EXPECT_EQ(CB_DvFctParaProperties(edit, &event, GwUD()), 1);
        EXPECT_FALSE(IsWidgetChanged(edit));
    }
}

class ChangeTest : public DeviceWindowTest {
public:
    // The writes the drive heard.
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        return writes;
    }
};

TEST_F(ChangeTest, ARadioButtonShowsOnlyItsContainer) {
    OpenWindow(
        "radiogroup Mode_PN_26 { radio 0 { }\n radio 1 { }\n radio 2 { } }\n"
        "container Box0 { formatedit In0_PN_12 { } }\n"
        "container Box1 { formatedit In1_PN_14 { }\n formatedit Gone_PN_77 { }\n label Plain { enabled = no } }\n"
        "container Box2 { formatedit In2_PN_20 { } }\n",
        MakeContext(true));
    auto* button = dynamic_cast<GwToggle*>(W("Mode_PN_26")->child("1"));
    ASSERT_NE(button, nullptr);
    button->set_checked(true);
    EXPECT_EQ(CB_DvFctParaChange(button, nullptr, GwUD("Box0 Box1 Box2")), 1);
    EXPECT_FALSE(W("Box0")->is_shown());
    EXPECT_TRUE(W("Box1")->is_shown());
    EXPECT_FALSE(W("Box2")->is_shown());
    EXPECT_FALSE(W("In0_PN_12")->is_enabled());
    EXPECT_TRUE(W("In1_PN_14")->is_enabled());
    EXPECT_FALSE(W("Gone_PN_77")->is_enabled());
    EXPECT_FALSE(W("Plain")->is_enabled());
    EXPECT_FALSE(W("In2_PN_20")->is_enabled());
}

TEST_F(ChangeTest, ACheckBoxShowsAndEnablesItsWidget) {
    OpenWindow("check On_PN_24[0] { }\nformatedit Extra { enabled = no; visible = no }", MakeContext(false));
    auto* box = dynamic_cast<GwToggle*>(W("On_PN_24[0]"));
    for (bool on : {true, false}) {
        box->set_checked(on);
        CB_DvFctParaChange(box, nullptr, GwUD("Extra"));
        EXPECT_EQ(W("Extra")->is_shown(), on);
        EXPECT_EQ(W("Extra")->is_enabled(), on);
        EXPECT_EQ(IsWidgetChanged(box), on) << "the stored element is 0";
    }
}

TEST_F(ChangeTest, AComboShowsThePictureOfItsValue) {
    GwRcMgr::add_bitmap("SEL_3", 10, 10);
    OpenWindow("combo Sel_PN_36 { items = \"a\", \"b\", \"c\" }\npicture Pic { }", MakeContext(false));
    auto* combo = dynamic_cast<GwCombo*>(W("Sel_PN_36"));
    combo->select(2);
    CB_DvFctParaChange(combo, nullptr, GwUD("Pic"));
    EXPECT_EQ(dynamic_cast<GwPicture*>(W("Pic"))->bitmap(), "SEL_3");
}

class SheetChangeTest : public ChangeTest {
public:
    GwSpreadSheet* Sheet(bool online, const char* callback) {
        OpenWindow(std::string("button BT_TakeIt { enabled = no }\n"
                               "spreadsheet ParaSpreadSheet1 { rows = 3; columns = 3\n"
                               " column_ids = \"\", \"_PN_37\", \"_PN_39\"\n row_ids = \"\", \"0\", \"2\"\n"
                               " on spreadsheet = ") +
                       callback + " }",
                   context_ = MakeContext(online));
        return dynamic_cast<GwSpreadSheet*>(W("ParaSpreadSheet1"));
    }
    // The user types `text` into a cell and confirms it.
    static void Confirm(GwSpreadSheet* sheet, int row, int column, const std::string& text) {
        ASSERT_TRUE(sheet->user_edit(row, column));
        sheet->editor()->set_text(text);
        sheet->user_confirm();
    }
    TestContext* context_ = nullptr;
};

TEST_F(SheetChangeTest, OnlyANewCellTextMarksTheSheet) {
    GwSpreadSheet* sheet = Sheet(true, "CB_DvFctParaChange");
    Confirm(sheet, 2, 1, "0");
    EXPECT_FALSE(IsWidgetChanged(sheet));
    EXPECT_FALSE(W("BT_TakeIt")->is_enabled());
    Confirm(sheet, 2, 1, "12");
    EXPECT_TRUE(IsWidgetChanged(sheet));
    EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SheetChangeTest, ADirectCellIsParsedAsItsColumnsParameter) {
    GwSpreadSheet* sheet = Sheet(true, "CB_DvFctParaChangeDirect");
    Drive().ClearCapture();
    Confirm(sheet, 2, 2, "1AH");
    EXPECT_EQ(Drive().Table().Find(kHexTable)->elements, (std::vector<uint32_t>{0, 0, 0x1A}));
    Confirm(sheet, 1, 1, "17");
    EXPECT_EQ(Drive().Table().Find(kTable)->elements, (std::vector<uint32_t>{17, 0, 0, 0, 0}));
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_FALSE(IsWidgetChanged(sheet));

    // Beyond the column's maximum of 1000: refused, and said so.
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    Confirm(sheet, 1, 1, "1001");
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

TEST_F(ChangeTest, ADirectRadioButtonWritesItsGroupAtOnce) {
    OpenWindow("radiogroup Mode_PN_26 { radio 1 { }\n radio 3 { } }", MakeContext(true));
    auto* button = dynamic_cast<GwToggle*>(W("Mode_PN_26")->child("3"));
    button->set_checked(true);
    Drive().ClearCapture();
    EXPECT_EQ(CB_DvFctParaChangeDirect(button, nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20026=3"}));
    EXPECT_EQ(Drive().Table().Find(kRadio)->value, 3u);
}

}  // namespace
}  // namespace devicewintest
