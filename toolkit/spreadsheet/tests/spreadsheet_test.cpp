// Spreadsheets as the position-table editor and the parameter sheets use
// them: size with title row and column, cell texts and ids, edits through the
// cell editor with their events, attributes, scrolling.
#include <gtest/gtest.h>

#include "toolkit/core/gw_edit.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace kinds_test {
namespace {

class Sheets : public KindsTest {
protected:
    void SetUp() override {
        KindsTest::SetUp();
        sheet_ = dynamic_cast<GwSpreadSheet*>(main_->child("Table"));
        ASSERT_NE(sheet_, nullptr);
        for (int r = 1; r < sheet_->row_count(); ++r) {
            char title[16];
            std::snprintf(title, sizeof title, "H%02d", r - 1);
            sheet_->set_contents(r, 0, title);
            sheet_->set_contents(r, 1, std::to_string(r * 10));
            sheet_->set_row_id(r, std::to_string(r - 1));
        }
    }
    GwSpreadSheet* sheet_ = nullptr;
};

TEST_F(Sheets, FourBySeventeenFromTheDefinition) {
    EXPECT_EQ(sheet_->row_count(), 17);
    EXPECT_EQ(sheet_->column_count(), 4);
    EXPECT_EQ(sheet_->title_rows(), 1);
    EXPECT_EQ(sheet_->title_columns(), 1);
    EXPECT_EQ(sheet_->column_width(0), 30);
    EXPECT_EQ(sheet_->column_width(3), 60);
    EXPECT_EQ(sheet_->column_id(2), "_PN_729");
    EXPECT_EQ(sheet_->visible_rows(), 96 / kGwSheetRowHeight - 1);
    EXPECT_EQ(sheet_->first_visible_row(), 1);
    EXPECT_EQ(sheet_->contents(16, 0), "H15");
    EXPECT_EQ(sheet_->row_id(16), "15");
    ASSERT_NE(sheet_->editor(), nullptr);
    EXPECT_EQ(sheet_->editor()->name(), "GwINTERNAL_EDITBUTTON");
    EXPECT_FALSE(sheet_->editor()->is_shown());
    // Out of range reads are empty and writes refused.
    EXPECT_EQ(sheet_->contents(17, 1), "");
    EXPECT_EQ(sheet_->contents(1, -1), "");
    EXPECT_FALSE(sheet_->set_contents(1, 4, "x"));
    EXPECT_FALSE(sheet_->set_row_id(-1, "x"));
    EXPECT_EQ(sheet_->column_attribute(4), nullptr);
}

TEST_F(Sheets, DestroyedSheetIsAnEmptyShellAtOnce) {
    sheet_->set_row_count(kGwMaxSheetRows);
    sheet_->set_contents(kGwMaxSheetRows - 1, 3, "last");
    sheet_->destroy();
    // The handle stays readable; what the sheet held is gone before the
    // widget's memory is.
    EXPECT_EQ(sheet_->row_count(), 0);
    EXPECT_EQ(sheet_->column_count(), 0);
    EXPECT_EQ(sheet_->contents(kGwMaxSheetRows - 1, 3), "");
    EXPECT_EQ(sheet_->column_width(0), 0);
    EXPECT_EQ(sheet_->column_attribute(0), nullptr);
    EXPECT_FALSE(sheet_->set_contents(1, 1, "x"));
}

TEST_F(Sheets, EditsReportActivateAndConfirmWithTheCell) {
    EXPECT_TRUE(gwtest::EditCell(sheet_, 5, 1, "55"));
    EXPECT_EQ(sheet_->contents(5, 1), "55");
    EXPECT_EQ(Notes(),
              (std::vector<std::string>{"CB_Cell Table spreadsheet  reason=1 cell=5,1",
                                        "CB_Cell Table spreadsheet  reason=2 cell=5,1"}));
    EXPECT_FALSE(sheet_->cell_has_focus());
    int row = 0, column = 0;
    ASSERT_TRUE(sheet_->current_cell(&row, &column));
    EXPECT_EQ(row * 10 + column, 51);

    // The callback sees the editor's new text before the cell takes it.
    sheet_->set_callback(GwCB_SPREADSHEET, [](GwCore* w, GwEvent* ev, GwUD) {
        auto* s = dynamic_cast<GwSpreadSheet*>(w);
        Notes().push_back(std::to_string(ev->reason) + " " + s->editor()->text() + " " +
                          s->contents(ev->row, ev->column));
        return ev->reason == GwSS_CONFIRM && s->editor()->text() == "x" ? 0 : 1;
    });
    Notes().clear();
    EXPECT_FALSE(gwtest::EditCell(sheet_, 6, 1, "x")) << "refused on confirm";
    EXPECT_EQ(sheet_->contents(6, 1), "60");
    EXPECT_TRUE(sheet_->cell_has_focus()) << "the edit stays open";
    gwtest::Replace(static_cast<GwCore*>(sheet_->editor()), "61");
    EXPECT_TRUE(sheet_->user_confirm());
    EXPECT_EQ(sheet_->contents(6, 1), "61");
    EXPECT_EQ(Notes(), (std::vector<std::string>{"1 x 60", "2 x 60", "1 61 60", "2 61 60"}));

    Notes().clear();
    EXPECT_TRUE(gwtest::CancelCell(sheet_, 7, 2, "9"));
    EXPECT_EQ(sheet_->contents(7, 2), "");
    EXPECT_FALSE(sheet_->editor()->is_shown());
    EXPECT_TRUE(gwtest::TypeInCell(sheet_, 8, 1, "88"));
    EXPECT_TRUE(gwtest::LeaveSheet(sheet_));
    EXPECT_EQ(Notes(), (std::vector<std::string>{"3 9 ", "4 88 80"}));
    EXPECT_EQ(sheet_->contents(8, 1), "80") << "leaving takes nothing by itself";
}

TEST_F(Sheets, TitlesAndLockedColumnsCannotBeEdited) {
    sheet_->row_attribute(0)->selectable = false;
    sheet_->column_attribute(0)->selectable = false;
    sheet_->column_attribute(2)->editable = false;
    struct Case {
        int row, column;
        bool editable;
    } cases[] = {{0, 1, false}, {3, 0, false}, {3, 2, false}, {3, 3, true}, {17, 1, false}, {3, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.column));
        EXPECT_EQ(sheet_->user_edit(c.row, c.column), c.editable);
        sheet_->clear_selection();
    }
    EXPECT_TRUE(sheet_->set_current_cell(3, 2)) << "selectable though not editable";
    EXPECT_FALSE(sheet_->set_current_cell(0, 2));
    // The attribute record keeps what the program set.
    GwCellAttribute* format = sheet_->column_attribute(1);
    format->length = 5;
    format->precision = 2;
    EXPECT_EQ(sheet_->column_attribute(1)->length, 5);
    EXPECT_EQ(sheet_->column_attribute(1)->precision, 2);
    EXPECT_TRUE(Notes().empty());
}

TEST_F(Sheets, ScrollsToACell) {
    ASSERT_EQ(sheet_->visible_rows(), 5);
    EXPECT_TRUE(sheet_->scroll_to(16, 1));
    EXPECT_EQ(sheet_->first_visible_row(), 12);
    EXPECT_TRUE(sheet_->scroll_to(13, 1)) << "in view: no scrolling";
    EXPECT_EQ(sheet_->first_visible_row(), 12);
    EXPECT_TRUE(sheet_->scroll_to(1, 1));
    EXPECT_EQ(sheet_->first_visible_row(), 1);
    EXPECT_FALSE(sheet_->scroll_to(17, 1));
    sheet_->set_first_visible_row(0);
    EXPECT_EQ(sheet_->first_visible_row(), 1) << "never onto the title row";
}

TEST_F(Sheets, ResizingKeepsTheCellsThatStay) {
    sheet_->set_row_count(5);
    EXPECT_EQ(sheet_->contents(4, 0), "H03");
    EXPECT_EQ(sheet_->row_id(4), "3");
    sheet_->set_row_count(9);
    EXPECT_EQ(sheet_->contents(8, 0), "");
    sheet_->set_column_count(2);
    EXPECT_EQ(sheet_->contents(1, 1), "10");
    EXPECT_EQ(sheet_->column_id(1), "_PN_728");
    sheet_->set_row_count(kGwMaxSheetRows + 1);
    EXPECT_EQ(sheet_->row_count(), kGwMaxSheetRows);
    sheet_->set_column_count(-3);
    EXPECT_EQ(sheet_->column_count(), 0);
}

TEST_F(Sheets, DoubleClickIsTheDefaultActionOnTheCell) {
    EXPECT_TRUE(gwtest::DoubleClickCell(sheet_, 4, 3));
    EXPECT_EQ(Notes(), (std::vector<std::string>{"CB_Cell Table default  cell=4,3"}));
}

}  // namespace
}  // namespace kinds_test
