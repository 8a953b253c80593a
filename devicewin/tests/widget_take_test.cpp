// Taking widget values by widget kind, online against the virtual drive and
// offline into the table, spreadsheets, the refusal of malformed numbers,
// and the change marks.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_take.h"
#include "parameters/values/dstring.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

int TakeOverAccepts(GwCore*, GwEvent*, GwUD) { return 1; }
int TakeOverRefuses(GwCore*, GwEvent*, GwUD) { return 2; }

const GwFuncDesc kTakeOverCallbacks[] = {
    {"TakeOverAccepts", TakeOverAccepts},
    {"TakeOverRefuses", TakeOverRefuses},
    {nullptr, nullptr},
};

struct TakeCase {
    const char* what;
    const char* body;
    const char* widget;
    std::function<void(GwCore*)> arrange;  // after the widget is marked changed
    bool force;
    int result;
    int number;     // the parameter written, 0 for none
    int element;    //
    double stored;  // its value afterwards
};

void Text(GwCore* w, const char* text) { w->set_text(text); }

class TakeWidgetTest : public DeviceWindowTest {
public:
    double Stored(ParaBase* base, int number, int element) {
        double v = 0.0;
        EXPECT_EQ(base->GetValueDouble(number, &v, element), kParaOk);
        return v;
    }
    // The drive's raw value of a parameter or element.
    uint32_t DriveValue(int number, int element) {
        const sim::DriveParameter* p = Drive().Table().Find(number);
        return p->IsArray() ? p->elements.at(static_cast<size_t>(element)) : p->value;
    }
    size_t Writes() {
        size_t n = 0;
        for (const std::string& t : Heard()) n += t.rfind("W ", 0) == 0;
        return n;
    }
};

TEST_F(TakeWidgetTest, TakesTheValueByWidgetKind) {
    GwRcMgr::use_func_desc(kTakeOverCallbacks);
    // clang-format off
    const TakeCase cases[] = {
        {"hexadecimal text", "formatedit Hex_PN_31 { }", "Hex_PN_31", [](GwCore* w) { Text(w, "1A2FH"); }, false, 1, kHexWord, 0, 6703},
        {"hexadecimal small letters", "formatedit Hex_PN_31 { }", "Hex_PN_31", [](GwCore* w) { Text(w, "1a2f"); }, false, 1, kHexWord, 0, 6703},
        {"decimal comma", "formatedit Real_PN_28 { }", "Real_PN_28", [](GwCore* w) { Text(w, "12,5"); }, false, 1, kReal, 0, 12.5},
        {"combo selection", "combo Sel_PN_36 { items = \"a\", \"b\", \"c\" }", "Sel_PN_36",
         [](GwCore* w) { dynamic_cast<GwCombo*>(w)->select(2); }, false, 1, kSelect, 0, 3},
        {"combo without selection", "combo Sel_PN_36 { items = \"a\", \"b\" }", "Sel_PN_36", nullptr, false, 0, 0, 0, 0},
        {"toggle on", "toggle Tgl_PN_24[0] { checked = yes }", "Tgl_PN_24[0]", nullptr, false, 1, kToggles, 0, 1},
        {"toggle off", "toggle Tgl_PN_24[1] { }", "Tgl_PN_24[1]", nullptr, false, 1, kToggles, 1, 0},
        {"bit field", "container Stat_PN_33 { user_data = \"ShowBinary\"\n toggle 0 { checked = yes }\n toggle 2 { } }",
         "Stat_PN_33", nullptr, false, 1, kStatus, 0, 0xF1},
        {"radio group", "radiogroup Mode_PN_26 { radio 1 { }\n radio 3 { checked = yes } }", "Mode_PN_26", nullptr, false, 1, kRadio, 0, 3},
        {"radio group without choice", "radiogroup Mode_PN_26 { radio 1 { }\n radio 3 { } }", "Mode_PN_26", nullptr, false, 1, kRadio, 0, 0},
        {"text", "edit Txt_PN_32 { text = \"hello\" }", "Txt_PN_32", nullptr, false, 1, kText, 0, 0},
        {"unchanged", "formatedit Real_PN_28 { text = \"7\" }", "Real_PN_28", [](GwCore* w) { SetWidgetChanged(w, false); }, false, 1, 0, 0, 0},
        {"label", "label Real_PN_28 { text = \"7\" }", "Real_PN_28", nullptr, false, 1, 0, 0, 0},
        {"disabled", "formatedit Real_PN_28 { text = \"7\"; enabled = no }", "Real_PN_28", nullptr, false, 1, 0, 0, 0},
        {"disabled, forced", "formatedit Real_PN_28 { text = \"7\"; enabled = no }", "Real_PN_28", nullptr, true, 1, kReal, 0, 7},
        {"above the user's level", "formatedit Lock_PN_34 { text = \"7\" }", "Lock_PN_34", nullptr, false, 1, 0, 0, 0},
        {"own take-over accepts", "formatedit Real_PN_28 { text = \"7\"; on resize = TakeOverAccepts }", "Real_PN_28", nullptr, false, 1, 0, 0, 0},
        {"own take-over refuses", "formatedit Real_PN_28 { text = \"7\"; on resize = TakeOverRefuses }", "Real_PN_28", nullptr, false, 0, 0, 0, 0},
        {"empty number", "formatedit Real_PN_28 { }", "Real_PN_28", nullptr, false, 0, 0, 0, 0},
        {"unbound", "formatedit Foo { text = \"7\" }", "Foo", nullptr, false, 1, 0, 0, 0},
    };
    // clang-format on
    for (bool online : {true, false}) {
        for (const TakeCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (online ? " online" : " offline"));
            GwCore* w = OpenCase(online, c.body, c.widget);
            ASSERT_NE(w, nullptr);
            TestContext* context = contexts_.back().get();
            SetWidgetChanged(w, true);
            if (c.arrange) c.arrange(w);
            Drive().ClearCapture();
            ParaBase* base = context->Base.get();
            EXPECT_EQ(TakeWidgetValue(base, w, c.force), c.result);
            EXPECT_TRUE(NewBoxes().empty());
            if (!online) {
                EXPECT_TRUE(Heard().empty());
            }
            if (c.number == 0) {
                if (online) {
                    EXPECT_EQ(Writes(), 0u);
                }
            } else if (c.number == kText) {
                dstring text;
                base->GetValueString(kText, text);
                EXPECT_STREQ(text.Text(), "hello");
                if (online) {
                    EXPECT_EQ(Drive().Table().Find(kText)->text, "hello");
                }
            } else {
                EXPECT_DOUBLE_EQ(Stored(base, c.number, c.element), c.stored);
                if (online) {
                    EXPECT_EQ(Writes(), 1u);
                    int32_t raw = 0;
                    base->GetRawValue(c.number, &raw, c.element);
                    EXPECT_EQ(DriveValue(c.number, c.element), static_cast<uint32_t>(raw));
                }
            }
            window_->destroy();
        }
    }
}

TEST_F(TakeWidgetTest, BitFieldReadsTheCurrentValueFromTheDrive) {
    TestContext* context = MakeContext(true);
    OpenWindow("container Stat_PN_33 { user_data = \"ShowBinary\"\n toggle 0 { checked = yes }\n toggle 2 { } }",
               context);
    SetWidgetChanged(W("Stat_PN_33"), true);
    Drive().ClearCapture();
    EXPECT_EQ(TakeWidgetValue(context->Base.get(), W("Stat_PN_33"), false), 1);
    ASSERT_EQ(Heard().size(), 2u);
    EXPECT_EQ(Heard()[0], "R 20033");
    EXPECT_EQ(Heard()[1].rfind("W 20033=", 0), 0u) << Heard()[1];
    EXPECT_EQ(DriveValue(kStatus, 0), 0xF1u);
}

TEST_F(TakeWidgetTest, RefusedWriteShowsTheDeviceError) {
    TestContext* context = MakeContext(true);
    OpenWindow("formatedit Hex_PN_31 { text = \"12\" }", context);
    SetWidgetChanged(W("Hex_PN_31"), true);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20031").Times(sim::kForever));
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(TakeWidgetValue(context->Base.get(), W("Hex_PN_31"), false), 0);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

TEST_F(TakeWidgetTest, MalformedNumbersAreRefusedWithABeep) {
    struct Case {
        const char* widget;
        const char* text;
    } cases[] = {{"Real_PN_28", "12abc"},
                 {"Real_PN_28", "abc"},
                 {"Real_PN_28", "1e"},
                 {"Real_PN_28", "1.2.3"},
                 {"Hex_PN_31", "1G2H"},
                 {"Hex_PN_31", "H"},
                 {"Hex_PN_31", "123456789"},
                 {"Label_PN_28", "12abc"}};
    for (bool online : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (online ? " online" : " offline"));
            TestContext* context = MakeContext(online);
            OpenWindow("formatedit Real_PN_28 { }\nformatedit Hex_PN_31 { }\ntext Label_PN_28 { }", context);
            GwCore* w = W(c.widget);
            w->set_text(c.text);
            SetWidgetChanged(w, true);
            Drive().ClearCapture();
            const size_t beeps = gwtest::Effects("beep").size();
            EXPECT_EQ(TakeWidgetValue(context->Base.get(), w, false), 0);
            EXPECT_EQ(gwtest::Effects("beep").size(), beeps + 1);
            EXPECT_TRUE(IsWidgetChanged(w));
            EXPECT_EQ(Writes(), 0u);
            EXPECT_DOUBLE_EQ(Stored(context->Base.get(), kReal, 0), 808714 / 65536.0);
            EXPECT_DOUBLE_EQ(Stored(context->Base.get(), kHexWord, 0), 0.0);
            window_->destroy();
        }
    }
}

class SheetTakeTest : public TakeWidgetTest {
public:
    GwSpreadSheet* Sheet(const char* rowIds) {
        OpenWindow(std::string("spreadsheet ParaSpreadSheet1 { rows = 4; columns = 3\n"
                               " column_ids = \"\", \"_PN_37\", \"_PN_38\"\n row_ids = ") +
                       rowIds + " }",
                   context_ = MakeContext(true));
        return dynamic_cast<GwSpreadSheet*>(W("ParaSpreadSheet1"));
    }
    ParaBase* DeviceContextBase() { return context_->Base.get(); }
    TestContext* context_ = nullptr;
};

TEST_F(SheetTakeTest, RowsWithIdsWriteTheirElements) {
    GwSpreadSheet* sheet = Sheet("\"\", \"0\", \"\", \"3\"");
    ASSERT_NE(sheet, nullptr);
    for (int row = 1; row <= 3; ++row) {
        sheet->set_contents(row, 1, std::to_string(10 * row));
        sheet->set_contents(row, 2, std::to_string(-row));
    }
    sheet->set_contents(2, 1, "");
    ParaBase* base = DeviceContextBase();
    EXPECT_EQ(TakeWidgetValue(base, sheet, false), 1);
    EXPECT_EQ(Writes(), 0u) << "not marked";
    SetWidgetChanged(sheet, true);
    Drive().ClearCapture();
    EXPECT_EQ(TakeWidgetValue(base, sheet, false), 1);
    EXPECT_EQ(Writes(), 4u);
    EXPECT_EQ(Drive().Table().Find(kTable)->elements, (std::vector<uint32_t>{10, 0, 0, 30, 0}));
    EXPECT_EQ(Drive().Table().Find(kSignedTable)->elements,
              (std::vector<uint32_t>{static_cast<uint32_t>(-1), 0, 0, static_cast<uint32_t>(-3), 0}));
}

TEST_F(SheetTakeTest, EmptyCellStopsWithAnErrorBox) {
    GwSpreadSheet* sheet = Sheet("\"\", \"0\", \"1\", \"\"");
    ASSERT_NE(sheet, nullptr);
    sheet->set_contents(1, 1, "5");
    sheet->set_contents(1, 2, "6");
    sheet->set_contents(2, 2, "7");
    SetWidgetChanged(sheet, true);
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(TakeWidgetValue(DeviceContextBase(), sheet, false), 0);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "Tabellenfeld (2,1) enthält keine Daten!");
    EXPECT_EQ(Drive().Table().Find(kTable)->elements, (std::vector<uint32_t>{5, 0, 0, 0, 0}));
    EXPECT_EQ(Drive().Table().Find(kSignedTable)->elements, (std::vector<uint32_t>{0, 0, 0, 0, 0}));
}

using ChangeMarkTest = DeviceWindowTest;

TEST_F(ChangeMarkTest, MarkingEnablesTheTakeOverButton) {
    OpenWindow("button BT_TakeIt { enabled = no }\nlabel Foo { }", MakeContext(false));
    SetWidgetChanged(W("Foo"), true);
    EXPECT_TRUE(IsWidgetChanged(W("Foo")));
    EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
    SetWidgetChanged(W("Foo"), false);
    EXPECT_FALSE(IsWidgetChanged(W("Foo")));
    W("BT_TakeIt")->disable();
    EXPECT_EQ(CB_EnableTakeItBut(W("Foo"), nullptr, GwUD()), 1);
    EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
}

TEST_F(ChangeMarkTest, ChangedWhenTheWidgetDiffersFromTheStoredValue) {
    struct Case {
        const char* what;
        const char* widget;
        std::function<void(GwCore*)> arrange;
        bool changed;
    };
    const Case cases[] = {
        {"combo showing the stored text", "Comp_PN_21", [](GwCore* w) { dynamic_cast<GwCombo*>(w)->select(1); }, false},
        {"combo showing another text", "Comp_PN_21", [](GwCore* w) { dynamic_cast<GwCombo*>(w)->select(0); }, true},
        {"combo without selection", "Comp_PN_21", nullptr, false},
        {"edit with a decimal comma", "Real_PN_28", [](GwCore* w) { w->set_text("12,5"); }, false},
        {"edit with another number", "Real_PN_28", [](GwCore* w) { w->set_text("12,4"); }, true},
        {"empty edit", "Real_PN_28", [](GwCore* w) { w->set_text(""); }, true},
        {"toggle as stored", "Tgl_PN_24[1]", [](GwCore* w) { dynamic_cast<GwToggle*>(w)->set_checked(true); }, false},
        {"toggle not as stored",
         "Tgl_PN_24[0]",
         [](GwCore* w) { dynamic_cast<GwToggle*>(w)->set_checked(true); },
         true},
        {"bit as stored", "1", [](GwCore* w) { dynamic_cast<GwToggle*>(w)->set_checked(true); }, false},
        {"bit not as stored", "15", [](GwCore* w) { dynamic_cast<GwToggle*>(w)->set_checked(false); }, true},
        {"radio", "200", nullptr, true},
        {"label as stored", "Mode_PN_35", [](GwCore* w) { w->set_text("Speed mode"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestContext* context = MakeContext(false);
        context->Base->SetValueDouble(kReal, 12.5);
        OpenWindow(
            "combo Comp_PN_21 { items = \"Three\", \"Four\" }\nformatedit Real_PN_28 { }\n"
            "toggle Tgl_PN_24[0] { }\ntoggle Tgl_PN_24[1] { }\n"
            "container Bits_PN_25 { user_data = \"ShowBinary\"\n toggle 1 { }\n toggle 15 { } }\n"
            "radiogroup Radio_PN_26 { radio 200 { checked = yes } }\nlabel Mode_PN_35 { }",
            context);
        GwCore* w = W(c.widget);
        if (c.arrange) c.arrange(w);
        CheckWidgetChanged(context->Base.get(), w, false);
        EXPECT_EQ(IsWidgetChanged(w), c.changed);
        window_->destroy();
    }
    EXPECT_TRUE(Heard().empty());
}

TEST_F(ChangeMarkTest, UnboundWidgetOutsideAContainerIsLeftAlone) {
    TestContext* context = MakeContext(false);
    OpenWindow("label Foo { }\ncontainer Box { label Inner { } }", context);
    CheckWidgetChanged(context->Base.get(), W("Foo"), true);
    EXPECT_FALSE(IsWidgetChanged(W("Foo")));
    CheckWidgetChanged(context->Base.get(), W("Inner"), true);
    EXPECT_FALSE(IsWidgetChanged(W("Inner")));
}

TEST_F(ChangeMarkTest, MarkAllMarksEveryBoundWidget) {
    TestContext* context = MakeContext(false);
    OpenWindow(
        "label Real_PN_28 { }\ntoggle Tgl_PN_24[0] { }\nlabel Foo { }\n"
        "container Bits_PN_25 { user_data = \"ShowBinary\"\n toggle 1 { checked = yes } }",
        context);
    EXPECT_EQ(CB_MarkAllChanged(W("Foo"), nullptr, GwUD()), 1);
    for (const char* name : {"Real_PN_28", "Tgl_PN_24[0]", "Bits_PN_25", "1"}) {
        EXPECT_TRUE(IsWidgetChanged(W(name))) << name;
    }
    EXPECT_FALSE(IsWidgetChanged(W("Foo")));
}

}  // namespace
}  // namespace devicewintest
