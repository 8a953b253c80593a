// The group list of the script windows and the group filter of the copy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/datasetcopy/tests/copy_fixture.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

class GroupListTest : public copytest::CopyTest {
protected:
    void SetUp() override {
        CopyTest::SetUp();
        ActivateDrive();
        GwCore* window = GwRcMgr::load(Caller(), kCopyDeviceToFileWindow, 1);
        ASSERT_NE(window, nullptr);
        list_ = window->child<GwCombo>("Group");
        ASSERT_NE(list_, nullptr);
    }

    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < list_->count(); ++i) items.push_back(list_->item_text(i));
        return items;
    }

    GwCombo* list_ = nullptr;
};

TEST_F(GroupListTest, ListsTheGroupsInUseForEachDirection) {
    // Group 3 has a present parameter outside the data set; group 2 has none.
    ParaBase base(*main_->ActiveParaBase());
    base.GetEntry(123)->transfer = 0;
    struct Case {
        CopyDirection direction;
        std::vector<std::string> items;
        std::vector<int> groups;  // the table up to its end mark
    };
    const Case cases[] = {
        {CopyDirection::kToDevice, {"Alle", "1 (Motor)"}, {0, 1, 0}},
        {CopyDirection::kToFile, {"Alle", "1 (Motor)", "3 (Limits)"}, {0, 1, 3, 0}},
    };
    for (const Case& c : cases) {
        list_->append("left over");
        list_->select(1);
        FillGroupList(list_, base, c.direction);
        EXPECT_EQ(Items(), c.items);
        std::vector<int> groups(CopyGroups().begin(), CopyGroups().begin() + c.groups.size());
        EXPECT_EQ(groups, c.groups);
        EXPECT_EQ(list_->selected_rows(), std::vector<int>{0});
        EXPECT_EQ(list_->visible_items(), 12);
    }
}

TEST_F(GroupListTest, MaximumZeroListsOnlyAlle) {
    ParaBase base(*main_->ActiveParaBase());
    base.GetEntry(kSCGroupParameter)->maximum = 0;
    FillGroupList(list_, base, CopyDirection::kToFile);
    EXPECT_EQ(Items(), std::vector<std::string>{"Alle"});
    EXPECT_EQ(CopyGroups()[1], 0);
}

TEST_F(GroupListTest, EveryOneOf255GroupsFitsTheTableWithItsEndMark) {
    ParaBase base(*main_->ActiveParaBase());
    base.GetEntry(kSCGroupParameter)->maximum = 0x1FF;  // the low byte counts
    for (int g = 1; g <= 255; ++g) {
        ParameterEntry* e = base.GetEntry(600 + g);
        e->number = static_cast<int16_t>(600 + g);
        e->valid = 1;
        e->transfer = 1;
        e->SCGroup = static_cast<uint8_t>(g);
    }
    FillGroupList(list_, base, CopyDirection::kToDevice);
    ASSERT_EQ(list_->count(), 256);
    EXPECT_EQ(list_->item_text(2), "2 (Brake)");
    EXPECT_EQ(list_->item_text(255), "255 (255)");
    EXPECT_EQ(CopyGroups()[255], 255);
    EXPECT_EQ(CopyGroups()[256], 0);
}

TEST_F(GroupListTest, FilterKeepsTheTransferFlagOnlyInTheChosenGroup) {
    ParaBase base(*main_->ActiveParaBase());
    FillGroupList(list_, base, CopyDirection::kToFile);  // Alle, group 1, group 3
    auto flags = [&base] {
        std::vector<int> f;
        for (int number : {89, 91, 120, 121, 123}) f.push_back(base.GetEntry(number)->transfer);
        return f;
    };
    const std::vector<int> all = flags();
    ASSERT_EQ(all, (std::vector<int>{1, 1, 1, 1, 1}));
    // "Alle", no selection and an item past the table's end change nothing.
    for (int item : {0, -1, 3, 256, 400}) {
        ApplyCopyGroupFilter(base, item);
        EXPECT_EQ(flags(), all) << item;
    }
    ApplyCopyGroupFilter(base, 2);
    EXPECT_EQ(flags(), (std::vector<int>{0, 0, 0, 0, 1}));
}

}  // namespace
