// Showing bound values by widget kind, online against the virtual drive and
// offline on a copy of the base, read errors while a value is shown, and the
// formats of edits and spreadsheet columns.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/services/message_box.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_display.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

GwCombo* Combo(GwCore* w) { return dynamic_cast<GwCombo*>(w); }
bool Checked(GwCore* w) { return dynamic_cast<GwToggle*>(w)->is_checked(); }

std::vector<std::string> Items(GwCore* w) {
    std::vector<std::string> items;
    for (int i = 0; i < Combo(w)->count(); ++i) items.push_back(Combo(w)->item_text(i));
    return items;
}

struct ShowCase {
    const char* what;
    const char* body;
    const char* widget;  // the widget shown
    int result;
    std::function<void(DeviceWindowTest&, GwCore*)> check;
};

using ShowWidgetTest = DeviceWindowTest;

TEST_F(ShowWidgetTest, ShowsTheBoundValueByWidgetKind) {
    const std::string kWarning =
        "Device parameter mismatch:\nParameter 27-WIDE  is used as radiobutton but has more then 255 (256) "
        "entrys!\nThis will cause in very long process time, so that program seems to be crashed.\nTherefore this "
        "parameter is disabled and the following dialog does´nt work well!\nPlease contact your service provider if "
        "this error occurs again.";
    const ShowCase cases[] = {
        {"combo",
         "combo List_PN_20 { text = \"typed\" }",
         "List_PN_20",
         1,
         [](DeviceWindowTest&, GwCore* w) {
             EXPECT_EQ(Items(w), (std::vector<std::string>{"2", "3", "4", "5", "6", "7", "8", "9"}));
             EXPECT_EQ(Combo(w)->selected_index(), 3);
             EXPECT_EQ(Combo(w)->visible_items(), 12);
             EXPECT_EQ(w->text(), "typed");
         }},
        {"combo with companion",
         "combo Comp_PN_20 { user_data = \"_OFFSET_TO_21\" }",
         "Comp_PN_20",
         1,
         [](DeviceWindowTest&, GwCore* w) {
             ASSERT_EQ(Combo(w)->count(), 8);
             EXPECT_EQ(Combo(w)->item_text(0), "2 = Six");
             EXPECT_EQ(Combo(w)->item_text(5), "7 = One");
             EXPECT_EQ(Combo(w)->item_text(7), "9 = Three");
         }},
        {"companion not readable",
         "combo Bad_PN_20 { user_data = \"_OFFSET_TO_29\" }",
         "Bad_PN_20",
         0,
         [](DeviceWindowTest& t, GwCore* w) {
             EXPECT_EQ(Combo(w)->count(), 0);
             ASSERT_EQ(t.NewBoxes().size(), 1u);
             EXPECT_EQ(t.NewBoxes()[0].kind, "error");
         }},
        {"toggle of a zero element",
         "toggle Tgl_PN_24[0] { checked = yes }",
         "Tgl_PN_24[0]",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_FALSE(Checked(w)); }},
        {"toggle of a nonzero element",
         "toggle Tgl_PN_24[1] { }",
         "Tgl_PN_24[1]",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_TRUE(Checked(w)); }},
        {"bit field of toggles",
         "container Bits_PN_25 { user_data = \"ShowBinary\"\n toggle 0 { checked = yes }\n toggle 1 { }\n"
         " toggle 15 { }\n toggle 40 { checked = yes }\n label 2 { text = \"two\" } }",
         "Bits_PN_25",
         1,
         [](DeviceWindowTest& t, GwCore*) {
             EXPECT_FALSE(Checked(t.W("0")));
             EXPECT_TRUE(Checked(t.W("1")));
             EXPECT_TRUE(Checked(t.W("15")));
             EXPECT_TRUE(Checked(t.W("40")));
             EXPECT_EQ(t.W("2")->text(), "two");
         }},
        {"bit field of labels",
         "container Lamps_PN_25 { user_data = \"ShowLabelState\"\n label 1 { enabled = no }\n label 0 { } }",
         "Lamps_PN_25",
         1,
         [](DeviceWindowTest& t, GwCore*) {
             EXPECT_TRUE(t.W("1")->is_enabled());
             EXPECT_EQ(t.W("1")->foreground(), "green");
             EXPECT_EQ(t.W("1")->background(), "black");
             EXPECT_EQ(t.W("0")->foreground(), "gray");
             EXPECT_EQ(t.W("0")->background(), "black");
         }},
        {"radio group",
         "radiogroup Mode_PN_26 { radio 199 { }\n radio 200 { }\n radio 201 { checked = yes } }",
         "Mode_PN_26",
         1,
         [](DeviceWindowTest& t, GwCore*) {
             EXPECT_FALSE(Checked(t.W("199")));
             EXPECT_TRUE(Checked(t.W("200")));
             EXPECT_FALSE(Checked(t.W("201")));
         }},
        {"radio group over 255 values",
         "radiogroup Wide_PN_27 { radio 3 { } }",
         "Wide_PN_27",
         0,
         [&](DeviceWindowTest& t, GwCore* w) {
             EXPECT_FALSE(w->is_enabled());
             EXPECT_FALSE(Checked(t.W("3")));
             ASSERT_EQ(t.NewBoxes().size(), 1u);
             EXPECT_EQ(t.NewBoxes()[0].kind, "warning");
             EXPECT_EQ(t.NewBoxes()[0].text, kWarning);
         }},
        {"text by a format",
         "label Real_PN_28 { user_data = \"%5.1f\" }",
         "Real_PN_28",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_EQ(w->text(), " 12.3"); }},
        {"format that does not fit a number",
         "label Real_PN_28 { user_data = \"%s\"; text = \"keep\" }",
         "Real_PN_28",
         1,
         [](DeviceWindowTest& t, GwCore* w) {
             EXPECT_EQ(w->text(), "keep");
             EXPECT_NE(t.NewLogText().find("\"%s\" does not fit one number"), std::string::npos);
         }},
        {"dispatched text",
         "label Mode_PN_35 { }",
         "Mode_PN_35",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_EQ(w->text(), "Speed mode"); }},
        {"offset edit with the unit as suffix",
         "formatedit Speed_PN_x10 { }",
         "Speed_PN_x10",
         1,
         [](DeviceWindowTest&, GwCore* w) {
             EXPECT_EQ(w->text(), "5");
             EXPECT_EQ(dynamic_cast<GwEdit*>(w)->suffix(), "rpm");
         }},
        {"unbound widget",
         "label Foo { text = \"keep\" }",
         "Foo",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_EQ(w->text(), "keep"); }},
        {"absent parameter",
         "label Gone_PN_29 { text = \"keep\" }",
         "Gone_PN_29",
         1,
         [](DeviceWindowTest&, GwCore* w) { EXPECT_EQ(w->text(), "keep"); }},
    };
    for (bool online : {true, false}) {
        for (const ShowCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (online ? " online" : " offline"));
            GwCore* w = OpenCase(online, c.body, c.widget);
            ASSERT_NE(w, nullptr);
            TestContext* context = contexts_.back().get();
            w->set_user_type(kChangedMark);
            NewLogText();
            Drive().ClearCapture();
            EXPECT_EQ(ShowWidgetValue(context->Base.get(), w), c.result);
            c.check(*this, w);
            const bool bound = std::string(c.widget) != "Foo" && std::string(c.widget) != "Gone_PN_29";
            EXPECT_EQ(IsWidgetChanged(w), !bound);
            if (!online || !bound) {
                EXPECT_TRUE(Heard().empty());
            }
            if (online && bound) {
                EXPECT_FALSE(Heard().empty());
            }
            window_->destroy();
        }
    }
}

TEST_F(ShowWidgetTest, UnchangedTextIsNotWrittenAgain) {
    TestContext* context = MakeContext(false);
    OpenWindow("label Mode_PN_35 { }", context);
    GwCore* label = W("Mode_PN_35");
    ASSERT_EQ(ShowWidgetValue(context->Base.get(), label), 1);
    const size_t texts = gwtest::Effects("text").size();
    ASSERT_EQ(ShowWidgetValue(context->Base.get(), label), 1);
    EXPECT_EQ(gwtest::Effects("text").size(), texts);
    ASSERT_EQ(context->Base->SetValueDouble(kModeText, 2.0), kParaOk);
    ASSERT_EQ(ShowWidgetValue(context->Base.get(), label), 1);
    EXPECT_EQ(label->text(), "Torque");
    EXPECT_EQ(gwtest::Effects("text").size(), texts + 1);
}

class ReadErrorTest : public DeviceWindowTest {
protected:
    void SetUp() override {
        DeviceWindowTest::SetUp();
        context_ = MakeContext(true);
        OpenWindow("label Real_PN_28 { }", context_);
        label_ = W("Real_PN_28");
        MarkBoxes();
        Drive().ClearCapture();
    }
    void FailReads(int times) {
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20028").Times(times));
    }
    size_t Reads() {
        size_t n = 0;
        for (const std::string& t : Heard()) n += t == "R 20028";
        return n;
    }
    std::vector<std::string> BoxKinds() {
        std::vector<std::string> kinds;
        for (const GwBoxRecord& box : NewBoxes()) kinds.push_back(box.kind);
        return kinds;
    }
    TestContext* context_ = nullptr;
    GwCore* label_ = nullptr;
};

TEST_F(ReadErrorTest, ErrorBoxAnsweredOkReadsAgain) {
    FailReads(1);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(ShowWidgetValue(context_->Base.get(), label_), 1);
    EXPECT_EQ(BoxKinds(), (std::vector<std::string>{"error"}));
    EXPECT_EQ(label_->text(), "12.339996");
}

TEST_F(ReadErrorTest, QuitLeadsToTheUncoupleQuestion) {
    FailReads(1);
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_EQ(ShowWidgetValue(context_->Base.get(), label_), 1);
    EXPECT_EQ(BoxKinds(), (std::vector<std::string>{"error", "question"}));
    EXPECT_EQ(label_->text(), "12.339996");

    MarkBoxes();
    label_->set_text("");
    FailReads(sim::kForever);
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_EQ(ShowWidgetValue(context_->Base.get(), label_), 0);
    EXPECT_EQ(BoxKinds(), (std::vector<std::string>{"error", "question"}));
    EXPECT_EQ(label_->text(), "");
}

TEST_F(ReadErrorTest, OpenBoxGivesOneWithoutAnotherBoxOrRead) {
    FailReads(sim::kForever);
    context_->Base->ReadBusParameter(kReal, 0, 1);
    const size_t oneFailedRead = Reads();
    Drive().ClearCapture();
    int result = -1;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord&) {
        ASSERT_TRUE(IsMessageBoxOpen());
        result = ShowWidgetValue(context_->Base.get(), label_);
    });
    ShowInfoTextBox("busy");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(BoxKinds(), (std::vector<std::string>{"info"}));
    EXPECT_EQ(Reads(), oneFailedRead);
}

struct FormatCase {
    const char* what;
    parabasetest::Param param;
    const char* widget;  // definition of the widget "F_PN_40"
    int type;
    const char* format;
    const char* pattern;
    int length;
    int precision;
};

TEST(EditFormatTest, FormatByParameterType) {
    constexpr int kUnset = -7;
    // clang-format off
    const FormatCase cases[] = {
        {"USIGN8 hex", {.number = 40, .type = kTypeUsign8, .maximum = 255, .flags = kFlagHex}, "formatedit", 4, "XX~", "~~H", 3, kUnset},
        {"USIGN8", {.number = 40, .type = kTypeUsign8, .maximum = 255}, "formatedit", 2, "", "", 3, kUnset},
        {"USIGN8 with texts", {.number = 40, .type = kTypeUsign8, .maximum = 3, .flags = kFlagValueTexts}, "formatedit", 1, "", "", 0, kUnset},
        {"USIGN16 hex", {.number = 40, .type = kTypeUsign16, .maximum = 65535, .flags = kFlagHex}, "formatedit", 4, "XXXX~", "~~~~H", 5, kUnset},
        {"PASSWORD hex", {.number = 40, .type = kTypePassword, .maximum = 65535, .flags = kFlagHex}, "formatedit", 4, "XXXX~", "~~~~H", 5, kUnset},
        {"USIGN32 hex", {.number = 40, .type = kTypeUsign32, .maximum = -1, .flags = kFlagHex}, "formatedit", 4, "XXXXXXXX~", "~~~~~~~~H", 9, kUnset},
        {"USIGN32", {.number = 40, .type = kTypeUsign32, .maximum = 100000}, "formatedit", 2, "", "", 6, kUnset},
        {"FIXPT16", {.number = 40, .type = kTypeFixpt16, .maximum = 65535}, "formatedit", 3, "", "", 7, 2},
        {"INT16", {.number = 40, .type = kTypeInt16, .minimum = -32768, .maximum = 32767}, "formatedit", 2, "", "", 6, kUnset},
        {"INT32Q16", {.number = 40, .type = kTypeInt32Q16, .minimum = 0, .maximum = 100 * 65536},
         "formatedit F_PN_40 { rect = 0, 0, 200, 20; prompt = \"Speed:  \" }", 3, "", "", 20, 16},
        {"INT32Q16 narrow", {.number = 40, .type = kTypeInt32Q16, .minimum = -1000 * 65536, .maximum = 0},
         "formatedit F_PN_40 { rect = 0, 0, 30, 20 }", 3, "", "", 4, 1},
        {"ERR_STRUC", {.number = 40, .type = kTypeErrStruc}, "formatedit", 1, "", "", 0, kUnset},
        {"STRING", {.number = 40, .type = kTypeString}, "formatedit", 1, "", "", 48, kUnset},
        {"STRING in a plain edit", {.number = 40, .type = kTypeString}, "edit", 1, "", "", 48, kUnset},
        {"INT16 in a plain edit", {.number = 40, .type = kTypeInt16, .maximum = 100}, "edit", 0, "", "", 0, kUnset},
        {"BINARY16", {.number = 40, .type = kTypeBinary16, .maximum = 100}, "formatedit", 0, "", "", 0, kUnset},
    };
    // clang-format on
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.what);
        ParaBase base;
        parabasetest::Define(base, c.param);
        std::string widget = c.widget;
        if (widget.find('{') == std::string::npos) widget += " F_PN_40 { }";
        ASSERT_TRUE(GwRcMgr::use_text("dialogframe FmtWin {\n" + widget + "\n}\n", "fmt.cgw"));
        GwCore* window = GwRcMgr::load(nullptr, "FmtWin", 1);
        auto* edit = window->child<GwEdit>("F_PN_40");
        ASSERT_NE(edit, nullptr);
        edit->set_precision(kUnset);
        SetupEditFormat(&base, edit);
        EXPECT_EQ(edit->format_type(), c.type);
        EXPECT_EQ(edit->format(), c.format);
        EXPECT_EQ(edit->pattern(), c.pattern);
        EXPECT_EQ(edit->length(), c.length);
        EXPECT_EQ(edit->precision(), c.precision);
        window->destroy();
    }
}

TEST_F(DeviceWindowTest, UnitParameterGivesTheSuffix) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        TestContext* context = MakeContext(online);
        context->Base->SetValueDouble(kModeText, 3.0);
        OpenWindow("formatedit Speed_PN_12 { aux_text = \"_U_035\" }", context);
        Drive().ClearCapture();
        SetupEditFormat(context->Base.get(), W("Speed_PN_12"));
        // Online the unit parameter comes from the drive (1), offline from the table (3).
        EXPECT_EQ(dynamic_cast<GwEdit*>(W("Speed_PN_12"))->suffix(), online ? "Speed mode" : "Off mode");
        EXPECT_EQ(Heard(), online ? std::vector<std::string>{"R 20035"} : std::vector<std::string>{});
        window_->destroy();
    }
}

TEST(ColumnFormatTest, LengthAndPrecisionOfAColumn) {
    ParaBase base;
    parabasetest::Define(base, {.number = 40, .type = kTypeInt32Q16, .minimum = -1000 * 65536, .maximum = 100 * 65536});
    GwCellAttribute attribute;
    SetupColumnFormat(&base, 40, &attribute);
    EXPECT_EQ(attribute.length, 46);
    EXPECT_EQ(attribute.precision, 40);
    parabasetest::Define(base, {.number = 41, .type = kTypeUsign16, .maximum = 1000, .flags = kFlagHex});
    SetupColumnFormat(&base, 41, &attribute);
    EXPECT_EQ(attribute.length, 5);
    parabasetest::Define(base, {.number = 42, .type = kTypeInt16, .minimum = -100, .maximum = 50});
    SetupColumnFormat(&base, 42, &attribute);
    EXPECT_EQ(attribute.length, 4);
    GwCellAttribute untouched;
    SetupColumnFormat(&base, 43, &untouched);
    EXPECT_EQ(untouched.length, 0);
}

}  // namespace
}  // namespace devicewintest
