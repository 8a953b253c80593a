// Scrolled array fields: the item count, and rows bound again as they scroll.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/scrolled_fields.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kField = kWordField;  // element i = 100 + i

class ScrolledFieldTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        std::vector<uint32_t> elements;
        for (uint32_t i = 0; i < 100; ++i) elements.push_back(100 + i);
        PutWordField(table, elements);
        return table;
    }
    // A field of `rows` rows (an "Index" label and an edit of element i
    // each) that promises `visible` rows.
    GwScrolledContainer* OpenField(int rows, int visible) {
        std::string body = "scrolledcontainer Field {\n visible_items = " + std::to_string(visible) +
                           "\n on show = CB_DvFctShowObject\n on scroll = CB_HandleScrolledFieldPara\n";
        for (int i = 0; i < rows; ++i) {
            body += " container Row" + std::to_string(i) + " { label Index { }\n formatedit Val_PN_420[" +
                    std::to_string(i) + "] { } }\n";
        }
        body += "}\nbutton BT_TakeIt { }\n";
        OpenCase(true, body, "Field");
        return dynamic_cast<GwScrolledContainer*>(W("Field"));
    }
    std::string Cell(GwScrolledContainer* field, int row, int child) {
        return field->row(row)->child(child)->name() + "=" + field->row(row)->child(child)->text();
    }
};

TEST_F(ScrolledFieldTest, TheItemCountIsTheElementCountLessTheOffset) {
    GwScrolledContainer* field = OpenField(5, 5);
    EXPECT_EQ(CB_ShowScrolledFieldPara(field, nullptr, GwUD("420,2")), 1);
    EXPECT_EQ(field->item_count(), 98);
    EXPECT_EQ(CB_ShowScrolledFieldPara(field, nullptr, GwUD("420")), 1);
    EXPECT_EQ(field->item_count(), 100);
    field->set_item_count(7);
    CB_ShowScrolledFieldPara(field, nullptr, GwUD(std::to_string(kSpeed) + ",0"));
    EXPECT_EQ(field->item_count(), 7) << "not an array";
}

TEST_F(ScrolledFieldTest, ScrollingStoresTheChangedRowsThenBindsTheRowsAnew) {
    GwScrolledContainer* field = OpenField(5, 5);
    CB_ShowScrolledFieldPara(field, nullptr, GwUD("420"));
    GwCore* edited = W("Val_PN_420[2]");
    edited->set_text("77");
    SetWidgetChanged(edited, true);
    ASSERT_TRUE(gwtest::Scroll(field, 10));
    EXPECT_EQ(Drive().Table().Find(kField)->elements[2], 77u) << "stored under its old element";
    EXPECT_EQ(Drive().Table().Find(kField)->elements[12], 112u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const std::string element = std::to_string(10 + i);
        EXPECT_EQ(Cell(field, i, 0), "Index=" + element);
        EXPECT_EQ(Cell(field, i, 1), "_PN_420[" + element + "]=" + std::to_string(110 + i)) << "shown anew";
    }
    EXPECT_TRUE(field->is_shown());
}

TEST_F(ScrolledFieldTest, AnOffsetMovesTheElements) {
    GwScrolledContainer* field = OpenField(5, 5);
    CB_ShowScrolledFieldPara(field, nullptr, GwUD("420,2"));
    field->set_first_visible(10);
    EXPECT_EQ(CB_HandleScrolledFieldPara(field, nullptr, GwUD("2")), 1);
    EXPECT_EQ(Cell(field, 0, 1), "_PN_420[12]=112");
    EXPECT_EQ(Cell(field, 4, 0), "Index=16");
}

TEST_F(ScrolledFieldTest, AMissingRowEndsWithTheRowsBeforeItBound) {
    GwScrolledContainer* field = OpenField(3, 5);
    CB_ShowScrolledFieldPara(field, nullptr, GwUD("420"));
    field->set_first_visible(4);
    EXPECT_EQ(CB_HandleScrolledFieldPara(field, nullptr, GwUD()), 0);
    EXPECT_EQ(field->row(0)->child(1)->name(), "_PN_420[4]");
    EXPECT_EQ(field->row(2)->child(1)->name(), "_PN_420[6]");
}

TEST_F(ScrolledFieldTest, RebindingNamesTheBoundParameterAndElement) {
    struct Case {
        const char* name;
        const char* rebound;
    };
    const Case cases[] = {
        {"Temp_PN_x5[0]", "_PN_7[4]"},  // 300 holds 2
        {"Val_PN_420[9]", "_PN_420[4]"},
        {"Val_PN_420", "Val_PN_420"},  // no element index
        {"Plain[3]", "Plain[3]"},      // not bound
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* widget = OpenCase(true, std::string("label ") + c.name + " { }", c.name);
        RebindRowWidget(widget, 4);
        EXPECT_EQ(widget->name(), c.rebound);
    }
    OpenWindow("label Temp_PN_x5[0] { }", nullptr);
    RebindRowWidget(W("Temp_PN_x5[0]"), 4);
    EXPECT_EQ(W("Temp_PN_x5[0]")->name(), "Temp_PN_x5[0]") << "no context";
}

}  // namespace
}  // namespace devicewintest
