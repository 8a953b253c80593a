// Parameter spreadsheets, the value button and the error-analysis button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/user_level.h"
#include "devicewin/error_analysis.h"
#include "devicewin/para_spreadsheet.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kArray16 = 44;          // "ARR16" USIGN16 array of 16, element i holds 10 i
constexpr int kUnitText = 45;         // "UTXT" STRING "rpm"
constexpr int kErrorReset = 74;       // "ERRST" USIGN8
constexpr int kErrorStructure = 120;  // "ERROR" ERR_STRUC, 0

constexpr char kSheet[] =
    "spreadsheet ParaSpreadSheet1 { rect = 0, 0, 400, 300; rows = 3; columns = 3\n"
    " column_ids = \"\", \"_PN_44\", \"_PN_34\"\n aux_text = \"Index|Speed%U_45|Locked\" }\n";

class SheetTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* array = table.PutFullRange(kArray16, "ARR16", "USIGN16", 0);
        array->minimum = 0;
        array->maximum = 1000;
        array->flags |= sim::kFlagArray;
        for (uint32_t i = 0; i < 16; ++i) array->elements.push_back(10 * i);
        table.PutFullRange(kUnitText, "UTXT", "STRING", 0)->text = "rpm";
        table.PutFullRange(kErrorReset, "ERRST", "USIGN8", 0);
        table.PutFullRange(kErrorStructure, "ERROR", "ERR_STRUC", 0);
        return table;
    }
    GwSpreadSheet* OpenSheet(bool online, const std::string& body = kSheet) {
        OpenWindow(body, context_ = MakeContext(online));
        return dynamic_cast<GwSpreadSheet*>(W("ParaSpreadSheet1"));
    }
    static int Show(GwSpreadSheet* sheet, const char* first) {
        GwEvent event;
        event.type = GwCB_USER;
        return CB_ShowParaSpreadSheet(sheet, &event, GwUD(first));
    }
    std::string ValueText(int n, int value) {
        dstring text;
        context_->GetValueText(text, n, value);
        return text.Text();
    }
    TestContext* context_ = nullptr;
};

TEST_F(SheetTest, TheRowCountFollowsTheArrayOrTheValue) {
    GwSpreadSheet* sheet = OpenSheet(true);
    EXPECT_EQ(CB_CreatParaSpreadSheet(sheet, nullptr, GwUD("44")), 1);
    EXPECT_EQ(sheet->row_count(), 17);
    EXPECT_EQ(sheet->column_count(), 3);
    CB_CreatParaSpreadSheet(sheet, nullptr, GwUD("20"));  // LIST holds 5
    EXPECT_EQ(sheet->row_count(), 6);
    EXPECT_EQ(sheet->column_count(), 3);
}

TEST_F(SheetTest, FromIndex4TheRowsShowElements4To15AndTheRestStaysEmpty) {
    SetUserLevel(3);
    for (bool online : {true, false}) {
        SCOPED_TRACE(online);
        GwSpreadSheet* sheet = OpenSheet(online);
        CB_CreatParaSpreadSheet(sheet, nullptr, GwUD("44"));
        EXPECT_EQ(Show(sheet, "4"), 1);
        for (int row = 1; row <= 12; ++row) {
            EXPECT_EQ(sheet->row_id(row), std::to_string(row + 3));
            EXPECT_EQ(sheet->contents(row, 0), ValueText(kArray16, row + 3));
            EXPECT_EQ(sheet->contents(row, 1), std::to_string(10 * (row + 3)));
        }
        for (int row = 13; row <= 16; ++row) {
            EXPECT_EQ(sheet->row_id(row), "");
            EXPECT_EQ(sheet->contents(row, 1), "");
        }
        EXPECT_EQ(sheet->contents(0, 0), "Index");
        EXPECT_EQ(sheet->contents(0, 1), "Speed [rpm]");
        EXPECT_EQ(sheet->contents(0, 2), "Locked");
        EXPECT_TRUE(sheet->is_cell_editable(1, 1));
        EXPECT_FALSE(sheet->is_cell_selectable(1, 2)) << "LOCKD needs level 15 to write";
        EXPECT_FALSE(sheet->is_cell_editable(1, 2));
        EXPECT_FALSE(sheet->is_cell_selectable(0, 1));
        EXPECT_FALSE(sheet->is_cell_editable(1, 0));
    }
}

TEST_F(SheetTest, AnAbsentColumnStaysEmptyAndAnEditKeepsTheWidths) {
    GwSpreadSheet* sheet = OpenSheet(false,
                                     "spreadsheet ParaSpreadSheet1 { rect = 0, 0, 400, 300; rows = 3; columns = 3\n"
                                     " column_ids = \"\", \"_PN_44\", \"_PN_77\" }\n");
    sheet->set_column_width(0, 50);
    sheet->set_column_width(1, 60);
    sheet->set_column_width(2, 70);
    ASSERT_TRUE(sheet->user_edit(1, 1));
    Show(sheet, "0");
    EXPECT_EQ(sheet->column_width(0), 50);
    EXPECT_EQ(sheet->contents(1, 2), "");
    EXPECT_TRUE(sheet->is_cell_editable(1, 2));
    sheet->user_cancel();
    Show(sheet, "0");
    EXPECT_EQ(sheet->column_width(0), 400 - 60 - 70 - 18);
}

TEST_F(SheetTest, ARefusedReadShowsError5OnceForItsColumn) {
    GwSpreadSheet* sheet = OpenSheet(true,
                                     "spreadsheet ParaSpreadSheet1 { rows = 3; columns = 3\n"
                                     " column_ids = \"\", \"_PN_44\", \"_PN_37\" }\n");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("700440000016").Times(sim::kForever));
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("700370000005").Times(sim::kForever));
    MarkBoxes();
    Show(sheet, "0");
    ASSERT_EQ(NewBoxes().size(), 2u) << ::testing::PrintToString(Heard());
    EXPECT_EQ(NewBoxes()[0].kind, "error");

    // The user uncouples at the first: the second column is not read.
    sheet = OpenSheet(true,
                      "spreadsheet ParaSpreadSheet1 { rows = 3; columns = 3\n"
                      " column_ids = \"\", \"_PN_44\", \"_PN_37\" }\n");
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_YES);
    Drive().ClearCapture();
    Show(sheet, "0");
    for (const std::string& t : Heard()) EXPECT_EQ(t.find("70037"), std::string::npos) << t;
    EXPECT_EQ(NewBoxes().size(), 2u);
}

TEST_F(SheetTest, ScrollingModeReadsOnlyTheRowsInView) {
    GwSpreadSheet* sheet = OpenSheet(true);
    CB_CreatParaSpreadSheet(sheet, nullptr, GwUD("44"));
    sheet->set_visible_rows(5);
    sheet->set_first_visible_row(10);
    Drive().ClearCapture();
    Show(sheet, "-1");
    std::vector<std::string> arrayReads;
    for (const std::string& t : Heard()) {
        if (t.find("70044") != std::string::npos) arrayReads.push_back(t);
    }
    // Elements 9 to 13.
    EXPECT_EQ(arrayReads, (std::vector<std::string>{"R 700440000905"}));
    EXPECT_EQ(sheet->row_id(1), "0");
}

TEST_F(SheetTest, FittingAndTheValueButton) {
    GwSpreadSheet* sheet = OpenSheet(true);
    sheet->set_column_width(0, 50);
    sheet->set_column_width(2, 70);
    FitSpreadSheetColumn(sheet, 1);
    EXPECT_EQ(sheet->column_width(1), 400 - 50 - 70 - 18);
    sheet->set_column_width(0, 311);
    FitSpreadSheetColumn(sheet, 1);
    EXPECT_EQ(sheet->column_width(1), 400 - 50 - 70 - 18) << "1 pixel would be left: unchanged";

    OpenWindow("button 550 { }", MakeContext(true));
    EXPECT_EQ(CB_SetParaValue(W("550"), nullptr, GwUD("12")), 1);
    EXPECT_EQ(Drive().Table().Find(kCommand)->value, 12u);
}

// A context whose alternative status bit the test sets.
class ResetContext : public TestContext {
public:
    using TestContext::TestContext;
    bool CheckStatusWordBitAlt() override { return Bit; }
    bool Bit = true;
};

class ErrorAnalyseTest : public SheetTest {
public:
    // The button "120" on a context with the status bit as given.
    GwCore* OpenButton(bool online, bool bit) {
        contexts_.push_back(std::make_unique<ResetContext>(nullptr, *main_->ActiveParaBase(), online));
        static_cast<ResetContext*>(contexts_.back().get())->Bit = bit;
        OpenWindow("button 120 { }\nbutton 45 { }", contexts_.back().get());
        Drive().ClearCapture();
        MarkBoxes();
        return W("120");
    }
    bool ResetWritten() {
        for (const std::string& t : Heard()) {
            if (t.rfind("W 20074", 0) == 0) return true;
        }
        return false;
    }
};

TEST_F(ErrorAnalyseTest, NoErrorShowsInfo85) {
    EXPECT_EQ(CB_CallErrorAnalyse(OpenButton(true, true), nullptr, GwUD("ack")), 1);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "info");
    EXPECT_FALSE(ResetWritten());
}

TEST_F(ErrorAnalyseTest, AConfirmedNoteResetsTheErrorOnlyWhenAllowed) {
    Drive().Table().Find(kErrorStructure)->value = 0x0203;
    struct Case {
        const char* userData;
        bool online;
        bool bit;
        int answer;
        bool reset;
    };
    const Case cases[] = {
        {"ack", true, true, GwRESULT_YES, true},
        {"ack", true, false, GwRESULT_YES, false},
        {"ack", true, true, GwRESULT_NO, false},
        {"info", true, true, GwRESULT_YES, false},
        {"ack", false, true, GwRESULT_YES, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.userData) + (c.online ? " online" : " offline") + (c.bit ? " bit" : ""));
        GwCore* button = OpenButton(c.online, c.bit);
        if (!c.online) contexts_.back()->Base->SetRawValue(kErrorStructure, 0x0203);
        gwtest::AnswerBox(c.answer);
        EXPECT_EQ(CB_CallErrorAnalyse(button, nullptr, GwUD(c.userData)), 1);
        EXPECT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(ResetWritten(), c.reset);
        EXPECT_EQ(Drive().Table().Find(kErrorReset)->value, c.reset ? 1u : 0u);
        Drive().Table().Find(kErrorReset)->value = 0;
    }
    // A parameter of another type does nothing.
    OpenButton(true, true);
    EXPECT_EQ(CB_CallErrorAnalyse(W("45"), nullptr, GwUD("ack")), 1);
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_TRUE(Heard().empty());
}

}  // namespace
}  // namespace devicewintest
